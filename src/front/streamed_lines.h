// The chats and other lines of a statistics database's selection, streamed for an export of a
// store that was read from the same selection earlier without them (the window's selection):
// the store keeps only its figures, whatever the history's length, and the rows are read in a
// transaction of their own, once it has shown that the selection still holds what the store was
// read from.
#pragma once

#include "analysis/merge_players.h"
#include "db/database_lines.h"
#include "db/database_reading.h"
#include "front/hiding_lines.h"

#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace qla::front {

class StreamedLines {
  public:
    // `read` is what reading the selection gave when the store was read; `playerOf` files a
    // stored name as the store holds it now (merged, hidden). Null when the rows cannot stand
    // beside the store: the database changed since (other logs, or its logs' figures), it
    // cannot stream (one from before stored statistics), or a speaker is no player of the
    // store; the caller then reads the texts into the store. Nullopt after printing
    // "qla: <reason>" to err.
    static std::optional<std::unique_ptr<StreamedLines>> Open(const db::DatabaseSource& source,
                                                              const db::LoadedStore& read,
                                                              db::PlayerOfName playerOf,
                                                              std::ostream& err);

    const LineSource& Lines() const { return *hiding_; }

  private:
    StreamedLines() = default;
    std::unique_ptr<db::DatabaseReading> reading_;
    std::unique_ptr<db::DatabaseLines> lines_;
    std::unique_ptr<HidingLines> hiding_;
};

// The record a stored name's lines are filed under in a store read from a database: the merged
// player of the name (`merged`, when the players were merged) or its own record; for a name the
// database hides (its identity key in `hiddenKeys`), the hidden player's; 0 for a name the store
// does not know.
PlayerIndex FiledUnder(const AnalysisStore& store, const MergedNames* merged,
                       const std::unordered_set<std::string>& hiddenKeys, std::string_view name);

// Whether two readings of a selection hold the same logs with the same figures.
bool SameSelectionRead(const db::LoadedStore& a, const db::LoadedStore& b);

} // namespace qla::front
