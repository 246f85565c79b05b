// The marker of an exported site: a hidden file in the site's folder that says the folder is a
// site written by qla's exports and lists the files they wrote there, one relative path a line.
// `qla watch --site` replaces a folder only while everything in it is listed, so it never removes
// a file that someone else put there.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace qla {

inline constexpr std::string_view kSiteMarkerName = ".qla-site";

enum class SiteMarkerKind {
    Absent,  // no marker: not a site of ours (or nothing was exported there yet)
    Site,    // a site of ours; Files lists what its exports wrote
    Staging, // a folder qla watch writes a new site into; everything in it is that export's
    Foreign, // a file of the marker's name that is not one of ours
};

struct SiteMarker {
    SiteMarkerKind Kind = SiteMarkerKind::Absent;
    std::vector<std::string> Files; // relative, '/'-separated, sorted
    std::string Problem;            // Foreign: why it is not read as ours
};

SiteMarker ReadSiteMarker(const std::string& folder);

// Claims a new, empty folder as qla watch's work in progress; the export that follows turns the
// claim into the site's marker. Returns the error.
std::string MarkStagingFolder(const std::string& folder);

// Every entry below a folder that is not a folder (links are not followed), with what tells one
// version of it from the next: a written file is a new file (exports write beside the name and
// rename), so its inode or change time differs. The marker and the export lock are left out.
class FolderSnapshot {
  public:
    static FolderSnapshot Of(const std::string& folder);

    struct Stamp {
        std::uint64_t Device = 0, Inode = 0;
        std::int64_t ChangeSeconds = 0, ChangeNanoseconds = 0;
        bool operator==(const Stamp&) const = default;
    };
    const std::map<std::string, Stamp>& Entries() const { return entries_; }

  private:
    std::map<std::string, Stamp> entries_; // by relative path
};

// After an export into `folder`: marks it as a site of ours whose files are those written since
// `before` and those its earlier marker listed that are still there. A marker that would not
// change is not rewritten. Returns the error (the marker's name not in it); a foreign file of
// the marker's name is left alone.
std::string MarkSite(const std::string& folder, const FolderSnapshot& before);

// The marker's text for a site of these files (sorted, each a plain relative path).
std::string SiteMarkerText(const std::vector<std::string>& files);
// Whether a site may hold a file of this name: relative, inside the folder, one line.
bool IsSiteFileName(std::string_view name);

// The first entry below `folder` (relative path) that is not the site's: not the marker, not a
// file its marker lists, not a folder on the way to one. Without a marker every entry counts.
// Empty when there is none, or when `folder` does not exist; `error` says when it cannot be read.
std::string UnlistedEntry(const std::string& folder, std::string& error);

} // namespace qla
