// Which file a path names, by device and inode: two paths (a link, a second hard link) name the
// same file exactly when their identities are equal.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace qla {

struct FileIdentity {
    std::uint64_t Device = 0;
    std::uint64_t Inode = 0;
    bool operator==(const FileIdentity&) const = default;
};

// The identity of the file `path` leads to (links followed); nullopt when there is none.
std::optional<FileIdentity> IdentityOfFile(const std::string& path);

} // namespace qla
