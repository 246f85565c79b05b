// One atomic file, written at once; and a site's new page, written in place.
#include "export/data/whole_file.h"

#include "export/atomic_file.h"
#include "export/temp_file_cleanup.h"

#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

namespace qla {
namespace {

enum class FreshFile { Written, NameTaken, Failed };

// Creates `path` only when nothing holds the name (not even a dangling symbolic link) and fills
// it; `error` is set when it failed, and the file is removed again.
FreshFile WriteFreshFile(const std::string& path, std::string_view content, int& error) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0)
        return FreshFile::NameTaken;     // or not creatable: the careful path reports why
    ListedTempFile listed(path.c_str()); // until it is whole, a signal removes it
    error = 0;
    while (!content.empty()) {
        const ssize_t written = ::write(fd, content.data(), content.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            error = written < 0 ? errno : EIO;
            break;
        }
        content.remove_prefix(static_cast<std::size_t>(written));
    }
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0)
        return FreshFile::Written;
    ::unlink(path.c_str());
    return FreshFile::Failed;
}

} // namespace

ExportResult WriteWholeFile(const std::string& path, std::string_view content,
                            const std::optional<FileIdentity>& logFile, bool durable, int stage) {
    AtomicFile file;
    if (file.Open(path, logFile) && file.Write(content) && file.Commit(durable))
        return {};
    if (!file.Refusal().empty())
        return {file.Refusal()};
    return Failure(file.ErrorNumber() != 0 ? file.ErrorNumber() : EIO, stage);
}

ExportResult WriteSitePage(const std::string& path, std::string_view content,
                           const std::optional<FileIdentity>& logFile) {
    int error = 0;
    switch (WriteFreshFile(path, content, error)) {
    case FreshFile::Written:
        return {};
    case FreshFile::Failed:
        return Failure(error, 0);
    case FreshFile::NameTaken:
        break;
    }
    return WriteWholeFile(path, content, logFile, false);
}

} // namespace qla
