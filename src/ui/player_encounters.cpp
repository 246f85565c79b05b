// The selected player's weapons from its counters and its opponents from the kill events. One
// pass over the events per selection: far below what a click may take, and nothing to keep
// up to date when the store changes.
#include "ui/player_encounters.h"

#include <algorithm>
#include <unordered_map>

namespace qla::ui {

std::vector<WeaponEncounter> WeaponsOf(const PlayerRecord& player) {
    std::vector<WeaponEncounter> weapons;
    for (WeaponId weapon = 1; weapon <= kWeaponUnknown; ++weapon) {
        const auto slot = static_cast<std::size_t>(weapon);
        if (player.Kills[slot] != 0 || player.Deaths[slot] != 0)
            weapons.push_back({weapon, player.Kills[slot], player.Deaths[slot]});
    }
    return weapons;
}

std::vector<OpponentEncounter> OpponentsOf(const AnalysisStore& store, PlayerIndex player) {
    std::vector<OpponentEncounter> opponents;
    std::unordered_map<PlayerIndex, std::size_t> rowOf;
    const auto rowFor = [&](PlayerIndex opponent) -> OpponentEncounter& {
        const auto [at, added] = rowOf.try_emplace(opponent, opponents.size());
        if (added)
            opponents.push_back({opponent, 0, 0});
        return opponents[at->second];
    };
    for (const std::size_t position : EntryIndexes(store.KillEvents)) {
        const KillEvent& event = store.KillEvents[position];
        if (event.WeaponText == kEventTeamkill || event.Killer == event.Victim)
            continue;
        if (event.Killer == player)
            rowFor(event.Victim).Kills += store.KillEventCount(position);
        else if (event.Victim == player)
            rowFor(event.Killer).Deaths += store.KillEventCount(position);
    }
    std::stable_sort(opponents.begin(), opponents.end(),
                     [](const OpponentEncounter& a, const OpponentEncounter& b) {
                         return a.Kills + a.Deaths > b.Kills + b.Deaths;
                     });
    return opponents;
}

} // namespace qla::ui
