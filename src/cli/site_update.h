// Bringing a freshly written site into the folder a web server serves, file by file: only the
// files whose bytes differ are replaced (each by one rename), new ones are added, and the files
// the live site's marker lists that the new site no longer has are removed. A file whose bytes
// did not change is not touched, so it keeps its modification time and inode, and caches and
// rsync see nothing.
#pragma once

#include <cstddef>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace qla::cli {

struct SiteUpdate {
    std::size_t Written = 0;   // new or changed files put into the site
    std::size_t Removed = 0;   // files of the old site that the new one no longer has
    std::size_t Unchanged = 0; // files left as they were
    std::string Error;         // why the update stopped; what was done before stays
};

// Moves what differs from `staged` (a complete site an export wrote, with its marker) into
// `site` (a site of ours, its marker listing its files). The order keeps every link working
// while it runs: first the marker grows to list the files still to come, so an update cut short
// leaves no file of ours unlisted; then the files pages link to (style, script, data), the
// pages in subfolders, the other pages, the overview (index.html) last; then the stale files
// go, and the marker becomes the new site's. `staged` is left with what was not moved.
SiteUpdate UpdateSite(const std::filesystem::path& staged, const std::filesystem::path& site);

// What an export put into a staging folder that holds only the files that changed.
struct StagedFiles {
    std::vector<std::string> Wanted;  // every file of the new site
    std::vector<std::string> Changed; // those of them in the staging folder
    // The name a changed file has in the staging folder, where it is not its own: staged side
    // by side, the files cost no folders to make and remove each time.
    std::map<std::string, std::string> StagedAs;
    std::size_t Unchanged = 0;
};

// The same, for a staging folder holding `files.Changed` only.
SiteUpdate UpdateSite(const std::filesystem::path& staged, const std::filesystem::path& site,
                      const StagedFiles& files);

} // namespace qla::cli
