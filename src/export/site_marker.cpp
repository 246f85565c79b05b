// Reading and writing the site marker, and telling which files an export wrote.
#include "export/site_marker.h"

#include "export/data/whole_file.h"
#include "export/file_paths.h"
#include "export/folder_lock.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include <sys/stat.h>

namespace qla {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kSiteHeader =
    "# qla site: the files qla's exports wrote into this folder, one a line\n";
constexpr std::string_view kStagingHeader =
    "# qla site being written: qla watch writes a new site into this folder\n";

// A listed path must stay inside the folder: a marker listing "../x" must never make qla watch
// touch a file outside the site.
bool IsPlainRelative(std::string_view path) {
    if (path.empty() || path.front() == '/' || path.back() == '/')
        return false;
    for (std::size_t start = 0; start <= path.size();) {
        std::size_t end = path.find('/', start);
        if (end == std::string_view::npos)
            end = path.size();
        const std::string_view part = path.substr(start, end - start);
        if (part.empty() || part == "." || part == "..")
            return false;
        start = end + 1;
    }
    return true;
}

// Walks every entry below `folder` without following links; `visit` gets the relative path and
// whether the entry is a folder. False with `error` set when the folder cannot be read.
template <class Visit> bool Walk(const std::string& folder, std::string& error, Visit&& visit) {
    std::error_code code;
    fs::recursive_directory_iterator it(folder, code), end;
    for (; !code && it != end; it.increment(code)) {
        std::error_code statusCode;
        const bool isFolder = fs::is_directory(it->symlink_status(statusCode));
        visit(it->path().lexically_relative(folder).generic_string(), isFolder);
    }
    if (code) {
        error = "cannot read " + folder + ": " + code.message();
        return false;
    }
    return true;
}

bool IsOwnFile(const std::string& relative) {
    return relative == kSiteMarkerName || relative == FolderLock::kFileName;
}

std::string MarkerPath(const std::string& folder) {
    return PathInFolder(folder, kSiteMarkerName);
}

std::string MarkerText(std::string_view header, const std::vector<std::string>& files) {
    std::string text(header);
    for (const std::string& file : files)
        text.append(file).push_back('\n');
    return text;
}

} // namespace

SiteMarker ReadSiteMarker(const std::string& folder) {
    SiteMarker marker;
    const std::string path = MarkerPath(folder);
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0)
        return marker;
    marker.Kind = SiteMarkerKind::Foreign;
    if (!S_ISREG(info.st_mode)) {
        marker.Problem = "it is not a regular file";
        return marker;
    }
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (!in.is_open() || in.bad()) {
        marker.Problem = "it cannot be read";
        return marker;
    }
    const std::string text = bytes.str();
    if (text.starts_with(kStagingHeader) && text.size() == kStagingHeader.size()) {
        marker.Kind = SiteMarkerKind::Staging;
        return marker;
    }
    if (!text.starts_with(kSiteHeader) || !text.ends_with('\n')) {
        marker.Problem = "it is not a marker written by qla";
        return marker;
    }
    for (std::size_t start = kSiteHeader.size(); start < text.size();) {
        const std::size_t end = text.find('\n', start);
        std::string file = text.substr(start, end - start);
        if (!IsPlainRelative(file)) {
            marker.Problem = "it lists '" + file + "', which is not a path inside the folder";
            marker.Files.clear();
            return marker;
        }
        marker.Files.push_back(std::move(file));
        start = end + 1;
    }
    std::sort(marker.Files.begin(), marker.Files.end());
    marker.Kind = SiteMarkerKind::Site;
    return marker;
}

std::string MarkStagingFolder(const std::string& folder) {
    const ExportResult written =
        WriteWholeFile(MarkerPath(folder), kStagingHeader, std::nullopt, false);
    return written.Ok() ? std::string() : std::string(kSiteMarkerName) + ": " + written.Error;
}

FolderSnapshot FolderSnapshot::Of(const std::string& folder) {
    FolderSnapshot snapshot;
    std::string unreadable; // an unreadable folder holds nothing the export could have written
    Walk(folder, unreadable, [&](const std::string& relative, bool isFolder) {
        struct stat info {};
        if (isFolder || IsOwnFile(relative) ||
            ::lstat(PathInFolder(folder, relative).c_str(), &info) != 0)
            return;
        snapshot.entries_[relative] = {static_cast<std::uint64_t>(info.st_dev),
                                       static_cast<std::uint64_t>(info.st_ino),
                                       static_cast<std::int64_t>(info.st_ctim.tv_sec),
                                       static_cast<std::int64_t>(info.st_ctim.tv_nsec)};
    });
    return snapshot;
}

std::string MarkSite(const std::string& folder, const FolderSnapshot& before) {
    const SiteMarker earlier = ReadSiteMarker(folder);
    if (earlier.Kind == SiteMarkerKind::Foreign)
        return "left as it is, as " + earlier.Problem;
    const FolderSnapshot after = FolderSnapshot::Of(folder);
    std::set<std::string> files;
    for (const std::string& file : earlier.Files)
        if (after.Entries().contains(file))
            files.insert(file);
    for (const auto& [file, stamp] : after.Entries()) {
        const auto old = before.Entries().find(file);
        // A name with a line break cannot be listed; no export writes one.
        if ((old == before.Entries().end() || !(old->second == stamp)) &&
            file.find('\n') == std::string::npos)
            files.insert(file);
    }
    const std::vector<std::string> listed(files.begin(), files.end());
    if (earlier.Kind == SiteMarkerKind::Site && earlier.Files == listed)
        return {};
    return WriteWholeFile(MarkerPath(folder), MarkerText(kSiteHeader, listed), std::nullopt, false)
        .Error;
}

std::string SiteMarkerText(const std::vector<std::string>& files) {
    return MarkerText(kSiteHeader, files);
}

bool IsSiteFileName(std::string_view name) {
    return IsPlainRelative(name) && name.find('\n') == std::string_view::npos &&
           name != kSiteMarkerName;
}

std::string UnlistedEntry(const std::string& folder, std::string& error) {
    std::error_code code;
    if (!fs::exists(fs::symlink_status(folder, code)))
        return {};
    const SiteMarker marker = ReadSiteMarker(folder);
    std::set<std::string> listed, onTheWay;
    if (marker.Kind == SiteMarkerKind::Site) {
        listed.insert(marker.Files.begin(), marker.Files.end());
        for (const std::string& file : marker.Files)
            for (std::size_t slash = file.find('/'); slash != std::string::npos;
                 slash = file.find('/', slash + 1))
                onTheWay.insert(file.substr(0, slash));
    }
    std::string unlisted;
    const bool read = Walk(folder, error, [&](const std::string& relative, bool isFolder) {
        if (!unlisted.empty())
            return;
        const bool ours =
            isFolder ? onTheWay.contains(relative)
                     : listed.contains(relative) ||
                           (relative == kSiteMarkerName && marker.Kind != SiteMarkerKind::Foreign);
        if (!ours)
            unlisted = relative;
    });
    return read ? unlisted : std::string();
}

} // namespace qla
