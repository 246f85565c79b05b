// One player's detail page: up to six two-column tables, and the page-name stem of the site.
#include "core/names.h"
#include "export/html_export.h"
#include "export/page_writer.h"
#include "export/player_sections.h"
#include "stats/detail_tables.h"

#include <cerrno>

namespace qla {

namespace {

constexpr std::array<std::string_view, 6> kSectionHeadings{
    "<tr><th class='name'>Players Killed</th><th class='nr'>Nr. of kills</th></tr>",
    "<tr><th class='name'>Killed by Players</th><th class='nr'>Nr. of kills</th></tr>",
    "<tr><th class='name'>Suicides</th><th class='nr'>Nr. of suicides</th></tr>",
    "<tr><th class='name'>TeamPlayers Killed</th><th class='nr'>Nr. of teamkills</th></tr>",
    "<tr><th class='name'>Killed by TeamPlayers</th><th class='nr'>Nr. of teamkills</th></tr>",
    "<tr><th class='name'>Weapons Used</th><th class='nr'>Nr. of kills</th></tr>",
};

constexpr std::size_t kKillsSection = 0;
constexpr std::size_t kUsedWeaponsSection = 5;

} // namespace

std::string PlayerPageName(PlayerIndex index) {
    std::string digits = std::to_string(index);
    if (index >= 0 && digits.size() < 3)
        digits.insert(0, 3 - digits.size(), '0');
    return "player" + digits;
}

ExportResult WritePlayerDetailsHtml(const AnalysisStore& store, const KillEventIndex& events,
                                    const std::string& path, const PlayerDetailSections& sections,
                                    int detailOrderKey, bool ascending, PlayerIndex player,
                                    bool linksFlag, std::string_view gameTitle) {
    if (player < 1 || player > store.PlayerCount())
        return Failure(EINVAL, 0);
    const std::string& name = store.Players[player].Name;
    const std::string stem = PlayerPageName(player);

    PageWriter page(path);
    if (!page.Begin("^7" + name + "^0 - " + std::string(gameTitle)))
        return page.Finish(false);
    page.SetStage(10);

    for (std::size_t s = 0; s < sections.size(); ++s) {
        if (!sections[s])
            continue;
        const SortTable table = BuildPlayerSection(store, events, s, player, detailOrderKey);
        if (table.size() <= 1)
            continue; // a table without rows writes not even its heading
        if (linksFlag && s == kKillsSection)
            page.LineOf("<tr><th class='name'><a href='", stem,
                        "a.html'>Players Killed</a></th><th class='nr'><a href='", stem,
                        "b.html'>Nr. of kills</a></th></tr>");
        else
            page.Line(kSectionHeadings[s]);
        ReadRows(table, ascending, [&](const SortRow& row, std::size_t) {
            page.BeginRow();
            const std::string item = ColourToHtml(row.Cells[1].Text, HtmlEscaping::Escape);
            if (linksFlag && s == kUsedWeaponsSection)
                page.LineOf("<td class='name'><a href='weapon1.html'>", item,
                            "</a></td><td class='nr'>", row.Cells[2].Text, "</td>");
            else
                page.LineOf("<td class='name'>", item, "</td><td class='nr'>", row.Cells[2].Text,
                            "</td>");
            page.EndRow();
        });
    }
    if (linksFlag)
        page.Line("<tr><td><a href='index.html'>Back to index</a></td></tr>");
    return page.Finish(!linksFlag);
}

ExportResult WritePlayerDetailsHtml(const AnalysisStore& store, const std::string& path,
                                    const PlayerDetailSections& sections, int detailOrderKey,
                                    bool ascending, PlayerIndex player, bool linksFlag,
                                    std::string_view gameTitle) {
    const KillEventIndex events(store);
    return WritePlayerDetailsHtml(store, events, path, sections, detailOrderKey, ascending, player,
                                  linksFlag, gameTitle);
}

} // namespace qla
