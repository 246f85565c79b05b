// Bringing a database from before stored statistics to them: each log's stored lines are
// analysed once, alone, and its statistics rows written, in the upgrade's transaction.
#pragma once

#include "db/stats_database.h"

#include <string>

namespace qla::db {

bool StoreStatisticsOfEveryLog(StatsDatabase& database, std::string& error);

} // namespace qla::db
