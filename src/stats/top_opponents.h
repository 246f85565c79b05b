// Every player's main opponents, for the statistics site's opponents pages: the players he met
// most (kills either way, teamkills left out), with the weapons of those kills.
#pragma once

#include "stats/versus.h"

#include <cstddef>
#include <vector>

namespace qla {

struct TopOpponent {
    PlayerIndex Opponent = 0;
    VersusCounts Counts; // Kills: the player killed the opponent
    // The weapons, the most kills either way first; empty when the store does not keep every
    // kill's weapon (StoreKeepsWeapons).
    std::vector<WeaponVersus> Weapons;
};

class KillEventIndex;

// Indexed by player (element 0 empty): at most `limit` opponents each, the most kills either
// way first; equal ones in the order the opponents appeared (the lower player index first).
// `index` is the store's (KillEventIndex).
std::vector<std::vector<TopOpponent>> TopOpponents(const AnalysisStore& store,
                                                   const KillEventIndex& index, std::size_t limit);

} // namespace qla
