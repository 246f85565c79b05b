// The rows of the tabular views as plain values, shared by the JSON and CSV writers: what the
// SortTable builders order, with numbers kept as numbers.
#pragma once

#include "core/store.h"
#include "stats/orders.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qla {

struct StandardRow {
    std::string_view Name;
    std::int64_t Kills = 0, Deaths = 0, RatioHundredths = 0, Teamkills = 0;
};
std::vector<StandardRow> StandardRows(const AnalysisStore& store, StandardOrder order,
                                      bool ascending);

struct WeaponRow {
    std::string Weapon;
    std::int64_t Kills = 0, SharePercent = 0;
    PlayerIndex MostKillsBy = 0, MostDeathsBy = 0; // 0: nobody
    std::int64_t MostKills = 0, MostDeaths = 0;
};
// Weapons 1-15 with the players who kill most with each and die most by each.
std::vector<WeaponRow> WeaponRows(const AnalysisStore& store, WeaponOrder order, bool ascending);

struct SectionRow {
    std::string Item; // opponent's stored name, weapon or cause
    std::int64_t Count = 0;
};
// Section keys in the order of the player-details page.
inline constexpr std::array<std::string_view, 6> kSectionKeys{
    "kills", "deaths", "selfKills", "teamkills", "teamdeaths", "usedWeapons"};
std::array<std::vector<SectionRow>, 6> PlayerSectionRows(const AnalysisStore& store,
                                                         PlayerIndex player,
                                                         PlayerDetailOrder order, bool ascending);

} // namespace qla
