#include "export/dashboard/site_awards.h"

#include "core/names.h"
#include "export/dashboard/site_html.h"
#include "export/dashboard/site_tables.h"
#include "export/data/awards_export.h"
#include "stats/award_records.h"
#include "stats/awards.h"
#include "stats/ratio.h"

#include <algorithm>
#include <map>
#include <tuple>

namespace qla {
namespace {

// A log's store keeps its kills one by one in order; a database's keeps them summed per log, and
// the history has each log's streaks from the order stored beside them, when it was stored.
bool StreaksKnown(const SiteParts& site) {
    if (!site.Settings.FromDatabase)
        return site.Store.KillEventCounts.empty();
    for (const PlayerHistory& player : site.Settings.History)
        for (const PlayerLogFigures& figures : player.Logs)
            if (!figures.StreaksKnown)
                return false;
    return true;
}

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

// One log's figures of every player, from a database's history.
struct LogFigures {
    std::string Label, Date;
    std::vector<std::pair<std::string, PlayerLogFigures>> Players;
};

// The logs of the history in import order.
std::vector<LogFigures> LogsOfHistory(const std::vector<PlayerHistory>& history) {
    std::map<std::size_t, LogFigures> logs;
    for (const PlayerHistory& player : history)
        for (const PlayerLogFigures& figures : player.Logs) {
            LogFigures& log = logs[figures.Log];
            log.Label = figures.LogLabel;
            log.Date = figures.DateKey;
            log.Players.emplace_back(player.Name, figures);
        }
    std::vector<LogFigures> ordered;
    for (auto& [place, log] : logs)
        ordered.push_back(std::move(log));
    return ordered;
}

// The best of a log's players by `value` (0: not in the running), ties to fewer deaths.
template <class Value>
const std::pair<std::string, PlayerLogFigures>* BestOf(const LogFigures& log, Value value) {
    const std::pair<std::string, PlayerLogFigures>* best = nullptr;
    for (const auto& player : log.Players) {
        const std::int64_t v = value(player.second);
        if (v <= 0)
            continue;
        if (!best || v > value(best->second) ||
            (v == value(best->second) && player.second.Deaths < best->second.Deaths))
            best = &player;
    }
    return best;
}

// A log's longest run of kills (`kills`) or deaths, ties broken as the awards break them: fewer
// deaths (fewer kills for a run of deaths), then the name without colour codes, then the player
// met first.
const std::pair<std::string, PlayerLogFigures>* LongestRunOf(const LogFigures& log, bool kills) {
    const auto value = [kills](const PlayerLogFigures& f) {
        return kills ? f.KillStreak : f.DeathStreak;
    };
    const auto tieBreak = [kills](const PlayerLogFigures& f) { return kills ? f.Deaths : f.Kills; };
    const std::pair<std::string, PlayerLogFigures>* best = nullptr;
    for (const auto& player : log.Players) {
        if (value(player.second) <= 0)
            continue;
        const auto rank = [&](const std::pair<std::string, PlayerLogFigures>& p) {
            return std::make_tuple(-value(p.second), tieBreak(p.second), StripColourCodes(p.first));
        };
        if (!best || rank(player) < rank(*best))
            best = &player;
    }
    return best;
}

// Each log's first blood, in import order: its killer, its victim and the log's label.
std::vector<AwardEntry> HistoryFirstBloods(const std::vector<LogFigures>& logs) {
    std::vector<AwardEntry> bloods;
    for (const LogFigures& log : logs)
        for (const auto& [name, figures] : log.Players)
            if (!figures.FirstBloodVictim.empty())
                bloods.push_back({name, figures.FirstBloodVictim, log.Label, 1});
    return bloods;
}

bool LogStreaksKnown(const LogFigures& log) {
    return std::all_of(log.Players.begin(), log.Players.end(),
                       [](const auto& player) { return player.second.StreaksKnown; });
}

std::int64_t RatioFor(const PlayerLogFigures& f, std::int64_t minKills, std::int64_t minDeaths) {
    return f.Kills < minKills || f.Deaths < minDeaths ? 0 : KillDeathRatio(f.Kills, f.Deaths);
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

std::vector<AwardResult> AllTimeAwards(const SiteParts& site) {
    const AnalysisStore& store = site.Store;
    const std::vector<std::size_t> ends{store.KillEvents.size()};
    const std::vector<RatingGain> gains = RatingGains(store, ends, {false}, {true});
    AwardInputs inputs{store, {}, {}, StreaksKnown(site), gains};
    if (!site.Settings.FromDatabase)
        return ComputeAwards(inputs);
    // A database's logs follow one another in the store without their borders: each player's
    // longest runs and each log's first blood come from the history, log by log.
    std::vector<PlayerStreaks> streaks(store.Players.size());
    for (const PlayerHistory& player : site.Settings.History)
        if (const auto index = store.FindPlayer(player.Name))
            for (const PlayerLogFigures& figures : player.Logs) {
                PlayerStreaks& longest = streaks[static_cast<std::size_t>(*index)];
                longest.Kills = std::max(longest.Kills, figures.KillStreak);
                longest.Deaths = std::max(longest.Deaths, figures.DeathStreak);
            }
    inputs.Streaks = streaks;
    std::vector<AwardResult> awards = ComputeAwards(inputs);
    for (AwardResult& award : awards)
        if (award.Id == AwardId::FirstBlood)
            award.Entries = HistoryFirstBloods(LogsOfHistory(site.Settings.History));
    return awards;
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
    AppendKeptCell(out, record.Key == "best_ratio_in_session" ? RatioText(record.Value, ".")
                                                              : std::to_string(record.Value));
    AppendKeptCell(out, std::to_string(record.Kills) + " / " + std::to_string(record.Deaths));
    AppendKeptCell(out, record.Log);
    AppendKeptCell(out, record.Date);
    out += "</tr>\n";
}

// A database's records of one session from the history's figures per log.
std::vector<AwardRecord> HistoryRecords(const SiteParts& site) {
    RecordBook book; // for the records' names and their order
    std::vector<AwardRecord> records = book.Records();
    const auto offer = [](AwardRecord& record, const LogFigures& log, const auto& player,
                          std::int64_t value) {
        if (value <= 0 || (record.Held && value <= record.Value))
            return;
        record.Held = true;
        record.Player = player.first;
        record.Value = value;
        record.Kills = player.second.Kills;
        record.Deaths = player.second.Deaths;
        record.Log = log.Label;
        record.Date = log.Date;
    };
    records[0].Known = records[1].Known = StreaksKnown(site);
    for (const LogFigures& log : LogsOfHistory(site.Settings.History)) {
        for (const bool kills : {true, false})
            if (const auto* best = LongestRunOf(log, kills); best && records[0].Known)
                offer(records[kills ? 0 : 1], log, *best,
                      kills ? best->second.KillStreak : best->second.DeathStreak);
        if (const auto* best = BestOf(log, [](const PlayerLogFigures& f) { return f.Kills; }))
            offer(records[2], log, *best, best->second.Kills);
        const auto ratio = [](const PlayerLogFigures& f) {
            return RatioFor(f, kRatioRecordKills, 0);
        };
        if (const auto* best = BestOf(log, ratio))
            offer(records[3], log, *best, ratio(best->second));
    }
    return records;
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
    AppendAwardTable(out, site, "awards", AllTimeAwards(site));
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
    std::vector<AwardRecord> records;
    if (site.Settings.FromDatabase) {
        records = HistoryRecords(site);
    } else {
        RecordBook book;
        book.AddSession(site.Store, StreaksKnown(site), site.Settings.SourceName,
                        site.Settings.LogDate);
        records = book.Records();
    }
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
