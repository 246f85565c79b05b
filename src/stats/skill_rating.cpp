// The fit: Newton steps player by player on the penalised log-likelihood, sweeping until no
// rating moves. The likelihood is concave, so the sweeps converge to the one maximum whatever
// the order of the data.
#include "stats/skill_rating.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace qla {

namespace {

double Logistic(double x) {
    return 1.0 / (1.0 + std::exp(-x));
}

} // namespace

Encounters EncountersOf(const AnalysisStore& store) {
    return EncountersOf(store, EntryWeights{});
}

Encounters EncountersOf(const AnalysisStore& store, const EntryWeights& weights) {
    std::map<std::pair<std::uint32_t, std::uint32_t>, Encounters::Pair> pairs;
    std::size_t span = 0;
    for (std::size_t e = 1; e < store.KillEvents.size(); ++e) {
        while (span < weights.KillEntriesEnd.size() && e >= weights.KillEntriesEnd[span])
            ++span;
        const double weight = span < weights.Weights.size() ? weights.Weights[span] : 1.0;
        const KillEvent& event = store.KillEvents[e];
        if (event.Killer == event.Victim || event.WeaponText == kEventTeamkill ||
            event.Killer <= 0 || event.Victim <= 0)
            continue;
        const auto killer = static_cast<std::uint32_t>(event.Killer - 1);
        const auto victim = static_cast<std::uint32_t>(event.Victim - 1);
        const auto key = std::minmax(killer, victim);
        Encounters::Pair& pair = pairs[key];
        pair.A = key.first;
        pair.B = key.second;
        (killer == key.first ? pair.AWins : pair.BWins) +=
            weight * static_cast<double>(store.KillEventCount(e));
    }
    Encounters encounters;
    encounters.PlayerCount = static_cast<std::size_t>(store.PlayerCount());
    encounters.Pairs.reserve(pairs.size());
    for (const auto& [key, pair] : pairs)
        encounters.Pairs.push_back(pair);
    return encounters;
}

std::vector<SkillRating> FitSkill(const Encounters& encounters, const SkillFitOptions& options) {
    const std::size_t n = encounters.PlayerCount;
    const double precision = 1.0 / (options.PriorSd * options.PriorSd);
    // Each player's pairs, so a sweep costs the number of pairs twice.
    std::vector<std::vector<std::size_t>> pairsOf(n);
    for (std::size_t i = 0; i < encounters.Pairs.size(); ++i) {
        pairsOf[encounters.Pairs[i].A].push_back(i);
        pairsOf[encounters.Pairs[i].B].push_back(i);
    }
    std::vector<double> rating(n, 0.0), curvature(n, precision);
    for (int sweep = 0; sweep < options.MaxSweeps; ++sweep) {
        double largest = 0;
        for (std::size_t p = 0; p < n; ++p) {
            double gradient = -rating[p] * precision;
            double hessian = precision;
            for (std::size_t i : pairsOf[p]) {
                const Encounters::Pair& pair = encounters.Pairs[i];
                const bool isA = pair.A == p;
                const double wins = isA ? pair.AWins : pair.BWins;
                const double total = pair.AWins + pair.BWins;
                const double chance =
                    Logistic(rating[p] - rating[isA ? pair.B : pair.A]); // of p winning
                gradient += wins - total * chance;
                hessian += total * chance * (1 - chance);
            }
            const double step = gradient / hessian;
            rating[p] += step;
            curvature[p] = hessian;
            largest = std::max(largest, std::abs(step));
        }
        if (largest < options.Tolerance)
            break;
    }
    std::vector<SkillRating> result(n);
    for (std::size_t p = 0; p < n; ++p) {
        result[p].Rating = rating[p];
        result[p].Uncertainty = 1.0 / std::sqrt(curvature[p]);
    }
    for (const Encounters::Pair& pair : encounters.Pairs) {
        result[pair.A].Encounters += pair.AWins + pair.BWins;
        result[pair.B].Encounters += pair.AWins + pair.BWins;
    }
    return result;
}

double WinProbability(const SkillRating& a, const SkillRating& b) {
    return Logistic(a.Rating - b.Rating);
}

double RatingPoints(double rating) {
    return 1500.0 + rating * 400.0 / std::log(10.0);
}

} // namespace qla
