// Summing the histories of a merged player's names log by log.
#include "export/dashboard/merged_history.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>

namespace qla {

std::vector<PlayerHistory> MergedHistories(const std::vector<PlayerHistory>& byName,
                                           const AnalysisStore& merged, const MergedNames& names) {
    std::unordered_map<std::string_view, const PlayerHistory*> historyOf;
    for (const PlayerHistory& history : byName)
        historyOf.emplace(history.Name, &history);
    std::vector<PlayerHistory> result;
    for (PlayerIndex p = 1; p <= merged.PlayerCount(); ++p) {
        std::vector<PlayerLogFigures> logs;
        for (const std::string& name : names.NamesOf(p))
            if (const auto found = historyOf.find(name); found != historyOf.end())
                logs.insert(logs.end(), found->second->Logs.begin(), found->second->Logs.end());
        if (logs.empty())
            continue;
        std::stable_sort(
            logs.begin(), logs.end(),
            [](const PlayerLogFigures& a, const PlayerLogFigures& b) { return a.Log < b.Log; });
        PlayerHistory history{merged.Players[p].Name, {}};
        for (const PlayerLogFigures& log : logs) {
            if (!history.Logs.empty() && history.Logs.back().Log == log.Log) {
                PlayerLogFigures& sum = history.Logs.back();
                sum.Kills += log.Kills;
                sum.Deaths += log.Deaths;
                sum.Teamkills += log.Teamkills;
            } else {
                history.Logs.push_back(log);
            }
        }
        result.push_back(std::move(history));
    }
    return result;
}

} // namespace qla
