// The weapon page: per weapon its kills, share of all kills and the players most involved.
#include "core/names.h"
#include "export/colour_html.h"
#include "export/export_request.h"
#include "export/html_export.h"
#include "export/page_writer.h"
#include "stats/detail_tables.h"
#include "stats/statistics.h"

#include <array>

namespace qla {

namespace {

struct WeaponHeading {
    std::string_view Plain;
    std::string_view Linked;
};

constexpr std::array<WeaponHeading, 5> kWeaponHeadings{{
    {"<th class='name'>Weapon</th>", "<th class='name'><a href='weapon1.html'>Weapon</a></th>"},
    {"<th class='nr'>Kills</th>", "<th class='nr'><a href='weapon2.html'>Kills</a></th>"},
    {"<th class='nr'>% of Total kills</th>",
     "<th class='nr'><a href='weapon3.html'>% of Total kills</a></th>"},
    {"<th class='name'>Most kills by</th><th>#</th>",
     "<th class='name'><a href='weapon4.html'>Most kills by</a></th><th>#</th>"},
    {"<th class='name'>Most deaths by</th><th>#</th>",
     "<th class='name'><a href='weapon5.html'>Most deaths by</a></th><th>#</th>"},
}};

} // namespace

ExportOutcome WriteWeaponHtml(const Statistics& stats, const ExportRequest& request, Sink& sink) {
    const WeaponColumns& columns = request.Weapons.Columns;
    const bool linksFlag = request.SiteLinks;
    PageWriter page(sink);
    if (!page.Begin("Weapon Details - " + request.GameTitle))
        return page.Finish(false);

    page.Line("<tr>");
    for (std::size_t c = 0; c < kWeaponHeadings.size(); ++c)
        if (columns[c])
            page.Line(linksFlag ? kWeaponHeadings[c].Linked : kWeaponHeadings[c].Plain);
    page.Line("</tr>");

    page.SetStage(WriterStage::Rows);
    const SortTable table = BuildWeaponTable(stats.Store, request.Weapons.Order);
    page.SetStage(WriterStage::WeaponRows);
    ReadRows(table, request.Weapons.Ascending, [&](const SortRow& row, std::size_t) {
        const auto& cells = row.Cells;
        page.BeginRow();
        if (columns[0])
            page.LineOf("<td class='name'>", EscapeHtml(cells[1].Text), "</td>");
        if (columns[1])
            page.LineOf("<td class='nr'>", cells[2].Text, "</td>");
        if (columns[2])
            page.LineOf("<td class='nr'>", cells[3].Text, "%</td>");
        if (columns[3])
            page.LineOf("<td class='name'>", ColourToHtml(cells[4].Text, HtmlEscaping::Escape),
                        "</td><td class='nr'>", cells[6].Text, "</td>");
        if (columns[4])
            page.LineOf("<td class='name'>", ColourToHtml(cells[5].Text, HtmlEscaping::Escape),
                        "</td><td class='nr'>", cells[7].Text, "</td>");
        page.EndRow();
    });
    if (linksFlag)
        page.Line(
            "<tr><td class='name' colspan=5><a href='index.html'>Back to index</a></td></tr>");
    return page.Finish(!linksFlag);
}

} // namespace qla
