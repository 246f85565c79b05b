// The statistics site's history from a database: each log's figures as that log alone gives
// them, players matched by name, the log's date or id as label, and the held-back bytes.
#include "analysis/analysis.h"
#include "analysis/merge_players.h"
#include "db/dashboard_history.h"
#include "db/store_from_database.h"
#include "db_test_support.h"
#include "export/dashboard/merged_history.h"
#include "export/dashboard/player_address.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace qla::db {
namespace {

// Al kills Bob twice; Bob teamkills Al (a teamdeath is no death of the victim).
const std::string kFirst = "logfile opened on Sun May 14 15:19:28 2006\r\n"
                           "[skipnotify]Bob was killed by Al's MP40\r\n"
                           "[skipnotify]Bob was killed by Al's MP40\r\n"
                           "[skipnotify]Al^7 WAS KILLED BY TEAMMATE^7 Bob\r\n";
// No date; Cy joins, Al dies once; the last line waits for its line end.
const std::string kSecond = "no date here\r\n"
                            "[skipnotify]Al was killed by Cy's Sten\r\n"
                            "[skipnotify]Cy was killed by Al's";

TEST(DashboardHistory, EachLogAloneWithItsLabelAndTheHeldBackBytes) {
    dbtest::TempFolder folder;
    const std::string first = folder.Path("first.log"), second = folder.Path("second.log");
    const std::string db = folder.Path("stats.db");
    dbtest::WriteFile(first, kFirst);
    dbtest::WriteFile(second, kSecond);
    ASSERT_EQ(dbtest::Qla({"import", QString::fromStdString(first), QString::fromStdString(second),
                           "--db", QString::fromStdString(db), "--quiet"})
                  .status,
              0);

    std::string error;
    const auto database = StatsDatabase::Open(db, OpenMode::ReadOnly, error);
    ASSERT_TRUE(database) << error;
    const auto history = ReadDashboardHistory(*database, {}, error);
    ASSERT_TRUE(history) << error;
    EXPECT_EQ(history->LogCount, 2);
    EXPECT_EQ(history->HeldBackBytes, 33); // "[skipnotify]Cy was killed by Al's" after the last end
    ASSERT_EQ(history->Players.size(), 3u);
    const auto figures = [&](std::size_t player) {
        std::vector<std::tuple<std::string, std::string, std::int64_t, std::int64_t, std::int64_t>>
            rows;
        for (const PlayerLogFigures& log : history->Players[player].Logs)
            rows.emplace_back(log.LogLabel, log.DateKey, log.Kills, log.Deaths, log.Teamkills);
        return rows;
    };
    using Row = std::tuple<std::string, std::string, std::int64_t, std::int64_t, std::int64_t>;
    EXPECT_EQ(history->Players[0].Name, "Bob");
    EXPECT_EQ(figures(0),
              (std::vector<Row>{{"2006-05-14 15:19:28", "2006-05-14 15:19:28", 0, 2, 1}}));
    EXPECT_EQ(history->Players[1].Name, "Al");
    EXPECT_EQ(figures(1), (std::vector<Row>{{"2006-05-14 15:19:28", "2006-05-14 15:19:28", 2, 0, 0},
                                            {"log 2", "", 0, 1, 0}}));
    EXPECT_EQ(history->Players[2].Name, "Cy");
    EXPECT_EQ(figures(2), (std::vector<Row>{{"log 2", "", 1, 0, 0}}));

    // A selection narrows the history to its logs.
    const auto second_only = ReadDashboardHistory(*database, {{2}, {}, {}}, error);
    ASSERT_TRUE(second_only) << error;
    EXPECT_EQ(second_only->LogCount, 1);
    ASSERT_EQ(second_only->Players.size(), 2u);
    EXPECT_EQ(second_only->Players[0].Name, "Al");

    const auto missing = ReadDashboardHistory(*database, {{7}, {}, {}}, error);
    EXPECT_FALSE(missing);
    EXPECT_FALSE(error.empty());
}

// One player under two names: Bob in the first log (3 kills) and ^1bob in both (1 kill in the
// first; 4 kills and a death in the second), 8 kills and 1 death merged.
const std::string kBobFirst = "logfile opened on Sun May 14 15:19:28 2006\r\n"
                              "[skipnotify]Al was killed by Bob's MP40\r\n"
                              "[skipnotify]Al was killed by Bob's MP40\r\n"
                              "[skipnotify]Al was killed by ^1bob^7's Sten\r\n"
                              "[skipnotify]Al was killed by Bob's MP40\r\n";
const std::string kBobSecond = "logfile opened on Mon May 15 20:00:00 2006\r\n"
                               "[skipnotify]Al was killed by ^1bob^7's Sten\r\n"
                               "[skipnotify]Al was killed by ^1bob^7's Sten\r\n"
                               "[skipnotify]^1bob^7 was killed by Al's MP40\r\n"
                               "[skipnotify]Al was killed by ^1bob^7's Sten\r\n"
                               "[skipnotify]Al was killed by ^1bob^7's Sten\r\n";

using Figures = std::vector<std::tuple<std::string, std::int64_t, std::int64_t>>;
Figures FiguresOf(const PlayerHistory& history) {
    Figures rows;
    for (const PlayerLogFigures& log : history.Logs)
        rows.emplace_back(log.LogLabel, log.Kills, log.Deaths);
    return rows;
}

class MergedHistoryTest : public testing::Test {
  protected:
    void SetUp() override {
        const std::string first = folder_.Path("first.log"), second = folder_.Path("second.log");
        dbtest::WriteFile(first, kBobFirst);
        dbtest::WriteFile(second, kBobSecond);
        ASSERT_EQ(
            dbtest::Qla({"import", QString::fromStdString(first), QString::fromStdString(second),
                         "--db", QString::fromStdString(db_), "--quiet"})
                .status,
            0);
    }
    dbtest::TempFolder folder_;
    std::string db_ = folder_.Path("stats.db");
};

TEST_F(MergedHistoryTest, EachRowSumsAllTheMergedPlayersNamesInThatLog) {
    std::string error;
    const auto database = StatsDatabase::Open(db_, OpenMode::ReadOnly, error);
    ASSERT_TRUE(database) << error;
    const auto history = ReadDashboardHistory(*database, {}, error);
    ASSERT_TRUE(history) << error;
    AnalysisStore store;
    ASSERT_TRUE(BuildStoreFromDatabase(*database, {}, store).Ok);
    const MergedNames names = MergePlayers(store, {});
    ASSERT_EQ(store.PlayerCount(), 2); // Al, and Bob under both names
    const PlayerIndex bob = *names.Find("Bob");
    EXPECT_EQ(store.Players[bob].Kills[0], 8);
    EXPECT_EQ(store.Players[bob].Deaths[0], 1);

    const std::vector<PlayerHistory> merged = MergedHistories(history->Players, store, names);
    ASSERT_EQ(merged.size(), 2u);
    const auto of = [&](PlayerIndex p) {
        for (const PlayerHistory& h : merged)
            if (h.Name == store.Players[p].Name)
                return FiguresOf(h);
        return Figures{};
    };
    EXPECT_EQ(of(bob), (Figures{{"2006-05-14 15:19:28", 4, 0}, {"2006-05-15 20:00:00", 4, 1}}));
    EXPECT_EQ(of(*names.Find("Al")),
              (Figures{{"2006-05-14 15:19:28", 0, 4}, {"2006-05-15 20:00:00", 1, 4}}));
}

TEST_F(MergedHistoryTest, TheSitesHistoryFromQlaAddsUpToThePlayersTotals) {
    const std::string site = folder_.Path("site");
    const dbtest::QlaRun run =
        dbtest::Qla({"export", "--db", QString::fromStdString(db_), "--merge-players", "--view",
                     "dashboard", "--format", "html", "--output", QString::fromStdString(site)});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string data = dbtest::ReadFile(site + "/data.json");
    // The merged player, named by his name of most lines, with both logs' rows summed.
    EXPECT_NE(data.find("\"name\":\"^1bob\",\"visibleName\":\"bob\",\"kills\":8,\"deaths\":1,"),
              std::string::npos)
        << data;
    EXPECT_NE(
        data.find("\"history\":[{\"log\":\"2006-05-14 15:19:28\",\"date\":\"2006-05-14 "
                  "15:19:28\",\"kills\":4,\"deaths\":0,\"teamkills\":0},{\"log\":\"2006-05-15 "
                  "20:00:00\",\"date\":\"2006-05-15 20:00:00\",\"kills\":4,\"deaths\":1,"
                  "\"teamkills\":0}]"),
        std::string::npos)
        << data;
    const std::string page =
        dbtest::ReadFile(site + "/" + PlayerPagePath(PlayerPageAddress("^1bob")));
    EXPECT_NE(page.find("<tr><td>2006-05-14 15:19:28</td><td>4</td><td>0</td><td>0</td></tr>"),
              std::string::npos);

    // Both are named in 9 lines: with pages from 10 lines on, they are rows of the list.
    const std::string rows = folder_.Path("rows");
    ASSERT_EQ(dbtest::Qla({"export", "--db", QString::fromStdString(db_), "--merge-players",
                           "--view", "dashboard", "--format", "html", "--output",
                           QString::fromStdString(rows), "--min-lines-for-page", "10"})
                  .status,
              0);
    EXPECT_FALSE(std::filesystem::exists(rows + "/players"));
    EXPECT_NE(dbtest::ReadFile(rows + "/index.html").find("<tr id=\"p2\"><td><span class=\"c1\">"),
              std::string::npos);
    EXPECT_EQ(dbtest::Qla({"export", "--db", QString::fromStdString(db_), "--view", "dashboard",
                           "--format", "json", "--output", QString::fromStdString(rows + ".json"),
                           "--min-lines-for-page", "10"})
                  .status,
              2);
}

// Logs imported out of date order, one without a date: the site qla writes of the database puts
// Al's logs in date order with the undated one last and named so, and its overview states the
// period the logs cover rather than the first import's date.
TEST(DashboardHistory, TheSiteGoesByTheLogsDatesNotByImportOrder) {
    dbtest::TempFolder folder;
    const std::string db = folder.Path("stats.db");
    const std::string earlier = "logfile opened on Fri Jan  2 03:04:05 2004\r\n"
                                "[skipnotify]Bob was killed by Al's MP40\r\n";
    dbtest::WriteFile(folder.Path("a.log"), kFirst);
    dbtest::WriteFile(folder.Path("b.log"), kSecond + "\r\n");
    dbtest::WriteFile(folder.Path("c.log"), earlier);
    ASSERT_EQ(dbtest::Qla({"import", folder.QPath("a.log"), folder.QPath("b.log"),
                           folder.QPath("c.log"), "--db", QString::fromStdString(db), "--quiet"})
                  .status,
              0);
    const std::string site = folder.Path("site");
    const dbtest::QlaRun run =
        dbtest::Qla({"export", "--db", QString::fromStdString(db), "--view", "dashboard",
                     "--format", "html", "--output", QString::fromStdString(site)});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string al = dbtest::ReadFile(site + "/" + PlayerPagePath(PlayerPageAddress("Al")));
    ASSERT_NE(al.find("<title>Al - Statistics</title>"), std::string::npos) << al.substr(0, 300);
    const std::size_t rows = al.find("<table id=\"history\"");
    ASSERT_NE(rows, std::string::npos);
    const std::size_t first = al.find("<tr><td>2004-01-02 03:04:05</td><td>1</td>", rows);
    const std::size_t second = al.find("<tr><td>2006-05-14 15:19:28</td><td>2</td>", rows);
    const std::size_t undated = al.find("<tr><td>no date, log 2</td><td>", rows);
    EXPECT_NE(first, std::string::npos);
    EXPECT_LT(first, second);
    EXPECT_LT(second, undated);
    EXPECT_NE(undated, std::string::npos);
    // The chart's labels run the same way.
    const std::size_t chart = al.find("2004-01-02 03:04:05");
    EXPECT_LT(chart, al.find("2006-05-14 15:19:28"));
    EXPECT_LT(chart, rows);

    const std::string index = dbtest::ReadFile(site + "/index.html");
    EXPECT_NE(index.find("<p class=\"source\">Database stats.db: logs from 2004-01-02 03:04:05 "
                         "to 2006-05-14 15:19:28 and 1 log without a date</p>"),
              std::string::npos)
        << index.substr(0, 1500);
    // The test programs fix the stamp (support/fixed_site_stamp.h), as SOURCE_DATE_EPOCH does.
    EXPECT_NE(index.find("<p class=\"made\">Made on <time datetime=\"2023-11-14T22:13:20Z\">"),
              std::string::npos);
}

} // namespace
} // namespace qla::db
