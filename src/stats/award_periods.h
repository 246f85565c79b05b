// The periods awards are given for: all logs, each log (a session), or the logs of a day, an ISO
// week or a month by the logs' dates. A log without a date belongs to no day, week or month: such
// logs form one period of their own, "undated", shown after the dated ones.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qla {

enum class AwardPeriodKind { All, Session, Day, Week, Month };

// "all", "session", "day", "week" or "month"; nullopt for any other text.
std::optional<AwardPeriodKind> AwardPeriodNamed(std::string_view name);
std::string_view AwardPeriodName(AwardPeriodKind kind);

inline constexpr std::string_view kUndatedPeriod = "undated";

// The period of the day, week or month a log of date key `dateKey` ("YYYY-MM-DD HH:MM:SS") lies
// in: "2026-12-08", "2026-W50" (the ISO week and its year), "2026-12"; kUndatedPeriod without a
// readable date. "all" for All; Session has no key of its own (see GroupLogs).
std::string PeriodKeyOf(AwardPeriodKind kind, const std::optional<std::string>& dateKey);

// The logs of one period, their positions in the logs' order.
struct AwardPeriod {
    std::string Key;   // as PeriodKeyOf, or a session's: the log's label
    std::string First; // the date key of its earliest dated log; empty when none is dated
    std::vector<std::size_t> Logs;
};

// The logs grouped into periods: sessions one per log in the logs' order, labelled by
// `labels`; days, weeks and months in date order with the undated period last.
std::vector<AwardPeriod> GroupLogs(AwardPeriodKind kind,
                                   std::span<const std::optional<std::string>> dates,
                                   std::span<const std::string> labels);

} // namespace qla
