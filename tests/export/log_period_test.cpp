// The statistics site tells time right: each history in date order with undated logs after and
// named as such, the period the logs cover, and the "made on" stamp, fixed by SOURCE_DATE_EPOCH.
#include "export/dashboard/log_period.h"
#include "export/dashboard/player_address.h"
#include "export/export_views.h"
#include "export/statistics_site_settings.h"
#include "support/scratch_dir.h"
#include "test_store.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace qla {
namespace {

using std::chrono::system_clock;

std::vector<std::string> LabelsOf(const PlayerHistory& history) {
    std::vector<std::string> labels;
    for (const PlayerLogFigures& log : history.Logs)
        labels.push_back(log.LogLabel);
    return labels;
}

// Logs in import order (Log 0-4): a later date imported first, undated ones between.
PlayerHistory ImportedOutOfOrder() {
    return {"Bob",
            {{"2006-05-15 20:00:00", "2006-05-15 20:00:00", 1, 0, 0, 0},
             {"log 2", "", 2, 0, 0, 1},
             {"2004-01-02 03:04:05", "2004-01-02 03:04:05", 3, 0, 0, 2},
             {"2006-05-15 20:00:00", "2006-05-15 20:00:00", 4, 0, 0, 3},
             {"log 5", "", 5, 0, 0, 4}}};
}

TEST(LogPeriod, HistoriesGoByDateThenImportOrderWithUndatedLogsLast) {
    std::vector<PlayerHistory> histories{ImportedOutOfOrder()};
    OrderHistoriesByDate(histories);
    EXPECT_EQ(
        LabelsOf(histories[0]),
        (std::vector<std::string>{"2004-01-02 03:04:05", "2006-05-15 20:00:00",
                                  "2006-05-15 20:00:00", "no date, log 2", "no date, log 5"}));
    std::vector<std::int64_t> kills;
    for (const PlayerLogFigures& log : histories[0].Logs)
        kills.push_back(log.Kills);
    EXPECT_EQ(kills, (std::vector<std::int64_t>{3, 1, 4, 2, 5})); // figures move with their log
    // Ordered again (a watch's next batch), nothing changes: the label is not doubled.
    OrderHistoriesByDate(histories);
    EXPECT_EQ(LabelsOf(histories[0])[3], "no date, log 2");
}

TEST(LogPeriod, ThePeriodRunsFromTheFirstToTheLastDateAndCountsEachUndatedLogOnce) {
    PlayerHistory al{
        "Al",
        {{"log 2", "", 1, 0, 0, 1}, {"2009-08-08 20:37:24", "2009-08-08 20:37:24", 1, 0, 0, 5}}};
    const LogPeriod period = PeriodOf({ImportedOutOfOrder(), al});
    EXPECT_EQ(period.First, "2004-01-02 03:04:05");
    EXPECT_EQ(period.Last, "2009-08-08 20:37:24");
    EXPECT_EQ(period.UndatedLogs, 2); // logs 1 and 4; log 1 holds both players

    const LogPeriod undated = PeriodOf({{"Al", {{"log 1", "", 1, 0, 0, 0}}}});
    EXPECT_EQ(undated.First, "");
    EXPECT_EQ(undated.Last, "");
    EXPECT_EQ(undated.UndatedLogs, 1);
    EXPECT_EQ(PeriodOf({}).UndatedLogs, 0);
}

TEST(LogPeriod, MadeOnIsSourceDateEpochWhenItIsAWholeNumberElseTheClock) {
    const system_clock::time_point now = system_clock::from_time_t(365 * 86400 + 3661);
    EXPECT_EQ(MadeOnStamp("1700000000", now), "2023-11-14T22:13:20Z");
    EXPECT_EQ(MadeOnStamp("0", now), "1970-01-01T00:00:00Z");
    EXPECT_EQ(MadeOnStamp("253402300799", now), "9999-12-31T23:59:59Z");
    for (const char* notANumber : {"", "-5", " 5", "+5", "12a", "1.5", "253402300800"})
        EXPECT_EQ(MadeOnStamp(notANumber, now), "1971-01-01T01:01:01Z") << notANumber;
    EXPECT_EQ(MadeOnStamp(nullptr, now), "1971-01-01T01:01:01Z");
}

// The one place that builds the site's settings puts the history in date order, and the site
// shows it so: the overview states the period and when it was made, the player's table and the
// JSON go by date.
TEST(LogPeriod, TheSiteShowsTheHistoryByDateThePeriodAndWhenItWasMade) {
    test::TestStore data;
    data.Kill("Bob", "Al", "MP40");
    const std::filesystem::path dir = test::ScratchDir();
    ExportRequest request = RequestFor(ExportView::Dashboard, ExportFormat::Html, {});
    request.Path = (dir / "site").string();
    StatisticsSiteSource source{"stats.db", "Sat May 15 20:00:00 2006", {}, {}};
    source.Database = DatabaseSiteFigures{5, 0, {ImportedOutOfOrder()}, {}};
    ::setenv("SOURCE_DATE_EPOCH", "1700000000", 1);
    SetStatisticsSite(request, {}, std::move(source));
    ::unsetenv("SOURCE_DATE_EPOCH");
    EXPECT_EQ(request.Dashboard.MadeOn, "2023-11-14T22:13:20Z");
    ASSERT_TRUE(RunExport(data.Store, request).Ok());

    const std::string index = test::ReadFile((dir / "site" / "index.html").string());
    EXPECT_NE(index.find("<p class=\"source\">Database stats.db: logs from 2004-01-02 03:04:05 to "
                         "2006-05-15 20:00:00 and 2 logs without a date</p>\n"
                         "<p class=\"made\">Made on <time datetime=\"2023-11-14T22:13:20Z\">"
                         "2023-11-14T22:13:20Z</time></p>\n"),
              std::string::npos)
        << index.substr(0, 1200);
    const std::string bob =
        test::ReadFile((dir / "site" / PlayerPagePath(PlayerPageAddress("Bob"))).string());
    const std::size_t first = bob.find("<tr><td>2004-01-02 03:04:05</td><td>3</td>");
    const std::size_t later = bob.find("<tr><td>2006-05-15 20:00:00</td><td>1</td>");
    const std::size_t undated = bob.find("<tr><td>no date, log 2</td><td>2</td>");
    EXPECT_LT(first, later);
    EXPECT_LT(later, undated);
    EXPECT_NE(undated, std::string::npos);
    const std::string json = test::ReadFile((dir / "site" / "data.json").string());
    EXPECT_NE(json.find(R"("logs":5,"firstLogDate":"2004-01-02 03:04:05",)"
                        R"("lastLogDate":"2006-05-15 20:00:00","undatedLogs":2,)"
                        R"("madeOn":"2023-11-14T22:13:20Z",)"),
              std::string::npos)
        << json.substr(0, 400);
    EXPECT_NE(json.find(R"("history":[{"log":"2004-01-02 03:04:05",)"), std::string::npos);
}

// A single log says its own date, or that it has none; no period fields in its JSON.
TEST(LogPeriod, ALogSaysItsDateOrThatItHasNone) {
    test::TestStore data;
    data.Kill("Bob", "Al", "MP40");
    const std::filesystem::path dir = test::ScratchDir();
    for (const std::string date : {"Sat May 15 20:00:00 2006", ""}) {
        ExportRequest request = RequestFor(ExportView::Dashboard, ExportFormat::Html, {});
        request.Path = (dir / ("site" + std::to_string(date.size()))).string();
        SetStatisticsSite(request, {}, {"game.log", date, {}, {}});
        ASSERT_TRUE(RunExport(data.Store, request).Ok());
        const std::string index = test::ReadFile(request.Path + "/index.html");
        EXPECT_NE(index.find(date.empty() ? "<p class=\"source\">Log game.log, without a date</p>"
                                          : "<p class=\"source\">Log game.log, opened on "
                                            "Sat May 15 20:00:00 2006</p>"),
                  std::string::npos)
            << date;
        EXPECT_EQ(test::ReadFile(request.Path + "/data.json").find("firstLogDate"),
                  std::string::npos);
    }
}

} // namespace
} // namespace qla
