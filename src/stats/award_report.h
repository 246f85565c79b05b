// What `qla awards` and the statistics site show: the awards of each period and the records.
#pragma once

#include "stats/award_periods.h"
#include "stats/award_records.h"
#include "stats/awards.h"

#include <string>
#include <vector>

namespace qla {

struct AwardPeriodResult {
    std::string Key;   // "all", a session's label, "2026-12-08", "2026-W50", "2026-12", "undated"
    std::string First; // the date key of its earliest dated log; empty when none
    std::size_t LogCount = 0;
    std::vector<AwardResult> Awards; // in the award table's order
};

struct AwardsReport {
    AwardPeriodKind Kind = AwardPeriodKind::All;
    std::vector<AwardPeriodResult> Periods;
    std::vector<AwardRecord> Records;
    // False when some log read keeps no order of its kills (a database's log imported before
    // it kept the order): the streaks of the periods and records it is in are not known.
    bool StreaksKnown = true;
};

} // namespace qla
