// The statistics site's source read from a statistics database.
#include "front/database_site_source.h"

#include "export/dashboard/merged_history.h"

#include <QFileInfo>

#include <utility>

namespace qla::front {

StatisticsSiteSource DatabaseSiteSource(const std::string& databasePath,
                                        const AnalysisTotals& totals,
                                        const std::optional<std::string>& date,
                                        db::DashboardHistory history, const AnalysisStore& store,
                                        const std::optional<MergedNames>& merged) {
    StatisticsSiteSource source;
    source.SourceName = QFileInfo(QString::fromStdString(databasePath)).fileName().toStdString();
    source.LogDate = date.value_or("");
    source.Totals = totals;
    DatabaseSiteFigures figures;
    figures.LogCount = history.LogCount;
    figures.HeldBackBytes = history.HeldBackBytes;
    // The history holds the names as stored; a merged player's rows sum his names.
    figures.History =
        merged ? MergedHistories(history.Players, store, *merged) : std::move(history.Players);
    source.Database = std::move(figures);
    return source;
}

} // namespace qla::front
