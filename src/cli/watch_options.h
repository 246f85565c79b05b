// qla watch's command line: the database, the logs, the interval, the import's options and the
// site written after each batch, with --view and --format read as qla export reads them.
#pragma once

#include "cli/followed_log.h"
#include "db/log_import.h"
#include "export/export_views.h"
#include "export/statistics_site_settings.h"

#include <QStringList>

#include <chrono>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace qla::cli {

struct WatchOptions {
    std::string Database;
    db::ImportOptions Import;
    std::chrono::milliseconds Interval{1000};
    std::optional<ExportRequest> Site; // Path: the site's folder
    StatisticsSiteChoices SiteChoices; // view dashboard
    std::vector<std::string> LogPaths; // as the file system takes them
};

// Reads the command line into `options`, the logs to follow and their folders and file names;
// an exit code when it must end here (after --help, or after printing the usage error or why the
// site's folder cannot be taken).
std::optional<int> ParseWatchCommand(const QStringList& arguments, WatchOptions& options,
                                     std::vector<FollowedLog>& logs,
                                     std::set<std::pair<std::string, std::string>>& names,
                                     std::ostream& out, std::ostream& err);

} // namespace qla::cli
