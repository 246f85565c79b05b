// Paths as text.
#include "export/file_paths.h"

namespace qla {

bool IsPathSeparator(char c) {
#ifdef _WIN32
    return c == '/' || c == '\\';
#else
    return c == '/';
#endif
}

std::string FolderOfPath(std::string_view path) {
    std::size_t end = path.size();
    while (end > 0 && !IsPathSeparator(path[end - 1]))
        --end;
    return std::string(path.substr(0, end));
}

std::string PathInFolder(std::string_view folder, std::string_view fileName) {
    std::string path(folder);
    if (!path.empty() && !IsPathSeparator(path.back()))
        path += '/';
    path += fileName;
    return path;
}

} // namespace qla
