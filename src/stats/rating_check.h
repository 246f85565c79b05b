// How well a rating predicts: trained on the earlier logs of a history, each method (our fitted
// rating and the baselines of rating_baselines.h) gives for every kill between two players of
// the later logs the chance that the one, not the other, made it; scored by log loss, Brier
// score and calibration in ten bins.
#pragma once

#include "core/store.h"
#include "stats/rating_baselines.h"
#include "stats/skill_rating.h"

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace qla {

// Logs in the order they were played, their players numbered across the logs by name.
struct DuelHistory {
    std::vector<std::string> PlayerNames; // player p's name
    std::vector<DuelLog> Logs;
    // By player, whether the training logs tell his name as one many people pass through
    // (AnalysisStore::PassingKeys): our rating learns nothing from such a name's kills, as no
    // reading of the history by name rates it. Empty: none known.
    std::vector<char> Passing;
};

// Adds the store's kills between two different players (teamkills and suicides left out) as
// the history's next log, one duel per killer and victim at the place of the first kill: the
// order a database keeps, so that a log and the database holding it give the same history.
void AddLogToHistory(const AnalysisStore& store, DuelHistory& history,
                     std::map<std::string, std::uint32_t>& playerOfName);
// The same for the kill events first to end-1 of a store that holds several logs (persons merged
// over all of them).
void AddEventsToHistory(const AnalysisStore& store, std::size_t first, std::size_t end,
                        DuelHistory& history, std::map<std::string, std::uint32_t>& playerOfName);

// The later logs predicted: the last fifth (rounded down), at least one.
std::size_t TestLogCount(std::size_t logCount);

struct CalibrationBin {
    double Encounters = 0;
    double PredictedSum = 0; // of the chances given
    double ObservedSum = 0;  // of the kills made by the player whose chance it is
    double Predicted() const { return PredictedSum / Encounters; }
    double Observed() const { return ObservedSum / Encounters; }
};
inline constexpr std::size_t kCalibrationBins = 10;

struct MethodScore {
    std::string Method;
    double LogLoss = 0; // mean, natural logarithm
    double Brier = 0;   // mean squared error of the chance
    std::array<CalibrationBin, kCalibrationBins> Bins{};
};

struct RatingCheckResult {
    std::size_t TrainingLogs = 0, TestLogs = 0;
    double Encounters = 0;            // the test logs' kills between two players
    double UnseenEncounters = 0;      // of them, with a player not met in training
    std::vector<MethodScore> Methods; // rating, kd-ratio, elo, glicko
};

// Players meet mostly their own level (evenings, servers): over a fit's encounters, an opponent's
// rating is about `Slope` times one's own, give or take `Spread` (each encounter counted from both
// sides). How our rating predicts a player it never met.
struct OpponentLevel {
    double Slope = 0, Spread = 0;
};
OpponentLevel OpponentLevelOf(const Encounters& encounters, const std::vector<SkillRating>& fit);
// A player the fit never met, as the opponent of `met`: where the opponents of `met`'s rating are.
SkillRating BesideOpponent(const OpponentLevel& level, const SkillRating& met);

// Needs two logs or more. Each kill of the test logs is asked as "does A, not B, kill?" with A
// the pair's player whose name sorts first; it counts half in the calibration bin of A's chance
// and half in that of B's, so that neither the names' order nor a method's chances decide the
// bins (a bin's encounters may end in a half).
RatingCheckResult CheckRatings(const DuelHistory& history);

} // namespace qla
