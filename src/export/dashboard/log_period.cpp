// The history's dates put in order, the period they cover, and the site's "made on" stamp.
#include "export/dashboard/log_period.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <set>

namespace qla {
namespace {

constexpr std::string_view kUndatedLabel = "no date, ";

bool ComesFirst(const PlayerLogFigures& a, const PlayerLogFigures& b) {
    // An undated log sorts after every dated one; import order breaks ties.
    if (a.DateKey.empty() != b.DateKey.empty())
        return b.DateKey.empty();
    if (a.DateKey != b.DateKey)
        return a.DateKey < b.DateKey;
    return a.Log < b.Log;
}

// Digits only, up to the last second of the year 9999; anything else is no stamp.
std::optional<std::time_t> EpochSeconds(const char* text) {
    constexpr std::int64_t kLastSecondOf9999 = 253402300799;
    if (text == nullptr || *text == '\0')
        return std::nullopt;
    std::int64_t seconds = 0;
    for (const char* c = text; *c != '\0'; ++c) {
        if (*c < '0' || *c > '9')
            return std::nullopt;
        seconds = seconds * 10 + (*c - '0');
        if (seconds > kLastSecondOf9999)
            return std::nullopt;
    }
    return static_cast<std::time_t>(seconds);
}

} // namespace

void OrderHistoriesByDate(std::vector<PlayerHistory>& histories) {
    for (PlayerHistory& history : histories) {
        std::sort(history.Logs.begin(), history.Logs.end(), ComesFirst);
        for (PlayerLogFigures& log : history.Logs)
            if (log.DateKey.empty() && !log.LogLabel.starts_with(kUndatedLabel))
                log.LogLabel.insert(0, kUndatedLabel);
    }
}

LogPeriod PeriodOf(const std::vector<PlayerHistory>& histories) {
    LogPeriod period;
    std::set<std::size_t> undated;
    for (const PlayerHistory& history : histories)
        for (const PlayerLogFigures& log : history.Logs) {
            if (log.DateKey.empty()) {
                undated.insert(log.Log);
                continue;
            }
            if (period.First.empty() || log.DateKey < period.First)
                period.First = log.DateKey;
            if (log.DateKey > period.Last)
                period.Last = log.DateKey;
        }
    period.UndatedLogs = static_cast<std::int64_t>(undated.size());
    return period;
}

std::string MadeOnStamp(const char* sourceDateEpoch, std::chrono::system_clock::time_point now) {
    std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    if (const auto given = EpochSeconds(sourceDateEpoch))
        seconds = *given;
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

std::string MadeOnNow() {
    return MadeOnStamp(std::getenv("SOURCE_DATE_EPOCH"), std::chrono::system_clock::now());
}

} // namespace qla
