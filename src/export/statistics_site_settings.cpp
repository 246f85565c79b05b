// The statistics site's settings from the user's choices and the figures' source.
#include "export/statistics_site_settings.h"

#include "core/product.h"
#include "export/dashboard/log_period.h"

#include <utility>

namespace qla {

std::string StatisticsSiteTitle(std::string_view given) {
    if (given.empty() || given == kPlaceholderGameTitle)
        return std::string(kUntitledStatisticsSite);
    return std::string(given);
}

void SetStatisticsSite(ExportRequest& request, const StatisticsSiteChoices& choices,
                       StatisticsSiteSource source) {
    // The site's writers take the title from the request, as every other view does.
    request.GameTitle = StatisticsSiteTitle(choices.GameTitle);
    DashboardSettings& site = request.Dashboard;
    site.GameTitle = request.GameTitle;
    site.MinKills = choices.MinKills;
    site.MinDeaths = choices.MinDeaths;
    site.MinLinesForPage = choices.MinLinesForPage;
    site.SourceName = std::move(source.SourceName);
    site.LogDate = std::move(source.LogDate);
    site.Totals = source.Totals;
    site.FromDatabase = source.Database.has_value();
    site.LogCount = 1;
    site.HeldBackBytes.reset();
    site.History.clear();
    site.Logs.clear();
    if (source.Database) {
        site.LogCount = source.Database->LogCount;
        site.HeldBackBytes = source.Database->HeldBackBytes;
        site.History = std::move(source.Database->History);
        site.Logs = std::move(source.Database->Logs);
    }
    OrderHistoriesByDate(site.History);
    site.Period = PeriodOf(site.History);
    site.MadeOn = MadeOnNow();
}

} // namespace qla
