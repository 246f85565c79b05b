// Where a statistics site's figures come from when it is made of a statistics database (qla
// export --db, qla watch, the window's database selection): the database's name, its logs and
// each player's history.
#pragma once

#include "analysis/analysis.h"
#include "analysis/merge_players.h"
#include "core/store.h"
#include "db/dashboard_history.h"
#include "db/store_from_database.h"
#include "export/statistics_site_settings.h"

#include <optional>
#include <string>

namespace qla::front {

// `store` was built from the database (BuildStoreFromDatabase gave `totals`, `date` and the
// logs' spans) and, when `merged` is set, its players merged; the history then sums each merged
// player's names.
StatisticsSiteSource DatabaseSiteSource(const std::string& databasePath,
                                        const AnalysisTotals& totals,
                                        const std::optional<std::string>& date,
                                        const db::LogSpans& logs, db::DashboardHistory history,
                                        const AnalysisStore& store,
                                        const std::optional<MergedNames>& merged);

} // namespace qla::front
