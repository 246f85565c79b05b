// Whether one path lies inside a folder, as the file system resolves both: the guard that keeps a
// site's folder (which qla watch replaces whole) and an export's output away from the database,
// the logs and the current folder.
#pragma once

#include <filesystem>
#include <string>

namespace qla::cli {

// `path` made absolute, with every link on the part of it that exists resolved.
std::filesystem::path ResolvedPath(const std::string& path);

// True when `path` is `folder` or lies below it.
bool IsWithin(const std::string& path, const std::string& folder);

} // namespace qla::cli
