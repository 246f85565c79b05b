// The baselines as their usual descriptions state them, nothing tuned to the data.
#include "stats/rating_baselines.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace qla {

std::vector<double> KillDeathRatios(const std::vector<DuelLog>& logs, std::size_t playerCount) {
    std::vector<double> kills(playerCount, 0.0), deaths(playerCount, 0.0);
    for (const DuelLog& log : logs)
        for (const Duel& duel : log) {
            kills[duel.Killer] += duel.Count;
            deaths[duel.Victim] += duel.Count;
        }
    std::vector<double> ratios(playerCount);
    for (std::size_t p = 0; p < playerCount; ++p)
        ratios[p] = (kills[p] + 1) / (deaths[p] + 1);
    return ratios;
}

double KillDeathChance(double a, double b) {
    return a / (a + b);
}

double EloChance(double a, double b, double scale) {
    return 1.0 / (1.0 + std::pow(10.0, (b - a) / scale));
}

std::vector<double> SequentialElo(const std::vector<DuelLog>& logs, std::size_t playerCount,
                                  const EloOptions& options) {
    std::vector<double> rating(playerCount, options.Start);
    std::vector<int> events(playerCount, 0);
    const auto k = [&](std::uint32_t player) {
        return events[player] < options.EarlyEvents ? options.EarlyK : options.LateK;
    };
    for (const DuelLog& log : logs)
        for (const Duel& duel : log)
            for (std::uint32_t kill = 0; kill < duel.Count; ++kill) {
                const double surprise =
                    1.0 - EloChance(rating[duel.Killer], rating[duel.Victim], options.Scale);
                const double killerK = k(duel.Killer), victimK = k(duel.Victim);
                rating[duel.Killer] += killerK * surprise;
                rating[duel.Victim] -= victimK * surprise;
                ++events[duel.Killer];
                ++events[duel.Victim];
            }
    return rating;
}

namespace {

constexpr double kQ = std::numbers::ln10 / 400.0;

// How much an opponent's deviation dampens what a game against him says.
double G(double deviation) {
    return 1.0 / std::sqrt(1.0 + 3.0 * kQ * kQ * deviation * deviation /
                                     (std::numbers::pi * std::numbers::pi));
}

double Expected(double rating, const GlickoRating& opponent) {
    return 1.0 /
           (1.0 + std::pow(10.0, -G(opponent.Deviation) * (rating - opponent.Rating) / 400.0));
}

} // namespace

GlickoRating GlickoAfterPeriod(const GlickoRating& rating, const GlickoOptions& options) {
    return {rating.Rating,
            std::min(std::sqrt(rating.Deviation * rating.Deviation + options.C * options.C),
                     options.StartDeviation)};
}

std::vector<GlickoRating> GlickoByPeriod(const std::vector<DuelLog>& logs, std::size_t playerCount,
                                         const GlickoOptions& options) {
    std::vector<GlickoRating> ratings(playerCount, {options.Start, options.StartDeviation});
    std::vector<bool> rated(playerCount, false);
    for (const DuelLog& log : logs) {
        for (std::size_t p = 0; p < playerCount; ++p)
            if (rated[p])
                ratings[p] = GlickoAfterPeriod(ratings[p], options);
        const std::vector<GlickoRating> before = ratings;
        // Per player of the period: sum of g^2 E (1 - E) and of g (s - E) over his games.
        std::vector<double> information(playerCount, 0.0), surprise(playerCount, 0.0);
        const auto game = [&](std::uint32_t player, std::uint32_t opponent, double score,
                              double count) {
            const double g = G(before[opponent].Deviation);
            const double e = Expected(before[player].Rating, before[opponent]);
            information[player] += count * g * g * e * (1 - e);
            surprise[player] += count * g * (score - e);
        };
        for (const Duel& duel : log) {
            game(duel.Killer, duel.Victim, 1.0, duel.Count);
            game(duel.Victim, duel.Killer, 0.0, duel.Count);
        }
        for (std::size_t p = 0; p < playerCount; ++p) {
            if (information[p] == 0)
                continue;
            const double precision = 1.0 / (before[p].Deviation * before[p].Deviation) +
                                     kQ * kQ * information[p]; // 1/RD^2 + 1/d^2
            ratings[p].Rating = before[p].Rating + kQ / precision * surprise[p];
            ratings[p].Deviation = std::sqrt(1.0 / precision);
            rated[p] = true;
        }
    }
    return ratings;
}

double GlickoChance(const GlickoRating& a, const GlickoRating& b) {
    const double combined = std::sqrt(a.Deviation * a.Deviation + b.Deviation * b.Deviation);
    return 1.0 / (1.0 + std::pow(10.0, -G(combined) * (a.Rating - b.Rating) / 400.0));
}

} // namespace qla
