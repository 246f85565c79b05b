// One atomic file, written at once; and a site's new page, written in place.
#include "export/data/whole_file.h"

#include "export/atomic_file.h"
#include "export/temp_file_cleanup.h"

#include <cerrno>
#include <csignal>
#include <optional>

#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

namespace qla {
namespace {

enum class FreshFile { Written, NameTaken, Failed };

// Holds back the signals that remove listed files while a page is created and listed: a page
// that exists is then always listed, and a listed name is always the page this run made.
class SignalsHeld {
  public:
    SignalsHeld() {
        sigset_t held;
        sigemptyset(&held);
        for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP})
            sigaddset(&held, signalNumber);
        ::pthread_sigmask(SIG_BLOCK, &held, &before_);
    }
    ~SignalsHeld() { ::pthread_sigmask(SIG_SETMASK, &before_, nullptr); }
    SignalsHeld(const SignalsHeld&) = delete;
    SignalsHeld& operator=(const SignalsHeld&) = delete;

  private:
    sigset_t before_{};
};

// Creates `path` only when nothing holds the name (not even a dangling symbolic link) and fills
// it; `error` is set when it failed, and the file is removed again.
FreshFile WriteFreshFile(const std::string& path, std::string_view content, int& error) {
    std::optional<ListedTempFile> listed; // until the page is whole, a signal removes it
    int fd = -1;
    {
        const SignalsHeld held;
        fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0)
            listed.emplace(path.c_str());
    }
    if (fd < 0)
        return FreshFile::NameTaken; // or not creatable: the careful path reports why
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
