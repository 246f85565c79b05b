// The sessions `qla awards` gives awards over, and the store of any set of them. From a log, a
// session is the lines from a "logfile opened on" line (or the log's start) to the next such
// line; from a database, a session is one stored log, built from its stored statistics and the
// order of its kills stored beside them.
#pragma once

#include "cli/log_source.h"
#include "core/store.h"
#include "stats/kill_streaks.h"

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace qla::cli {

// The store of some sessions, and the order of its kills when its KillEvents keep them summed.
struct SessionsStore {
    const AnalysisStore* Store = nullptr; // nullptr after the reason was printed
    const KillOrder* Order = nullptr;     // nullptr: KillEvents hold each kill, in order
    // The players' streaks and each log's figures worked out as the logs were read, their order
    // let go; empty: from the kills (Order).
    std::vector<PlayerStreaks> Streaks;
    std::vector<LogKillFigures> Figures;
};

struct AwardSessions {
    std::vector<std::string> Labels;               // "game.log:2", "log 7"
    std::vector<std::optional<std::string>> Dates; // date keys; nothing without a date
    std::vector<std::size_t> KillEntriesEnd;       // each session's end in the whole store
    // Each session: whether the order of its kills is known (a stored log imported before the
    // database kept it has none).
    std::vector<bool> StreaksKnown;
    // The store of the sessions listed (positions, ascending), players merged as the command
    // line asks: the whole store when they are all, else built into `scratch` (its order into
    // `scratchOrder`).
    std::function<SessionsStore(const std::vector<std::size_t>&, AnalysisStore& scratch,
                                KillOrder& scratchOrder, std::ostream&)>
        Build;
};

// Reads the source into `whole` (every session, merged as asked) and finds its sessions;
// nullopt after printing the reason to err.
std::optional<AwardSessions> ReadAwardSessions(LogSource& source, AnalysisStore& whole,
                                               std::ostream& err);

} // namespace qla::cli
