// The overview page and the later pages of its player table.
#include "export/dashboard/site_awards.h"
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

void AppendTopList(std::string& out, const SiteParts& site, std::string_view title,
                   std::string_view note, const std::vector<PlayerIndex>& players, auto value) {
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
    const TablePlace place{site.Layout, ""};
    for (const PlayerIndex p : players) {
        out += "<li>";
        AppendPlayerLink(out, site.Store, place, p);
        out += " <span class=\"count\">";
        out += value(site.Model.Of(p));
        out += "</span></li>";
    }
    out += "</ol></section>\n";
}

void AppendListPager(std::string& out, const SiteParts& site, std::string_view root,
                     std::size_t page, std::size_t pages) {
    AppendPager(out, root, page, pages,
                [&](std::size_t to) { return site.Layout.ListPagePath(to); });
}

// Where the figures come from and the time they cover: a log's date, or the first and last dates
// of a database's logs (never import order); then when the site was made.
void AppendSource(std::string& out, const DashboardSettings& settings) {
    out += settings.FromDatabase ? "<p class=\"source\">Database " : "<p class=\"source\">Log ";
    AppendHtmlText(out, settings.SourceName);
    const LogPeriod& period = settings.Period;
    if (!settings.FromDatabase) {
        if (settings.LogDate.empty()) {
            out += ", without a date";
        } else {
            out += ", opened on ";
            AppendHtmlText(out, settings.LogDate);
        }
    } else if (!period.First.empty()) {
        out += period.First == period.Last ? ": logs of " : ": logs from ";
        AppendHtmlText(out, period.First);
        if (period.First != period.Last) {
            out += " to ";
            AppendHtmlText(out, period.Last);
        }
        if (period.UndatedLogs > 0)
            out += " and " + std::to_string(period.UndatedLogs) +
                   (period.UndatedLogs == 1 ? " log" : " logs") + " without a date";
    } else if (period.UndatedLogs > 0) {
        out += ": logs without a date";
    }
    out += "</p>\n";
    if (!settings.MadeOn.empty()) {
        out += "<p class=\"made\">Made on <time datetime=\"";
        AppendHtmlText(out, settings.MadeOn);
        out += "\">";
        AppendHtmlText(out, settings.MadeOn);
        out += "</time></p>\n";
    }
}

// The chat of the latest logs, newest first.
void AppendLatestChat(std::string& out, const ChatArchive& archive) {
    constexpr std::size_t kLatestLogs = 5;
    const std::vector<ArchivedLog>& logs = archive.Logs();
    out += "<h2 id=\"latest-chat\">Latest chat</h2>\n<ul class=\"latest\">";
    for (std::size_t shown = 0; shown < kLatestLogs && shown < logs.size(); ++shown) {
        const ArchivedLog& log = logs[logs.size() - 1 - shown];
        out += "<li>";
        AppendHtmlText(out, ArchivedLogTitle(log));
        for (const bool voice : {true, false}) {
            out += voice ? ": " : ", ";
            const std::string count = std::to_string(log.Messages(voice)) +
                                      (voice ? " voice" : " text") +
                                      (log.Messages(voice) == 1 ? " message" : " messages");
            if (log.Messages(voice) == 0) {
                out += count;
                continue;
            }
            out += "<a href=\"" + archive.PagePath(voice, log) + "\">" + count + "</a>";
        }
        out += "</li>";
    }
    out += "</ul>\n<p><a href=\"voice.html\">Voice chat</a> and <a href=\"text.html\">text "
           "chat</a> of every log.</p>\n";
}

} // namespace

std::string OverviewPage(const SiteParts& site, const std::vector<PlayerIndex>& order) {
    const DashboardModel& model = site.Model;
    const DashboardSettings& settings = site.Settings;
    std::string out;
    out.reserve(32768);
    AppendPageStart(out, {"Overview", settings.GameTitle, "overview", ""});
    AppendSource(out, settings);
    AppendAwardLinks(out);
    out += "<dl class=\"figures\">";
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
    AppendTopList(out, site, "Most kills", "", model.MostKills,
                  [&](const PlayerSummary& p) { return number(p.Kills); });
    const std::string ratioNote = "At least " + std::to_string(settings.MinKills) + " kills and " +
                                  std::to_string(settings.MinDeaths) + " deaths.";
    AppendTopList(out, site, "Best kill/death ratio", ratioNote, model.BestRatio,
                  [](const PlayerSummary& p) { return RatioText(p.RatioHundredths, "."); });
    const std::string ratedNote = "Ranked by the rating less twice its uncertainty; at least " +
                                  std::to_string(kBoardEncounters) + " kills either way.";
    AppendTopList(out, site, "Best rated", ratedNote, model.BestRated, [](const PlayerSummary& p) {
        return std::to_string(p.Rating) + " ± " + std::to_string(p.RatingUncertainty);
    });
    AppendTopList(out, site, "Most teamkills", "", model.MostTeamkills,
                  [&](const PlayerSummary& p) { return number(p.Teamkills); });
    const auto appendBoard = [&](std::string_view heading, const KillBoard& board, bool period) {
        // A period ("2009-W20") reads as one word: it never breaks inside. A server's name,
        // which may be long, wraps as the page's text does.
        std::string title(heading);
        if (period)
            title += "<span style=\"white-space:nowrap\">";
        AppendHtmlText(title, board.Name);
        if (period)
            title += "</span>";
        std::vector<PlayerIndex> players;
        for (const auto& [player, kills] : board.MostKills)
            players.push_back(player);
        AppendTopList(out, site, title, "", players, [&](const PlayerSummary& p) {
            for (const auto& [player, kills] : board.MostKills)
                if (player == p.Index)
                    return number(kills);
            return number(0);
        });
    };
    if (model.WeekBoard)
        appendBoard("Most kills in week ", *model.WeekBoard, true);
    if (model.MonthBoard)
        appendBoard("Most kills in ", *model.MonthBoard, true);
    for (const KillBoard& board : model.ServerBoards)
        appendBoard("Most kills on ", board, false);
    out += "</div>\n";
    AppendLatestChat(out, site.Chats);
    out += "<h2 id=\"all-players\">All players</h2>\n";
    const std::size_t pages = site.Layout.ListPageCount();
    AppendListPager(out, site, "", 1, pages);
    AppendPlayerTable(out, site.Store, model, {site.Layout, ""}, order, 0,
                      site.Layout.ListPageEnd(1));
    AppendListPager(out, site, "", 1, pages);
    AppendPageEnd(out);
    return out;
}

std::string PlayerListPage(const SiteParts& site, const std::vector<PlayerIndex>& order,
                           std::size_t page) {
    std::string out;
    const std::string title = "All players, page " + std::to_string(page);
    const std::string root = RootFrom(site.Layout.ListPageDepth(page));
    AppendPageStart(out, {title, site.Settings.GameTitle, "overview", root});
    const std::size_t pages = site.Layout.ListPageCount();
    AppendListPager(out, site, root, page, pages);
    AppendPlayerTable(out, site.Store, site.Model, {site.Layout, root}, order,
                      site.Layout.ListPageBegin(page), site.Layout.ListPageEnd(page));
    AppendListPager(out, site, root, page, pages);
    AppendPageEnd(out);
    return out;
}

} // namespace qla
