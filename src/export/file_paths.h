// Paths as text: the folder a path is in and a file's path in a folder. The lowest file code (the
// atomic writer, the folder lock) needs them, so they stand on their own.
#pragma once

#include <string>
#include <string_view>

namespace qla {

// "/", and "\" on Windows.
bool IsPathSeparator(char c);

// `path` up to and including its last separator; "" without one.
std::string FolderOfPath(std::string_view path);

// `folder` joined with `fileName`, adding a separator when the folder has none at its end.
std::string PathInFolder(std::string_view folder, std::string_view fileName);

} // namespace qla
