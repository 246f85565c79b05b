// The weapons and parse coverage pages.
#include "export/dashboard/site_pages.h"

#include "core/weapons.h"
#include "export/dashboard/site_html.h"
#include "export/dashboard/site_tables.h"

namespace qla {
namespace {

void AppendBest(std::string& out, const SiteParts& site, PlayerIndex player, std::int64_t count) {
    out += "<td>";
    if (player != 0)
        AppendPlayerLink(out, site.Store, {site.Layout, ""}, player);
    out += "</td><td>" + std::to_string(count) + "</td>";
}

} // namespace

std::string WeaponsPage(const SiteParts& site) {
    const DashboardModel& model = site.Model;
    std::string out;
    AppendPageStart(out, {"Weapons", site.Settings.GameTitle, "weapons", ""});
    std::vector<BarChartRow> rows;
    for (const WeaponSummary& w : model.Weapons)
        rows.push_back({std::string(WeaponDisplayName(w.Weapon)), {w.Kills}});
    AppendBarChart(out, "Kills per weapon", {"kills"}, rows);
    out += "<div class=\"scroll\"><table id=\"weapons\" class=\"sortable\">\n<thead><tr>"
           "<th data-type=\"text\">Weapon</th><th data-type=\"num\">Kills</th>"
           "<th data-type=\"num\">Share (%)</th><th data-type=\"player\">Best player</th>"
           "<th data-type=\"num\">His kills</th><th data-type=\"player\">Worst player</th>"
           "<th data-type=\"num\">His deaths</th></tr></thead>\n<tbody>\n";
    for (const WeaponSummary& w : model.Weapons) {
        out += "<tr><td>";
        out += WeaponDisplayName(w.Weapon);
        out += "</td><td>" + std::to_string(w.Kills) + "</td><td>" +
               std::to_string(w.SharePercent) + "</td>";
        AppendBest(out, site, w.Best, w.BestKills);
        AppendBest(out, site, w.Worst, w.WorstDeaths);
        out += "</tr>\n";
    }
    out += "</tbody>\n</table></div>\n<p class=\"note\">The best player killed most with the "
           "weapon, the worst was killed most by it.</p>\n";
    AppendPageEnd(out);
    return out;
}

std::string CoveragePage(const DashboardModel& model, const DashboardSettings& settings) {
    std::string out;
    AppendPageStart(out, {"Parse coverage", settings.GameTitle, "coverage", ""});
    const ParseCoverage& c = model.Coverage;
    const std::int64_t unrecognised = c.ByKind[static_cast<std::size_t>(LineKind::None)];
    out += "<p>" + std::to_string(c.Lines) + " lines, " + std::to_string(unrecognised) +
           " of them not recognised. A rise of unrecognised lines shows that the game writes "
           "lines this program does not know.</p>\n";
    if (settings.HeldBackBytes)
        out += "<p>Held back: " + std::to_string(*settings.HeldBackBytes) +
               " bytes after the last whole line of the logs, imported once the line is "
               "finished.</p>\n";
    std::vector<BarChartRow> rows;
    for (std::size_t k = 0; k < kLineKindCount; ++k)
        rows.push_back({std::string(LineKindText(static_cast<LineKind>(k))), {c.ByKind[k]}});
    AppendBarChart(out, "Lines by kind", {"lines"}, rows);
    out += "<div class=\"scroll\"><table id=\"kinds\" class=\"sortable\">\n<thead><tr>"
           "<th data-type=\"text\">Kind</th><th data-type=\"num\">Lines</th>"
           "<th data-type=\"num\">Share (%)</th></tr></thead>\n<tbody>\n";
    for (std::size_t k = 0; k < kLineKindCount; ++k) {
        const std::int64_t n = c.ByKind[k];
        const double share =
            c.Lines == 0 ? 0.0 : 100.0 * static_cast<double>(n) / static_cast<double>(c.Lines);
        char text[32];
        std::snprintf(text, sizeof text, "%.1f", share);
        out += "<tr><td>";
        out += LineKindText(static_cast<LineKind>(k));
        out += "</td><td>" + std::to_string(n) + "</td><td>" + text + "</td></tr>\n";
    }
    out += "</tbody>\n</table></div>\n<h2>Lines no statistic counts</h2>\n";
    if (c.UnknownLineSamples.empty()) {
        out += "<p>Every line counts in a statistic.</p>\n";
    } else {
        out += "<p>The first " + std::to_string(c.UnknownLineSamples.size()) + " of " +
               std::to_string(c.UnknownLines) +
               " (server messages, team radio and the lines not "
               "recognised):</p>\n<ol class=\"lines\">\n";
        for (const std::string_view line : c.UnknownLineSamples) {
            out += "<li><code>";
            AppendHtmlText(out, line);
            out += "</code></li>\n";
        }
        out += "</ol>\n";
    }
    AppendPageEnd(out);
    return out;
}

} // namespace qla
