// The weapon table: for weapons 1-15 the total kills, the share of all kills, and the players
// with the most kills with and the most deaths by each weapon. One pass over the players.
#include "stats/detail_tables.h"

#include "core/weapons.h"
#include "stats/whole_division.h"

#include <array>

namespace qla {
namespace {

constexpr int kTableWeapons = kWeaponUnknown; // codes 1-15
constexpr std::string_view kNobody = "^1N/A"; // shown in red like any coloured name

struct WeaponTotals {
    std::int64_t kills = 0;
    std::int64_t bestKills = 0;
    std::int64_t bestDeaths = 0;
    PlayerIndex bestKiller = 0; // 0: nobody has a kill with the weapon yet
    PlayerIndex bestVictim = 0;
};

std::string_view BestName(const AnalysisStore& store, PlayerIndex player) {
    return player == 0 ? kNobody : std::string_view(store.Players[player].Name);
}

} // namespace

SortTable BuildWeaponTable(const AnalysisStore& store, WeaponOrder order) {
    std::array<WeaponTotals, kTableWeapons + 1> totals{};
    std::int64_t allKills = 0;
    for (const PlayerIndex p : store.PlayerIndexes()) {
        const PlayerRecord& player = store.Players[p];
        for (WeaponId w = 1; w <= kTableWeapons; ++w) {
            WeaponTotals& weapon = totals[w];
            const std::int64_t kills = player.Kills[w];
            const std::int64_t deaths = player.Deaths[w];
            weapon.kills += kills;
            allKills += kills;
            // Only a strictly greater count wins, so ties go to the lower index.
            if (kills > weapon.bestKills) {
                weapon.bestKills = kills;
                weapon.bestKiller = p;
            }
            if (deaths > weapon.bestDeaths) {
                weapon.bestDeaths = deaths;
                weapon.bestVictim = p;
            }
        }
    }

    SortTable table(kTableWeapons + 1);
    for (WeaponId w = 1; w <= kTableWeapons; ++w) {
        const WeaponTotals& weapon = totals[w];
        auto& cells = table[w].Cells;
        cells[1] = TextCell(WeaponDisplayName(w));
        cells[2] = NumberCell(weapon.kills);
        // With no kills at all there is nothing to share out: every weapon has 0 per cent.
        cells[3] =
            NumberCell(allKills == 0 ? 0 : DivideRoundHalfEven(weapon.kills * 100, allKills));
        cells[4] = TextCell(BestName(store, weapon.bestKiller));
        cells[5] = TextCell(BestName(store, weapon.bestVictim));
        cells[6] = NumberCell(weapon.bestKills);
        cells[7] = NumberCell(weapon.bestDeaths);
        // The column orders copy display cells 1-5.
        const auto key = static_cast<int>(order);
        if (key >= 0 && key <= 4)
            cells[0] = cells[key + 1];
        else if (order == WeaponOrder::StandardOrder)
            cells[0] = NumberCell(w);
    }
    SortRows(table);
    return table;
}

} // namespace qla
