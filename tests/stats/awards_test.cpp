// The awards on small stores whose answers are worked out by hand: streaks in log order and
// started again in each log, the tie rules, the minimum activity, the periods by date and the
// records, which a later session takes only by beating them.
#include "stats/award_periods.h"
#include "stats/award_records.h"
#include "stats/awards.h"
#include "test_store.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace qla {
namespace {

using test::AddKill;

const AwardResult& Award(const std::vector<AwardResult>& awards, AwardId id) {
    return *std::find_if(awards.begin(), awards.end(),
                         [id](const AwardResult& award) { return award.Id == id; });
}

std::string WinnerOf(const std::vector<AwardResult>& awards, AwardId id) {
    const AwardResult& award = Award(awards, id);
    return award.Entries.empty() ? "nobody" : award.Entries.front().Player;
}

std::vector<AwardResult> AwardsOf(const AnalysisStore& store,
                                  std::span<const std::size_t> ends = {}) {
    return ComputeAwards({store, ends, {}, true, {}});
}

TEST(AwardsTest, StreaksFollowTheLogOrderAndStartAgainInEachLog) {
    AnalysisStore store;
    // Log 1: Ann kills three in a row, is killed, kills once more and suffers a teamkill, which
    // ends a run of kills; Bob kills twice with none of his deaths between.
    AddKill(store, "Ann", "Bob", "MP40");
    AddKill(store, "Ann", "Cid", "MP40");
    AddKill(store, "Ann", "Bob", "Knife");
    AddKill(store, "Bob", "Ann", "MP40");
    AddKill(store, "Ann", "Cid", "MP40");
    AddKill(store, "Cid", "Ann", "Teamkill");
    AddKill(store, "Bob", "Cid", "MP40");
    const std::size_t firstLogEnd = store.KillEvents.size();
    // Log 2: Bob's three kills would follow his two of log 1 if the logs were one.
    for (int i = 0; i < 3; ++i)
        AddKill(store, "Bob", "Cid", "MP40");
    const std::vector<std::size_t> ends{firstLogEnd, store.KillEvents.size()};
    const std::vector<PlayerStreaks> streaks = LongestStreaks(store, ends);
    const PlayerIndex ann = *store.FindPlayer("Ann"), bob = *store.FindPlayer("Bob"),
                      cid = *store.FindPlayer("Cid");
    EXPECT_EQ(streaks[ann].Kills, 3);
    EXPECT_EQ(streaks[ann].KillsLog, 0u);
    EXPECT_EQ(streaks[ann].Deaths, 1); // her kill between Bob's kill and the teamkill
    EXPECT_EQ(streaks[bob].Kills, 3);
    EXPECT_EQ(streaks[bob].KillsLog, 1u);
    EXPECT_EQ(streaks[bob].Deaths, 2); // Ann's first and third kill
    // Cid's teamkill is no kill: his three deaths of log 1 run on; log 2's three only equal them.
    EXPECT_EQ(streaks[cid].Deaths, 3);
    EXPECT_EQ(streaks[cid].DeathsLog, 0u);
    EXPECT_EQ(streaks[cid].Kills, 0);
    // Read as one log, Bob's two kills at the end of log 1 join the three of log 2.
    EXPECT_EQ(LongestStreaks(store, {}).at(bob).Kills, 5);

    const auto awards = AwardsOf(store, ends);
    // Ann and Bob both ran 3; Ann has a death fewer (a teamkill suffered is no death of hers).
    EXPECT_EQ(WinnerOf(awards, AwardId::LongestKillStreak), "Ann");
    EXPECT_EQ(Award(awards, AwardId::LongestKillStreak).Entries.front().Value, 3);
    EXPECT_EQ(WinnerOf(awards, AwardId::LongestDeathStreak), "Cid");
    // A teamkill is not a kill: the shame list has it.
    EXPECT_EQ(WinnerOf(awards, AwardId::MostTeamkills), "Cid");
    // First blood of each log.
    const AwardResult& first = Award(awards, AwardId::FirstBlood);
    ASSERT_EQ(first.Entries.size(), 2u);
    EXPECT_EQ(first.Entries[1].Player, "Bob");
    // Streaks not known: the award says so instead of naming anyone.
    const auto unknown = ComputeAwards({store, ends, {}, false, {}});
    EXPECT_FALSE(Award(unknown, AwardId::LongestKillStreak).Known);
    EXPECT_TRUE(Award(unknown, AwardId::LongestKillStreak).Entries.empty());
}

TEST(AwardsTest, TiesGoToFewerDeathsThenTheNameWithoutColourCodes) {
    AnalysisStore store;
    // "^3Bob" sorts after "Carl" as stored, before it without its colour code.
    AddKill(store, "Carl", "Dan", "MP40");
    AddKill(store, "^3Bob", "Dan", "MP40");
    AddKill(store, "Eve", "Dan", "MP40");
    AddKill(store, "Dan", "Eve", "MP40"); // Eve has a death more than Bob and Carl
    const auto awards = AwardsOf(store);
    EXPECT_EQ(WinnerOf(awards, AwardId::MostKills), "^3Bob");
    // Kills with each weapon: the same rule per weapon, the weapon named.
    const AwardResult& weapons = Award(awards, AwardId::WeaponKills);
    ASSERT_EQ(weapons.Entries.size(), 1u);
    EXPECT_EQ(weapons.Entries.front().Subject, "MP40");
    EXPECT_EQ(weapons.Entries.front().Player, "^3Bob");
    // First blood: the log's first kill, with its victim.
    const AwardResult& first = Award(awards, AwardId::FirstBlood);
    ASSERT_EQ(first.Entries.size(), 1u);
    EXPECT_EQ(first.Entries.front().Player, "Carl");
    EXPECT_EQ(first.Entries.front().Other, "Dan");
}

// More pairs than are shown tie on their kills: the five shown are those first by name,
// whichever pair was filed first, and a pair of more kills goes before them all.
TEST(AwardsTest, NemesisPairsTiedPastTheFiveShownGoByName) {
    AnalysisStore store;
    for (const char* killer : {"^1Gus", "Fay", "Eve", "Dan", "Cid", "Bob", "Ann"})
        for (int i = 0; i < 4; ++i)
            AddKill(store, killer, "Zed", "MP40");
    for (int i = 0; i < 6; ++i)
        AddKill(store, "Zed", "Hal", "MP40");
    const auto awards = AwardsOf(store);
    const AwardResult& nemesis = Award(awards, AwardId::Nemesis);
    std::vector<std::string> shown;
    for (const AwardEntry& entry : nemesis.Entries)
        shown.push_back(entry.Player + ">" + entry.Other);
    EXPECT_EQ(shown,
              (std::vector<std::string>{"Zed>Hal", "Ann>Zed", "Bob>Zed", "Cid>Zed", "Dan>Zed"}));
}

TEST(AwardsTest, MinimumActivityKeepsTheFewOut) {
    AnalysisStore store;
    // Ann: 9 kills and no death, below the ratio's 10 kills. Bob: 10 kills, 5 deaths.
    for (int i = 0; i < 9; ++i)
        AddKill(store, "Ann", "Cid", "MP40");
    for (int i = 0; i < 10; ++i)
        AddKill(store, "Bob", "Cid", "MP40");
    for (int i = 0; i < 5; ++i)
        AddKill(store, "Cid", "Bob", "MP40");
    auto awards = AwardsOf(store);
    EXPECT_EQ(WinnerOf(awards, AwardId::BestRatio), "Bob");
    EXPECT_EQ(Award(awards, AwardId::BestRatio).Entries.front().Value, 200);
    // Nemesis pairs: at least 3 kills of one by the other, the most first.
    const AwardResult& nemesis = Award(awards, AwardId::Nemesis);
    ASSERT_EQ(nemesis.Entries.size(), 3u);
    EXPECT_EQ(nemesis.Entries[0].Player, "Bob");
    EXPECT_EQ(nemesis.Entries[0].Value, 10);
    EXPECT_EQ(nemesis.Entries[2].Player, "Cid");
    // Nobody teamkilled, took his own life or chatted: nobody wins those.
    EXPECT_EQ(WinnerOf(awards, AwardId::MostTeamkills), "nobody");
    EXPECT_EQ(WinnerOf(awards, AwardId::MostSuicides), "nobody");
    EXPECT_EQ(WinnerOf(awards, AwardId::MostChat), "nobody");
    store.RecordSuicide(*store.FindPlayer("Ann"), kFirstSuicideCause);
    store.RecordTextChat(*store.FindPlayer("Cid"), "gg", "", false);
    awards = AwardsOf(store);
    EXPECT_EQ(WinnerOf(awards, AwardId::MostSuicides), "Ann");
    EXPECT_EQ(WinnerOf(awards, AwardId::MostChat), "Cid");
}

TEST(AwardsTest, TheRatingGainIsTheRiseOverThePeriodItself) {
    AnalysisStore store;
    // Log 1: Ann beats Bob 30 to 0. Log 2: Bob beats Ann 30 to 0.
    for (int i = 0; i < 30; ++i)
        AddKill(store, "Ann", "Bob", "MP40");
    const std::size_t firstEnd = store.KillEvents.size();
    for (int i = 0; i < 30; ++i)
        AddKill(store, "Bob", "Ann", "MP40");
    const std::vector<std::size_t> ends{firstEnd, store.KillEvents.size()};
    const auto gains = RatingGains(store, ends, {true, false}, {true, true});
    ASSERT_EQ(gains.size(), 2u);
    const auto gainOf = [&](const std::string& name) {
        return std::find_if(gains.begin(), gains.end(),
                            [&](const RatingGain& g) { return g.Player == name; })
            ->Points;
    };
    // Over log 2 Bob rises and Ann falls; each rests on the 30 encounters of log 2 only.
    EXPECT_GT(gainOf("Bob"), 0);
    EXPECT_LT(gainOf("Ann"), 0);
    EXPECT_EQ(gains.front().Encounters, 30);
    AnalysisStore second;
    for (int i = 0; i < 30; ++i)
        AddKill(second, "Bob", "Ann", "MP40");
    const auto awards = ComputeAwards({second, {}, {}, true, gains});
    EXPECT_EQ(WinnerOf(awards, AwardId::BestRatingGain), "Bob");
    // Too few encounters in the period: nobody.
    const auto few = RatingGains(store, ends, {true, false}, {true, false});
    EXPECT_EQ(WinnerOf(ComputeAwards({store, ends, {}, true, few}), AwardId::BestRatingGain),
              "nobody");
}

TEST(AwardPeriodsTest, LogsFallIntoDaysIsoWeeksAndMonthsByTheirDates) {
    EXPECT_EQ(PeriodKeyOf(AwardPeriodKind::Day, "2026-12-08 22:00:00"), "2026-12-08");
    EXPECT_EQ(PeriodKeyOf(AwardPeriodKind::Month, "2026-12-08 22:00:00"), "2026-12");
    // A Sunday early in January belongs to the last week of the year before; a Monday late in
    // December to the first week of the next.
    EXPECT_EQ(PeriodKeyOf(AwardPeriodKind::Week, "2021-01-03 10:00:00"), "2020-W53");
    EXPECT_EQ(PeriodKeyOf(AwardPeriodKind::Week, "2024-12-30 10:00:00"), "2025-W01");
    EXPECT_EQ(PeriodKeyOf(AwardPeriodKind::Week, "2026-12-08 10:00:00"), "2026-W50");
    EXPECT_EQ(PeriodKeyOf(AwardPeriodKind::Day, std::nullopt), "undated");
    EXPECT_EQ(PeriodKeyOf(AwardPeriodKind::Day, "Sun May 14"), "undated");

    const std::vector<std::optional<std::string>> dates{
        "2026-12-09 10:00:00", std::nullopt, "2026-12-08 23:00:00", "2026-12-09 20:00:00"};
    const std::vector<std::string> labels{"a", "b", "c", "d"};
    const auto days = GroupLogs(AwardPeriodKind::Day, dates, labels);
    ASSERT_EQ(days.size(), 3u);
    EXPECT_EQ(days[0].Key, "2026-12-08");
    EXPECT_EQ(days[0].Logs, std::vector<std::size_t>{2});
    EXPECT_EQ(days[1].Key, "2026-12-09");
    EXPECT_EQ(days[1].Logs, (std::vector<std::size_t>{0, 3}));
    EXPECT_EQ(days[1].First, "2026-12-09 10:00:00");
    EXPECT_EQ(days[2].Key, "undated"); // after the dated ones
    EXPECT_EQ(days[2].Logs, std::vector<std::size_t>{1});
    const auto sessions = GroupLogs(AwardPeriodKind::Session, dates, labels);
    ASSERT_EQ(sessions.size(), 4u);
    EXPECT_EQ(sessions[1].Key, "b");
    const auto all = GroupLogs(AwardPeriodKind::All, dates, labels);
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].Logs.size(), 4u);
    EXPECT_EQ(all[0].First, "2026-12-08 23:00:00");
}

TEST(AwardRecordsTest, ALaterSessionTakesARecordOnlyByBeatingIt) {
    AnalysisStore first, second, third;
    for (int i = 0; i < 20; ++i)
        AddKill(first, "Ann", "Bob", "MP40");
    AddKill(first, "Bob", "Ann", "MP40");
    for (int i = 0; i < 20; ++i)
        AddKill(second, "Cid", "Bob", "MP40"); // as many kills as Ann: no new record
    for (int i = 0; i < 19; ++i)
        AddKill(third, "Dan", "Bob", "MP40"); // no death, but below the ratio record's 20 kills
    RecordBook book;
    book.AddSession(first, true, "one", "2026-12-01 10:00:00");
    book.AddSession(second, true, "two", "");
    book.AddSession(third, true, "three", "");
    const auto& records = book.Records();
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[0].Key, "longest_kill_streak");
    EXPECT_EQ(records[0].Player, "Ann");
    EXPECT_EQ(records[0].Value, 20);
    EXPECT_EQ(records[0].Log, "one");
    EXPECT_EQ(records[0].Date, "2026-12-01 10:00:00");
    EXPECT_EQ(records[1].Player, "Bob"); // 20 deaths in a row in the first session
    EXPECT_EQ(records[2].Player, "Ann");
    // Cid has 20 kills and no death (ratio 20) against Ann's 20 to 1 (ratio 20 too): Ann keeps it.
    EXPECT_EQ(records[3].Player, "Ann");
    EXPECT_EQ(records[3].Value, 2000);
    RecordBook unknown;
    unknown.AddSession(first, false, "one", "");
    EXPECT_FALSE(unknown.Records()[0].Known);
    EXPECT_TRUE(unknown.Records()[2].Held);
}

} // namespace
} // namespace qla
