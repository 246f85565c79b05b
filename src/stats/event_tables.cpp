// The four player tables counted from kill events: kills, deaths, teamkills and teamdeaths.
// Each reads only the player's own events from the KillEventIndex and finds an opponent's row
// through a hash map, so the rows and their order are those of a search from row 1 per event.
#include "stats/detail_tables.h"
#include "stats/opponent_rows.h"

namespace qla {
namespace {

SortTable BuildEventTable(const AnalysisStore& store, const KillEventIndex& index,
                          std::size_t section, PlayerIndex player, PlayerDetailOrder order) {
    const std::vector<OpponentRow> found = CountOpponents(store, index, section, player);
    SortTable table(found.size() + 1);
    for (std::size_t row = 1; row <= found.size(); ++row) {
        const OpponentRow& item = found[row - 1];
        auto& cells = table[row].Cells;
        const bool known =
            item.Opponent >= 0 && static_cast<std::size_t>(item.Opponent) < store.Players.size();
        cells[1] = TextCell(known ? std::string_view(store.Players[item.Opponent].Name) : "");
        cells[2] = NumberCell(item.Count);
        if (order == PlayerDetailOrder::ItemNames)
            cells[0] = cells[1];
        else if (order == PlayerDetailOrder::Numbers)
            cells[0] = cells[2];
        else if (order == PlayerDetailOrder::Appearance)
            cells[0] = NumberCell(item.FirstEvent);
    }
    SortRows(table);
    return table;
}

} // namespace

SortTable BuildKillsTable(const AnalysisStore& store, const KillEventIndex& index,
                          PlayerIndex player, PlayerDetailOrder order) {
    return BuildEventTable(store, index, 0, player, order);
}

SortTable BuildDeathsTable(const AnalysisStore& store, const KillEventIndex& index,
                           PlayerIndex player, PlayerDetailOrder order) {
    return BuildEventTable(store, index, 1, player, order);
}

SortTable BuildTeamkillsTable(const AnalysisStore& store, const KillEventIndex& index,
                              PlayerIndex player, PlayerDetailOrder order) {
    return BuildEventTable(store, index, 3, player, order);
}

SortTable BuildTeamdeathsTable(const AnalysisStore& store, const KillEventIndex& index,
                               PlayerIndex player, PlayerDetailOrder order) {
    return BuildEventTable(store, index, 4, player, order);
}

} // namespace qla
