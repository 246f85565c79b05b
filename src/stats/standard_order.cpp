// The standard player table: one row per player with name, kills, deaths, ratio and teamkills.
#include "stats/sort_table.h"

namespace qla {

SortTable BuildStandardOrder(const AnalysisStore& store, StandardOrder order) {
    const PlayerIndex count = store.PlayerCount();
    SortTable table(static_cast<std::size_t>(count) + 1);
    for (const PlayerIndex i : store.PlayerIndexes()) {
        const PlayerRecord& player = store.Players[i];
        auto& cells = table[i].Cells;
        cells[1] = TextCell(player.Name);
        cells[2] = NumberCell(player.Kills[0]);
        cells[3] = NumberCell(player.Deaths[0]);
        cells[4] = NumberCell(KillDeathRatio(player.Kills[0], player.Deaths[0]));
        cells[5] = NumberCell(player.Teamkills);
        // The column orders copy display cells 1-5; a value outside the enum leaves the key
        // empty, which keeps appearance order.
        const auto key = static_cast<int>(order);
        if (key >= 0 && key <= 4)
            cells[0] = cells[key + 1];
        else if (order == StandardOrder::Appearance)
            cells[0] = NumberCell(i);
    }
    SortRows(table);
    return table;
}

} // namespace qla
