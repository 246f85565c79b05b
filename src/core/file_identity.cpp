// File identities from stat().
#include "core/file_identity.h"

#include <sys/stat.h>

namespace qla {

std::optional<FileIdentity> IdentityOfFile(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return std::nullopt;
    return FileIdentity{static_cast<std::uint64_t>(info.st_dev),
                        static_cast<std::uint64_t>(info.st_ino)};
}

} // namespace qla
