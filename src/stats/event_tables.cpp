// The four player tables counted from kill events: kills, deaths, teamkills and teamdeaths.
// Each reads only the player's own events from the KillEventIndex and finds an opponent's row
// through a hash map, so the rows and their order are those of a search from row 1 per event.
#include "stats/detail_tables.h"
#include "stats/row_of_player.h"

#include <algorithm>

namespace qla {
namespace {

struct OpponentRow {
    PlayerIndex opponent = 0;
    std::int64_t count = 0;
    std::int32_t firstEvent = 0; // position in KillEvents of the event that created the row
};

SortTable BuildEventTable(const AnalysisStore& store, const PlayerEvents& events, bool teamkills,
                          int detailOrderKey) {
    const std::uint8_t wanted = teamkills ? 1 : 0;
    std::size_t counted = 0;
    for (const std::uint8_t flag : events.Teamkills)
        counted += flag == wanted ? 1 : 0;
    // Names are unique per record, so comparing player indexes is comparing exact names.
    std::vector<OpponentRow> found;
    // A table has at most one row per stored player, however many events it counts.
    RowOfPlayer rowOf(std::min(counted, store.Players.size()));
    for (std::size_t i = 0; i < events.Positions.size(); ++i) {
        const std::int32_t position = events.Positions[i];
        if (position < 1 || static_cast<std::size_t>(position) >= store.KillEvents.size())
            continue; // an index built from another store
        if (events.Teamkills[i] != wanted)
            continue;
        const PlayerIndex opponent = events.Opponents[i];
        const auto [row, isNew] = rowOf.FindOrAdd(opponent, found.size());
        if (isNew)
            found.push_back({opponent, 1, position});
        else
            ++found[row].count;
    }

    SortTable table(found.size() + 1);
    for (std::size_t row = 1; row <= found.size(); ++row) {
        const OpponentRow& item = found[row - 1];
        auto& cells = table[row].Cells;
        const bool known =
            item.opponent >= 0 && static_cast<std::size_t>(item.opponent) < store.Players.size();
        cells[1] = TextCell(known ? std::string_view(store.Players[item.opponent].Name) : "");
        cells[2] = NumberCell(item.count);
        if (detailOrderKey == 0)
            cells[0] = cells[1];
        else if (detailOrderKey == 1)
            cells[0] = cells[2];
        else if (detailOrderKey == 2)
            cells[0] = NumberCell(item.firstEvent);
    }
    SortRows(table);
    return table;
}

} // namespace

SortTable BuildKillsTable(const AnalysisStore& store, const KillEventIndex& index,
                          PlayerIndex player, int detailOrderKey) {
    return BuildEventTable(store, index.KillerEvents(player), false, detailOrderKey);
}

SortTable BuildDeathsTable(const AnalysisStore& store, const KillEventIndex& index,
                           PlayerIndex player, int detailOrderKey) {
    return BuildEventTable(store, index.VictimEvents(player), false, detailOrderKey);
}

SortTable BuildTeamkillsTable(const AnalysisStore& store, const KillEventIndex& index,
                              PlayerIndex player, int detailOrderKey) {
    return BuildEventTable(store, index.KillerEvents(player), true, detailOrderKey);
}

SortTable BuildTeamdeathsTable(const AnalysisStore& store, const KillEventIndex& index,
                               PlayerIndex player, int detailOrderKey) {
    return BuildEventTable(store, index.VictimEvents(player), true, detailOrderKey);
}

} // namespace qla
