// The player index page: one row per player, the five columns of the standard table.
#include "core/names.h"
#include "export/colour_html.h"
#include "export/export_request.h"
#include "export/html_export.h"
#include "export/page_writer.h"
#include "stats/sort_table.h"
#include "stats/statistics.h"

#include <array>

namespace qla {

namespace {

struct IndexColumn {
    std::string_view Class;
    std::string_view Caption;
    std::string_view Page;
};

constexpr std::array<IndexColumn, 5> kIndexColumns{{
    {"name", "Player name", "index.html"},
    {"nr", "Kills", "index2.html"},
    {"nr", "Deaths", "index3.html"},
    {"nr", "Kill / Death ratio", "index4.html"},
    {"nr", "Teamkills", "index5.html"},
}};

} // namespace

ExportOutcome WriteStandardHtml(const Statistics& stats, const ExportRequest& request, Sink& sink) {
    const AnalysisStore& store = stats.Store;
    const StandardColumns& columns = request.Standard.Columns;
    const bool linksFlag = request.SiteLinks;
    PageWriter page(sink);
    if (!page.Begin(request.GameTitle))
        return page.Finish(false);

    page.Line("<tr>");
    for (std::size_t c = 0; c < kIndexColumns.size(); ++c) {
        if (!columns[c])
            continue;
        const IndexColumn& column = kIndexColumns[c];
        if (linksFlag)
            page.LineOf("<th class='", column.Class, "'><a href='", column.Page, "'>",
                        column.Caption, "</a></th>");
        else
            page.LineOf("<th class='", column.Class, "'>", column.Caption, "</th>");
    }
    page.Line("</tr>");

    page.SetStage(WriterStage::Rows);
    const SortTable table = BuildStandardOrder(store, request.Standard.Order);
    ReadRows(table, request.Standard.Ascending, [&](const SortRow& row, std::size_t) {
        page.BeginRow();
        const std::string& name = row.Cells[1].Text;
        if (columns[0]) {
            if (linksFlag) {
                // Cell 1 is the stored Name, so the exact look-up finds the row's own player.
                const PlayerIndex index = store.FindPlayer(name).value_or(0);
                page.LineOf("<td class='name'><a href='", PlayerPageName(index), "a.html'>",
                            EscapeHtml(StripColourCodes(name)), "</a></td>");
            } else {
                page.LineOf("<td class='name'>", ColourToHtml(name, HtmlEscaping::Escape), "</td>");
            }
        }
        if (columns[1])
            page.LineOf("<td class='nr'>", row.Cells[2].Text, "</td>");
        if (columns[2])
            page.LineOf("<td class='nr'>", row.Cells[3].Text, "</td>");
        if (columns[3])
            page.LineOf("<td class='nr'>",
                        EscapeHtml(RatioText(CellNumber(row.Cells[4]), request.DecimalSeparator)),
                        "</td>");
        if (columns[4])
            page.LineOf("<td class='nr'>", row.Cells[5].Text, "</td>");
        page.EndRow();
    });
    return page.Finish(!linksFlag);
}

} // namespace qla
