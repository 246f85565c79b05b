// Temporary file, flush and rename with POSIX calls.
#include "export/atomic_file.h"

#include "export/file_paths.h"

#include <cerrno>
#include <chrono>
#include <cstdio>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qla {

namespace {

// A name no page has: hidden, and unique enough that O_EXCL rarely has to try again.
std::string TempPathBeside(const std::string& path, int attempt) {
    const auto ticks = static_cast<unsigned long long>(
        std::chrono::steady_clock::now().time_since_epoch().count());
    char name[64];
    std::snprintf(name, sizeof name, ".qla-%d-%llx-%d.tmp", static_cast<int>(::getpid()),
                  ticks & 0xFFFFFFFFFFFFULL, attempt);
    return FolderOfPath(path) + name;
}

bool AllDigits(std::string_view text, bool hex) {
    if (text.empty())
        return false;
    for (const char c : text)
        if (!(c >= '0' && c <= '9') && !(hex && c >= 'a' && c <= 'f'))
            return false;
    return true;
}

std::string_view KindOf(mode_t mode) {
    if (S_ISLNK(mode))
        return "a symbolic link";
    if (S_ISDIR(mode))
        return "a folder";
    if (S_ISFIFO(mode))
        return "a named pipe";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "a device";
    if (S_ISSOCK(mode))
        return "a socket";
    return "a special file";
}

// Flushes the folder's entry for a renamed file; a folder that cannot be opened is left alone.
void SyncFolderOf(const std::string& path) {
    const std::string folder = FolderOfPath(path);
    const int fd =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// An unnamed file is linked to its name through /proc/self/fd; checked once, it does not change.
bool CanLinkUnnamedFiles() {
    static const bool available = ::access("/proc/self/fd", X_OK) == 0;
    return available;
}

} // namespace

std::optional<int> TemporaryFileOwner(std::string_view fileName) {
    constexpr std::string_view prefix = ".qla-", suffix = ".tmp";
    if (!fileName.starts_with(prefix) || !fileName.ends_with(suffix))
        return std::nullopt;
    std::string_view rest = fileName.substr(prefix.size());
    rest.remove_suffix(suffix.size());
    const std::size_t first = rest.find('-');
    const std::size_t second = rest.find('-', first == std::string_view::npos ? first : first + 1);
    if (second == std::string_view::npos)
        return std::nullopt;
    const std::string_view pid = rest.substr(0, first);
    if (!AllDigits(pid, false) || pid.size() > 9 ||
        !AllDigits(rest.substr(first + 1, second - first - 1), true) ||
        !AllDigits(rest.substr(second + 1), false))
        return std::nullopt;
    int owner = 0;
    for (const char c : pid)
        owner = owner * 10 + (c - '0');
    return owner;
}

std::string ReplaceRefusal(const std::string& path, const std::optional<FileIdentity>& logFile) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0)
        return {};
    if (!S_ISREG(info.st_mode))
        return "Not written: " + std::string(KindOf(info.st_mode)) +
               " of that name exists, and only regular files are replaced";
    if (logFile && logFile->Device == static_cast<std::uint64_t>(info.st_dev) &&
        logFile->Inode == static_cast<std::uint64_t>(info.st_ino))
        return "Not written: that file is the log being analysed";
    return {};
}

bool AtomicFile::Open(const std::string& path, const std::optional<FileIdentity>& logFile) {
    Discard();
    path_ = path;
    logFile_ = logFile;
    errorNumber_ = 0;
    refusal_ = ReplaceRefusal(path, logFile);
    if (!refusal_.empty())
        return false;
    // Past the refusal, the name is free or a regular file.
    const bool nameTaken = ::access(path.c_str(), F_OK) == 0;
    // A file its owner made read-only is not replaced, as writing into it would have failed.
    if (nameTaken && ::access(path.c_str(), W_OK) != 0) {
        Fail(errno);
        return false;
    }
    // A free name: an unnamed file, where the file system and /proc (to link it) allow.
    if (!nameTaken && CanLinkUnnamedFiles()) {
        const std::string folder = FolderOfPath(path);
        fd_ = ::open(folder.empty() ? "." : folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
        if (fd_ >= 0) {
            unnamed_ = true;
            return true;
        }
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath_ = TempPathBeside(path, attempt);
        listed_ = std::make_unique<ListedTempFile>(tempPath_.c_str());
        fd_ = ::open(tempPath_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd_ >= 0)
            break;
        const int error = errno;
        listed_.reset();
        if (error != EEXIST) {
            Fail(error);
            return false;
        }
    }
    if (fd_ < 0) {
        Fail(EEXIST);
        return false;
    }
    // A replaced page keeps the permissions it had.
    struct stat old {};
    if (nameTaken && ::lstat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode))
        ::fchmod(fd_, old.st_mode & 0777);
    return true;
}

bool AtomicFile::Write(std::string_view bytes) {
    if (fd_ < 0 || errorNumber_ != 0)
        return false;
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            Fail(written < 0 ? errno : EIO);
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

bool AtomicFile::Commit(bool durable, WhenNameTaken whenTaken) {
    if (fd_ < 0)
        return false;
    if (errorNumber_ == 0 && durable && ::fsync(fd_) != 0)
        Fail(errno);
    if (unnamed_) {
        const bool linked = errorNumber_ == 0 && LinkUnnamed(whenTaken);
        Discard(); // closes the file; a file never linked goes with it
        if (linked && durable)
            SyncFolderOf(path_);
        return linked;
    }
    if (::close(fd_) != 0 && errorNumber_ == 0)
        Fail(errno);
    fd_ = -1;
    if (errorNumber_ != 0) {
        Discard();
        return false;
    }
    // The name may have changed since Open; what is there now decides.
    refusal_ = ReplaceRefusal(path_, logFile_);
    if (!refusal_.empty()) {
        Discard();
        return false;
    }
    if (whenTaken == WhenNameTaken::Keep) {
        // link() never replaces: a file that appeared meanwhile stays. Where the file system
        // has no links, the name is checked once more and the file renamed.
        struct stat info {};
        if (::link(tempPath_.c_str(), path_.c_str()) == 0 || errno == EEXIST) {
            Discard();
        } else if (::lstat(path_.c_str(), &info) == 0) {
            Discard();
        } else if (::rename(tempPath_.c_str(), path_.c_str()) != 0) {
            Fail(errno);
            Discard();
        } else {
            tempPath_.clear();
            listed_.reset();
        }
    } else if (::rename(tempPath_.c_str(), path_.c_str()) != 0) {
        Fail(errno);
        Discard();
    } else {
        tempPath_.clear();
        listed_.reset();
    }
    if (errorNumber_ != 0)
        return false;
    if (durable)
        SyncFolderOf(path_);
    return true;
}

bool AtomicFile::LinkUnnamed(WhenNameTaken whenTaken) {
    char self[64];
    std::snprintf(self, sizeof self, "/proc/self/fd/%d", fd_);
    if (::linkat(AT_FDCWD, self, AT_FDCWD, path_.c_str(), AT_SYMLINK_FOLLOW) == 0)
        return true;
    if (errno != EEXIST) {
        Fail(errno);
        return false;
    }
    // A file of the name appeared while this one was written.
    if (whenTaken == WhenNameTaken::Keep)
        return true;
    refusal_ = ReplaceRefusal(path_, logFile_);
    if (!refusal_.empty())
        return false;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string temp = TempPathBeside(path_, attempt);
        auto listed = std::make_unique<ListedTempFile>(temp.c_str());
        if (::linkat(AT_FDCWD, self, AT_FDCWD, temp.c_str(), AT_SYMLINK_FOLLOW) != 0) {
            if (errno == EEXIST)
                continue;
            Fail(errno);
            return false;
        }
        if (::rename(temp.c_str(), path_.c_str()) != 0) {
            Fail(errno);
            ::unlink(temp.c_str());
            return false;
        }
        return true;
    }
    Fail(EEXIST);
    return false;
}

void AtomicFile::Discard() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    unnamed_ = false;
    if (!tempPath_.empty()) {
        ::unlink(tempPath_.c_str());
        tempPath_.clear();
    }
    listed_.reset();
}

void AtomicFile::Fail(int errorNumber) {
    if (errorNumber_ == 0)
        errorNumber_ = errorNumber != 0 ? errorNumber : EIO;
}

} // namespace qla
