// qla ratings --period: a skill board for each period (session, day, week, month), each fitted to
// the kills of its own logs alone, as qla awards groups them.
#pragma once

#include "cli/log_source.h"
#include "stats/award_periods.h"

#include <optional>
#include <ostream>
#include <string>

namespace qla::cli {

struct RatingsChoices {
    double MinEncounters = 50;
    std::optional<double> HalfLifeDays; // within each period, from its newest log
    std::string Format = "text";        // text, json or csv
};

// Reads the source and prints the boards; the exit status.
int PrintRatingsByPeriod(LogSource& source, AwardPeriodKind kind, const RatingsChoices& choices,
                         std::ostream& out, std::ostream& err);

} // namespace qla::cli
