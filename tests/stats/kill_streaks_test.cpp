// Streaks from the kills of a store that keeps them summed per killer and victim, as stored
// statistics do, walked in the order kept beside them: the same streaks, first bloods and per-log
// figures as the store that holds each kill in log order, sessions inside a log starting them
// again where asked, and a log without its order left out.
#include "stats/awards.h"
#include "stats/kill_streaks.h"
#include "test_store.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <tuple>

namespace qla {
namespace {

using test::AddKill;

// One log's kills, and the places (in its kills) where a session begins inside it.
struct LogKills {
    std::vector<std::tuple<int, int, bool>> Kills; // killer, victim (0-5), teamkill
    std::vector<std::size_t> SessionStarts;
};

std::string Name(int player) {
    return "P" + std::to_string(player);
}

// Random logs of six players, with a few self kills and teamkills, some sessions inside them.
std::vector<LogKills> RandomLogs(std::uint32_t seed) {
    std::mt19937 random(seed);
    std::vector<LogKills> logs(4);
    for (LogKills& log : logs) {
        const int kills = static_cast<int>(random() % 120);
        for (int k = 0; k < kills; ++k) {
            // Low numbers kill more: long runs come up.
            const int killer = static_cast<int>(random() % 6) * static_cast<int>(random() % 2);
            const int victim = static_cast<int>(random() % 6);
            log.Kills.emplace_back(killer, victim, random() % 11 == 0);
            if (k > 0 && random() % 50 == 0)
                log.SessionStarts.push_back(static_cast<std::size_t>(k));
        }
    }
    return logs;
}

// The kills one by one in log order, each log's end in KillEvents.
AnalysisStore InOrder(const std::vector<LogKills>& logs, std::vector<std::size_t>& ends) {
    AnalysisStore store;
    for (int p = 0; p < 6; ++p)
        store.FindOrAddPlayer(Name(p));
    for (const LogKills& log : logs) {
        for (const auto& [killer, victim, teamkill] : log.Kills)
            AddKill(store, Name(killer), Name(victim), teamkill ? "Teamkill" : "MP40");
        ends.push_back(store.KillEvents.size());
    }
    return store;
}

// Each log's kills summed per killer, victim and teamkill at the place of the first, as a store
// of stored statistics files them, and the order beside them; `unknown` logs keep no order.
AnalysisStore Summed(const std::vector<LogKills>& logs, KillOrder& order,
                     std::vector<std::size_t>& ends, const std::vector<bool>& unknown = {}) {
    AnalysisStore store;
    for (int p = 0; p < 6; ++p)
        store.FindOrAddPlayer(Name(p));
    for (std::size_t l = 0; l < logs.size(); ++l) {
        const LogKills& log = logs[l];
        std::map<std::tuple<int, int, bool>, std::uint32_t> counts;
        std::vector<std::tuple<int, int, bool>> firsts;
        for (const auto& kill : log.Kills)
            if (counts[kill]++ == 0)
                firsts.push_back(kill);
        std::map<std::tuple<int, int, bool>, std::uint32_t> entryOf;
        for (const auto& kill : firsts) {
            const auto& [killer, victim, teamkill] = kill;
            entryOf[kill] = static_cast<std::uint32_t>(store.KillEvents.size());
            store.RecordKillEvents(
                static_cast<PlayerIndex>(killer + 1), static_cast<PlayerIndex>(victim + 1),
                teamkill ? kEventTeamkill : EventWeaponOf(1, "MP40"), counts[kill]);
        }
        ends.push_back(store.KillEvents.size());
        const bool known = l >= unknown.size() || !unknown[l];
        if (known) {
            for (const std::size_t start : log.SessionStarts)
                order.SessionStarts.push_back(order.Entries.size() + start);
            for (const auto& kill : log.Kills)
                order.Entries.push_back(entryOf[kill]);
        }
        order.LogEnds.push_back(order.Entries.size());
        order.Known.push_back(known);
    }
    return store;
}

TEST(KillStreaksTest, TheOrderKeptBesideSummedKillsGivesTheStreaksOfTheKillsInOrder) {
    for (std::uint32_t seed = 1; seed <= 20; ++seed) {
        const std::vector<LogKills> logs = RandomLogs(seed);
        std::vector<std::size_t> inOrderEnds, summedEnds;
        const AnalysisStore inOrder = InOrder(logs, inOrderEnds);
        KillOrder order;
        const AnalysisStore summed = Summed(logs, order, summedEnds);
        ASSERT_TRUE(order.AllKnown());
        // Without sessions inside the logs, the order gives what the kills in order give.
        KillOrder whole = order;
        whole.SessionStarts.clear();
        const auto expected = LongestStreaks(inOrder, inOrderEnds);
        const auto got = LongestStreaks(summed, summedEnds, &whole);
        for (PlayerIndex p = 1; p <= 6; ++p) {
            EXPECT_EQ(got[p].Kills, expected[p].Kills) << "seed " << seed << " player " << p;
            EXPECT_EQ(got[p].Deaths, expected[p].Deaths) << "seed " << seed << " player " << p;
            EXPECT_EQ(got[p].KillsLog, expected[p].KillsLog) << "seed " << seed;
        }
        // The first bloods of the summed entries are those of the kills.
        const auto firstBlood = [](const std::vector<AwardResult>& awards) {
            std::vector<std::pair<std::string, std::string>> pairs;
            for (const AwardResult& award : awards)
                if (award.Id == AwardId::FirstBlood)
                    for (const AwardEntry& entry : award.Entries)
                        pairs.emplace_back(entry.Player, entry.Other);
            return pairs;
        };
        AwardInputs fromSummed{summed, summedEnds, {}, true, {}};
        fromSummed.Order = &whole;
        EXPECT_EQ(firstBlood(ComputeAwards(fromSummed)),
                  firstBlood(ComputeAwards({inOrder, inOrderEnds, {}, true, {}})));
    }
}

TEST(KillStreaksTest, SessionsInsideALogStartTheStreaksAgainWhereAsked) {
    for (std::uint32_t seed = 21; seed <= 40; ++seed) {
        const std::vector<LogKills> logs = RandomLogs(seed);
        // The sessions as logs of their own, read in order.
        std::vector<LogKills> sessions;
        for (const LogKills& log : logs) {
            std::size_t begin = 0;
            std::vector<std::size_t> starts = log.SessionStarts;
            starts.push_back(log.Kills.size());
            for (const std::size_t end : starts) {
                sessions.push_back({{log.Kills.begin() + static_cast<std::ptrdiff_t>(begin),
                                     log.Kills.begin() + static_cast<std::ptrdiff_t>(end)},
                                    {}});
                begin = end;
            }
        }
        std::vector<std::size_t> sessionEnds, summedEnds;
        const AnalysisStore bySession = InOrder(sessions, sessionEnds);
        KillOrder order;
        const AnalysisStore summed = Summed(logs, order, summedEnds);
        const auto expected = LongestStreaks(bySession, sessionEnds);
        const auto got = LongestStreaks(summed, summedEnds, &order);
        const auto figures = KillFiguresOfLogs(summed, summedEnds, order, true);
        const auto wholeLogs = KillFiguresOfLogs(summed, summedEnds, order, false);
        std::vector<std::size_t> logEnds;
        const AnalysisStore byLog = InOrder(logs, logEnds);
        const auto perLog = LongestStreaks(byLog, logEnds);
        for (PlayerIndex p = 1; p <= 6; ++p) {
            EXPECT_EQ(got[p].Kills, expected[p].Kills) << "seed " << seed;
            EXPECT_EQ(got[p].Deaths, expected[p].Deaths) << "seed " << seed;
            // Each log's figures: their best over the logs is the longest streak.
            std::int64_t best = 0, bestOfWhole = 0;
            for (std::size_t l = 0; l < figures.size(); ++l) {
                for (const auto& player : figures[l].Players)
                    if (player.Index == p)
                        best = std::max(best, player.Kills);
                for (const auto& player : wholeLogs[l].Players)
                    if (player.Index == p)
                        bestOfWhole = std::max(bestOfWhole, player.Kills);
            }
            EXPECT_EQ(best, expected[p].Kills) << "seed " << seed;
            EXPECT_EQ(bestOfWhole, perLog[p].Kills) << "seed " << seed;
        }
    }
}

// Log `log` of `order` alone, as a reader keeps it while it files that log.
KillOrder OneLogOrder(const KillOrder& order, std::size_t log) {
    KillOrder one;
    const std::size_t begin = log == 0 ? 0 : order.LogEnds[log - 1];
    one.Entries.assign(order.Entries.begin() + static_cast<std::ptrdiff_t>(begin),
                       order.Entries.begin() + static_cast<std::ptrdiff_t>(order.LogEnds[log]));
    one.LogEnds = {one.Entries.size()};
    one.Known = {order.Known[log]};
    for (const std::size_t start : order.SessionStarts)
        if (start > begin && start < order.LogEnds[log])
            one.SessionStarts.push_back(start - begin);
    return one;
}

// Each log's figures worked out alone, as a reader works them out while it files the log.
std::vector<LogKillFigures> LogByLog(const AnalysisStore& summed,
                                     const std::vector<std::size_t>& ends, const KillOrder& order,
                                     bool sessionsInsideLogs) {
    std::vector<LogKillFigures> figures;
    for (std::size_t l = 0; l < ends.size(); ++l)
        figures.push_back(KillFiguresOfLog(summed, l == 0 ? 1 : ends[l - 1], ends[l],
                                           OneLogOrder(order, l), sessionsInsideLogs));
    return figures;
}

TEST(KillStreaksTest, EachLogWorkedOutAloneGivesTheFiguresOfTheWholeOrder) {
    for (std::uint32_t seed = 51; seed <= 60; ++seed) {
        const std::vector<LogKills> logs = RandomLogs(seed);
        std::vector<std::size_t> ends;
        KillOrder order;
        const AnalysisStore summed = Summed(logs, order, ends, {false, true, false, false});
        const auto whole = KillFiguresOfLogs(summed, ends, order, false);
        ASSERT_EQ(whole.size(), ends.size());
        const auto logByLog = LogByLog(summed, ends, order, false);
        for (std::size_t l = 0; l < whole.size(); ++l) {
            const LogKillFigures& alone = logByLog[l];
            EXPECT_EQ(alone.Known, whole[l].Known) << "seed " << seed << " log " << l;
            EXPECT_EQ(alone.FirstBloodKiller, whole[l].FirstBloodKiller) << "seed " << seed;
            EXPECT_EQ(alone.FirstBloodVictim, whole[l].FirstBloodVictim) << "seed " << seed;
            ASSERT_EQ(alone.Players.size(), whole[l].Players.size()) << "seed " << seed;
            for (std::size_t k = 0; k < alone.Players.size(); ++k) {
                EXPECT_EQ(alone.Players[k].Index, whole[l].Players[k].Index);
                EXPECT_EQ(alone.Players[k].Kills, whole[l].Players[k].Kills);
                EXPECT_EQ(alone.Players[k].Deaths, whole[l].Players[k].Deaths);
            }
        }
    }
}

// A reader that works out each log's figures as it files it, sessions inside the log starting
// the streaks again, and lets the order go: the figures give every player's longest streaks and
// the log that first reached each, as the whole order walked at once gives them.
TEST(KillStreaksTest, EachLogsFiguresBySessionGiveTheStreaksOfTheWholeOrder) {
    for (std::uint32_t seed = 61; seed <= 80; ++seed) {
        const std::vector<LogKills> logs = RandomLogs(seed);
        std::vector<std::size_t> ends;
        KillOrder order;
        const AnalysisStore summed = Summed(logs, order, ends, {false, false, true, false});
        const auto figures = LogByLog(summed, ends, order, true);
        const auto expected = LongestStreaks(summed, ends, &order);
        const auto got = StreaksOfFigures(figures, summed.Players.size());
        ASSERT_EQ(got.size(), expected.size());
        for (PlayerIndex p = 1; p <= 6; ++p) {
            EXPECT_EQ(got[p].Kills, expected[p].Kills) << "seed " << seed << " player " << p;
            EXPECT_EQ(got[p].Deaths, expected[p].Deaths) << "seed " << seed << " player " << p;
            EXPECT_EQ(got[p].KillsLog, expected[p].KillsLog) << "seed " << seed;
            EXPECT_EQ(got[p].DeathsLog, expected[p].DeathsLog) << "seed " << seed;
        }
    }
}

TEST(KillStreaksTest, ALogWithoutItsOrderIsLeftOutAndSaysSo) {
    const std::vector<LogKills> logs = RandomLogs(41);
    std::vector<std::size_t> ends;
    KillOrder order;
    const AnalysisStore summed = Summed(logs, order, ends, {false, true, false, false});
    EXPECT_FALSE(order.AllKnown());
    const auto figures = KillFiguresOfLogs(summed, ends, order, true);
    ASSERT_EQ(figures.size(), logs.size());
    EXPECT_TRUE(figures[0].Known);
    EXPECT_FALSE(figures[1].Known);
    EXPECT_TRUE(figures[1].Players.empty());
    // Its first blood still comes from its entries, which keep the order of their first kills.
    for (std::size_t l = 0; l < logs.size(); ++l) {
        const auto first = std::find_if(logs[l].Kills.begin(), logs[l].Kills.end(),
                                        [](const auto& kill) { return !std::get<2>(kill); });
        ASSERT_NE(first, logs[l].Kills.end());
        EXPECT_EQ(figures[l].FirstBloodKiller, std::get<0>(*first) + 1) << "log " << l;
        EXPECT_EQ(figures[l].FirstBloodVictim, std::get<1>(*first) + 1) << "log " << l;
    }
    // The awards of a period holding it do not tell its streaks.
    AwardInputs inputs{summed, ends, {}, false, {}};
    inputs.Order = &order;
    for (const AwardResult& award : ComputeAwards(inputs))
        if (award.Id == AwardId::LongestKillStreak || award.Id == AwardId::LongestDeathStreak) {
            EXPECT_FALSE(award.Known);
        }
}

} // namespace
} // namespace qla
