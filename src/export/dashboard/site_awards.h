// The statistics site's awards page (all time and the latest period) and records page, both
// linked from the overview. They follow the award table (stats/award_table.h) that qla awards
// reads, so the site and the command give the same awards by the same rules.
#pragma once

#include "export/dashboard/site_pages.h"

#include <string>
#include <string_view>

namespace qla {

inline constexpr std::string_view kAwardsPage = "awards.html";
inline constexpr std::string_view kRecordsPage = "records.html";

std::string AwardsPage(const SiteParts& site);
std::string RecordsPage(const SiteParts& site);

// The overview's links to the two pages.
void AppendAwardLinks(std::string& out);

} // namespace qla
