// Each log's streaks and first blood as worked out before, for a process that fills a store from
// the database again and again (qla watch publishing its site after every batch): a log whose
// rows are as they were is not read for its order of kills again, which for a long history is
// most of a batch's reading. Kept by the players' names, which a log filed by its own digest
// always files, so the figures fit a store whose players are numbered otherwise.
#pragma once

#include "db/log_catalog.h"
#include "stats/kill_streaks.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace qla::db {

class KillFiguresCache {
  public:
    // Drops every log's figures unless `rewrites` is the count they were worked out under;
    // nullopt (a database that keeps no count) keeps nothing.
    void Validate(std::optional<std::int64_t> rewrites);
    // Drops the figures of the logs not in `ids`.
    void KeepOnly(const std::vector<LogId>& ids);
    void Forget(LogId id) { kept_.erase(id); }

    // Whether figures are kept for the log as the catalogue now describes it.
    bool Holds(const LogEntry& log) const;
    // The kept figures in the store's players; nullopt when a name is not one of them.
    std::optional<LogKillFigures> Find(const LogEntry& log, const AnalysisStore& store) const;
    void Keep(const LogEntry& log, const AnalysisStore& store, const LogKillFigures& figures);

  private:
    struct Streaks {
        std::string Name;
        std::int64_t Kills = 0, Deaths = 0;
    };
    struct Kept {
        // What the log was when they were worked out: it only grows, or its rows are rewritten.
        std::string Fingerprint, LastImported;
        std::int64_t StoredBytes = 0, Lines = 0;
        bool Known = false;
        std::vector<Streaks> Players;
        std::optional<std::string> FirstBloodKiller, FirstBloodVictim;
    };
    static bool Describes(const Kept& kept, const LogEntry& log);

    std::optional<std::int64_t> rewrites_;
    std::map<LogId, Kept> kept_;
};

} // namespace qla::db
