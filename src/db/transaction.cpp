// Beginning and ending a unit of work.
#include "db/transaction.h"

namespace qla::db {

Transaction::Transaction(StatsDatabase& database, Kind kind, std::string& error)
    : database_(database) {
    open_ = kind == Kind::Write ? database.BeginWrite(error) : database.BeginRead(error);
}

Transaction::~Transaction() {
    Rollback();
}

bool Transaction::Commit(std::string& error) {
    if (!open_)
        return false;
    open_ = false;
    return database_.Commit(error);
}

void Transaction::Rollback() {
    if (open_)
        database_.Rollback();
    open_ = false;
}

} // namespace qla::db
