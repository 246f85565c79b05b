// The awards and records as the statistics site and the window show them: over everything a
// store holds, from a log's kills in order, or from a database's history log by log (a
// database's store keeps its logs one after another without their borders).
#pragma once

#include "core/store.h"
#include "export/dashboard/dashboard_model.h"
#include "stats/award_records.h"
#include "stats/awards.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace qla {

// One log's figures of every player, from a database's history.
struct LogFigures {
    std::string Label, Date;
    std::vector<std::pair<std::string, PlayerLogFigures>> Players;
};

// The logs of the history in import order.
std::vector<LogFigures> LogsOfHistory(const std::vector<PlayerHistory>& history);

// Whether a log's streaks are known: its order of kills was stored beside its statistics.
bool LogStreaksKnown(const LogFigures& log);

using LogPlayer = std::pair<std::string, PlayerLogFigures>;

// The best of a log's players by `value` (0: not in the running), ties to fewer deaths.
template <class Value> const LogPlayer* BestOf(const LogFigures& log, Value value) {
    const LogPlayer* best = nullptr;
    for (const auto& player : log.Players) {
        const std::int64_t v = value(player.second);
        if (v <= 0)
            continue;
        if (!best || v > value(best->second) ||
            (v == value(best->second) && player.second.Deaths < best->second.Deaths))
            best = &player;
    }
    return best;
}

// A log's longest run of kills (`kills`) or deaths, ties broken as the awards break them: fewer
// deaths (fewer kills for a run of deaths), then the name without colour codes, then the player
// met first.
const LogPlayer* LongestRunOf(const LogFigures& log, bool kills);

// Each log's first blood, in import order: its killer, its victim and the log's label.
std::vector<AwardEntry> HistoryFirstBloods(const std::vector<LogFigures>& logs);

// A ratio in hundredths, or 0 below the kills and deaths it needs.
std::int64_t RatioFor(const PlayerLogFigures& f, std::int64_t minKills, std::int64_t minDeaths);

// Every award of the table over everything the store holds; `fitOnAll` is the store's skill
// fit on every kill when the caller holds it already (the site's model does), else it is fitted.
std::vector<AwardResult> AllTimeAwards(const AnalysisStore& store,
                                       const DashboardSettings& settings,
                                       const std::vector<SkillRating>* fitOnAll = nullptr);

// The records of any one session: the log's own, or the best of a database's logs.
std::vector<AwardRecord> SessionRecords(const AnalysisStore& store,
                                        const DashboardSettings& settings);

} // namespace qla
