// How much each log's kills weigh in the rating's fit when older logs count less: by a
// half-life in days, measured from the newest log's date. One weight per log, in the logs' order;
// a log without a readable date weighs as much as the newest.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace qla {

// `dates`: each log's date as "YYYY-MM-DD HH:MM:SS" (a database's date key), or nothing.
// `halfLifeDays` > 0; a log that many days older than the newest weighs half as much.
std::vector<double> HalfLifeWeights(std::span<const std::optional<std::string>> dates,
                                    double halfLifeDays);

// Days since 1970-01-01 of a date key; nullopt when it does not read as one.
std::optional<double> DaysOfDateKey(const std::string& dateKey);

} // namespace qla
