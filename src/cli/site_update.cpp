// Comparing a staged site with the live one and moving over only what differs.
#include "cli/site_update.h"

#include "export/data/whole_file.h"
#include "export/same_bytes_file.h" // ReadAt
#include "export/site_marker.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <set>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace qla::cli {

namespace {

namespace fs = std::filesystem;

// Closes a descriptor on every path out.
class OpenFile {
  public:
    explicit OpenFile(const fs::path& path) : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {}
    ~OpenFile() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    int Fd() const { return fd_; }

  private:
    int fd_;
};

// True when `live` is a regular file (not a link) holding exactly the bytes of `fresh`.
bool SameBytes(const fs::path& fresh, const fs::path& live) {
    struct stat freshInfo {
    }, liveInfo{};
    if (::lstat(live.c_str(), &liveInfo) != 0 || !S_ISREG(liveInfo.st_mode) ||
        ::stat(fresh.c_str(), &freshInfo) != 0 || freshInfo.st_size != liveInfo.st_size)
        return false;
    const OpenFile a(fresh), b(live);
    if (a.Fd() < 0 || b.Fd() < 0)
        return false;
    static constexpr std::size_t kChunk = 1 << 16;
    std::vector<char> left(kChunk), right(kChunk);
    for (std::uint64_t at = 0;; at += kChunk) {
        const ssize_t got = ReadAt(a.Fd(), left.data(), kChunk, at);
        if (got < 0 || ReadAt(b.Fd(), right.data(), kChunk, at) != got ||
            std::memcmp(left.data(), right.data(), static_cast<std::size_t>(got)) != 0)
            return false;
        if (got < static_cast<ssize_t>(kChunk))
            return true;
    }
}

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// When a file goes in: what pages link to first, the pages that link to others after them, the
// overview last, so a visitor following a link from a new page never finds it missing.
int InstallRank(const std::string& file) {
    if (!file.ends_with(".html"))
        return 0; // style sheet, scripts, data
    if (file.find('/') != std::string::npos)
        return 1; // player, list and chat pages in their folders
    return file == "index.html" ? 3 : 2;
}

// The live site's side of the update: its folders checked before anything is written through
// them, and each file put in by one rename.
class LiveSite {
  public:
    explicit LiveSite(fs::path site) : site_(std::move(site)) {}

    // Makes the folders on the way to `file`, never through a link or a file in their place.
    bool MakeFoldersFor(const std::string& file, std::string& error) {
        fs::path at;
        for (const fs::path& part : fs::path(file).parent_path()) {
            at /= part;
            if (checked_.contains(at))
                continue;
            std::error_code code;
            const fs::file_status status = fs::symlink_status(site_ / at, code);
            if (!fs::exists(status)) {
                if (!fs::create_directory(site_ / at, code) && code) {
                    error = "cannot create " + (site_ / at).string() + ": " + code.message();
                    return false;
                }
            } else if (!fs::is_directory(status)) {
                error = (site_ / at).string() + " is in the way of " + file + ": not a folder";
                return false;
            }
            checked_.insert(at);
        }
        return true;
    }

    // Puts the staged file in place at once. A file the old site did not list must not replace
    // anything: someone else may have put a file of that name there since the last check.
    bool Install(const fs::path& from, const std::string& file, bool listed, std::string& error) {
        const fs::path to = site_ / file;
        if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(),
                        listed ? 0 : RENAME_NOREPLACE) == 0)
            return true;
        if (errno == EXDEV) // the site is a mount of its own: written there beside the name
            return CopyIn(from, to, file, listed, error);
        error = errno == EEXIST
                    ? to.string() + " is not a file of a site qla wrote, and is kept"
                    : "cannot put " + to.string() + " in place: " + std::strerror(errno);
        return false;
    }

    // Removes a file the old site listed, only through real folders, so that a link put on the
    // way cannot lead the removal elsewhere; the folders it leaves empty go too.
    bool Remove(const std::string& file) {
        std::error_code code;
        for (fs::path up = fs::path(file).parent_path(); !up.empty(); up = up.parent_path()) {
            if (!fs::is_directory(fs::symlink_status(site_ / up, code)))
                return false;
            emptied_.insert(up);
        }
        return fs::remove(site_ / file, code);
    }

    // Deepest first, so a folder's subfolders are gone before it is tried; only empty ones go.
    void RemoveEmptiedFolders() {
        std::vector<fs::path> order(emptied_.begin(), emptied_.end());
        std::sort(order.begin(), order.end(), [](const fs::path& a, const fs::path& b) {
            return std::distance(a.begin(), a.end()) > std::distance(b.begin(), b.end());
        });
        std::error_code code;
        for (const fs::path& folder : order)
            if (fs::is_empty(site_ / folder, code) && !code)
                fs::remove(site_ / folder, code);
    }

  private:
    bool CopyIn(const fs::path& from, const fs::path& to, const std::string& file, bool listed,
                std::string& error) {
        std::error_code code;
        if (!listed && fs::exists(fs::symlink_status(to, code))) {
            error = to.string() + " is not a file of a site qla wrote, and is kept";
            return false;
        }
        const ExportResult written = WriteWholeFile(to.string(), ReadBytes(from), std::nullopt);
        if (!written.Ok())
            error = "cannot write " + file + " into " + site_.string() + ": " + written.Error;
        return written.Ok();
    }

    fs::path site_;
    std::set<fs::path> checked_; // folders known to be real folders of the site
    std::set<fs::path> emptied_; // folders that held a removed file
};

// The marker of `site` listing `files`.
bool WriteMarker(const fs::path& site, const std::set<std::string>& files, std::string& error) {
    const ExportResult written = WriteWholeFile(
        (site / kSiteMarkerName).string(),
        SiteMarkerText(std::vector<std::string>(files.begin(), files.end())), std::nullopt, false);
    if (!written.Ok())
        error = "cannot write " + (site / kSiteMarkerName).string() + ": " + written.Error;
    return written.Ok();
}

} // namespace

SiteUpdate UpdateSite(const fs::path& staged, const fs::path& site) {
    const SiteMarker fresh = ReadSiteMarker(staged.string());
    if (fresh.Kind != SiteMarkerKind::Site) {
        SiteUpdate update;
        update.Error = "the export left no list of its files in " + staged.string();
        return update;
    }
    StagedFiles files;
    files.Wanted = fresh.Files;
    for (const std::string& file : fresh.Files) {
        if (SameBytes(staged / file, site / file))
            ++files.Unchanged;
        else
            files.Changed.push_back(file);
    }
    return UpdateSite(staged, site, files);
}

SiteUpdate UpdateSite(const fs::path& staged, const fs::path& site, const StagedFiles& files) {
    SiteUpdate update;
    update.Unchanged = files.Unchanged;
    const SiteMarker live = ReadSiteMarker(site.string());
    const std::set<std::string> listed(live.Files.begin(), live.Files.end());
    const std::set<std::string> wanted(files.Wanted.begin(), files.Wanted.end());

    std::vector<std::string> changed = files.Changed;
    // Within a rank, names from last to first: a player's second page ("...b.html") is there
    // before the first ("...a.html") that links to it.
    std::sort(changed.begin(), changed.end(), [](const std::string& a, const std::string& b) {
        const int rankA = InstallRank(a), rankB = InstallRank(b);
        return rankA != rankB ? rankA < rankB : b < a;
    });

    // Listed before they exist: a run stopped in the middle leaves no unlisted file of ours.
    std::set<std::string> both = listed;
    both.insert(wanted.begin(), wanted.end());
    if (both != listed && !WriteMarker(site, both, update.Error))
        return update;

    LiveSite target(site);
    std::set<std::string> present = listed; // ours in the site: the old files and those moved in
    for (const std::string& file : changed) {
        if (!target.MakeFoldersFor(file, update.Error) ||
            !target.Install(staged /
                                (files.StagedAs.contains(file) ? files.StagedAs.at(file) : file),
                            file, listed.contains(file), update.Error)) {
            // Only what is there is listed, so a file found in the way is never taken for ours.
            std::string ignored;
            if (present != both)
                WriteMarker(site, present, ignored);
            return update;
        }
        present.insert(file);
        ++update.Written;
    }
    for (const std::string& file : listed)
        if (!wanted.contains(file) && target.Remove(file))
            ++update.Removed;
    target.RemoveEmptiedFolders();

    // The new site's own list; an unchanged one keeps its time too.
    if (wanted != listed || live.Kind != SiteMarkerKind::Site)
        WriteMarker(site, wanted, update.Error);
    return update;
}

} // namespace qla::cli
