// Resolving and comparing paths component by component.
#include "cli/path_within.h"

#include <algorithm>

namespace qla::cli {

namespace fs = std::filesystem;

fs::path ResolvedPath(const std::string& path) {
    std::error_code code;
    fs::path absolute = fs::absolute(path, code);
    if (code)
        return fs::path(path).lexically_normal();
    fs::path resolved = fs::weakly_canonical(absolute, code);
    return code ? absolute.lexically_normal() : resolved;
}

bool IsWithin(const std::string& path, const std::string& folder) {
    const fs::path inner = ResolvedPath(path);
    const fs::path outer = ResolvedPath(folder);
    // "a/b/" and "a/b" name one folder: the empty last component is not compared.
    auto outerEnd = outer.end();
    if (outer.has_relative_path() && outer.filename().empty())
        --outerEnd;
    return std::distance(outer.begin(), outerEnd) <= std::distance(inner.begin(), inner.end()) &&
           std::equal(outer.begin(), outerEnd, inner.begin());
}

} // namespace qla::cli
