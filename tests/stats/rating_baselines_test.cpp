// The baselines against numbers worked out by hand from their formulas: the kill/death ratio,
// Elo after three kills (K falling after a player's early events) and Glicko-1 after one period.
#include "stats/rating_baselines.h"

#include <gtest/gtest.h>

namespace qla {
namespace {

constexpr std::uint32_t kA = 0, kB = 1, kC = 2;

TEST(RatingBaselines, KillDeathRatioCountsKillsAndDeathsPlusOne) {
    // A killed B twice in one log, B killed A once in the next; C never played.
    const std::vector<DuelLog> logs{{{kA, kB, 2}}, {{kB, kA, 1}}};
    const std::vector<double> ratios = KillDeathRatios(logs, 3);
    EXPECT_DOUBLE_EQ(ratios[kA], 3.0 / 2.0);
    EXPECT_DOUBLE_EQ(ratios[kB], 2.0 / 3.0);
    EXPECT_DOUBLE_EQ(ratios[kC], 1.0);
    EXPECT_NEAR(KillDeathChance(ratios[kA], ratios[kB]), 0.692308, 1e-6);
    EXPECT_DOUBLE_EQ(KillDeathChance(ratios[kC], ratios[kC]), 0.5);
}

TEST(RatingBaselines, EloMovesKillByKillWithEachPlayersOwnK) {
    // Two early events each, so B's third event moves him by K 4 while C, new, moves by 16.
    EloOptions options;
    options.EarlyEvents = 2;
    const std::vector<DuelLog> oneKill{{{kA, kB, 1}}};
    const std::vector<double> first = SequentialElo(oneKill, 3, options);
    EXPECT_DOUBLE_EQ(first[kA], 1508.0);
    EXPECT_DOUBLE_EQ(first[kB], 1492.0);
    EXPECT_DOUBLE_EQ(first[kC], 1500.0);

    const std::vector<DuelLog> threeKills{{{kA, kB, 2}}, {{kB, kC, 1}}};
    const std::vector<double> elo = SequentialElo(threeKills, 3, options);
    // Second kill: A 1508 against B 1492 expected 0.52302, so each moves 16 * 0.47698.
    EXPECT_NEAR(elo[kA], 1515.6318, 1e-4);
    // Third kill: B 1484.3682 against C 1500 expected 0.47752; B gains 4 * 0.52248, C loses 16x.
    EXPECT_NEAR(elo[kB], 1486.4581, 1e-4);
    EXPECT_NEAR(elo[kC], 1491.6403, 1e-4);
    EXPECT_NEAR(EloChance(1900, 1500), 10.0 / 11.0, 1e-12);
}

TEST(RatingBaselines, EloTakesTheDefaultFallingKAfterFiftyEvents) {
    // 60 kills of A on B: the first 50 at K 16, the rest at K 4, zero-sum throughout.
    const std::vector<double> elo = SequentialElo({{{kA, kB, 60}}}, 2);
    EXPECT_NEAR(elo[kA] + elo[kB], 3000.0, 1e-9);
    const std::vector<double> fifty = SequentialElo({{{kA, kB, 50}}}, 2);
    const double chance = EloChance(fifty[kA], fifty[kB]);
    const std::vector<double> fiftyOne = SequentialElo({{{kA, kB, 51}}}, 2);
    EXPECT_NEAR(fiftyOne[kA] - fifty[kA], 4 * (1 - chance), 1e-9);
}

TEST(RatingBaselines, GlickoAfterOnePeriod) {
    // A beat B twice and lost once, both new at 1500 / 350: g(350) = 0.66903, E = 0.5,
    // 1/d^2 = q^2 * 3 * g^2 / 4, r' = 1500 + q / (1/RD^2 + 1/d^2) * g * (2 - 1.5).
    const std::vector<DuelLog> period{{{kA, kB, 2}, {kB, kA, 1}}};
    const std::vector<GlickoRating> glicko = GlickoByPeriod(period, 3);
    EXPECT_NEAR(glicko[kA].Rating, 1599.8378, 1e-3);
    EXPECT_NEAR(glicko[kA].Deviation, 227.6927, 1e-3);
    EXPECT_NEAR(glicko[kB].Rating, 1400.1622, 1e-3);
    EXPECT_NEAR(glicko[kB].Deviation, 227.6927, 1e-3);
    // C did not play: still the start, and a period on does not grow him past it.
    EXPECT_DOUBLE_EQ(glicko[kC].Rating, 1500.0);
    EXPECT_DOUBLE_EQ(glicko[kC].Deviation, 350.0);
    EXPECT_DOUBLE_EQ(GlickoAfterPeriod(glicko[kC]).Deviation, 350.0);
    // A period on: sqrt(227.6927^2 + 34.6^2).
    EXPECT_NEAR(GlickoAfterPeriod(glicko[kA]).Deviation, 230.3066, 1e-3);
    EXPECT_NEAR(GlickoChance(glicko[kA], glicko[kB]) + GlickoChance(glicko[kB], glicko[kA]), 1.0,
                1e-12);
    EXPECT_GT(GlickoChance(glicko[kA], glicko[kB]), 0.5);
}

TEST(RatingBaselines, GlickoGrowsTheDeviationOfPlayersSittingOutAPeriod) {
    // A and B play in the first period; only B and C in the second.
    const std::vector<DuelLog> logs{{{kA, kB, 1}}, {{kB, kC, 1}}};
    const std::vector<GlickoRating> oneLog = GlickoByPeriod({logs[0]}, 3);
    const std::vector<GlickoRating> twoLogs = GlickoByPeriod(logs, 3);
    EXPECT_DOUBLE_EQ(twoLogs[kA].Rating, oneLog[kA].Rating);
    EXPECT_DOUBLE_EQ(twoLogs[kA].Deviation, GlickoAfterPeriod(oneLog[kA]).Deviation);
}

} // namespace
} // namespace qla
