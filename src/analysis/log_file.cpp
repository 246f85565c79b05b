// Opening a log: the existence check, reading the whole file at once, and the date header.
#include "analysis.h"

#include "core/text.h"

#include <filesystem>
#include <fstream>
#include <system_error>

namespace qla {

namespace {

constexpr std::string_view kDateHeader = "logfile opened on";

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

// Reads the whole file into one buffer; false when the read fails part-way. The buffer is not
// cleared first: the read writes every byte of it.
bool ReadWholeFile(const std::string& path, ByteBuffer& bytes) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in.is_open()) {
        return false;
    }
    const std::streamoff size = in.tellg();
    if (size < 0) {
        return false;
    }
    bytes = ByteBuffer::Uninitialized(static_cast<std::size_t>(size));
    in.seekg(0);
    in.read(bytes.data(), size);
    return in.gcount() == size;
}

} // namespace

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
    ByteBuffer bytes;
    if (result.Error.empty() && !ReadWholeFile(path, bytes)) {
        result.Error = "The file cannot be read: " + path;
    }
    if (!result.Error.empty()) {
        // Nothing of the previous file's lines or results is touched.
        store.LogFileLoaded = false;
        return result;
    }
    store.LogFileLoaded = true;
    // Reset first: the old results hold views into the old lines.
    ResetAnalysis(store);
    store.LogLines = LogLineList::FromBuffer(std::move(bytes));
    result.Opened = true;
    result.DateText = LogDateText(store.LogLines[0]);
    result.LineCount = store.LogLines.size();
    return result;
}

} // namespace qla
