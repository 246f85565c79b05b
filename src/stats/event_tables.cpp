// The four player tables counted from kill events: kills, deaths, teamkills and teamdeaths.
// Each reads only the player's own events from the KillEventIndex and finds an opponent's row
// through a hash map, so the rows and their order are those of a search from row 1 per event.
#include "stats/detail_tables.h"

#include <string_view>
#include <unordered_map>

namespace qla {
namespace {

constexpr std::string_view kTeamkillWeapon = "Teamkill";

enum class Opponent { Victim, Killer };

struct OpponentRow {
    PlayerIndex opponent = 0;
    std::int64_t count = 0;
    std::int32_t firstEvent = 0; // position in KillEvents of the event that created the row
};

SortTable BuildEventTable(const AnalysisStore& store, std::span<const std::int32_t> positions,
                          bool teamkills, Opponent side, int detailOrderKey) {
    // Names are unique per record, so comparing player indexes is comparing exact names.
    std::vector<OpponentRow> found;
    std::unordered_map<PlayerIndex, std::size_t> rowOf;
    rowOf.reserve(positions.size());
    for (const std::int32_t position : positions) {
        if (position < 1 || static_cast<std::size_t>(position) >= store.KillEvents.size())
            continue; // an index built from another store
        const KillEvent& event = store.KillEvents[static_cast<std::size_t>(position)];
        if ((event.Weapon == kTeamkillWeapon) != teamkills)
            continue;
        const PlayerIndex opponent = side == Opponent::Victim ? event.Victim : event.Killer;
        const auto [it, isNew] = rowOf.try_emplace(opponent, found.size());
        if (isNew)
            found.push_back({opponent, 1, position});
        else
            ++found[it->second].count;
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
    return BuildEventTable(store, index.AsKiller(player), false, Opponent::Victim, detailOrderKey);
}

SortTable BuildDeathsTable(const AnalysisStore& store, const KillEventIndex& index,
                           PlayerIndex player, int detailOrderKey) {
    return BuildEventTable(store, index.AsVictim(player), false, Opponent::Killer, detailOrderKey);
}

SortTable BuildTeamkillsTable(const AnalysisStore& store, const KillEventIndex& index,
                              PlayerIndex player, int detailOrderKey) {
    return BuildEventTable(store, index.AsKiller(player), true, Opponent::Victim, detailOrderKey);
}

SortTable BuildTeamdeathsTable(const AnalysisStore& store, const KillEventIndex& index,
                               PlayerIndex player, int detailOrderKey) {
    return BuildEventTable(store, index.AsVictim(player), true, Opponent::Killer, detailOrderKey);
}

} // namespace qla
