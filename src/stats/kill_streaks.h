// Kill and death streaks: the kills of a store walked in the order they were made. A store read
// from a log keeps each kill as one entry of KillEvents in log order; a store built from a
// database's stored statistics keeps the kills of one killer on one victim summed in one entry,
// and then the order comes beside it (KillOrder).
#pragma once

#include "core/store.h"

#include <cstdint>
#include <span>
#include <utility>
#include <vector>

namespace qla {

// The kills of a store built from stored statistics, one by one in the order they were made.
struct KillOrder {
    // Each kill: the position in the store's KillEvents of the entry that counts it.
    std::vector<std::uint32_t> Entries;
    // Each log in the store's order: where its kills end in Entries, and whether its order is
    // stored (a log imported before the order was kept has none of its kills in Entries).
    std::vector<std::size_t> LogEnds;
    std::vector<bool> Known;
    // Positions in Entries, ascending, where a session begins inside a log (a "logfile opened
    // on" line after its first line).
    std::vector<std::size_t> SessionStarts;

    // Whether every log's order is stored (true for no log).
    bool AllKnown() const;
    // The sessions of log `log` as spans [first, end) of Entries: the log's start and each
    // session begun inside it start one.
    std::vector<std::pair<std::size_t, std::size_t>> SessionsOf(std::size_t log) const;
};

// A player's longest streaks in a store, and the log (its position) each was made in; the first
// log that reached the length.
struct PlayerStreaks {
    std::int64_t Kills = 0, Deaths = 0;
    std::size_t KillsLog = 0, DeathsLog = 0;
};

// By player index (element 0 unused); the streaks start again at each log's end, the log i
// ending at killEntriesEnd[i] in KillEvents (one log when empty). With `order`, the kills are
// walked in its order, its logs in place of killEntriesEnd, and the streaks start again at its
// sessions inside a log too.
std::vector<PlayerStreaks> LongestStreaks(const AnalysisStore& store,
                                          std::span<const std::size_t> killEntriesEnd,
                                          const KillOrder* order = nullptr);

// One log's streaks and first blood, from a KillOrder.
struct LogKillFigures {
    bool Known = false; // the log's order is stored
    struct Player {
        PlayerIndex Index = 0;
        std::int64_t Kills = 0, Deaths = 0; // his longest streaks in the log
    };
    std::vector<Player> Players; // those with a streak, in order of their indexes
    // The log's first kill between players (teamkills apart); 0 when it has none.
    PlayerIndex FirstBloodKiller = 0, FirstBloodVictim = 0;
    // Worked out with the sessions inside the log, its order known: the first such kill of
    // each session that has one (killer, victim).
    std::vector<std::pair<PlayerIndex, PlayerIndex>> SessionFirstBloods;
};

// Each log's figures, the log i ending at killEntriesEnd[i] in KillEvents (the first blood, which
// the entries tell in their order) and at order.LogEnds[i] in the order (the streaks).
// `sessionsInsideLogs`: the streaks start again at a session inside a log too (as qla awards
// reads a log), else only at each log's start (as the statistics site reads a log, whole).
std::vector<LogKillFigures> KillFiguresOfLogs(const AnalysisStore& store,
                                              std::span<const std::size_t> killEntriesEnd,
                                              const KillOrder& order, bool sessionsInsideLogs);
// The figures of one log: its kills [entriesBegin, entriesEnd) of KillEvents, and `order` holding
// that log alone; `sessionsInsideLogs` as above (the site reads a log whole).
LogKillFigures KillFiguresOfLog(const AnalysisStore& store, std::size_t entriesBegin,
                                std::size_t entriesEnd, const KillOrder& order,
                                bool sessionsInsideLogs = false);

// Each player's longest streaks over the logs of `figures`, by index in a store of `players`
// records, each with the first log that reached it: what LongestStreaks gives over the order
// the figures were worked out from.
std::vector<PlayerStreaks> StreaksOfFigures(std::span<const LogKillFigures> figures,
                                            std::size_t players);

} // namespace qla
