// The streaks and first blood kept by log, by the players' names.
#include "db/kill_figures_cache.h"

#include <algorithm>

namespace qla::db {

void KillFiguresCache::Validate(std::optional<std::int64_t> rewrites) {
    if (!rewrites || rewrites != rewrites_)
        kept_.clear();
    rewrites_ = rewrites;
}

void KillFiguresCache::KeepOnly(const std::vector<LogId>& ids) {
    std::erase_if(kept_, [&](const auto& entry) {
        return std::find(ids.begin(), ids.end(), entry.first) == ids.end();
    });
}

bool KillFiguresCache::Describes(const Kept& kept, const LogEntry& log) {
    return kept.Fingerprint == log.Fingerprint && kept.LastImported == log.LastImported &&
           kept.StoredBytes == log.StoredBytes && kept.Lines == log.Lines;
}

bool KillFiguresCache::Holds(const LogEntry& log) const {
    const auto found = kept_.find(log.Id);
    return rewrites_ && found != kept_.end() && Describes(found->second, log);
}

std::optional<LogKillFigures> KillFiguresCache::Find(const LogEntry& log,
                                                     const AnalysisStore& store) const {
    if (!Holds(log))
        return std::nullopt;
    const Kept& kept = kept_.at(log.Id);
    LogKillFigures figures;
    figures.Known = kept.Known;
    for (const Streaks& streaks : kept.Players) {
        const auto player = store.FindPlayer(streaks.Name);
        if (!player)
            return std::nullopt;
        figures.Players.push_back({*player, streaks.Kills, streaks.Deaths});
    }
    std::sort(figures.Players.begin(), figures.Players.end(),
              [](const auto& a, const auto& b) { return a.Index < b.Index; });
    if (kept.FirstBloodKiller && kept.FirstBloodVictim) {
        const auto killer = store.FindPlayer(*kept.FirstBloodKiller);
        const auto victim = store.FindPlayer(*kept.FirstBloodVictim);
        if (!killer || !victim)
            return std::nullopt;
        figures.FirstBloodKiller = *killer;
        figures.FirstBloodVictim = *victim;
    }
    return figures;
}

void KillFiguresCache::Keep(const LogEntry& log, const AnalysisStore& store,
                            const LogKillFigures& figures) {
    const auto nameOf = [&](PlayerIndex p) {
        return store.Players[static_cast<std::size_t>(p)].Name;
    };
    Kept kept{
        log.Fingerprint, log.LastImported, log.StoredBytes, log.Lines, figures.Known, {}, {}, {}};
    kept.Players.reserve(figures.Players.size());
    for (const LogKillFigures::Player& player : figures.Players)
        kept.Players.push_back({nameOf(player.Index), player.Kills, player.Deaths});
    if (figures.FirstBloodKiller != 0 && figures.FirstBloodVictim != 0) {
        kept.FirstBloodKiller = nameOf(figures.FirstBloodKiller);
        kept.FirstBloodVictim = nameOf(figures.FirstBloodVictim);
    }
    kept_[log.Id] = std::move(kept);
}

} // namespace qla::db
