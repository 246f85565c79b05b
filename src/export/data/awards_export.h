// `qla awards` as text, as a document of the JSON view family (view "awards") and as CSV.
#pragma once

#include "export/data/csv_text.h"
#include "stats/award_report.h"

#include <string>

namespace qla {

// The value as the outputs show it: a ratio as a decimal, a rating gain signed, else the count.
std::string AwardValueText(AwardId id, std::int64_t value);
// A record's value as the outputs show it: the ratio as a decimal, else the count.
std::string RecordValueText(const AwardRecord& record);

// Tab-separated: the awards of each period, then the records, then a note when the streaks are
// not known.
std::string AwardsText(const AwardsReport& report);
std::string AwardsJson(const AwardsReport& report);
// One table: a row per award winner (section "award") and per record (section "record").
std::string AwardsCsv(const AwardsReport& report, const CsvOptions& options);

// The note the outputs give when the streaks are not known: only a database's logs imported
// before it kept the order of their kills lack it.
inline constexpr const char* kStreaksNotStored =
    "Streaks need the order of the kills, which the database keeps for the logs imported since "
    "schema version 9: where a period holds a log imported before, its streaks are not known "
    "until qla reanalyze reads that log again.";
// What stands in an award's or a record's place when its streak is not known.
inline constexpr const char* kStreakNotStored = "not stored";

} // namespace qla
