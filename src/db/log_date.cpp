// Reading dates by hand: a fixed, small grammar, and no locale may change how it reads.
#include "db/log_date.h"

#include <array>
#include <cstdio>
#include <vector>

namespace qla::db {

namespace {

std::vector<std::string_view> Words(std::string_view text) {
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && text[i] == ' ')
            ++i;
        const std::size_t start = i;
        while (i < text.size() && text[i] != ' ')
            ++i;
        if (i > start)
            words.push_back(text.substr(start, i - start));
    }
    return words;
}

// The digits of `text` as a number; nullopt unless it is `digits` digits exactly.
std::optional<int> Number(std::string_view text, std::size_t digits) {
    if (text.size() != digits)
        return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

bool DaysFit(int year, int month, int day) {
    static constexpr std::array<int, 12> kDays{31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    if (month < 1 || month > 12 || day < 1)
        return false;
    return day <= (month == 2 && !leap ? 28 : kDays[static_cast<std::size_t>(month - 1)]);
}

// "HH:MM:SS" or, when `secondsOptional`, "HH:MM" too.
std::optional<std::array<int, 3>> Time(std::string_view text, bool secondsOptional) {
    const auto h = Number(text.substr(0, 2), 2);
    if (!h || text.size() < 5 || text[2] != ':')
        return std::nullopt;
    const auto m = Number(text.substr(3, 2), 2);
    std::optional<int> s = 0;
    if (text.size() == 8 && text[5] == ':')
        s = Number(text.substr(6), 2);
    else if (text.size() != 5 || !secondsOptional)
        return std::nullopt;
    if (!m || !s || *h > 23 || *m > 59 || *s > 59)
        return std::nullopt;
    return std::array<int, 3>{*h, *m, *s};
}

std::string Key(int year, int month, int day, const std::array<int, 3>& time) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", year, month, day, time[0],
                  time[1], time[2]);
    return text;
}

} // namespace

std::optional<std::string> SortableLogDate(std::string_view dateText) {
    static constexpr std::array<std::string_view, 12> kMonths{
        "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const std::vector<std::string_view> words = Words(dateText);
    if (words.size() != 5 || words[0].size() != 3)
        return std::nullopt;
    int month = 0;
    for (std::size_t i = 0; i < kMonths.size(); ++i)
        if (words[1] == kMonths[i])
            month = static_cast<int>(i) + 1;
    auto day = Number(words[2], words[2].size());
    const auto time = Time(words[3], false);
    const auto year = Number(words[4], 4);
    if (month == 0 || words[2].size() > 2 || !day || !time || !year || !DaysFit(*year, month, *day))
        return std::nullopt;
    return Key(*year, month, *day, *time);
}

std::optional<std::string> DateBound(std::string_view text, bool endOfDay) {
    if (text.size() < 10 || text[4] != '-' || text[7] != '-')
        return std::nullopt;
    const auto year = Number(text.substr(0, 4), 4);
    const auto month = Number(text.substr(5, 2), 2);
    const auto day = Number(text.substr(8, 2), 2);
    if (!year || !month || !day || !DaysFit(*year, *month, *day))
        return std::nullopt;
    std::array<int, 3> time = endOfDay ? std::array<int, 3>{23, 59, 59} : std::array<int, 3>{};
    if (text.size() > 10) {
        if (text[10] != ' ' && text[10] != 'T')
            return std::nullopt;
        const auto given = Time(text.substr(11), true);
        if (!given)
            return std::nullopt;
        time = *given;
        if (endOfDay && text.size() == 16)
            time[2] = 59; // "--until 20:31" takes that whole minute
    }
    return Key(*year, *month, *day, time);
}

} // namespace qla::db
