// The folder lock: an flock()ed file that is removed by the run holding it.
#include "export/folder_lock.h"

#include "export/file_paths.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qla {

std::unique_ptr<FolderLock> FolderLock::Take(const std::string& folder, std::string& error) {
    const std::string path = PathInFolder(folder, kFileName);
    // A run that finishes removes the file; one that opened it just before must then use the
    // new file, or two runs would hold locks on two different files.
    for (int attempt = 0; attempt < 100; ++attempt) {
        const int fd =
            ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
        if (fd < 0) {
            error =
                "The folder cannot be locked for the export: " + std::string(std::strerror(errno));
            return nullptr;
        }
        struct stat opened {};
        if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
            ::close(fd);
            error = "The folder cannot be locked for the export: " + std::string(kFileName) +
                    " is not a regular file";
            return nullptr;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int lockError = errno;
            ::close(fd);
            error = lockError == EWOULDBLOCK
                        ? "Another export is writing into this folder; try again when it "
                          "has finished"
                        : "The folder cannot be locked for the export: " +
                              std::string(std::strerror(lockError));
            return nullptr;
        }
        struct stat named {};
        if (::lstat(path.c_str(), &named) == 0 && named.st_dev == opened.st_dev &&
            named.st_ino == opened.st_ino)
            return std::unique_ptr<FolderLock>(new FolderLock(path, fd));
        ::close(fd); // removed or replaced meanwhile: try the file that is there now
    }
    error = "The folder cannot be locked for the export";
    return nullptr;
}

FolderLock::~FolderLock() {
    // Removed while still locked, so no other run can hold a lock on this file afterwards.
    ::unlink(path_.c_str());
    ::close(fd_);
}

} // namespace qla
