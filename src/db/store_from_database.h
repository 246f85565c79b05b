// Building the analysis store from a database: the selected logs' stored lines, read one after
// the other as one log, each with its own language.
#pragma once

#include "analysis/analysis.h"
#include "core/store.h"
#include "db/log_catalog.h"
#include "db/stats_database.h"

#include <optional>
#include <string>

namespace qla::db {

struct DatabaseStoreResult {
    bool Ok = false;
    std::string Error;
    AnalysisTotals Totals;
    std::optional<std::string> DateText; // the date header of the first line, as for one log
    std::size_t LogCount = 0;
};

// Fills `store` as the analysis fills it from the single log made of the selected logs' bytes
// in import order. The store's lines are replaced.
DatabaseStoreResult BuildStoreFromDatabase(StatsDatabase& database, const LogSelection& selection,
                                           AnalysisStore& store);

// The same inside a read transaction the caller began.
DatabaseStoreResult BuildStoreInTransaction(StatsDatabase& database, const LogSelection& selection,
                                            AnalysisStore& store);

} // namespace qla::db
