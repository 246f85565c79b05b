// The overview page and the later pages of its player table.
#include "export/dashboard/site_html.h"
#include "export/dashboard/site_pages.h"
#include "export/dashboard/site_tables.h"
#include "stats/sort_table.h"

namespace qla {
namespace {

void AppendFigure(std::string& out, std::string_view label, std::int64_t value) {
    out += "<div><dt>";
    out += label;
    out += "<dd>" + std::to_string(value) + "</div>"; // dt and dd end where the next begins
}

void AppendTopList(std::string& out, const AnalysisStore& store, const DashboardModel& model,
                   std::string_view title, std::string_view note,
                   const std::vector<PlayerIndex>& players, auto value) {
    out += "<section class=\"top\"><h2>";
    out += title;
    out += "</h2>";
    if (!note.empty()) {
        out += "<p class=\"note\">";
        AppendHtmlText(out, note);
        out += "</p>";
    }
    if (players.empty()) {
        out += "<p>Nobody yet.</p></section>\n";
        return;
    }
    out += "<ol>";
    for (const PlayerIndex p : players) {
        out += "<li><a href=\"players/" + PlayerFileName(p) + "\">";
        AppendColouredName(out, store.Players[p].Name);
        out += "</a> <span class=\"count\">";
        out += value(model.Of(p));
        out += "</span></li>";
    }
    out += "</ol></section>\n";
}

std::size_t PlayerPages(const std::vector<PlayerIndex>& order) {
    return order.empty() ? 1 : (order.size() + kPlayerRowsPerPage - 1) / kPlayerRowsPerPage;
}

constexpr PagedFiles kPlayerPages{"index.html", "players"};

} // namespace

std::string OverviewPage(const AnalysisStore& store, const DashboardModel& model,
                         const DashboardSettings& settings, const std::vector<PlayerIndex>& order) {
    std::string out;
    out.reserve(32768);
    AppendPageStart(out, {"Overview", settings.GameTitle, "overview", PageDepth::Root});
    out += settings.FromDatabase ? "<p class=\"source\">Database " : "<p class=\"source\">Log ";
    AppendHtmlText(out, settings.SourceName);
    if (!settings.LogDate.empty()) {
        out += ", opened on ";
        AppendHtmlText(out, settings.LogDate);
    }
    out += "</p>\n<dl class=\"figures\">";
    const AnalysisTotals& t = model.Totals;
    AppendFigure(out, "Players", static_cast<std::int64_t>(model.Players.size()));
    AppendFigure(out, "Logs", settings.LogCount);
    AppendFigure(out, "Kills", t.Kills);
    AppendFigure(out, "Deaths", t.Deaths);
    AppendFigure(out, "Teamkills", t.Teamkills);
    AppendFigure(out, "Voice chats", t.VoiceChats);
    AppendFigure(out, "Text chats", t.TextChats);
    AppendFigure(out, "Lines", t.Total);
    out += "</dl>\n<div class=\"tops\">\n";
    const auto number = [](std::int64_t v) { return std::to_string(v); };
    AppendTopList(out, store, model, "Most kills", "", model.MostKills,
                  [&](const PlayerSummary& p) { return number(p.Kills); });
    const std::string ratioNote = "At least " + std::to_string(settings.MinKills) + " kills and " +
                                  std::to_string(settings.MinDeaths) + " deaths.";
    AppendTopList(out, store, model, "Best kill/death ratio", ratioNote, model.BestRatio,
                  [](const PlayerSummary& p) { return RatioText(p.RatioHundredths, "."); });
    AppendTopList(out, store, model, "Most teamkills", "", model.MostTeamkills,
                  [&](const PlayerSummary& p) { return number(p.Teamkills); });
    out += "</div>\n<h2 id=\"all-players\">All players</h2>\n";
    const std::size_t pages = PlayerPages(order);
    AppendPager(out, kPlayerPages, 1, pages);
    AppendPlayerTable(out, store, model, order, 0, kPlayerRowsPerPage);
    AppendPager(out, kPlayerPages, 1, pages);
    AppendPageEnd(out);
    return out;
}

std::string PlayerListPage(const AnalysisStore& store, const DashboardModel& model,
                           const DashboardSettings& settings, const std::vector<PlayerIndex>& order,
                           std::size_t page) {
    std::string out;
    const std::string title = "All players, page " + std::to_string(page);
    AppendPageStart(out, {title, settings.GameTitle, "overview", PageDepth::Root});
    const std::size_t pages = PlayerPages(order);
    AppendPager(out, kPlayerPages, page, pages);
    const std::size_t begin = (page - 1) * kPlayerRowsPerPage;
    AppendPlayerTable(out, store, model, order, begin, begin + kPlayerRowsPerPage);
    AppendPager(out, kPlayerPages, page, pages);
    AppendPageEnd(out);
    return out;
}

std::size_t PlayerListPageCount(const std::vector<PlayerIndex>& order) {
    return PlayerPages(order);
}

} // namespace qla
