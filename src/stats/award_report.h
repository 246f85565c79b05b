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
    // A database's stored statistics keep the encounters summed, not the order of the kills:
    // the streaks then come from logs only.
    bool StreaksKnown = true;
};

} // namespace qla
