// Preparing, locking and marking a site's folder around its writer.
#include "export/site_folder.h"

#include "export/disk_sinks.h"
#include "export/export_all.h"
#include "export/export_request.h"
#include "export/site_marker.h"
#include "stats/statistics.h"

#include <filesystem>
#include <set>

namespace qla {
namespace {

// The statistics site's pages in its folders that an earlier export wrote and this one did not:
// the pages of players who left the selection, the later pages of a list grown shorter. They go,
// and so do the folders they leave empty, so an address never leads to a page that no longer
// tells the truth. Only files the marker lists (written by an export of ours) are touched, and
// only in folders: the root's files are the same each time, and Export All writes only there.
void RemoveLeftPages(const std::string& folder, const SiteMarker& earlier,
                     const std::set<std::string>& placed) {
    if (earlier.Kind != SiteMarkerKind::Site)
        return;
    const std::filesystem::path root(folder);
    for (const std::string& file : earlier.Files) {
        if (file.find('/') == std::string::npos || placed.contains(file))
            continue;
        std::error_code code;
        if (!std::filesystem::remove(root / file, code))
            continue; // gone already
        // Only removes a folder that is empty.
        for (std::filesystem::path holder = (root / file).parent_path();
             holder != root && holder.has_relative_path(); holder = holder.parent_path())
            if (!std::filesystem::remove(holder, code))
                break;
    }
}

} // namespace

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
    const SiteMarker earlier = ReadSiteMarker(folder);
    ExportOutcome outcome;
    std::string refusal;
    std::set<std::string> placed;
    if (const auto lock = PrepareSiteFolder(
            folder, perPage ? MissingFolder::Refuse : MissingFolder::Make, refusal)) {
        // The statistics site keeps the files of its earlier export that hold the same bytes.
        const bool keeps = !perPage && earlier.Kind == SiteMarkerKind::Site;
        FolderSink sink(folder, stats.Store.LogFileIdentity,
                        keeps ? earlier.Files : std::vector<std::string>());
        outcome = write(stats, request, sink);
        placed = sink.Placed();
    } else if (perPage) {
        outcome.Site.Refused = refusal;
    } else {
        outcome.File.Error = refusal;
    }
    std::error_code code;
    if (!outcome.Site.Refused.empty() || !std::filesystem::is_directory(folder, code))
        return outcome; // nothing was written
    if (!perPage && outcome.File.Ok())
        RemoveLeftPages(folder, earlier, placed);
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
