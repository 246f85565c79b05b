// Staging and swapping an exported site, and clearing the old site's files by its marker.
#include "cli/site_publisher.h"

#include "cli/changed_file_sink.h"
#include "cli/path_within.h"
#include "cli/site_update.h"
#include "export/atomic_file.h"
#include "export/data/whole_file.h"
#include "export/site_marker.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <set>

#include <signal.h>

namespace qla::cli {

namespace {

namespace fs = std::filesystem;

std::string ErrnoText() {
    return std::strerror(errno);
}

// Removes a folder of this run's own files with its marker last, so that a run killed while
// removing it leaves a folder that still says whose it is (or an empty one), never files
// without a marker that would hold every later publish.
std::error_code RemoveOwnFolder(const fs::path& folder) {
    std::error_code code;
    std::vector<fs::path> entries;
    for (fs::directory_iterator it(folder, code), end; !code && it != end; it.increment(code))
        if (it->path().filename() != kSiteMarkerName)
            entries.push_back(it->path());
    if (code)
        return code;
    for (const fs::path& entry : entries)
        if (fs::remove_all(entry, code); code)
            return code;
    fs::remove(folder / kSiteMarkerName, code);
    if (!code)
        fs::remove(folder, code);
    return code;
}

// Puts `staged` in the place of `site`. Both exist: they trade places at once, and the old
// pages end up in `staged`. A file system that cannot exchange (EINVAL) gets two renames, with a
// moment in between where the site is missing rather than mixed.
bool SwapIn(const fs::path& staged, const fs::path& site, std::string& error) {
    std::error_code code;
    if (!fs::exists(fs::symlink_status(site, code))) {
        if (std::rename(staged.c_str(), site.c_str()) == 0)
            return true;
        error = "cannot move the new site into place: " + ErrnoText();
        return false;
    }
    if (::renameat2(AT_FDCWD, staged.c_str(), AT_FDCWD, site.c_str(), RENAME_EXCHANGE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS) {
        error = "cannot swap the new site in: " + ErrnoText();
        return false;
    }
    const fs::path old = site.string() + ".qla-old";
    if (fs::exists(fs::symlink_status(old, code))) {
        error = "cannot swap the new site in: " + old.string() + " is in the way";
        return false;
    }
    if (std::rename(site.c_str(), old.c_str()) != 0 ||
        std::rename(staged.c_str(), site.c_str()) != 0) {
        error = "cannot move the new site into place: " + ErrnoText();
        return false;
    }
    if (std::rename(old.c_str(), staged.c_str()) != 0) {
        error = "cannot move the old site aside: " + ErrnoText();
        return false;
    }
    return true;
}

// Removes the files the marker of `folder` lists, the folders that held them once empty, and
// then the marker and `folder` itself when nothing else is left. Returns the first entry left
// (relative), or empty when `folder` is gone.
std::string RemoveSiteFiles(const fs::path& folder) {
    const SiteMarker marker = ReadSiteMarker(folder.string());
    std::set<fs::path> holders;
    std::error_code code;
    for (const std::string& file : marker.Files) {
        // Only through real folders: a link put on the way must not lead the removal elsewhere.
        bool throughFolders = true;
        for (fs::path up = fs::path(file).parent_path(); !up.empty(); up = up.parent_path()) {
            throughFolders =
                throughFolders && fs::is_directory(fs::symlink_status(folder / up, code));
            holders.insert(folder / up);
        }
        if (throughFolders)
            fs::remove(folder / file, code);
    }
    // Deepest first, so a folder's subfolders are gone before it is tried.
    std::vector<fs::path> order(holders.begin(), holders.end());
    std::sort(order.begin(), order.end(), [](const fs::path& a, const fs::path& b) {
        return std::distance(a.begin(), a.end()) > std::distance(b.begin(), b.end());
    });
    for (const fs::path& holder : order)
        fs::remove(holder, code); // only removes an empty folder
    std::string error;
    std::string left = UnlistedEntry(folder.string(), error);
    if (!error.empty())
        return "(" + error + ")";
    if (!left.empty())
        return left;
    fs::remove(folder / kSiteMarkerName, code);
    if (!fs::remove(folder, code))
        return std::string(kSiteMarkerName);
    return {};
}

// Clears a folder that holds an old site, or a staging folder a killed run left. What qla did
// not write is kept: the folder then moves aside to the first free "<site>.qla-kept[-N]", and
// the note says so. False with `error` when the folder could not be cleared nor moved.
bool ClearOldSite(const fs::path& folder, const fs::path& site, std::string& note,
                  std::string& error) {
    std::error_code code;
    if (ReadSiteMarker(folder.string()).Kind == SiteMarkerKind::Staging) {
        // A run killed while exporting: everything in the claimed folder is its export's.
        code = RemoveOwnFolder(folder);
        if (!code)
            return true;
        error = "cannot remove " + folder.string() + ": " + code.message();
        return false;
    }
    const std::string left = RemoveSiteFiles(folder);
    if (left.empty())
        return true;
    for (int number = 1; number < 1000; ++number) {
        std::string aside = site.string() + ".qla-kept";
        if (number > 1)
            aside.append("-").append(std::to_string(number));
        if (::renameat2(AT_FDCWD, folder.c_str(), AT_FDCWD, aside.c_str(), RENAME_NOREPLACE) == 0) {
            note = "kept " + aside + ": it holds " + left + ", which qla did not write";
            return true;
        }
        if (errno != EEXIST && errno != ENOTEMPTY)
            break;
    }
    error = "cannot move " + folder.string() + " aside (it holds " + left +
            ", which qla did not write): " + ErrnoText();
    return false;
}

// The first failure an export reports, or empty.
std::string ExportError(const ExportOutcome& outcome) {
    if (!outcome.File.Ok())
        return outcome.File.Error;
    if (!outcome.Site.Refused.empty())
        return outcome.Site.Refused;
    if (!outcome.Site.Errors.empty())
        return outcome.Site.Errors.front().FileName + ": " + outcome.Site.Errors.front().Error;
    return {};
}

// The staged site's marker, listing every file of the new site as its export would.
std::string StagedSiteMarker(const fs::path& staged, const std::vector<std::string>& files) {
    std::vector<std::string> sorted = files;
    std::sort(sorted.begin(), sorted.end());
    const ExportResult written = WriteWholeFile((staged / kSiteMarkerName).string(),
                                                SiteMarkerText(sorted), std::nullopt, false);
    return written.Ok() ? std::string() : std::string(kSiteMarkerName) + ": " + written.Error;
}

// A temporary file of ours whose process has ended.
bool IsDeadRunsTemporary(const std::string& fileName) {
    const auto owner = TemporaryFileOwner(fileName);
    return owner && *owner > 0 && ::kill(*owner, 0) != 0 && errno == ESRCH;
}

// Removes the temporary files under `site` whose process has ended; only through real
// folders (the walk follows no link).
void RemoveDeadRunsTemporaries(const fs::path& site) {
    std::error_code code;
    for (fs::recursive_directory_iterator it(site, code), end; !code && it != end;
         it.increment(code)) {
        if (!it->is_regular_file(code) || it->is_symlink(code))
            continue;
        if (IsDeadRunsTemporary(it->path().filename().string()))
            fs::remove(it->path(), code);
    }
}

} // namespace

std::string SiteFolderOf(const std::string& given) {
    fs::path folder = ResolvedPath(given);
    if (!folder.has_filename())
        folder = folder.parent_path(); // "site/" names the folder "site"
    return folder.string();
}

std::string SiteFolderProblem(const std::string& site) {
    std::error_code code;
    const fs::file_status link = fs::symlink_status(site, code);
    if (!fs::exists(link))
        return {};
    if (fs::is_symlink(link))
        return site + " is a link that leads nowhere"; // SiteFolderOf resolves the others
    if (!fs::is_directory(link))
        return site + " is not a folder";
    std::string error;
    std::string unlisted = UnlistedEntry(site, error);
    // Looked for only when one is in the way, so an unblocked site is walked once.
    if (!unlisted.empty() && IsDeadRunsTemporary(fs::path(unlisted).filename().string())) {
        RemoveDeadRunsTemporaries(site);
        unlisted = UnlistedEntry(site, error);
    }
    if (!error.empty())
        return error;
    if (!unlisted.empty())
        return (fs::path(site) / unlisted).string() +
               " is not a file of a site qla wrote, and qla watch publishes only into a folder of "
               "its own files";
    return {};
}

Publication PublishSite(const AnalysisStore& store, ExportRequest request, PageMemory* memory) {
    return PublishSite(Statistics{store, StoreLines(store)}, std::move(request), memory);
}

Publication PublishSite(const Statistics& stats, ExportRequest request, PageMemory* memory) {
    Publication result;
    const PageMemory remembered = memory ? *memory : PageMemory();
    const fs::path site = SiteFolderOf(request.Path);
    // The site's folder is checked by the caller before it reads what it publishes, and here
    // just before the site is touched: a walk of thousands of files, not made a third time.
    const fs::path staged = site.string() + ".qla-new";
    std::error_code code;
    const fs::file_status stagedStatus = fs::symlink_status(staged, code);
    if (fs::is_directory(stagedStatus) && fs::is_empty(staged, code))
        fs::remove(staged, code); // a run killed just before it removed its emptied folder
    if (fs::exists(fs::symlink_status(staged, code))) {
        if (!fs::is_directory(stagedStatus) ||
            ReadSiteMarker(staged.string()).Kind == SiteMarkerKind::Absent ||
            ReadSiteMarker(staged.string()).Kind == SiteMarkerKind::Foreign) {
            result.Error = staged.string() + " is in the way, and qla did not make it";
            return result;
        }
        // Left by a run that was stopped hard while writing or swapping.
        if (!ClearOldSite(staged, site, result.Note, result.Error))
            return result;
    }
    if (!fs::create_directories(staged, code) && code) {
        result.Error = "cannot create " + staged.string() + ": " + code.message();
        return result;
    }
    if (result.Error = MarkStagingFolder(staged.string()); !result.Error.empty()) {
        result.Error = "cannot write the site into " + staged.string() + ": " + result.Error;
        RemoveOwnFolder(staged);
        return result;
    }
    // The old site a run killed between the two renames of SwapIn left aside: ours, so it goes.
    const fs::path oldAside = site.string() + ".qla-old";
    if (fs::is_directory(fs::symlink_status(oldAside, code)) &&
        ReadSiteMarker(oldAside.string()).Kind == SiteMarkerKind::Site &&
        !ClearOldSite(oldAside, site, result.Note, result.Error)) {
        RemoveOwnFolder(staged);
        return result;
    }
    request.Path = staged.string();
    const SiteMarker before = ReadSiteMarker(site.string());
    const bool updating = before.Kind == SiteMarkerKind::Site && !before.Files.empty();
    std::optional<StagedFiles> onlyChanged;
    std::map<std::string, std::uint64_t> inputs;
    if (memory)
        memory->Forget(); // trusted again only once this publish is through
    if (ExportsIntoSink(request)) {
        // Only the files that differ from the served site are written at all.
        ChangedFileSink sink(staged, updating ? std::optional<fs::path>(site) : std::nullopt,
                             &remembered);
        const ExportResult written = RunExportInto(stats, request, sink);
        result.Error = written.Error;
        if (written.Ok()) {
            onlyChanged = sink.Files();
            inputs = sink.Inputs();
            result.Error = StagedSiteMarker(staged, onlyChanged->Wanted);
        }
    } else {
        result.Error = ExportError(RunExport(stats, request));
    }
    if (!result.Error.empty()) {
        result.Error = "cannot write the site into " + staged.string() + ": " + result.Error;
        RemoveOwnFolder(staged); // made by this run, written by its export only
        return result;
    }
    // Something may have been put into the site's folder while the pages were written.
    if (result.Error = SiteFolderProblem(site.string()); !result.Error.empty()) {
        RemoveOwnFolder(staged);
        return result;
    }
    const SiteMarker live = ReadSiteMarker(site.string());
    const bool served = live.Kind == SiteMarkerKind::Site && !live.Files.empty();
    if (onlyChanged && updating && !served) {
        // The staged pages are only those that differed from a site that is gone meanwhile.
        RemoveOwnFolder(staged);
        result.Error = "the site in " + site.string() + " was removed while it was updated";
        return result;
    }
    if (served) {
        // A site that appeared while the pages were compared with nothing gets every file.
        const SiteUpdate update = onlyChanged && updating ? UpdateSite(staged, site, *onlyChanged)
                                                          : UpdateSite(staged, site);
        RemoveOwnFolder(staged); // what is left there is this run's export
        result.Published = update.Error.empty();
        result.Error = update.Error;
        result.Written = update.Written;
        result.Removed = update.Removed;
        if (memory && result.Published)
            memory->Remember(site, inputs);
        return result;
    }
    // Nothing served yet: the whole site goes in at once.
    result.Written = ReadSiteMarker(staged.string()).Files.size();
    result.Whole = true;
    if (!SwapIn(staged, site, result.Error))
        return result;
    result.Published = true;
    if (memory)
        memory->Remember(site, inputs);
    std::string clearError;
    if (fs::exists(fs::symlink_status(staged, code)) &&
        !ClearOldSite(staged, site, result.Note, clearError))
        result.Note = clearError;
    return result;
}

} // namespace qla::cli
