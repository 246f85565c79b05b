#include "stats/award_periods.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <map>

namespace qla {
namespace {

constexpr std::array<std::pair<std::string_view, AwardPeriodKind>, 5> kPeriodNames{{
    {"all", AwardPeriodKind::All},
    {"session", AwardPeriodKind::Session},
    {"day", AwardPeriodKind::Day},
    {"week", AwardPeriodKind::Week},
    {"month", AwardPeriodKind::Month},
}};

std::optional<int> NumberAt(std::string_view text, std::size_t at, std::size_t length) {
    if (text.size() < at + length)
        return std::nullopt;
    int value = 0;
    const char* first = text.data() + at;
    const auto [end, error] = std::from_chars(first, first + length, value);
    if (error != std::errc() || end != first + length)
        return std::nullopt;
    return value;
}

std::optional<std::chrono::year_month_day> DateOf(const std::optional<std::string>& key) {
    if (!key || key->size() < 10 || (*key)[4] != '-' || (*key)[7] != '-')
        return std::nullopt;
    const auto year = NumberAt(*key, 0, 4), month = NumberAt(*key, 5, 2),
               day = NumberAt(*key, 8, 2);
    if (!year || !month || !day)
        return std::nullopt;
    const std::chrono::year_month_day date{std::chrono::year(*year),
                                           std::chrono::month(static_cast<unsigned>(*month)),
                                           std::chrono::day(static_cast<unsigned>(*day))};
    if (!date.ok())
        return std::nullopt;
    return date;
}

// The ISO week: weeks start on Monday and belong to the year of their Thursday.
std::string IsoWeek(const std::chrono::year_month_day& date) {
    using namespace std::chrono;
    const sys_days day{date};
    const weekday wd{day};
    const int fromMonday = static_cast<int>(wd.iso_encoding()) - 1;
    const sys_days thursday = day - days(fromMonday) + days(3);
    const year_month_day ofThursday{thursday};
    const sys_days firstOfYear{ofThursday.year() / January / 1};
    const long week = (thursday - firstOfYear).count() / 7 + 1;
    char text[40]; // room for any int and long, though a year has four digits
    std::snprintf(text, sizeof text, "%04d-W%02ld", static_cast<int>(ofThursday.year()), week);
    return text;
}

} // namespace

std::optional<AwardPeriodKind> AwardPeriodNamed(std::string_view name) {
    for (const auto& [text, kind] : kPeriodNames)
        if (text == name)
            return kind;
    return std::nullopt;
}

std::string_view AwardPeriodName(AwardPeriodKind kind) {
    for (const auto& [text, k] : kPeriodNames)
        if (k == kind)
            return text;
    return "all";
}

std::string PeriodKeyOf(AwardPeriodKind kind, const std::optional<std::string>& dateKey) {
    if (kind == AwardPeriodKind::All)
        return "all";
    const auto date = DateOf(dateKey);
    if (!date)
        return std::string(kUndatedPeriod);
    switch (kind) {
    case AwardPeriodKind::Day:
        return dateKey->substr(0, 10);
    case AwardPeriodKind::Month:
        return dateKey->substr(0, 7);
    case AwardPeriodKind::Week:
        return IsoWeek(*date);
    default:
        return dateKey->substr(0, 10);
    }
}

std::vector<AwardPeriod> GroupLogs(AwardPeriodKind kind,
                                   std::span<const std::optional<std::string>> dates,
                                   std::span<const std::string> labels) {
    const auto firstDate = [&](std::size_t log) {
        return DateOf(dates[log]) ? *dates[log] : std::string();
    };
    std::vector<AwardPeriod> periods;
    if (kind == AwardPeriodKind::Session) {
        for (std::size_t log = 0; log < dates.size(); ++log)
            periods.push_back({log < labels.size() ? labels[log] : std::to_string(log + 1),
                               firstDate(log),
                               {log}});
        return periods;
    }
    std::map<std::string, AwardPeriod> byKey;
    AwardPeriod undated{std::string(kUndatedPeriod), "", {}};
    for (std::size_t log = 0; log < dates.size(); ++log) {
        const std::string key = PeriodKeyOf(kind, dates[log]);
        AwardPeriod& period =
            kind != AwardPeriodKind::All && key == kUndatedPeriod ? undated : byKey[key];
        period.Key = key;
        const std::string date = firstDate(log);
        if (!date.empty() && (period.First.empty() || date < period.First))
            period.First = date;
        period.Logs.push_back(log);
    }
    for (auto& [key, period] : byKey)
        periods.push_back(std::move(period));
    if (!undated.Logs.empty())
        periods.push_back(std::move(undated));
    if (kind == AwardPeriodKind::All && periods.empty())
        periods.push_back({"all", "", {}});
    return periods;
}

} // namespace qla
