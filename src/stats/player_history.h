// A player's figures log by log: plain data that a statistics database reads and the statistics
// site shows, so neither has to know the other.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qla {

// One log's figures of one player.
struct PlayerLogFigures {
    std::string LogLabel; // the log's date, or its id when it has none
    std::string DateKey;  // "YYYY-MM-DD HH:MM:SS"; empty when the log's header is no date
    std::int64_t Kills = 0, Deaths = 0, Teamkills = 0;
    std::size_t Log = 0; // the log's place in import order among the history's logs
    std::string Server;  // the server the log is tagged with; empty for none
    // From the order of the log's kills, which a database keeps from schema version 9 on: his
    // longest runs of kills and of deaths in the log, and the victim of the log's first blood
    // when he drew it (else empty).
    bool StreaksKnown = false;
    std::int64_t KillStreak = 0, DeathStreak = 0;
    std::string FirstBloodVictim;
};

// A player's figures log by log, in import order; Name is the name as stored.
struct PlayerHistory {
    std::string Name;
    std::vector<PlayerLogFigures> Logs;
};

} // namespace qla
