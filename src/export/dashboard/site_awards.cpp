#include "export/dashboard/site_awards.h"

#include "export/dashboard/history_awards.h"
#include "export/dashboard/site_html.h"
#include "export/dashboard/site_tables.h"
#include "export/data/awards_export.h"

#include <algorithm>

namespace qla {
namespace {

constexpr const char* kStreaksNotStored =
    "Not known: the database holds logs imported before it kept the order of their kills (qla "
    "reanalyze reads them again).";

void AppendName(std::string& out, const SiteParts& site, const std::string& name) {
    if (const auto player = site.Store.FindPlayer(name)) {
        AppendPlayerLink(out, site.Store, {site.Layout, ""}, *player);
        return;
    }
    AppendHtmlText(out, name);
}

void AppendCell(std::string& out, std::string_view text) {
    out += "<td>";
    AppendHtmlText(out, text);
    out += "</td>";
}

// A value, a date or a label: never broken at its hyphens when a phone's table is narrow (the
// table scrolls in its box instead).
void AppendKeptCell(std::string& out, std::string_view text) {
    out += "<td style=\"white-space:nowrap\">";
    AppendHtmlText(out, text);
    out += "</td>";
}

void AppendAwardRows(std::string& out, const SiteParts& site, const AwardResult& award) {
    const AwardRule& rule = RuleOf(award.Id);
    const auto start = [&] {
        out += "<tr>";
        AppendCell(out, rule.Title);
    };
    if (!award.Known || award.Entries.empty()) {
        start();
        out += award.Known ? "<td colspan=\"4\">Nobody yet.</td></tr>\n"
                           : std::string("<td colspan=\"4\">") + kStreaksNotStored + "</td></tr>\n";
        return;
    }
    for (const AwardEntry& entry : award.Entries) {
        start();
        out += "<td>";
        AppendName(out, site, entry.Player);
        out += "</td><td>";
        if (!entry.Other.empty())
            AppendName(out, site, entry.Other);
        out += "</td>";
        AppendKeptCell(out, entry.Subject);
        AppendKeptCell(
            out, award.Id == AwardId::FirstBlood ? "" : AwardValueText(award.Id, entry.Value));
        out += "</tr>\n";
    }
}

void AppendAwardTable(std::string& out, const SiteParts& site, std::string_view id,
                      const std::vector<AwardResult>& awards) {
    out += "<div class=\"scroll\"><table id=\"";
    out += id;
    out += "\">\n<thead><tr><th>Award</th><th>Player</th><th>Against</th><th>Weapon or "
           "log</th><th>Value</th></tr></thead>\n<tbody>\n";
    for (const AwardResult& award : awards)
        AppendAwardRows(out, site, award);
    out += "</tbody>\n</table></div>\n";
}

void AppendRuleTable(std::string& out) {
    out += "<h2 id=\"rules\">How the awards are given</h2>\n<div class=\"scroll\"><table "
           "id=\"award-rules\">\n<thead><tr><th>Award</th><th>Measures</th><th>Minimum</th>"
           "<th>Ties</th></tr></thead>\n<tbody>\n";
    for (const AwardRule& rule : AwardRules()) {
        out += "<tr>";
        for (const std::string_view text : {rule.Title, rule.Measures, rule.Minimum, rule.TieRule})
            AppendCell(out, text);
        out += "</tr>\n";
    }
    out += "</tbody>\n</table></div>\n";
}

// The latest log of a database (by date, then import order), its awards from the figures the
// history keeps: kills, deaths, teamkills, the longest runs and the first blood.
void AppendLatestLog(std::string& out, const SiteParts& site) {
    std::vector<LogFigures> logs = LogsOfHistory(site.Settings.History);
    if (logs.empty()) {
        out += "<p>No log yet.</p>\n";
        return;
    }
    const auto latest = std::stable_partition(logs.begin(), logs.end(),
                                              [](const LogFigures& l) { return !l.Date.empty(); });
    const LogFigures& log =
        latest == logs.begin()
            ? logs.back()
            : *std::max_element(logs.begin(), latest, [](const LogFigures& a, const LogFigures& b) {
                  return a.Date < b.Date;
              });
    out += "<p class=\"note\">The latest log, ";
    AppendHtmlText(out, log.Label);
    out += ". A database keeps each log's kills, deaths, teamkills and the order of its kills: the "
           "other awards of each log are those of qla awards --db DB --period session.</p>\n";
    out += "<div class=\"scroll\"><table id=\"latest-awards\">\n<thead><tr><th>Award</th>"
           "<th>Player</th><th>Value</th></tr></thead>\n<tbody>\n";
    const auto row = [&](AwardId id, auto value) {
        out += "<tr>";
        AppendCell(out, RuleOf(id).Title);
        const auto* best = BestOf(log, value);
        if (!best) {
            out += "<td colspan=\"2\">Nobody yet.</td></tr>\n";
            return;
        }
        out += "<td>";
        AppendName(out, site, best->first);
        out += "</td>";
        AppendKeptCell(out, AwardValueText(id, value(best->second)));
        out += "</tr>\n";
    };
    row(AwardId::MostKills, [](const PlayerLogFigures& f) { return f.Kills; });
    row(AwardId::BestRatio,
        [](const PlayerLogFigures& f) { return RatioFor(f, kRatioAwardKills, kRatioAwardDeaths); });
    row(AwardId::MostTeamkills, [](const PlayerLogFigures& f) { return f.Teamkills; });
    for (const bool kills : {true, false}) {
        const AwardId id = kills ? AwardId::LongestKillStreak : AwardId::LongestDeathStreak;
        out += "<tr>";
        AppendCell(out, RuleOf(id).Title);
        const auto* best = LongestRunOf(log, kills);
        const std::int64_t length =
            best ? (kills ? best->second.KillStreak : best->second.DeathStreak) : 0;
        if (!LogStreaksKnown(log)) {
            out += std::string("<td colspan=\"2\">") + kStreaksNotStored + "</td></tr>\n";
            continue;
        }
        if (length < RuleOf(id).MinimumCount) {
            out += "<td colspan=\"2\">Nobody yet.</td></tr>\n";
            continue;
        }
        out += "<td>";
        AppendName(out, site, best->first);
        out += "</td>";
        AppendKeptCell(out, std::to_string(length));
        out += "</tr>\n";
    }
    for (const AwardEntry& blood : HistoryFirstBloods({log})) {
        out += "<tr>";
        AppendCell(out, RuleOf(AwardId::FirstBlood).Title);
        out += "<td>";
        AppendName(out, site, blood.Player);
        out += " against ";
        AppendName(out, site, blood.Other);
        out += "</td><td></td></tr>\n";
    }
    out += "</tbody>\n</table></div>\n";
}

void AppendRecordRow(std::string& out, const SiteParts& site, const AwardRecord& record) {
    out += "<tr>";
    AppendCell(out, record.Title);
    if (!record.Known) {
        out += std::string("<td colspan=\"5\">") + kStreaksNotStored + "</td></tr>\n";
        return;
    }
    if (!record.Held) {
        out += "<td colspan=\"5\">Nobody yet.</td></tr>\n";
        return;
    }
    out += "<td>";
    AppendName(out, site, record.Player);
    out += "</td>";
    AppendKeptCell(out, RecordValueText(record));
    AppendKeptCell(out, std::to_string(record.Kills) + " / " + std::to_string(record.Deaths));
    AppendKeptCell(out, record.Log);
    AppendKeptCell(out, record.Date);
    out += "</tr>\n";
}

} // namespace

void AppendAwardLinks(std::string& out) {
    out += "<p class=\"note\"><a href=\"";
    out += kAwardsPage;
    out += "\">Awards</a> · <a href=\"";
    out += kRecordsPage;
    out += "\">Records</a></p>\n";
}

std::string AwardsPage(const SiteParts& site) {
    std::string out;
    AppendPageStart(out, {"Awards", site.Settings.GameTitle, "", ""});
    out += "<h2 id=\"all-time\">All time</h2>\n";
    AppendAwardTable(out, site, "awards",
                     AllTimeAwards(site.Store, site.Settings, &site.Model.Fit));
    out += "<h2 id=\"latest\">The latest period</h2>\n";
    if (site.Settings.FromDatabase)
        AppendLatestLog(out, site);
    else
        out += "<p class=\"note\">A log read alone is its own latest period: its awards are "
               "those above. qla awards LOG --period session gives each session of it.</p>\n";
    AppendRuleTable(out);
    AppendPageEnd(out);
    return out;
}

std::string RecordsPage(const SiteParts& site) {
    std::string out;
    AppendPageStart(out, {"Records", site.Settings.GameTitle, "", ""});
    const std::vector<AwardRecord> records = SessionRecords(site.Store, site.Settings);
    out += "<div class=\"scroll\"><table id=\"records\">\n<thead><tr><th>Record</th><th>Player</th>"
           "<th>Value</th><th>Kills / deaths</th><th>Log</th><th>Date</th></tr></thead>\n"
           "<tbody>\n";
    for (const AwardRecord& record : records)
        AppendRecordRow(out, site, record);
    out += "</tbody>\n</table></div>\n<p class=\"note\">The best of any one session; a later "
           "session takes a record only by beating it.</p>\n";
    AppendPageEnd(out);
    return out;
}

} // namespace qla
