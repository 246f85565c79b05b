#include "export/dashboard/history_kills.h"

#include <algorithm>

namespace qla {

void AddKillFigures(std::vector<PlayerHistory>& history, const AnalysisStore& store,
                    std::span<const std::size_t> killEntriesEnd, const KillOrder& order) {
    if (order.LogEnds.empty())
        return;
    AddKillFigures(history, store, KillFiguresOfLogs(store, killEntriesEnd, order, false));
}

void AddKillFigures(std::vector<PlayerHistory>& history, const AnalysisStore& store,
                    std::span<const LogKillFigures> logs) {
    for (PlayerHistory& player : history) {
        const auto index = store.FindPlayer(player.Name);
        for (PlayerLogFigures& figures : player.Logs) {
            if (figures.Log >= logs.size())
                continue;
            const LogKillFigures& log = logs[figures.Log];
            figures.StreaksKnown = log.Known;
            if (!index)
                continue;
            const auto mine = std::lower_bound(
                log.Players.begin(), log.Players.end(), *index,
                [](const LogKillFigures::Player& p, PlayerIndex i) { return p.Index < i; });
            if (mine != log.Players.end() && mine->Index == *index) {
                figures.KillStreak = mine->Kills;
                figures.DeathStreak = mine->Deaths;
            }
            if (log.FirstBloodKiller == *index && log.FirstBloodVictim != 0)
                figures.FirstBloodVictim =
                    store.Players[static_cast<std::size_t>(log.FirstBloodVictim)].Name;
        }
    }
}

} // namespace qla
