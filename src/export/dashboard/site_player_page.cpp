// A player's page: totals, kills and deaths per weapon as a chart, nemesis and favourite victim,
// the opponents table, the chat counts and, from a database, the player's history log by log.
#include "core/names.h"
#include "core/weapons.h"
#include "export/dashboard/site_html.h"
#include "export/dashboard/site_pages.h"
#include "export/dashboard/site_tables.h"
#include "stats/detail_tables.h"
#include "stats/sort_table.h"

#include <algorithm>

namespace qla {
namespace {

void AppendFigure(std::string& out, std::string_view label, const std::string& value) {
    out += "<div><dt>";
    out += label;
    out += "<dd>" + value + "</div>"; // dt and dd end where the next begins
}

void AppendRival(std::string& out, const AnalysisStore& store, const TablePlace& place,
                 std::string_view label, PlayerIndex rival, std::string_view how,
                 std::int64_t count) {
    out += "<div><dt>";
    out += label;
    out += "<dd>";
    if (rival == 0) {
        out += "nobody";
    } else {
        AppendPlayerLink(out, store, place, rival);
        out += " <span class=\"count\">(" + std::to_string(count) + " ";
        out += how;
        out += ")</span>";
    }
    out += "</div>";
}

void AppendHistory(std::string& out, const PlayerHistory& history) {
    out += "<section id=\"log-by-log\">\n<h2>Log by log</h2>\n";
    std::vector<std::string> labels;
    std::vector<std::vector<std::int64_t>> series(3);
    for (const PlayerLogFigures& log : history.Logs) {
        labels.push_back(log.LogLabel);
        series[0].push_back(log.Kills);
        series[1].push_back(log.Deaths);
        series[2].push_back(log.Teamkills);
    }
    AppendLineChart(out, "Kills, deaths and teamkills per log", labels,
                    {"kills", "deaths", "teamkills"}, series);
    out += "<div class=\"scroll\"><table id=\"history\" class=\"sortable\">\n<thead><tr>"
           "<th data-type=\"text\">Log</th><th data-type=\"num\">Kills</th>"
           "<th data-type=\"num\">Deaths</th><th data-type=\"num\">Teamkills</th>"
           "</tr></thead>\n<tbody>\n";
    for (const PlayerLogFigures& log : history.Logs) {
        out += "<tr><td>";
        AppendHtmlText(out, log.LogLabel);
        out += "</td><td>" + std::to_string(log.Kills) + "</td><td>" + std::to_string(log.Deaths) +
               "</td><td>" + std::to_string(log.Teamkills) + "</td></tr>\n";
    }
    out += "</tbody>\n</table></div>\n</section>\n";
}

std::int64_t CountAgainst(const std::vector<OpponentSummary>& rows, PlayerIndex rival,
                          std::int64_t OpponentSummary::*count) {
    for (const OpponentSummary& row : rows)
        if (row.Opponent == rival)
            return row.*count;
    return 0;
}

} // namespace

std::string PlayerPage(const SiteParts& site, const KillEventIndex& events, PlayerIndex player) {
    const AnalysisStore& store = site.Store;
    const DashboardModel& model = site.Model;
    const std::string root = RootFrom(site.Layout.PlayerPageDepth());
    const std::string& path = site.Layout.PlayerPagePath(player);
    const TablePlace place{site.Layout, root,
                           std::string_view(path).substr(0, path.rfind('/') + 1)};
    const PlayerRecord& record = store.Players[player];
    const PlayerSummary& summary = model.Of(player);
    std::string out;
    out.reserve(8192);
    const std::string title = StripColourCodes(record.Name);
    AppendPageStart(out, {title, site.Settings.GameTitle, "", root});
    out += "<p class=\"player\">";
    AppendColouredText(out, record.Name); // whole here, shortened elsewhere
    out += "</p>\n<dl class=\"figures\">";
    AppendFigure(out, "Kills", std::to_string(summary.Kills));
    AppendFigure(out, "Deaths", std::to_string(summary.Deaths));
    AppendFigure(out, "K/D", RatioText(summary.RatioHundredths, "."));
    AppendFigure(out, "Teamkills", std::to_string(summary.Teamkills));
    AppendFigure(out, "Suicides", std::to_string(summary.Suicides));
    AppendFigure(out, "Rating",
                 summary.Unrated ? std::string("not rated: a name many people pass through")
                                 : std::to_string(summary.Rating) + " ± " +
                                       std::to_string(summary.RatingUncertainty));
    AppendFigure(out, "Voice chats", std::to_string(summary.VoiceChats));
    AppendFigure(out, "Text chats", std::to_string(summary.TextChats));
    out += "</dl>\n";

    const std::vector<OpponentSummary> opponents = OpponentsOf(store, events, player);
    const PlayerIndex nemesis = Nemesis(opponents);
    const PlayerIndex victim = FavouriteVictim(opponents);
    out += "<dl class=\"rivals\">";
    AppendRival(out, store, place, "Nemesis", nemesis, "deaths",
                CountAgainst(opponents, nemesis, &OpponentSummary::Deaths));
    AppendRival(out, store, place, "Favourite victim", victim, "kills",
                CountAgainst(opponents, victim, &OpponentSummary::Kills));
    out += "</dl>\n";

    std::vector<BarChartRow> weapons;
    for (WeaponId w = 1; w <= kWeaponUnknown; ++w)
        if (record.Kills[w] > 0 || record.Deaths[w] > 0)
            weapons.push_back(
                {std::string(WeaponDisplayName(w)), {record.Kills[w], record.Deaths[w]}});
    out += "<h2>Weapons</h2>\n";
    if (weapons.empty())
        out += "<p>No kills or deaths by a weapon.</p>\n";
    else
        AppendBarChart(out, "Kills and deaths per weapon", {"kills with", "deaths by"}, weapons);

    if (const PlayerHistory* history = model.HistoryOf(player))
        AppendHistory(out, *history);

    out += "<h2>Opponents</h2>\n";
    if (opponents.empty()) {
        out += "<p>No opponents.</p>\n";
    } else {
        out += "<p class=\"search\" hidden><label>Find an opponent: <input type=\"search\" "
               "data-table=\"opponents\" autocomplete=\"off\"></label></p>\n"
               "<div class=\"scroll\"><table id=\"opponents\" class=\"sortable\">\n<thead><tr>"
               "<th data-type=\"player\">Opponent</th>"
               "<th data-type=\"num\" aria-sort=\"descending\">Killed</th>"
               "<th data-type=\"num\">Killed by</th></tr></thead>\n<tbody>\n";
        std::vector<OpponentSummary> rows = opponents;
        std::stable_sort(
            rows.begin(), rows.end(),
            [](const OpponentSummary& a, const OpponentSummary& b) { return a.Kills > b.Kills; });
        for (const OpponentSummary& row : rows) {
            // Cells without end tags, as in the site's other long tables.
            out += "<tr><td>";
            AppendPlayerLink(out, store, place, row.Opponent);
            out += "<td>";
            out += std::to_string(row.Kills);
            out += "<td>";
            out += std::to_string(row.Deaths);
            out += "</tr>\n";
        }
        out += "</tbody>\n</table></div>\n";
        out += "<p><a href=\"";
        AppendHtmlText(out, root + OpponentsPagePath(site.Layout, player));
        out += "\">Top ten opponents: kills either way, weapons, chances</a></p>\n";
    }
    AppendPageEnd(out);
    return out;
}

} // namespace qla
