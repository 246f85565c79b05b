// Two players against each other: the kills either way, by weapon and by stretch of the
// history, and the chance the skill rating gives the first of winning an encounter. Teamkills
// do not count, as in the kills and deaths tables of a player's page.
#pragma once

#include "core/store.h"
#include "stats/skill_rating.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace qla {

struct VersusCounts {
    std::int64_t Kills = 0;  // the player killed the other
    std::int64_t Deaths = 0; // the other killed the player
    std::int64_t EitherWay() const { return Kills + Deaths; }
};

// Kills of one killer on one victim with one event text; Count kills.
struct WeaponKill {
    PlayerIndex Killer = 0, Victim = 0;
    EventWeapon WeaponText = 0;
    std::uint64_t Count = 1;
};

struct WeaponVersus {
    EventWeapon WeaponText = 0;
    VersusCounts Counts;
};

// The most kills either way first, ties by the weapon's text.
void OrderWeapons(std::vector<WeaponVersus>& weapons);

// The weapons of the kills between `player` and `other` (teamkills left out), the most kills
// either way first, ties by the weapon's text.
std::vector<WeaponVersus> CountWeaponsVersus(std::span<const WeaponKill> kills, PlayerIndex player,
                                             PlayerIndex other);

// Each kill entry of the store as a WeaponKill. Only a store whose entries are single kills
// (KillEventCounts empty: read from lines) keeps every kill's weapon; StoreKeepsWeapons says so.
bool StoreKeepsWeapons(const AnalysisStore& store);
std::vector<WeaponKill> WeaponKillsOf(const AnalysisStore& store);

// The kills either way in the store, and in each stretch of its kill entries: stretch i ends
// before killEntriesEnd[i] and starts where stretch i - 1 ended (a history's logs).
struct VersusTally {
    VersusCounts Total;
    std::vector<VersusCounts> Stretches;
};
VersusTally CountVersus(const AnalysisStore& store, PlayerIndex player, PlayerIndex other,
                        std::span<const std::size_t> killEntriesEnd = {});

// The two players' ratings from one fit of the whole store; a player without a single
// encounter has none, and then there is no chance to tell.
struct VersusChance {
    std::optional<SkillRating> Player, Other;
    std::optional<double> PlayerWins; // the chance that the player, not the other, wins
};
VersusChance ChanceOf(const std::vector<SkillRating>& fitted, PlayerIndex player,
                      PlayerIndex other);

} // namespace qla
