// What the player table shows of the selected player: the weapons it killed with or died by,
// and the players it killed or was killed by.
#pragma once

#include "core/store.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace qla::ui {

struct WeaponEncounter {
    WeaponId Weapon = 0;
    std::int64_t Kills = 0;  // the player's kills with the weapon
    std::int64_t Deaths = 0; // the player's deaths by it
};

// Weapons 1 to 15 ("Unknown" last) the player killed with or died by, in weapon order.
std::vector<WeaponEncounter> WeaponsOf(const PlayerRecord& player);

struct OpponentEncounter {
    PlayerIndex Opponent = 0;
    std::int64_t Kills = 0;  // kills of the opponent by the player
    std::int64_t Deaths = 0; // kills of the player by the opponent
};

// Every other player the player killed or was killed by, teamkills not counted, the most
// encounters first; equal counts in the order the store met the opponents.
std::vector<OpponentEncounter> OpponentsOf(const AnalysisStore& store, PlayerIndex player);

} // namespace qla::ui
