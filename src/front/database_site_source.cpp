// The statistics site's source read from a statistics database.
#include "front/database_site_source.h"

#include "export/dashboard/history_kills.h"
#include "export/dashboard/merged_history.h"

#include <QFileInfo>

#include <utility>

namespace qla::front {
namespace {

// The logs read, as the chat archive takes them, with where each log's messages end in the
// store when its chats were read into it (else 0: the archive streams them, or holds one log).
std::vector<SiteLog> ChatArchiveLogs(const db::LogSpans& logs) {
    std::vector<SiteLog> archive;
    const std::size_t count = logs.Ids.size();
    if (logs.Paths.size() != count || logs.Dates.size() != count)
        return archive;
    const bool ends = logs.VoiceChatsEnd.size() == count && logs.TextChatsEnd.size() == count;
    for (std::size_t i = 0; i < count; ++i)
        archive.push_back(
            {logs.Ids[i], QFileInfo(QString::fromStdString(logs.Paths[i])).fileName().toStdString(),
             logs.Dates[i].value_or(""), ends ? logs.VoiceChatsEnd[i] : 0,
             ends ? logs.TextChatsEnd[i] : 0});
    return archive;
}

} // namespace

StatisticsSiteSource DatabaseSiteSource(const std::string& databasePath,
                                        const AnalysisTotals& totals,
                                        const std::optional<std::string>& date,
                                        const db::LogSpans& logs, db::DashboardHistory history,
                                        const AnalysisStore& store,
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
    // Each log's streaks and first blood, from the order of its kills (when it was read).
    if (!logs.KillFigures.empty() && logs.KillFigures.size() == logs.Ids.size())
        AddKillFigures(figures.History, store, logs.KillFigures);
    else
        AddKillFigures(figures.History, store, logs.KillEntriesEnd, logs.Order);
    figures.Logs = ChatArchiveLogs(logs);
    source.Database = std::move(figures);
    return source;
}

} // namespace qla::front
