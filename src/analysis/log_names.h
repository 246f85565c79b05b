// What one analysed log holds of player names, for the alias commands that look at several logs
// at once: its stored names with their recorded lines, and its renames.
#pragma once

#include "analysis/alias_list.h"
#include "core/store.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace qla {

struct LogNames {
    std::vector<std::string> Names;  // in order of first appearance
    std::vector<std::int64_t> Lines; // recorded lines of each name (RecordedLinesPerPlayer)
    std::vector<std::pair<std::string, std::string>> Renames; // old, new
    std::vector<std::uint64_t> RenameLines; // the line of each rename, 0 when unknown
    std::int64_t Number = 1; // the log's number as the user knows it (its id in a database)
};

// A store that tracks holders leaves out the renames from or to a name many people only pass
// through (PassingNameKeys): they say nothing of who is who.
LogNames NamesOfStore(const AnalysisStore& store, std::int64_t number = 1);

struct ListedPlayer {
    std::string DisplayName; // the name of most recorded lines over all logs, first on a tie
    std::vector<std::string> Names;
};

// Every player of the logs and the aliases, as merging would make them, in order of first
// appearance; names only the aliases know come last.
std::vector<ListedPlayer> ListPlayers(const std::vector<LogNames>& logs, const AliasList& aliases);

} // namespace qla
