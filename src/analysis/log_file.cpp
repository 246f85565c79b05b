// Opening a log: the existence check, reading the whole file at once, and the date header.
#include "analysis.h"

#include "core/memory_budget.h"
#include "core/text.h"
#include "log_file_check.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <new>
#include <stdexcept>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qla {

namespace {

constexpr std::string_view kDateHeader = "logfile opened on";

enum class ReadOutcome { Read, Failed, TooLarge };

// Reads the whole file into one buffer and notes which file it was. The buffer is not cleared
// first: the read writes every byte of it. A file larger than the memory budget is not tried.
ReadOutcome ReadWholeFile(const std::string& path, ByteBuffer& bytes,
                          std::optional<FileIdentity>& identity) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return ReadOutcome::Failed;
    struct stat info {};
    ReadOutcome outcome = ReadOutcome::Read;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        outcome = ReadOutcome::Failed;
    } else if (!MightHoldBytes(static_cast<std::uint64_t>(info.st_size))) {
        outcome = ReadOutcome::TooLarge;
    } else {
        identity = FileIdentity{static_cast<std::uint64_t>(info.st_dev),
                                static_cast<std::uint64_t>(info.st_ino)};
        const auto size = static_cast<std::size_t>(info.st_size);
        try {
            bytes = ByteBuffer::Uninitialized(size);
        } catch (const std::bad_alloc&) {
            outcome = ReadOutcome::TooLarge;
        }
        std::size_t done = 0;
        while (outcome == ReadOutcome::Read && done < size) {
            const ssize_t got = ::read(fd, bytes.data() + done, size - done);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0) // an error, or the file shrank while it was read
                outcome = ReadOutcome::Failed;
            else
                done += static_cast<std::size_t>(got);
        }
    }
    ::close(fd);
    return outcome;
}

} // namespace

// Why `path` cannot be opened as a log; empty when it can.
std::string OpenProblem(const std::string& path) {
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (path.empty() || ec || !std::filesystem::exists(status)) {
        return "The file does not exist: " + path;
    }
    if (std::filesystem::is_directory(status)) {
        return "This is a folder, not a log file: " + path;
    }
    if (!std::filesystem::is_regular_file(status)) {
        return "This is not a regular file: " + path;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open()) {
        return "The file cannot be read: " + path;
    }
    return {};
}

bool FileExists(const std::string& path) {
    return OpenProblem(path).empty();
}

std::optional<std::string> LogDateText(std::string_view firstLine) {
    // The header is ASCII, so its 17 characters are its 17 bytes; what follows is counted in
    // characters. A bare header gives the empty text rather than failing the open.
    if (!firstLine.starts_with(kDateHeader)) {
        return std::nullopt;
    }
    return std::string(DropFirstChars(firstLine, CharCount(kDateHeader) + 1));
}

OpenLogResult OpenLogFile(AnalysisStore& store, const std::string& path) {
    OpenLogResult result;
    result.Error = OpenProblem(path);
    LogLineList lines;
    std::optional<FileIdentity> identity;
    if (result.Error.empty()) {
        ByteBuffer bytes;
        ReadOutcome outcome = ReadWholeFile(path, bytes, identity);
        if (outcome == ReadOutcome::Read) {
            // Splitting needs room for the line table and for widened or decoded text.
            try {
                lines = LogLineList::FromBuffer(std::move(bytes));
            } catch (const std::bad_alloc&) {
                outcome = ReadOutcome::TooLarge;
            } catch (const std::length_error&) {
                outcome = ReadOutcome::TooLarge;
            }
        }
        if (outcome == ReadOutcome::Failed)
            result.Error = "The file cannot be read: " + path;
        else if (outcome == ReadOutcome::TooLarge)
            result.Error = "The file is too large to open: " + path;
    }
    if (!result.Error.empty()) {
        // Nothing of the previous file's lines or results is touched.
        store.LogFileLoaded = false;
        return result;
    }
    store.LogFileLoaded = true;
    // Reset first: the old results hold views into the old lines.
    ResetAnalysis(store);
    store.LogLines = std::move(lines);
    store.LogFileIdentity = identity;
    result.Opened = true;
    result.DateText = LogDateText(store.LogLines[0]);
    result.LineCount = store.LogLines.size();
    return result;
}

} // namespace qla
