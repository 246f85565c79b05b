// The standard player table: one row per player with name, kills, deaths, ratio and teamkills.
#include "stats/sort_table.h"

namespace qla {

SortTable BuildStandardOrder(const AnalysisStore& store, int orderKey) {
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
        // Keys 0-4 copy display cells 1-5; any other key stays empty and keeps appearance order.
        if (orderKey >= 0 && orderKey <= 4)
            cells[0] = cells[orderKey + 1];
        else if (orderKey == 5)
            cells[0] = NumberCell(i);
    }
    SortRows(table);
    return table;
}

} // namespace qla
