// Numbers are written with a fixed number of decimals, so the output does not depend on the
// stream's locale or precision; a bin without encounters has no predicted or observed value.
#include "cli/rating_check_report.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace qla::cli {
namespace {

std::string Fixed(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string Count(double value) {
    return std::to_string(std::llround(value));
}

// A bin holds half of each kill, so its count may end in a half.
std::string BinCount(double value) {
    const long long halves = std::llround(value * 2);
    return std::to_string(halves / 2) + (halves % 2 != 0 ? ".5" : "");
}

// "0.0-0.1" for the first bin.
std::string BinRange(std::size_t bin) {
    return Fixed(static_cast<double>(bin) / kCalibrationBins, 1) + "-" +
           Fixed(static_cast<double>(bin + 1) / kCalibrationBins, 1);
}

} // namespace

void WriteRatingCheckText(const RatingCheckResult& result, std::ostream& out) {
    out << "Training logs: " << result.TrainingLogs << "\n"
        << "Test logs: " << result.TestLogs << "\n"
        << "Test encounters: " << Count(result.Encounters) << "\n"
        << "With a player new in the test: " << Count(result.UnseenEncounters) << "\n\n"
        << "method\tlog loss\tbrier\n";
    for (const MethodScore& score : result.Methods)
        out << score.Method << "\t" << Fixed(score.LogLoss, 4) << "\t" << Fixed(score.Brier, 4)
            << "\n";
    out << "\nmethod\tbin\tpredicted\tobserved\tencounters\n";
    for (const MethodScore& score : result.Methods)
        for (std::size_t bin = 0; bin < kCalibrationBins; ++bin) {
            const CalibrationBin& cell = score.Bins[bin];
            const bool empty = cell.Encounters == 0;
            out << score.Method << "\t" << BinRange(bin) << "\t"
                << (empty ? "-" : Fixed(cell.Predicted(), 4)) << "\t"
                << (empty ? "-" : Fixed(cell.Observed(), 4)) << "\t" << BinCount(cell.Encounters)
                << "\n";
        }
}

void WriteRatingCheckJson(const RatingCheckResult& result, std::ostream& out) {
    out << "{\n  \"trainingLogs\": " << result.TrainingLogs
        << ",\n  \"testLogs\": " << result.TestLogs
        << ",\n  \"testEncounters\": " << Count(result.Encounters)
        << ",\n  \"unseenEncounters\": " << Count(result.UnseenEncounters) << ",\n  \"methods\": [";
    for (std::size_t m = 0; m < result.Methods.size(); ++m) {
        const MethodScore& score = result.Methods[m];
        out << (m == 0 ? "" : ",") << "\n    {\"method\": \"" << score.Method
            << "\", \"logLoss\": " << Fixed(score.LogLoss, 6)
            << ", \"brier\": " << Fixed(score.Brier, 6) << ", \"calibration\": [";
        for (std::size_t bin = 0; bin < kCalibrationBins; ++bin) {
            const CalibrationBin& cell = score.Bins[bin];
            const bool empty = cell.Encounters == 0;
            out << (bin == 0 ? "" : ",")
                << "\n      {\"from\": " << Fixed(static_cast<double>(bin) / kCalibrationBins, 1)
                << ", \"to\": " << Fixed(static_cast<double>(bin + 1) / kCalibrationBins, 1)
                << ", \"encounters\": " << BinCount(cell.Encounters)
                << ", \"predicted\": " << (empty ? "null" : Fixed(cell.Predicted(), 6))
                << ", \"observed\": " << (empty ? "null" : Fixed(cell.Observed(), 6)) << "}";
        }
        out << "\n    ]}";
    }
    out << "\n  ]\n}\n";
}

} // namespace qla::cli
