// The fit: Newton's method on the penalised log-likelihood, each step solved by conjugate
// gradients on the sparse curvature (the prior plus one term per pair that met). The likelihood
// is concave, so the steps reach its one maximum whatever the order of the data. Players who
// meet mostly their own level form long chains, on which steps player by player crawl: over ten
// 1M-line logs two thousand sweeps left it unconverged, where a few Newton steps reach it.
#include "stats/skill_rating.h"

#include "core/names.h"
#include "stats/kill_pairs.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <vector>

namespace qla {

namespace {

// The loosest and the tightest solve of a step, relative to the gradient.
constexpr double kLoosestSolve = 0.1, kTightestSolve = 1e-10;
// A few roundings of the objective: gains below it cannot be told from rounding.
constexpr double kObjectiveRounding = 16 * std::numeric_limits<double>::epsilon();

double Logistic(double x) {
    return 1.0 / (1.0 + std::exp(-x));
}

} // namespace

bool PassesThrough(const AnalysisStore& store, PlayerIndex player) {
    return player >= 1 && static_cast<std::size_t>(player) < store.Players.size() &&
           KeyListed(store.PassingKeys, store.Players[static_cast<std::size_t>(player)].Name);
}

std::vector<char> PassingPlayers(const AnalysisStore& store) {
    std::vector<char> passing;
    if (store.PassingKeys.empty())
        return passing;
    passing.assign(store.Players.size(), 0);
    for (const PlayerIndex p : store.PlayerIndexes())
        passing[static_cast<std::size_t>(p)] = PassesThrough(store, p);
    return passing;
}

Encounters EncountersOf(const AnalysisStore& store) {
    return EncountersOf(store, EntryWeights{});
}

Encounters EncountersOf(const AnalysisStore& store, const EntryWeights& weights) {
    const auto weightOf = [&weights](std::size_t entry) {
        const auto span = static_cast<std::size_t>(
            std::upper_bound(weights.KillEntriesEnd.begin(), weights.KillEntriesEnd.end(), entry) -
            weights.KillEntriesEnd.begin());
        return span < weights.Weights.size() ? weights.Weights[span] : 1.0;
    };
    const std::vector<char> passing = PassingPlayers(store);
    const auto passes = [&passing](PlayerIndex p) {
        return !passing.empty() && passing[static_cast<std::size_t>(p)] != 0;
    };
    // A kill that weighs nothing adds nothing to the fit, only work: its pair is left out, as is
    // a kill by or of a name many people pass through. In the order of the players, as the fit
    // has always taken them; each pair's kills added in the order of the entries.
    const std::vector<PairEntry> entries =
        KillEntriesByPair(store, [&](std::size_t entry, const KillEvent& event) {
            return weightOf(entry) != 0 && !passes(event.Killer) && !passes(event.Victim);
        });
    Encounters encounters;
    // The hidden player's record too (the last): his games rate his opponents.
    encounters.PlayerCount = store.Players.empty() ? 0 : store.Players.size() - 1;
    // Room for exactly the pairs: grown by doubling, they were held up to twice beside the
    // entries, at the site's peak.
    std::size_t pairs = 0;
    for (std::size_t i = 0; i < entries.size(); ++i)
        pairs += i == 0 || entries[i].Key() != entries[i - 1].Key();
    encounters.Pairs.reserve(pairs);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        // Player p of the fit is the store's player p + 1.
        if (i == 0 || entries[i].Key() != entries[i - 1].Key())
            encounters.Pairs.push_back({entries[i].Lower - 1, entries[i].Higher - 1, 0, 0});
        Encounters::Pair& pair = encounters.Pairs.back();
        const KillEvent& event = store.KillEvents[entries[i].Entry];
        (static_cast<std::uint32_t>(event.Killer - 1) == pair.A ? pair.AWins : pair.BWins) +=
            weightOf(entries[i].Entry) *
            static_cast<double>(store.KillEventCount(entries[i].Entry));
    }
    return encounters;
}

namespace {

// The curvature of the fit at one point, applied to a vector: the diagonal less each pair's
// weight across the pair.
struct Curvature {
    const Encounters& Data;
    std::vector<double> Diagonal, PairWeight;

    void Apply(const std::vector<double>& x, std::vector<double>& out) const {
        for (std::size_t p = 0; p < x.size(); ++p)
            out[p] = Diagonal[p] * x[p];
        for (std::size_t i = 0; i < Data.Pairs.size(); ++i) {
            const Encounters::Pair& pair = Data.Pairs[i];
            out[pair.A] -= PairWeight[i] * x[pair.B];
            out[pair.B] -= PairWeight[i] * x[pair.A];
        }
    }
};

double Dot(const std::vector<double>& a, const std::vector<double>& b) {
    double sum = 0;
    for (std::size_t i = 0; i < a.size(); ++i)
        sum += a[i] * b[i];
    return sum;
}

// Solves curvature x = b by conjugate gradients, the diagonal as preconditioner, to a residual
// of `relative` times b's.
std::vector<double> Solve(const Curvature& h, const std::vector<double>& b, double relative) {
    const std::size_t n = b.size();
    std::vector<double> x(n, 0.0), r = b, z(n), p(n), hp(n);
    for (std::size_t i = 0; i < n; ++i)
        z[i] = r[i] / h.Diagonal[i];
    p = z;
    double rz = Dot(r, z);
    const double goal = relative * relative * Dot(b, b);
    for (std::size_t iteration = 0; iteration < 4 * n + 100 && Dot(r, r) > goal; ++iteration) {
        h.Apply(p, hp);
        const double alpha = rz / Dot(p, hp);
        for (std::size_t i = 0; i < n; ++i) {
            x[i] += alpha * p[i];
            r[i] -= alpha * hp[i];
            z[i] = r[i] / h.Diagonal[i];
        }
        const double next = Dot(r, z);
        for (std::size_t i = 0; i < n; ++i)
            p[i] = z[i] + next / rz * p[i];
        rz = next;
    }
    return x;
}

// The penalised log-likelihood, for the steps' line search.
double Objective(const Encounters& data, const std::vector<double>& rating, double precision) {
    double sum = 0;
    for (const double r : rating)
        sum -= 0.5 * precision * r * r;
    for (const Encounters::Pair& pair : data.Pairs) {
        const double lead = rating[pair.A] - rating[pair.B];
        // log logistic(x) = -log(1 + e^-x), written so that neither side overflows: with
        // t = log(1 + e^-|lead|), the leader's is -t and the other's -|lead| - t, one logarithm
        // for the two.
        const double t = std::log1p(std::exp(lead > 0 ? -lead : lead));
        const double leader = -t, other = (lead > 0 ? -lead : lead) - t;
        sum += lead > 0 ? pair.AWins * leader + pair.BWins * other
                        : pair.AWins * other + pair.BWins * leader;
    }
    return sum;
}

// The gradient into `gradient` and the curvature at `rating`.
Curvature CurvatureAt(const Encounters& data, const std::vector<double>& rating, double precision,
                      std::vector<double>& gradient) {
    const std::size_t n = rating.size();
    Curvature h{data, std::vector<double>(n, precision), std::vector<double>(data.Pairs.size())};
    for (std::size_t p = 0; p < n; ++p)
        gradient[p] = -precision * rating[p];
    for (std::size_t i = 0; i < data.Pairs.size(); ++i) {
        const Encounters::Pair& pair = data.Pairs[i];
        const double total = pair.AWins + pair.BWins;
        const double chance = Logistic(rating[pair.A] - rating[pair.B]); // of A winning
        gradient[pair.A] += pair.AWins - total * chance;
        gradient[pair.B] += pair.BWins - total * (1 - chance);
        h.PairWeight[i] = total * chance * (1 - chance);
        h.Diagonal[pair.A] += h.PairWeight[i];
        h.Diagonal[pair.B] += h.PairWeight[i];
    }
    return h;
}

} // namespace

std::vector<SkillRating> FitSkill(const Encounters& encounters, const SkillFitOptions& options) {
    const std::size_t n = encounters.PlayerCount;
    const double precision = 1.0 / (options.PriorSd * options.PriorSd);
    std::vector<double> rating(n, 0.0), gradient(n);
    double objective = Objective(encounters, rating, precision);
    double firstSlope = 0;
    for (int step = 0; step < options.MaxSteps; ++step) {
        const Curvature h = CurvatureAt(encounters, rating, precision, gradient);
        // Far from the maximum a step need not be solved exactly, only in its direction: the
        // solve is as loose as the gradient is large against the first one, and tightens as the
        // steps close in (an inexact Newton method, as fast to the maximum as exact steps).
        const double slope = std::sqrt(Dot(gradient, gradient));
        if (step == 0)
            firstSlope = slope;
        const double relative = firstSlope > 0
                                    ? std::clamp(slope / firstSlope, kTightestSolve, kLoosestSolve)
                                    : kTightestSolve;
        const std::vector<double> move = Solve(h, gradient, relative);
        double largest = 0;
        for (const double m : move)
            largest = std::max(largest, std::abs(m));
        if (largest < options.Tolerance)
            break;
        // The step would gain about half of gradient . move; once that is below what the sum of
        // a history's objective can tell apart, the maximum is reached. The gradient of
        // hundreds of thousands of pairs stops shrinking at its own rounding, and further steps
        // only searched lengths that change nothing.
        if (0.5 * Dot(gradient, move) <= kObjectiveRounding * std::abs(objective))
            break;
        // Far from the maximum a whole step can overshoot: halve it until the fit improves.
        // A step that improves nothing at any length is rounding: the maximum is reached. Only a
        // strict gain counts, or steps of a few billionths that change nothing would go on to
        // the last of MaxSteps, each a whole solve (seconds on a history of thousands).
        std::vector<double> next(n);
        bool moved = false;
        for (double share = 1; share > 1e-6 && !moved; share /= 2) {
            for (std::size_t p = 0; p < n; ++p)
                next[p] = rating[p] + share * move[p];
            const double value = Objective(encounters, next, precision);
            if (value > objective) {
                objective = value;
                rating.swap(next);
                moved = true;
            }
        }
        if (!moved)
            break;
    }
    const Curvature h = CurvatureAt(encounters, rating, precision, gradient);
    std::vector<SkillRating> result(n);
    for (std::size_t p = 0; p < n; ++p) {
        result[p].Rating = rating[p];
        result[p].Uncertainty = 1.0 / std::sqrt(h.Diagonal[p]);
    }
    for (const Encounters::Pair& pair : encounters.Pairs) {
        result[pair.A].Encounters += pair.AWins + pair.BWins;
        result[pair.B].Encounters += pair.AWins + pair.BWins;
    }
    return result;
}

double WinProbability(const SkillRating& a, const SkillRating& b) {
    // The chance averaged over what the two skills may be, not the chance of the two estimates:
    // a lead of uncertain ratings wins less surely. E[logistic(X)] for X ~ N(lead, variance) is
    // close to logistic(lead / sqrt(1 + pi * variance / 8)) (the probit approximation).
    const double variance = a.Uncertainty * a.Uncertainty + b.Uncertainty * b.Uncertainty;
    return Logistic((a.Rating - b.Rating) / std::sqrt(1.0 + std::numbers::pi * variance / 8.0));
}

double NextEncounterChance(const SkillRating& a, const SkillRating& b) {
    const auto widened = [](SkillRating rating) {
        rating.Uncertainty = std::hypot(rating.Uncertainty, kNextEncounterSpread);
        return rating;
    };
    return WinProbability(widened(a), widened(b));
}

double RatingPoints(double rating) {
    return 1500.0 + rating * 400.0 / std::log(10.0);
}

RatingShown ShownRating(const SkillRating& rating) {
    return {std::lround(RatingPoints(rating.Rating)),
            std::lround(RatingPoints(rating.Uncertainty) - RatingPoints(0)),
            std::lround(RatingPoints(rating.Conservative())), std::llround(rating.Encounters)};
}

} // namespace qla
