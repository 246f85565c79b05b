// The skill fit: the answers the model gives by hand, independence of the data's order, the
// prior's pull on players met rarely, and the store's kills as encounters.
#include "stats/skill_rating.h"

#include "test_store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace qla {
namespace {

Encounters Two(double aWins, double bWins) {
    return {2, {{0, 1, aWins, bWins}}};
}

TEST(SkillRating, TwoPlayersMatchTheClosedForm) {
    // With the prior, the maximum lies where wins - total * p = r / sd^2 for each player.
    const auto even = FitSkill(Two(50, 50));
    EXPECT_NEAR(even[0].Rating, 0, 1e-9);
    EXPECT_NEAR(even[1].Rating, 0, 1e-9);
    const auto lead = FitSkill(Two(75, 25));
    EXPECT_NEAR(lead[0].Rating, -lead[1].Rating, 1e-7);
    const double p = 1 / (1 + std::exp(lead[1].Rating - lead[0].Rating)); // the model's chance
    EXPECT_NEAR(75 - 100 * p, lead[0].Rating, 1e-6);
    EXPECT_GT(p, 0.5);
    EXPECT_LT(p, 0.75); // pulled towards the middle by the prior
    // Without much prior it finds the odds of the counts; the predicted chance of the next
    // encounter, which knows the ratings come from 100 encounters, is a little less sure.
    const auto loose = FitSkill(Two(75, 25), {100.0});
    const double predicted = WinProbability(loose[0], loose[1]);
    EXPECT_NEAR(1 / (1 + std::exp(loose[1].Rating - loose[0].Rating)), 0.75, 1e-3);
    EXPECT_LT(predicted, 0.75);
    EXPECT_GT(predicted, 0.73);
}

TEST(SkillRating, ThePredictedChanceAveragesOverTheUncertainty) {
    // The chance averaged over both skills' normal uncertainty, summed numerically.
    const auto averaged = [](const SkillRating& a, const SkillRating& b) {
        const double sd = std::hypot(a.Uncertainty, b.Uncertainty);
        double sum = 0, weights = 0;
        for (int k = -4000; k <= 4000; ++k) {
            const double z = k / 500.0, weight = std::exp(-z * z / 2);
            sum += weight / (1 + std::exp(-(a.Rating - b.Rating + sd * z)));
            weights += weight;
        }
        return sum / weights;
    };
    for (const auto& [lead, sd] :
         {std::pair{0.0, 1.0}, {1.0, 0.05}, {1.0, 1.0}, {2.5, 0.7}, {-1.5, 1.5}}) {
        const SkillRating a{lead, sd, 10}, b{0, sd, 10};
        EXPECT_NEAR(WinProbability(a, b), averaged(a, b), 0.01) << lead << " " << sd;
        EXPECT_NEAR(WinProbability(a, b) + WinProbability(b, a), 1, 1e-12);
    }
    // The same lead is surer between well-known players than between newcomers.
    const SkillRating known{1, 0.05, 1000}, knownOther{0, 0.05, 1000};
    const SkillRating guess{1, 1, 1}, guessOther{0, 1, 1};
    EXPECT_GT(WinProbability(known, knownOther), WinProbability(guess, guessOther));
    EXPECT_GT(WinProbability(guess, guessOther), 0.5);
}

TEST(SkillRating, TheNextEncounterIsLessSureThanTheFitButKeepsItsSide) {
    // Even two players met thousands of times are not certain to repeat their odds next time.
    const SkillRating strong{2, 0.02, 5000}, weak{0, 0.02, 5000};
    const double fitted = WinProbability(strong, weak);
    const double next = NextEncounterChance(strong, weak);
    EXPECT_NEAR(fitted, 1 / (1 + std::exp(-2.0)), 1e-3);
    EXPECT_LT(next, fitted - 0.002);
    EXPECT_GT(next, 0.75);
    EXPECT_NEAR(next + NextEncounterChance(weak, strong), 1, 1e-12);
    EXPECT_DOUBLE_EQ(NextEncounterChance(weak, weak), 0.5);
}

TEST(SkillRating, FewEncountersAreUncertainAndPulledToTheMiddle) {
    // Player 0 won his one encounter; player 2 won 90 of 100.
    const Encounters data{4, {{0, 1, 1, 0}, {2, 3, 90, 10}}};
    const auto fit = FitSkill(data);
    EXPECT_LT(fit[0].Rating, fit[2].Rating);
    EXPECT_GT(fit[0].Uncertainty, 2 * fit[2].Uncertainty);
    EXPECT_LT(fit[0].Conservative(), fit[2].Conservative());
    EXPECT_EQ(fit[0].Encounters, 1);
    EXPECT_EQ(fit[3].Encounters, 100);
}

TEST(SkillRating, TheOrderOfTheDataChangesNothing) {
    Encounters data{6, {}};
    for (std::uint32_t a = 0; a < 6; ++a)
        for (std::uint32_t b = a + 1; b < 6; ++b)
            data.Pairs.push_back({a, b, 3.0 + a * 2 + b, 5.0 + b * 3 - a});
    const auto first = FitSkill(data);
    std::reverse(data.Pairs.begin(), data.Pairs.end());
    const auto reversed = FitSkill(data);
    for (std::size_t p = 0; p < 6; ++p) {
        EXPECT_NEAR(first[p].Rating, reversed[p].Rating, 1e-7) << p;
        EXPECT_NEAR(first[p].Uncertainty, reversed[p].Uncertainty, 1e-7) << p;
    }
    EXPECT_NEAR(RatingPoints(0), 1500, 1e-9);
    EXPECT_NEAR(RatingPoints(std::log(10.0)), 1900, 1e-9);
}

// The gradient of the penalised likelihood (the prior's sd 1) at the fitted ratings: zero for
// every player at the maximum.
std::vector<double> GradientAt(const Encounters& data, const std::vector<SkillRating>& fit) {
    std::vector<double> gradient(data.PlayerCount);
    for (std::size_t p = 0; p < data.PlayerCount; ++p)
        gradient[p] = -fit[p].Rating;
    for (const Encounters::Pair& pair : data.Pairs) {
        const double chance = 1 / (1 + std::exp(fit[pair.B].Rating - fit[pair.A].Rating));
        gradient[pair.A] += pair.AWins - (pair.AWins + pair.BWins) * chance;
        gradient[pair.B] += pair.BWins - (pair.AWins + pair.BWins) * (1 - chance);
    }
    return gradient;
}

// Players who meet only their neighbours in skill form a long chain; the fit must reach the
// maximum along it (the gradient of the penalised likelihood zero for every player), not crawl.
TEST(SkillRating, ALongChainOfLevelsReachesTheMaximum) {
    Encounters chain;
    chain.PlayerCount = 400;
    for (std::uint32_t p = 0; p + 1 < 400; ++p)
        chain.Pairs.push_back({p, p + 1, 30000, 10000});
    for (std::uint32_t p = 0; p + 7 < 400; p += 7)
        chain.Pairs.push_back({p, p + 7, 4000, 200});
    const std::vector<SkillRating> fit = FitSkill(chain);
    const std::vector<double> gradient = GradientAt(chain, fit);
    for (std::size_t p = 0; p < 400; ++p)
        ASSERT_NEAR(gradient[p], 0, 1e-3) << "player " << p; // of 42,000 kills
    // Each beats the next: the chain falls all the way, far beyond what the prior alone allows.
    for (std::size_t p = 0; p + 1 < 400; ++p)
        EXPECT_GT(fit[p].Rating, fit[p + 1].Rating);
    EXPECT_GT(fit[0].Rating - fit[399].Rating, 15);
}

// A long history: thousands of players, each meeting a hundred others thousands of times. Its
// gradient stops shrinking at the rounding of sums over a quarter of a million pairs; the fit
// must still end at the maximum, each player's gradient nothing against his encounters, and
// take the players' order from their skills.
TEST(SkillRating, AHistoryOfManyPairsEndsAtItsMaximum) {
    constexpr std::uint32_t kPlayers = 2500;
    Encounters history;
    history.PlayerCount = kPlayers;
    const auto skill = [](std::uint32_t p) { return 3.0 * std::sin(p * 0.7) + p * 0.0004; };
    std::uint64_t state = 12345;
    const auto next = [&state] { // a small fixed generator: the same data on every machine
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<std::uint32_t>(state >> 33);
    };
    for (std::uint32_t a = 0; a < kPlayers; ++a)
        for (int k = 0; k < 100; ++k) {
            const std::uint32_t b = next() % kPlayers;
            if (b <= a)
                continue;
            const double total = 50 + next() % 5000;
            const double chance = 1 / (1 + std::exp(skill(b) - skill(a)));
            history.Pairs.push_back(
                {a, b, std::round(total * chance), std::round(total * (1 - chance))});
        }
    ASSERT_GT(history.Pairs.size(), 100000u);
    const std::vector<SkillRating> fit = FitSkill(history);
    const std::vector<double> gradient = GradientAt(history, fit);
    for (std::uint32_t p = 0; p < kPlayers; ++p)
        ASSERT_LT(std::abs(gradient[p]), 1e-8 * (fit[p].Encounters + 1)) << "player " << p;
    int ordered = 0, pairs = 0;
    for (std::uint32_t p = 0; p + 1 < kPlayers; ++p) {
        if (std::abs(skill(p) - skill(p + 1)) < 0.2 || fit[p].Encounters == 0 ||
            fit[p + 1].Encounters == 0)
            continue;
        ++pairs;
        ordered += (skill(p) < skill(p + 1)) == (fit[p].Rating < fit[p + 1].Rating);
    }
    EXPECT_EQ(ordered, pairs);
}

TEST(SkillRating, TheStoresKillsBetweenTwoPlayersAreTheEncounters) {
    AnalysisStore store;
    const PlayerIndex al = store.FindOrAddPlayer("Al"), bob = store.FindOrAddPlayer("Bob");
    const PlayerIndex carl = store.FindOrAddPlayer("Carl");
    store.RecordKill(al, bob, 4, "MP40");
    store.RecordKill(al, bob, 4, "MP40");
    store.RecordKill(bob, al, 5, "Thompson");
    store.RecordKill(carl, carl, 7, "Grenade"); // himself: no encounter
    store.RecordTeamkill(carl, al);             // a teammate: no encounter
    const Encounters found = EncountersOf(store);
    EXPECT_EQ(found.PlayerCount, 3u);
    ASSERT_EQ(found.Pairs.size(), 1u);
    EXPECT_EQ(found.Pairs[0].A, static_cast<std::uint32_t>(al - 1));
    EXPECT_EQ(found.Pairs[0].B, static_cast<std::uint32_t>(bob - 1));
    EXPECT_EQ(found.Pairs[0].AWins, 2);
    EXPECT_EQ(found.Pairs[0].BWins, 1);
}

// A name many people pass through (the connect name) is many skills at once: its kills teach the
// fit nothing, and it is not rated, as a player never met is not. Its colour variants are the
// same name.
TEST(SkillRating, ANamePassedThroughIsNotRatedAndMovesNoOnesRating) {
    AnalysisStore store;
    const PlayerIndex al = store.FindOrAddPlayer("Al"), bob = store.FindOrAddPlayer("Bob");
    const PlayerIndex connect = store.FindOrAddPlayer("Player");
    const PlayerIndex variant = store.FindOrAddPlayer("^1Player");
    for (int k = 0; k < 3; ++k)
        store.RecordKill(al, bob, 4, "MP40");
    store.RecordKill(bob, al, 4, "MP40");
    for (int k = 0; k < 5; ++k) {
        store.RecordKill(connect, bob, 4, "MP40");
        store.RecordKill(al, variant, 4, "MP40");
    }
    const std::vector<SkillRating> counted = FitSkill(EncountersOf(store));
    EXPECT_GT(counted[static_cast<std::size_t>(connect - 1)].Encounters, 0);

    store.PassingKeys = {"player"};
    EXPECT_EQ(PassingPlayers(store), (std::vector<char>{0, 0, 0, 1, 1}));
    const Encounters found = EncountersOf(store);
    ASSERT_EQ(found.Pairs.size(), 1u);
    EXPECT_EQ(found.Pairs[0].AWins, 3);
    EXPECT_EQ(found.Pairs[0].BWins, 1);
    const std::vector<SkillRating> fit = FitSkill(found);
    const std::vector<SkillRating> alone = FitSkill({4, {{0, 1, 3, 1}}});
    for (const PlayerIndex p : {al, bob})
        EXPECT_DOUBLE_EQ(fit[static_cast<std::size_t>(p - 1)].Rating,
                         alone[static_cast<std::size_t>(p - 1)].Rating);
    for (const PlayerIndex p : {connect, variant}) {
        const SkillRating& unrated = fit[static_cast<std::size_t>(p - 1)];
        EXPECT_EQ(unrated.Encounters, 0);
        EXPECT_EQ(unrated.Rating, 0);
        EXPECT_DOUBLE_EQ(unrated.Uncertainty, 1.0); // the prior's
    }
}

} // namespace
} // namespace qla
