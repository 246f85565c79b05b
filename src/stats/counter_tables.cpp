// The two player tables read from the player's own counters: self kills by cause (codes 16-22
// and 24-31) and kills by weapon (codes 1-15, "Unknown" included).
#include "stats/detail_tables.h"

#include "core/weapons.h"

namespace qla {
namespace {

template <std::size_t N>
SortTable BuildCounterTable(const std::array<std::int64_t, N>& counters, WeaponId first,
                            WeaponId last, PlayerDetailOrder order) {
    SortTable table(1);
    for (WeaponId code = first; code <= last; ++code) {
        if (code == kWeaponTeamkill)
            continue; // a death by a teammate is no self kill; it has tables of its own
        const std::int64_t count = counters[static_cast<std::size_t>(code)];
        if (count <= 0)
            continue;
        SortRow row;
        row.Cells[1] = TextCell(WeaponDisplayName(code));
        row.Cells[2] = NumberCell(count);
        if (order == PlayerDetailOrder::ItemNames)
            row.Cells[0] = row.Cells[1];
        else if (order == PlayerDetailOrder::Numbers)
            row.Cells[0] = row.Cells[2];
        else if (order == PlayerDetailOrder::Appearance)
            row.Cells[0] = NumberCell(code);
        table.push_back(std::move(row));
    }
    SortRows(table);
    return table;
}

bool IsStoredPlayer(const AnalysisStore& store, PlayerIndex player) {
    return player >= 1 && player <= store.PlayerCount();
}

} // namespace

SortTable BuildSelfKillsTable(const AnalysisStore& store, PlayerIndex player,
                              PlayerDetailOrder order) {
    if (!IsStoredPlayer(store, player))
        return SortTable(1);
    // The causes only full recognition counts follow code 23; in a classic analysis they are
    // all 0, so the table is what it always was.
    return BuildCounterTable(store.Players[player].Deaths, kFirstSuicideCause, kLastFullCause,
                             order);
}

SortTable BuildUsedWeaponsTable(const AnalysisStore& store, PlayerIndex player,
                                PlayerDetailOrder order) {
    if (!IsStoredPlayer(store, player))
        return SortTable(1);
    return BuildCounterTable(store.Players[player].Kills, 1, kWeaponUnknown, order);
}

} // namespace qla
