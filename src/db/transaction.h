// One unit of work on a statistics database, begun by the constructor and ended on every path
// out of the scope: a write that was not committed is rolled back, a read is ended.
#pragma once

#include "db/stats_database.h"

#include <string>

namespace qla::db {

class Transaction {
  public:
    enum class Kind { Write, Read };

    // Begins the unit (StatsDatabase::BeginWrite or BeginRead); Open() says whether it did,
    // with the reason in `error` when not.
    Transaction(StatsDatabase& database, Kind kind, std::string& error);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    bool Open() const { return open_; }
    // Makes a write's changes durable (or ends a read); false with the reason in `error`, the
    // changes then rolled back.
    bool Commit(std::string& error);
    // Ends the unit now, keeping nothing it wrote.
    void Rollback();

  private:
    StatsDatabase& database_;
    bool open_ = false;
};

} // namespace qla::db
