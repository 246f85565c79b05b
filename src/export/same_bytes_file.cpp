// Comparing a file's pieces with the file already there, in blocks read beside them.
#include "export/same_bytes_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

namespace qla {
namespace {

constexpr std::size_t kBlock = std::size_t{1} << 16;

} // namespace

ssize_t ReadAt(int fd, char* into, std::size_t size, std::uint64_t offset) {
    std::size_t got = 0;
    while (got < size) {
        const ssize_t n = ::pread(fd, into + got, size - got, static_cast<off_t>(offset + got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return -1;
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    return static_cast<ssize_t>(got);
}

std::optional<ComparedFile> OpenToCompare(const std::string& path,
                                          const std::optional<FileIdentity>& logFile) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) ||
        (logFile && logFile->Device == static_cast<std::uint64_t>(info.st_dev) &&
         logFile->Inode == static_cast<std::uint64_t>(info.st_ino))) {
        ::close(fd);
        return std::nullopt;
    }
    return ComparedFile{fd, static_cast<std::uint64_t>(info.st_size)};
}

SameBytesFile::SameBytesFile(std::optional<ComparedFile> existing,
                             std::function<std::unique_ptr<SinkFile>()> start,
                             std::function<void()> kept, std::function<void()> replaced)
    : existing_(existing), start_(std::move(start)), kept_(std::move(kept)),
      replaced_(std::move(replaced)) {}

SameBytesFile::~SameBytesFile() {
    if (existing_)
        ::close(existing_->Descriptor);
}

bool SameBytesFile::Agrees(std::string_view bytes) {
    if (!existing_ || agreed_ + bytes.size() > existing_->Size)
        return false;
    char block[kBlock];
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t size = std::min(kBlock, bytes.size() - at);
        if (ReadAt(existing_->Descriptor, block, size, agreed_ + at) !=
                static_cast<ssize_t>(size) ||
            std::memcmp(block, bytes.data() + at, size) != 0)
            return false;
        at += size;
    }
    agreed_ += bytes.size();
    return true;
}

bool SameBytesFile::TakeFrom(const SinkFile& file) {
    if (!file.Refusal().empty())
        Refuse(file.Refusal());
    else if (file.Failed())
        Fail(file.ErrorNumber());
    return !Failed();
}

bool SameBytesFile::Diverge() {
    written_ = start_();
    if (!TakeFrom(*written_))
        return false;
    std::vector<char> block(kBlock);
    for (std::uint64_t at = 0; at < agreed_;) {
        const auto size = static_cast<std::size_t>(std::min<std::uint64_t>(kBlock, agreed_ - at));
        if (ReadAt(existing_->Descriptor, block.data(), size, at) != static_cast<ssize_t>(size)) {
            Fail(errno != 0 ? errno : EIO);
            return false;
        }
        if (!written_->Write(std::string_view(block.data(), size)))
            return TakeFrom(*written_);
        at += size;
    }
    return true;
}

bool SameBytesFile::Write(std::string_view bytes) {
    if (Failed())
        return false;
    if (!written_ && (Agrees(bytes) || !Diverge()))
        return !Failed();
    if (!written_->Write(bytes))
        return TakeFrom(*written_);
    return true;
}

bool SameBytesFile::Commit(bool durable, WhenNameTaken whenTaken) {
    if (Failed())
        return false;
    if (!written_ && existing_ && agreed_ == existing_->Size) {
        if (kept_)
            kept_();
        return true;
    }
    if (!written_ && !Diverge())
        return false;
    if (!written_->Commit(durable, whenTaken))
        return TakeFrom(*written_);
    if (replaced_)
        replaced_();
    return true;
}

} // namespace qla
