// The statistics site's sense of time: each player's history in date order, the period its logs
// cover, and when the site was made.
#pragma once

#include "stats/player_history.h"

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace qla {

// What a history's logs cover: the first and last date ("YYYY-MM-DD HH:MM:SS"; both empty when
// no log has one) and how many of its logs have no date.
struct LogPeriod {
    std::string First, Last;
    std::int64_t UndatedLogs = 0;
};

// Puts each player's logs in date order: by the log's date, then in import order; logs without a
// date follow in import order, labelled as such ("no date, log 7").
void OrderHistoriesByDate(std::vector<PlayerHistory>& histories);

// The period the histories' logs cover; a log counts once, however many players are in it.
LogPeriod PeriodOf(const std::vector<PlayerHistory>& histories);

// When a site is made, as UTC "YYYY-MM-DDTHH:MM:SSZ": the seconds since 1970 in
// `sourceDateEpoch` (the SOURCE_DATE_EPOCH convention, so that a build is reproducible) when it
// holds a whole number, else `now`.
std::string MadeOnStamp(const char* sourceDateEpoch, std::chrono::system_clock::time_point now);

// MadeOnStamp of the environment's SOURCE_DATE_EPOCH and the clock.
std::string MadeOnNow();

} // namespace qla
