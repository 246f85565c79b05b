// The statistics site's settings, built in one place for the window, qla export and qla watch, so
// that the three publish the same site from the same figures: its heading, the thresholds of its
// lists, where its figures come from and, from a statistics database, each player's history.
#pragma once

#include "analysis/analysis.h"
#include "export/dashboard/dashboard_model.h"
#include "export/export_request.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qla {

// The heading of a statistics site nobody gave a title: the window's placeholder is an
// instruction to the user, not a title to publish.
inline constexpr std::string_view kUntitledStatisticsSite = "Statistics";

// What the user chose for the site.
struct StatisticsSiteChoices {
    std::string GameTitle; // as typed; empty or the window's placeholder: none given
    std::int64_t MinKills = 5;
    std::int64_t MinDeaths = 5;
    std::optional<std::int64_t> MinLinesForPage; // unset: the site's default
};

// What a statistics database adds: how many logs, the bytes past their last whole lines, and
// each player's figures log by log, named as the store names its players (merged or not).
struct DatabaseSiteFigures {
    std::int64_t LogCount = 0;
    std::int64_t HeldBackBytes = 0;
    std::vector<PlayerHistory> History;
    std::vector<SiteLog> Logs; // the chat archive's logs (DashboardSettings::Logs)
};

// Where the figures come from.
struct StatisticsSiteSource {
    std::string SourceName; // the log's file name or the database's
    std::string LogDate;    // the (first) log's date; empty when it has none
    AnalysisTotals Totals;  // of the analysis run that filled the store
    std::optional<DatabaseSiteFigures> Database;
};

// The title the site shows for `given`: the given one, or kUntitledStatisticsSite.
std::string StatisticsSiteTitle(std::string_view given);

// Sets the title and the statistics-site settings of a request of the dashboard view; the rest of
// the request (its format, its path, a progress callback) is left as it is.
void SetStatisticsSite(ExportRequest& request, const StatisticsSiteChoices& choices,
                       StatisticsSiteSource source);

} // namespace qla
