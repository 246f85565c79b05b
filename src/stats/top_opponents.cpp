// One pass over the kill entries gathers every pair's kills and weapons; each player's list is
// then cut to the first `limit` opponents.
#include "stats/top_opponents.h"

#include <algorithm>
#include <map>
#include <utility>

namespace qla {

std::vector<std::vector<TopOpponent>> TopOpponents(const AnalysisStore& store, std::size_t limit) {
    // Every record, the hidden player's too: he stays in the others' lists.
    const auto players = std::max<std::size_t>(store.Players.size(), 1);
    const bool weapons = StoreKeepsWeapons(store);
    // The pair's players in index order; the counts are from the first's side.
    struct PairKills {
        VersusCounts Counts;
        std::array<VersusCounts, kEventWeaponTexts.size()> ByWeapon{};
    };
    std::map<std::pair<PlayerIndex, PlayerIndex>, PairKills> pairs;
    for (std::size_t i = 1; i < store.KillEvents.size(); ++i) {
        const KillEvent& event = store.KillEvents[i];
        if (event.WeaponText == kEventTeamkill || event.Killer == event.Victim ||
            event.Killer <= 0 || event.Victim <= 0 ||
            static_cast<std::size_t>(std::max(event.Killer, event.Victim)) >= players)
            continue;
        const auto key = std::minmax(event.Killer, event.Victim);
        PairKills& pair = pairs[key];
        const auto kills = static_cast<std::int64_t>(store.KillEventCount(i));
        const bool firstKilled = event.Killer == key.first;
        (firstKilled ? pair.Counts.Kills : pair.Counts.Deaths) += kills;
        if (weapons && event.WeaponText < pair.ByWeapon.size())
            (firstKilled ? pair.ByWeapon[event.WeaponText].Kills
                         : pair.ByWeapon[event.WeaponText].Deaths) += kills;
    }
    std::vector<std::vector<TopOpponent>> top(players);
    for (const auto& [key, pair] : pairs) {
        const auto add = [&](PlayerIndex player, PlayerIndex opponent, bool swap) {
            TopOpponent summary;
            summary.Opponent = opponent;
            summary.Counts = pair.Counts;
            if (swap)
                std::swap(summary.Counts.Kills, summary.Counts.Deaths);
            for (std::size_t text = 0; text < pair.ByWeapon.size(); ++text) {
                VersusCounts counts = pair.ByWeapon[text];
                if (counts.EitherWay() == 0)
                    continue;
                if (swap)
                    std::swap(counts.Kills, counts.Deaths);
                summary.Weapons.push_back({static_cast<EventWeapon>(text), counts});
            }
            OrderWeapons(summary.Weapons);
            top[static_cast<std::size_t>(player)].push_back(std::move(summary));
        };
        add(key.first, key.second, false);
        add(key.second, key.first, true);
    }
    for (auto& list : top) {
        // The map gives each list in the order of the opponents' indexes: a stable sort keeps
        // it for equal counts.
        std::stable_sort(list.begin(), list.end(), [](const TopOpponent& a, const TopOpponent& b) {
            return a.Counts.EitherWay() > b.Counts.EitherWay();
        });
        if (list.size() > limit)
            list.resize(limit);
    }
    return top;
}

} // namespace qla
