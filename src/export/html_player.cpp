// One player's detail page: up to six two-column tables, and the page-name stem of the site.
#include "core/names.h"
#include "export/colour_html.h"
#include "export/export_request.h"
#include "export/html_export.h"
#include "export/page_writer.h"
#include "export/player_name_texts.h"
#include "export/player_page.h"
#include "export/player_sections.h"
#include "stats/detail_tables.h"
#include "stats/opponent_rows.h"
#include "stats/statistics.h"

#include <cerrno>
#include <charconv>

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

ExportResult WritePlayerPage(const AnalysisStore& store, const KillEventIndex& events,
                             const PlayerNameTexts& names, Sink& sink,
                             const PlayerDetailSections& sections, PlayerDetailOrder order,
                             bool ascending, PlayerIndex player, bool linksFlag,
                             std::string_view gameTitle, const PlayerEventRows* counted) {
    if (player < 1 || player > store.PlayerCount())
        return Failure(EINVAL, static_cast<int>(WriterStage::Started));
    if (counted != nullptr && counted->Player != player)
        counted = nullptr; // counted for someone else: count here
    const std::string& name = store.Players[player].Name;
    const std::string stem = PlayerPageName(player);

    PageWriter page(sink);
    if (!page.Begin("^7" + name + "^0 - " + std::string(gameTitle)))
        return page.Finish(false);
    page.SetStage(WriterStage::Rows);

    const auto heading = [&](std::size_t s) {
        if (linksFlag && s == kKillsSection)
            page.LineOf("<tr><th class='name'><a href='", stem,
                        "a.html'>Players Killed</a></th><th class='nr'><a href='", stem,
                        "b.html'>Nr. of kills</a></th></tr>");
        else
            page.Line(kSectionHeadings[s]);
    };
    const auto row = [&](std::size_t s, std::string_view item, std::string_view count) {
        page.BeginRow();
        if (linksFlag && s == kUsedWeaponsSection)
            page.LineOf("<td class='name'><a href='weapon1.html'>", item,
                        "</a></td><td class='nr'>", count, "</td>");
        else
            page.LineOf("<td class='name'>", item, "</td><td class='nr'>", count, "</td>");
        page.EndRow();
    };

    for (std::size_t s = 0; s < sections.size(); ++s) {
        if (!sections[s])
            continue;
        if (IsEventSection(s)) {
            // Opponents are counted and ordered as numbers; their names were converted once.
            std::vector<OpponentRow> rows = counted != nullptr
                                                ? counted->Sections[s]
                                                : CountOpponents(store, events, s, player);
            if (rows.empty())
                continue; // a table without rows writes not even its heading
            OrderOpponentsByPlace(rows, order, names.SortPlaces);
            heading(s);
            for (std::size_t k = 0; k < rows.size(); ++k) {
                const OpponentRow& item = rows[ascending ? k : rows.size() - 1 - k];
                char digits[24];
                const auto end = std::to_chars(digits, digits + sizeof digits, item.Count).ptr;
                row(s, names.HtmlOf(item.Opponent), std::string_view(digits, end - digits));
            }
            continue;
        }
        const SortTable table = BuildPlayerSection(store, events, s, player, order);
        if (table.size() <= 1)
            continue;
        heading(s);
        ReadRows(table, ascending, [&](const SortRow& r, std::size_t) {
            row(s, ColourToHtml(r.Cells[1].Text, HtmlEscaping::Escape), r.Cells[2].Text);
        });
    }
    if (linksFlag)
        page.Line("<tr><td><a href='index.html'>Back to index</a></td></tr>");
    return page.Finish(!linksFlag);
}

ExportOutcome WritePlayerDetailsHtml(const Statistics& stats, const ExportRequest& request,
                                     Sink& sink) {
    const AnalysisStore& store = stats.Store;
    const PlayerDetailOptions& options = request.PlayerDetails;
    if (options.Player < 1 || options.Player > store.PlayerCount())
        return Failure(EINVAL, static_cast<int>(WriterStage::Started));
    const KillEventIndex events(store);
    const PlayerNameTexts names(store);
    return WritePlayerPage(store, events, names, sink, options.Sections, options.Order,
                           options.Ascending, options.Player, request.SiteLinks, request.GameTitle);
}

} // namespace qla
