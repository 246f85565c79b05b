#include "stats/rating_weights.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>

namespace qla {

std::optional<double> DaysOfDateKey(const std::string& dateKey) {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    char tail = 0;
    if (std::sscanf(dateKey.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%c", &year, &month, &day, &hour,
                    &minute, &second, &tail) != 6)
        return std::nullopt;
    const std::chrono::year_month_day date{std::chrono::year{year},
                                           std::chrono::month{static_cast<unsigned>(month)},
                                           std::chrono::day{static_cast<unsigned>(day)}};
    if (!date.ok() || hour > 23 || minute > 59 || second > 60)
        return std::nullopt;
    const auto days = std::chrono::sys_days{date}.time_since_epoch().count();
    return static_cast<double>(days) + (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
}

std::vector<double> HalfLifeWeights(std::span<const std::optional<std::string>> dates,
                                    double halfLifeDays) {
    std::vector<std::optional<double>> days;
    std::optional<double> newest;
    for (const auto& date : dates) {
        days.push_back(date ? DaysOfDateKey(*date) : std::nullopt);
        if (days.back())
            newest = std::max(newest.value_or(*days.back()), *days.back());
    }
    std::vector<double> weights;
    for (const auto& day : days)
        weights.push_back(day && newest ? std::exp2(-(*newest - *day) / halfLifeDays) : 1.0);
    return weights;
}

} // namespace qla
