// Training every method on the same logs and scoring them on the same kills.
#include "stats/rating_check.h"

#include "stats/kill_pairs.h" // BetweenOpponents
#include "stats/skill_rating.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>

namespace qla {

void AddLogToHistory(const AnalysisStore& store, DuelHistory& history,
                     std::map<std::string, std::uint32_t>& playerOfName) {
    AddEventsToHistory(store, 1, store.KillEvents.size(), history, playerOfName);
}

void AddEventsToHistory(const AnalysisStore& store, std::size_t first, std::size_t end,
                        DuelHistory& history, std::map<std::string, std::uint32_t>& playerOfName) {
    std::vector<std::uint32_t> playerOf(store.Players.size());
    for (std::size_t p = 1; p < store.Players.size(); ++p) {
        const auto [it, added] = playerOfName.try_emplace(
            store.Players[p].Name, static_cast<std::uint32_t>(history.PlayerNames.size()));
        if (added)
            history.PlayerNames.push_back(store.Players[p].Name);
        playerOf[p] = it->second;
    }
    DuelLog log;
    std::map<std::pair<std::uint32_t, std::uint32_t>, std::size_t> duelAt;
    for (std::size_t e = first; e < end; ++e) {
        const KillEvent& event = store.KillEvents[e];
        if (!BetweenOpponents(event))
            continue;
        const std::uint32_t killer = playerOf[static_cast<std::size_t>(event.Killer)];
        const std::uint32_t victim = playerOf[static_cast<std::size_t>(event.Victim)];
        if (killer == victim) // two records merged into one player
            continue;
        const auto [it, added] = duelAt.try_emplace({killer, victim}, log.size());
        if (added)
            log.push_back({killer, victim, 0});
        log[it->second].Count += store.KillEventCount(e);
    }
    history.Logs.push_back(std::move(log));
}

std::size_t TestLogCount(std::size_t logCount) {
    return std::max<std::size_t>(1, logCount / 5);
}

namespace {

using Chance = std::function<double(std::uint32_t a, std::uint32_t b)>;

struct NamedChance {
    std::string Method;
    Chance Of;
};

// Every method trained on `training`, players past the training's (none) at their defaults.
std::vector<NamedChance> TrainMethods(const std::vector<DuelLog>& training, std::size_t playerCount,
                                      const std::vector<char>& passing) {
    const auto passes = [&passing](std::uint32_t p) { return p < passing.size() && passing[p]; };
    std::vector<NamedChance> methods;
    Encounters encounters;
    encounters.PlayerCount = playerCount;
    std::map<std::pair<std::uint32_t, std::uint32_t>, std::size_t> pairAt;
    for (const DuelLog& log : training)
        for (const Duel& duel : log) {
            if (passes(duel.Killer) || passes(duel.Victim))
                continue;
            const auto key = std::minmax(duel.Killer, duel.Victim);
            const auto [it, added] = pairAt.try_emplace(key, encounters.Pairs.size());
            if (added)
                encounters.Pairs.push_back({key.first, key.second, 0, 0});
            Encounters::Pair& pair = encounters.Pairs[it->second];
            (duel.Killer == pair.A ? pair.AWins : pair.BWins) += duel.Count;
        }
    auto fit = std::make_shared<std::vector<SkillRating>>(FitSkill(encounters));
    const OpponentLevel level = OpponentLevelOf(encounters, *fit);
    methods.push_back({"rating", [fit, level](std::uint32_t a, std::uint32_t b) {
                           const SkillRating &first = (*fit)[a], &second = (*fit)[b];
                           // Two players never met are an even encounter whatever their spread.
                           if (first.Encounters == 0 && second.Encounters > 0)
                               return NextEncounterChance(BesideOpponent(level, second), second);
                           if (second.Encounters == 0 && first.Encounters > 0)
                               return NextEncounterChance(first, BesideOpponent(level, first));
                           return NextEncounterChance(first, second);
                       }});
    auto ratios = std::make_shared<std::vector<double>>(KillDeathRatios(training, playerCount));
    methods.push_back({"kd-ratio", [ratios](std::uint32_t a, std::uint32_t b) {
                           return KillDeathChance((*ratios)[a], (*ratios)[b]);
                       }});
    auto elo = std::make_shared<std::vector<double>>(SequentialElo(training, playerCount));
    methods.push_back({"elo", [elo](std::uint32_t a, std::uint32_t b) {
                           return EloChance((*elo)[a], (*elo)[b]);
                       }});
    // The test logs come a period after the last one trained on.
    auto glicko =
        std::make_shared<std::vector<GlickoRating>>(GlickoByPeriod(training, playerCount));
    for (GlickoRating& rating : *glicko)
        rating = GlickoAfterPeriod(rating);
    methods.push_back({"glicko", [glicko](std::uint32_t a, std::uint32_t b) {
                           return GlickoChance((*glicko)[a], (*glicko)[b]);
                       }});
    return methods;
}

void Score(MethodScore& score, double chance, double observed, double count) {
    // A chance of exactly 0 or 1 that is wrong would make the loss infinite.
    const double clamped = std::clamp(chance, 1e-15, 1 - 1e-15);
    score.LogLoss -=
        count * (observed * std::log(clamped) + (1 - observed) * std::log(1 - clamped));
    score.Brier += count * (chance - observed) * (chance - observed);
    // Half of the kill in the bin of either player's chance: the bins then do not depend on
    // which of the two is asked about, and an even chance is seen to be even.
    for (const auto& [given, seen] : {std::pair{chance, observed}, {1 - chance, 1 - observed}}) {
        const auto bin =
            std::min(kCalibrationBins - 1, static_cast<std::size_t>(given * kCalibrationBins));
        score.Bins[bin].Encounters += count / 2;
        score.Bins[bin].PredictedSum += count / 2 * given;
        score.Bins[bin].ObservedSum += count / 2 * seen;
    }
}

} // namespace

OpponentLevel OpponentLevelOf(const Encounters& encounters, const std::vector<SkillRating>& fit) {
    // Least squares through the middle, each pair's kills counted once from either side.
    double cross = 0, squares = 0, kills = 0;
    for (const Encounters::Pair& pair : encounters.Pairs) {
        const double count = pair.AWins + pair.BWins;
        const double a = fit[pair.A].Rating, b = fit[pair.B].Rating;
        cross += 2 * count * a * b;
        squares += count * (a * a + b * b);
        kills += 2 * count;
    }
    OpponentLevel level;
    if (squares <= 0)
        return level;
    level.Slope = cross / squares;
    double residuals = 0;
    for (const Encounters::Pair& pair : encounters.Pairs) {
        const double count = pair.AWins + pair.BWins;
        const double a = fit[pair.A].Rating, b = fit[pair.B].Rating;
        residuals += count * ((b - level.Slope * a) * (b - level.Slope * a) +
                              (a - level.Slope * b) * (a - level.Slope * b));
    }
    level.Spread = std::sqrt(residuals / kills);
    return level;
}

SkillRating BesideOpponent(const OpponentLevel& level, const SkillRating& met) {
    return {level.Slope * met.Rating, level.Spread, 0};
}

RatingCheckResult CheckRatings(const DuelHistory& history) {
    RatingCheckResult result;
    result.TestLogs = TestLogCount(history.Logs.size());
    result.TrainingLogs = history.Logs.size() - result.TestLogs;
    const std::vector<DuelLog> training(history.Logs.begin(),
                                        history.Logs.begin() +
                                            static_cast<std::ptrdiff_t>(result.TrainingLogs));
    const std::size_t playerCount = history.PlayerNames.size();
    std::vector<bool> seen(playerCount, false);
    for (const DuelLog& log : training)
        for (const Duel& duel : log)
            seen[duel.Killer] = seen[duel.Victim] = true;
    const std::vector<NamedChance> methods = TrainMethods(training, playerCount, history.Passing);
    for (const NamedChance& method : methods)
        result.Methods.push_back({method.Method});
    for (std::size_t l = result.TrainingLogs; l < history.Logs.size(); ++l)
        for (const Duel& duel : history.Logs[l]) {
            const bool killerFirst =
                history.PlayerNames[duel.Killer] < history.PlayerNames[duel.Victim];
            const std::uint32_t a = killerFirst ? duel.Killer : duel.Victim;
            const std::uint32_t b = killerFirst ? duel.Victim : duel.Killer;
            result.Encounters += duel.Count;
            if (!seen[a] || !seen[b])
                result.UnseenEncounters += duel.Count;
            for (std::size_t m = 0; m < methods.size(); ++m)
                Score(result.Methods[m], methods[m].Of(a, b), killerFirst ? 1.0 : 0.0, duel.Count);
        }
    for (MethodScore& score : result.Methods)
        if (result.Encounters > 0) {
            score.LogLoss /= result.Encounters;
            score.Brier /= result.Encounters;
        }
    return result;
}

} // namespace qla
