// Boards of a server or of the latest week or month, summed from the players' histories.
#include "export/dashboard/history_boards.h"

#include <algorithm>
#include <functional>
#include <map>

namespace qla {
namespace {

using KillRows = std::vector<std::pair<PlayerIndex, std::int64_t>>;

// Each player's kills in the logs `group` puts in a group (by its key; empty: none), players in
// store order.
std::map<std::string, KillRows>
KillsByGroup(const std::vector<const PlayerHistory*>& histories,
             const std::function<std::string(const PlayerLogFigures&)>& group) {
    std::map<std::string, KillRows> kills;
    for (std::size_t at = 0; at < histories.size(); ++at) {
        if (histories[at] == nullptr)
            continue;
        const auto player = static_cast<PlayerIndex>(at + 1);
        for (const PlayerLogFigures& log : histories[at]->Logs) {
            const std::string key = log.Kills == 0 ? std::string() : group(log);
            if (key.empty())
                continue;
            KillRows& rows = kills[key];
            if (rows.empty() || rows.back().first != player)
                rows.emplace_back(player, 0);
            rows.back().second += log.Kills;
        }
    }
    return kills;
}

KillBoard Ranked(std::string name, KillRows rows, std::size_t size) {
    std::stable_sort(rows.begin(), rows.end(),
                     [](const auto& a, const auto& b) { return a.second > b.second; });
    rows.resize(std::min(rows.size(), size));
    return {std::move(name), std::move(rows)};
}

} // namespace

std::vector<KillBoard> ServerBoardsOf(const std::vector<const PlayerHistory*>& histories,
                                      std::size_t size) {
    std::map<std::string, KillRows> kills =
        KillsByGroup(histories, [](const PlayerLogFigures& log) { return log.Server; });
    std::vector<KillBoard> boards;
    if (kills.size() < 2)
        return boards;
    for (auto& [server, rows] : kills)
        boards.push_back(Ranked(server, std::move(rows), size));
    return boards;
}

std::optional<KillBoard> LatestPeriodBoard(const std::vector<const PlayerHistory*>& histories,
                                           AwardPeriodKind kind, std::size_t size) {
    std::string newest;
    bool elsewhere = false; // a log outside the latest period
    for (const PlayerHistory* history : histories)
        if (history != nullptr)
            for (const PlayerLogFigures& log : history->Logs)
                newest = std::max(newest, log.DateKey);
    if (newest.empty())
        return std::nullopt;
    const std::string latest = PeriodKeyOf(kind, newest);
    for (const PlayerHistory* history : histories)
        if (history != nullptr)
            for (const PlayerLogFigures& log : history->Logs)
                elsewhere =
                    elsewhere || log.DateKey.empty() || PeriodKeyOf(kind, log.DateKey) != latest;
    if (!elsewhere)
        return std::nullopt;
    std::map<std::string, KillRows> kills =
        KillsByGroup(histories, [&](const PlayerLogFigures& log) {
            return !log.DateKey.empty() && PeriodKeyOf(kind, log.DateKey) == latest ? latest : "";
        });
    return Ranked(latest, std::move(kills[latest]), size);
}

} // namespace qla
