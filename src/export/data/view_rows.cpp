// Reads the ordered SortTables back into typed rows.
#include "export/data/view_rows.h"

#include "core/weapons.h"
#include "export/player_sections.h"
#include "stats/detail_tables.h"

namespace qla {

std::vector<StandardRow> StandardRows(const AnalysisStore& store, StandardOrder order,
                                      bool ascending) {
    const SortTable table = BuildStandardOrder(store, order);
    std::vector<StandardRow> rows;
    rows.reserve(table.size());
    ReadRows(table, ascending, [&](const SortRow& row, std::size_t) {
        const auto& c = row.Cells;
        // The table holds copies; the name is looked up so the row can view the store's text.
        const auto index = store.FindPlayer(c[1].Text);
        rows.push_back({index ? std::string_view(store.Players[*index].Name) : std::string_view(),
                        CellNumber(c[2]), CellNumber(c[3]), CellNumber(c[4]), CellNumber(c[5])});
    });
    return rows;
}

std::vector<WeaponRow> WeaponRows(const AnalysisStore& store, WeaponOrder order, bool ascending) {
    const SortTable table = BuildWeaponTable(store, order);
    std::vector<WeaponRow> rows;
    ReadRows(table, ascending, [&](const SortRow& row, std::size_t) {
        const auto& c = row.Cells;
        WeaponRow out;
        out.Weapon = c[1].Text;
        out.Kills = CellNumber(c[2]);
        out.SharePercent = CellNumber(c[3]);
        out.MostKills = CellNumber(c[6]);
        out.MostDeaths = CellNumber(c[7]);
        // A count of 0 means the cell names nobody (it shows "N/A").
        if (out.MostKills > 0)
            out.MostKillsBy = store.FindPlayer(c[4].Text).value_or(0);
        if (out.MostDeaths > 0)
            out.MostDeathsBy = store.FindPlayer(c[5].Text).value_or(0);
        rows.push_back(std::move(out));
    });
    return rows;
}

std::array<std::vector<SectionRow>, 6> PlayerSectionRows(const AnalysisStore& store,
                                                         PlayerIndex player,
                                                         PlayerDetailOrder order, bool ascending) {
    const KillEventIndex events(store);
    std::array<std::vector<SectionRow>, 6> sections;
    for (std::size_t s = 0; s < sections.size(); ++s) {
        const SortTable table = BuildPlayerSection(store, events, s, player, order);
        ReadRows(table, ascending, [&](const SortRow& row, std::size_t) {
            sections[s].push_back({row.Cells[1].Text, CellNumber(row.Cells[2])});
        });
    }
    return sections;
}

} // namespace qla
