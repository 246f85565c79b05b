// Reads the ordered SortTables back into typed rows.
#include "export/data/view_rows.h"

#include "core/weapons.h"
#include "export/player_sections.h"
#include "stats/detail_tables.h"

#include <charconv>

namespace qla {
namespace {

std::int64_t NumberOf(const std::string& text) {
    std::int64_t value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

} // namespace

std::vector<StandardRow> StandardRows(const AnalysisStore& store, int orderKey, bool ascending) {
    const SortTable table = BuildStandardOrder(store, orderKey);
    std::vector<StandardRow> rows;
    rows.reserve(table.size());
    ReadRows(table, ascending, [&](const SortRow& row, std::size_t) {
        const auto& c = row.Cells;
        // The table holds copies; the name is looked up so the row can view the store's text.
        const auto index = store.FindPlayer(c[1].Text);
        rows.push_back({index ? std::string_view(store.Players[*index].Name) : std::string_view(),
                        NumberOf(c[2].Text), NumberOf(c[3].Text), NumberOf(c[4].Text),
                        NumberOf(c[5].Text)});
    });
    return rows;
}

std::vector<WeaponRow> WeaponRows(const AnalysisStore& store, int weaponOrderKey, bool ascending) {
    const SortTable table = BuildWeaponTable(store, weaponOrderKey);
    std::vector<WeaponRow> rows;
    ReadRows(table, ascending, [&](const SortRow& row, std::size_t) {
        const auto& c = row.Cells;
        WeaponRow out;
        out.Weapon = c[1].Text;
        out.Kills = NumberOf(c[2].Text);
        out.SharePercent = NumberOf(c[3].Text);
        out.MostKills = NumberOf(c[6].Text);
        out.MostDeaths = NumberOf(c[7].Text);
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
                                                         PlayerIndex player, int detailOrderKey,
                                                         bool ascending) {
    const KillEventIndex events(store);
    std::array<std::vector<SectionRow>, 6> sections;
    for (std::size_t s = 0; s < sections.size(); ++s) {
        const SortTable table = BuildPlayerSection(store, events, s, player, detailOrderKey);
        ReadRows(table, ascending, [&](const SortRow& row, std::size_t) {
            sections[s].push_back({row.Cells[1].Text, NumberOf(row.Cells[2].Text)});
        });
    }
    return sections;
}

} // namespace qla
