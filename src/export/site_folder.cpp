// Preparing, locking and marking a site's folder around its writer.
#include "export/site_folder.h"

#include "export/disk_sinks.h"
#include "export/export_all.h"
#include "export/export_request.h"
#include "export/site_marker.h"
#include "stats/statistics.h"

#include <filesystem>

namespace qla {

std::unique_ptr<FolderLock> PrepareSiteFolder(const std::string& folder, MissingFolder missing,
                                              std::string& error) {
    if (missing == MissingFolder::Refuse) {
        error = SiteFolderRefusal(folder);
        if (!error.empty())
            return nullptr;
    } else {
        std::error_code made;
        std::filesystem::create_directories(std::filesystem::path(folder), made);
        if (made) {
            error = ErrorText(made.value(), 0);
            return nullptr;
        }
    }
    return FolderLock::Take(folder, error);
}

ExportOutcome WriteSiteFolder(const Statistics& stats, const ExportRequest& request,
                              SiteWriter write) {
    const std::string& folder = request.Path;
    const bool perPage = request.View == ExportView::AllData;
    const FolderSnapshot before = FolderSnapshot::Of(folder);
    ExportOutcome outcome;
    std::string refusal;
    if (const auto lock = PrepareSiteFolder(
            folder, perPage ? MissingFolder::Refuse : MissingFolder::Make, refusal)) {
        FolderSink sink(folder, stats.Store.LogFileIdentity);
        outcome = write(stats, request, sink);
    } else if (perPage) {
        outcome.Site.Refused = refusal;
    } else {
        outcome.File.Error = refusal;
    }
    std::error_code code;
    if (!outcome.Site.Refused.empty() || !std::filesystem::is_directory(folder, code))
        return outcome; // nothing was written
    // A marker that cannot be written fails the export.
    if (const std::string error = MarkSite(folder, before); !error.empty()) {
        if (perPage)
            outcome.Site.Errors.push_back({std::string(kSiteMarkerName), error});
        else if (outcome.File.Ok())
            outcome.File.Error = std::string(kSiteMarkerName) + ": " + error;
    }
    return outcome;
}

} // namespace qla
