// The rating check on a history small enough to score by hand: the split, which player a kill is
// asked about, the scores and the bins; and a store's kills as a log of duels.
#include "stats/rating_check.h"

#include "test_store.h"

#include <gtest/gtest.h>

#include <cmath>

namespace qla {
namespace {

const MethodScore& Method(const RatingCheckResult& result, const std::string& name) {
    for (const MethodScore& score : result.Methods)
        if (score.Method == name)
            return score;
    throw std::runtime_error("no method " + name);
}

TEST(RatingCheck, TestsTheLastFifthOfTheLogsAndAtLeastOne) {
    EXPECT_EQ(TestLogCount(2), 1u);
    EXPECT_EQ(TestLogCount(6), 1u);
    EXPECT_EQ(TestLogCount(10), 2u);
    EXPECT_EQ(TestLogCount(11), 2u);
}

TEST(RatingCheck, ScoresEveryTestKillAskedAboutThePlayerWhoseNameSortsFirst) {
    // Trained on alpha killing bravo three times; then bravo kills alpha, alpha kills bravo,
    // and charlie, never seen, kills alpha.
    constexpr std::uint32_t kBravo = 0, kAlpha = 1, kCharlie = 2;
    DuelHistory history{
        {"bravo", "alpha", "charlie"},
        {{{kAlpha, kBravo, 3}}, {{kBravo, kAlpha, 1}, {kAlpha, kBravo, 1}, {kCharlie, kAlpha, 1}}}};
    const RatingCheckResult result = CheckRatings(history);
    EXPECT_EQ(result.TrainingLogs, 1u);
    EXPECT_EQ(result.TestLogs, 1u);
    EXPECT_DOUBLE_EQ(result.Encounters, 3);
    EXPECT_DOUBLE_EQ(result.UnseenEncounters, 1);
    ASSERT_EQ(result.Methods.size(), 4u);
    EXPECT_EQ(result.Methods[0].Method, "rating");

    // Ratios alpha 4/1, bravo 1/4, charlie 1: alpha is given 4/4.25 against bravo (right once,
    // wrong once) and 4/5 against charlie (wrong). Half of each kill is binned by alpha's chance,
    // half by his opponent's.
    const MethodScore& kd = Method(result, "kd-ratio");
    EXPECT_NEAR(kd.LogLoss, 1.5010920, 1e-6);
    EXPECT_NEAR(kd.Brier, 0.5097578, 1e-6);
    EXPECT_DOUBLE_EQ(kd.Bins[8].Encounters, 0.5);
    EXPECT_NEAR(kd.Bins[8].Predicted(), 0.8, 1e-12);
    EXPECT_DOUBLE_EQ(kd.Bins[8].Observed(), 0);
    EXPECT_DOUBLE_EQ(kd.Bins[1].Encounters, 0.5);
    EXPECT_NEAR(kd.Bins[1].Predicted(), 0.2, 1e-12);
    EXPECT_DOUBLE_EQ(kd.Bins[1].Observed(), 1);
    EXPECT_DOUBLE_EQ(kd.Bins[9].Encounters, 1);
    EXPECT_DOUBLE_EQ(kd.Bins[9].Observed(), 0.5);
    EXPECT_DOUBLE_EQ(kd.Bins[0].Encounters, 1);
    EXPECT_DOUBLE_EQ(kd.Bins[0].Observed(), 0.5);
    double binned = 0;
    for (const CalibrationBin& bin : kd.Bins)
        binned += bin.Encounters;
    EXPECT_DOUBLE_EQ(binned, 3);

    // Every method favours alpha over bravo after three wins, and none knows charlie: the
    // favourite's half of each kill lies in the upper bins.
    for (const MethodScore& score : result.Methods) {
        EXPECT_GT(score.LogLoss, 0) << score.Method;
        EXPECT_LE(score.Brier, 1) << score.Method;
        double favoured = 0;
        for (std::size_t bin = 5; bin < kCalibrationBins; ++bin)
            favoured += score.Bins[bin].Encounters;
        EXPECT_DOUBLE_EQ(favoured, 1.5) << score.Method;
    }
}

// Which player's name sorts first must not move a kill between bins, and an encounter every
// method calls even (two players never met) is seen to be even whoever won it.
TEST(RatingCheck, TheBinsDoNotDependOnTheNamesOrder) {
    // Chances on a bin's edge (0.2 but 0.8) would fall to either side of it as rounded.
    const DuelLog training{{0, 1, 4}, {1, 0, 1}};
    const DuelLog test{{0, 1, 2}, {1, 0, 1}, {2, 3, 4}};
    const RatingCheckResult before =
        CheckRatings({{"alpha", "bravo", "charlie", "delta"}, {training, test}});
    const RatingCheckResult after =
        CheckRatings({{"zulu", "bravo", "yankee", "delta"}, {training, test}});
    for (std::size_t m = 0; m < before.Methods.size(); ++m)
        for (std::size_t bin = 0; bin < kCalibrationBins; ++bin) {
            const CalibrationBin &one = before.Methods[m].Bins[bin],
                                 &other = after.Methods[m].Bins[bin];
            EXPECT_DOUBLE_EQ(one.Encounters, other.Encounters) << before.Methods[m].Method;
            EXPECT_NEAR(one.PredictedSum, other.PredictedSum, 1e-9) << before.Methods[m].Method;
            EXPECT_NEAR(one.ObservedSum, other.ObservedSum, 1e-9) << before.Methods[m].Method;
        }
    // Charlie won all four against delta, both never met: 0.5 given, 0.5 seen.
    const CalibrationBin& even = Method(before, "rating").Bins[5];
    EXPECT_GE(even.Encounters, 4);
    EXPECT_DOUBLE_EQ(Method(before, "kd-ratio").Bins[5].Encounters, 4);
    EXPECT_DOUBLE_EQ(Method(before, "kd-ratio").Bins[5].Observed(), 0.5);
}

TEST(RatingCheck, AStoreBecomesOneDuelPerKillerAndVictimInTheOrderOfTheFirstKill) {
    AnalysisStore first, second;
    test::AddKill(first, "Zed", "Amy", "MP40");
    test::AddKill(first, "Amy", "Zed", "MP40");
    test::AddKill(first, "Zed", "Amy", "Colt");
    test::AddKill(first, "Zed", "Zed", "MP40");     // a suicide
    test::AddKill(first, "Amy", "Zed", "Teamkill"); // left out
    test::AddKill(second, "Bob", "Amy", "MP40");
    DuelHistory history;
    std::map<std::string, std::uint32_t> playerOfName;
    AddLogToHistory(first, history, playerOfName);
    AddLogToHistory(second, history, playerOfName);
    EXPECT_EQ(history.PlayerNames, (std::vector<std::string>{"Zed", "Amy", "Bob"}));
    ASSERT_EQ(history.Logs.size(), 2u);
    ASSERT_EQ(history.Logs[0].size(), 2u);
    EXPECT_EQ(history.Logs[0][0].Killer, 0u);
    EXPECT_EQ(history.Logs[0][0].Victim, 1u);
    EXPECT_EQ(history.Logs[0][0].Count, 2u);
    EXPECT_EQ(history.Logs[0][1].Killer, 1u);
    EXPECT_EQ(history.Logs[0][1].Count, 1u);
    ASSERT_EQ(history.Logs[1].size(), 1u);
    EXPECT_EQ(history.Logs[1][0].Killer, 2u);
    EXPECT_EQ(history.Logs[1][0].Victim, 1u);
}

// A name many people pass through teaches our rating nothing: its training kills change none of
// the rating's chances, while the baselines learn from them. In the test it is predicted as a
// player never met, whose chances are the same as charlie's against the same opponent.
TEST(RatingCheck, APassingNameIsPredictedAsAPlayerNeverMet) {
    constexpr std::uint32_t kAlpha = 0, kBravo = 1, kPlayer = 2, kCharlie = 3;
    const DuelLog training{{kAlpha, kBravo, 30}, {kBravo, kAlpha, 10}};
    DuelLog withPassing = training;
    withPassing.push_back({kPlayer, kAlpha, 20});
    withPassing.push_back({kPlayer, kBravo, 20});
    const DuelLog test{{kPlayer, kAlpha, 1}, {kCharlie, kAlpha, 1}};
    const std::vector<std::string> names{"alpha", "bravo", "player", "zed"};
    DuelHistory passing{names, {withPassing, test}, {0, 0, 1, 0}};
    DuelHistory without{names, {training, test}, {0, 0, 1, 0}};
    const RatingCheckResult heard = CheckRatings(passing);
    const RatingCheckResult unheard = CheckRatings(without);
    EXPECT_DOUBLE_EQ(Method(heard, "rating").LogLoss, Method(unheard, "rating").LogLoss);
    EXPECT_NE(Method(heard, "kd-ratio").LogLoss, Method(unheard, "kd-ratio").LogLoss);
    // Both kills of alpha by an unknown: one chance given twice, in its bin and its
    // complement's, half a kill each.
    std::vector<double> used;
    for (const CalibrationBin& bin : Method(heard, "rating").Bins)
        if (bin.Encounters > 0)
            used.push_back(bin.Encounters);
    EXPECT_EQ(used, (std::vector<double>{1, 1}));
}

// Opponents' ratings against one's own, each pair's kills from both sides: two leagues where
// 1.0 meets 0.5 and -1.0 meets -0.5 ten times each give an opponent 0.8 times one's rating,
// give or take the root of 0.225.
TEST(RatingCheck, OpponentsLevelIsTheLineThroughTheEncounters) {
    Encounters encounters;
    encounters.PlayerCount = 4;
    encounters.Pairs = {{0, 1, 6, 4}, {2, 3, 3, 7}};
    const std::vector<SkillRating> fit{
        {1.0, 0.1, 10}, {0.5, 0.1, 10}, {-1.0, 0.1, 10}, {-0.5, 0.1, 10}};
    const OpponentLevel level = OpponentLevelOf(encounters, fit);
    EXPECT_NEAR(level.Slope, 0.8, 1e-12);
    EXPECT_NEAR(level.Spread, std::sqrt(0.225), 1e-12);
    const SkillRating placed = BesideOpponent(level, fit[2]);
    EXPECT_NEAR(placed.Rating, -0.8, 1e-12);
    EXPECT_DOUBLE_EQ(placed.Uncertainty, level.Spread);
    EXPECT_DOUBLE_EQ(placed.Encounters, 0);
    // No encounters, or only players at the middle: nothing to place by.
    EXPECT_DOUBLE_EQ(OpponentLevelOf(Encounters{}, {}).Slope, 0);
}

// Strong players meet strong ones and weak ones weak: a player never met who meets the
// strongest is placed among the strong, so the strongest is given less than against the
// middle; two players never met are even.
TEST(RatingCheck, APlayerNeverMetIsPlacedBesideTheOneHeMeets) {
    constexpr std::uint32_t kStrong = 0, kStrongToo = 1, kWeak = 2, kWeakToo = 3, kNew = 4,
                            kNewToo = 5, kNewAlso = 6;
    const DuelLog training{{kStrong, kStrongToo, 12}, {kStrongToo, kStrong, 8},
                           {kWeak, kWeakToo, 12},     {kWeakToo, kWeak, 8},
                           {kStrongToo, kWeak, 16},   {kWeak, kStrongToo, 4}};
    const DuelLog test{{kStrong, kNew, 1}, {kNewToo, kNewAlso, 1}};
    const DuelHistory history{{"alpha", "bravo", "charlie", "delta", "zulu", "x-ray", "yankee"},
                              {training, test}};
    const RatingCheckResult result = CheckRatings(history);

    Encounters encounters;
    encounters.PlayerCount = history.PlayerNames.size();
    encounters.Pairs = {
        {kStrong, kStrongToo, 12, 8}, {kWeak, kWeakToo, 12, 8}, {kStrongToo, kWeak, 16, 4}};
    const std::vector<SkillRating> fit = FitSkill(encounters);
    const OpponentLevel level = OpponentLevelOf(encounters, fit);
    ASSERT_GT(level.Slope, 0);
    const double expected = NextEncounterChance(fit[kStrong], BesideOpponent(level, fit[kStrong]));
    const double atTheMiddle = NextEncounterChance(fit[kStrong], SkillRating{0, level.Spread, 0});
    EXPECT_LT(expected, atTheMiddle);
    EXPECT_GT(expected, 0.5);

    // The strongest's chance and the newcomer's lie in their bins, the even encounter in the
    // middle one: half a kill each.
    const auto& bins = Method(result, "rating").Bins;
    const auto binOf = [](double chance) { return static_cast<std::size_t>(chance * 10); };
    EXPECT_NEAR(bins[binOf(expected)].PredictedSum - (binOf(expected) == 5 ? 0.5 : 0), expected / 2,
                1e-9);
    EXPECT_NEAR(bins[binOf(1 - expected)].PredictedSum, (1 - expected) / 2, 1e-9);
    EXPECT_GE(bins[5].Encounters, 1);
}

} // namespace
} // namespace qla
