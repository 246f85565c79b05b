// The statistics site's history from a database: each log's figures as that log alone gives
// them, players matched by name, the log's date or id as label, and the held-back bytes.
#include "analysis/analysis.h"
#include "db/dashboard_history.h"
#include "db_test_support.h"

#include <gtest/gtest.h>

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

    DashboardSettings settings;
    AddToDashboard(*history, settings);
    EXPECT_TRUE(settings.FromDatabase);
    EXPECT_EQ(settings.LogCount, 2);
    EXPECT_EQ(settings.HeldBackBytes, 33);
    EXPECT_EQ(settings.History.size(), 3u);
}

} // namespace
} // namespace qla::db
