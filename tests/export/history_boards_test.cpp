// Boards of the latest week and month and of each server, summed from players' log by log figures.
#include "export/dashboard/history_boards.h"

#include <gtest/gtest.h>

namespace qla {
namespace {

PlayerLogFigures Log(std::string date, std::int64_t kills, std::size_t place,
                     std::string server = "") {
    PlayerLogFigures log;
    log.LogLabel = date.empty() ? "no date" : date;
    log.DateKey = std::move(date);
    log.Kills = kills;
    log.Log = place;
    log.Server = std::move(server);
    return log;
}

TEST(HistoryBoards, TheLatestWeekAndMonthCountOnlyTheirLogs) {
    // Mon 2026-11-30 and Tue 2026-12-08 lie in ISO weeks 49 and 50; the first log in November.
    const PlayerHistory ace{"Ace",
                            {Log("2026-11-30 20:00:00", 9, 0), Log("2026-12-08 20:00:00", 1, 2)}};
    const PlayerHistory bob{"Bob",
                            {Log("2026-12-02 20:00:00", 4, 1), Log("2026-12-08 20:00:00", 3, 2)}};
    const PlayerHistory cid{"Cid", {Log("", 7, 3)}};
    const std::vector<const PlayerHistory*> histories{&ace, &bob, &cid};

    const auto week = LatestPeriodBoard(histories, AwardPeriodKind::Week, 10);
    ASSERT_TRUE(week);
    EXPECT_EQ(week->Name, "2026-W50");
    EXPECT_EQ(week->MostKills, (std::vector<std::pair<PlayerIndex, std::int64_t>>{{2, 3}, {1, 1}}));
    const auto month = LatestPeriodBoard(histories, AwardPeriodKind::Month, 1);
    ASSERT_TRUE(month);
    EXPECT_EQ(month->Name, "2026-12");
    EXPECT_EQ(month->MostKills, (std::vector<std::pair<PlayerIndex, std::int64_t>>{{2, 7}}));

    // Every log in the latest month: that board would repeat the overview's own list. Without a
    // dated log there is no latest period.
    const PlayerHistory only{"Ace",
                             {Log("2026-12-01 20:00:00", 2, 0), Log("2026-12-08 20:00:00", 2, 1)}};
    EXPECT_FALSE(LatestPeriodBoard({&only}, AwardPeriodKind::Month, 10));
    EXPECT_TRUE(LatestPeriodBoard({&only}, AwardPeriodKind::Week, 10));
    EXPECT_FALSE(LatestPeriodBoard({&cid}, AwardPeriodKind::Week, 10));
}

TEST(HistoryBoards, EachServerHasItsBoardOnceThereAreTwo) {
    const PlayerHistory ace{
        "Ace", {Log("", 5, 0, "alpha"), Log("", 2, 1, "beta"), Log("", 1, 2, "alpha")}};
    const PlayerHistory bob{"Bob", {Log("", 6, 0, "alpha"), Log("", 0, 1, "beta")}};
    const std::vector<KillBoard> boards = ServerBoardsOf({&ace, nullptr, &bob}, 10);
    ASSERT_EQ(boards.size(), 2u);
    EXPECT_EQ(boards[0].Name, "alpha");
    // Equal kills: the player who appeared first stands first; no kills, no row.
    EXPECT_EQ(boards[0].MostKills,
              (std::vector<std::pair<PlayerIndex, std::int64_t>>{{1, 6}, {3, 6}}));
    EXPECT_EQ(boards[1].MostKills, (std::vector<std::pair<PlayerIndex, std::int64_t>>{{1, 2}}));
    // Logs of one server (or of none) make no board per server.
    const PlayerHistory cid{"Cid", {Log("", 5, 0, "alpha"), Log("", 4, 1)}};
    EXPECT_TRUE(ServerBoardsOf({&cid}, 10).empty());
}

} // namespace
} // namespace qla
