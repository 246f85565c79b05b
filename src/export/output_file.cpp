// Line output with CR LF and error numbers kept for the writers' messages.
#include "export/output_file.h"

#include <cerrno>
#include <filesystem>

namespace qla {

namespace {
constexpr std::size_t kFlushSize = 1 << 16;
} // namespace

OutputFile::~OutputFile() {
    if (file_ != nullptr)
        std::fclose(file_);
}

bool OutputFile::Create(const std::string& path) {
    errno = 0;
    file_ = std::fopen(path.c_str(), "wb");
    if (file_ == nullptr) {
        Fail(errno != 0 ? errno : EIO);
        return false;
    }
    // Our own buffer does the batching; the stream's would only copy twice.
    std::setvbuf(file_, nullptr, _IONBF, 0);
    return true;
}

void OutputFile::Line(std::string_view text) {
    buffer_.append(text);
    EndLine();
}

void OutputFile::EndLine() {
    buffer_.append("\r\n");
    if (buffer_.size() >= kFlushSize)
        Flush();
}

void OutputFile::Flush() {
    if (file_ == nullptr || Failed()) {
        buffer_.clear();
        return;
    }
    errno = 0;
    const std::size_t written = std::fwrite(buffer_.data(), 1, buffer_.size(), file_);
    if (written != buffer_.size())
        Fail(errno != 0 ? errno : EIO);
    buffer_.clear();
}

bool OutputFile::Close() {
    if (file_ == nullptr)
        return !Failed();
    Flush();
    errno = 0;
    if (std::fclose(file_) != 0)
        Fail(errno != 0 ? errno : EIO);
    file_ = nullptr;
    return !Failed();
}

void OutputFile::Fail(int errorNumber) {
    if (errorNumber_ == 0)
        errorNumber_ = errorNumber;
}

bool StagedFile::Create(const std::string& path) {
    const bool created = file_.Create(path);
    Note();
    return created;
}

ExportResult StagedFile::Finish() {
    file_.Close();
    Note();
    return file_.Failed() ? Failure(file_.ErrorNumber(), failStage_) : ExportResult{};
}

bool PathExists(const std::string& path) {
    std::error_code error;
    const auto status = std::filesystem::symlink_status(path, error);
    return std::filesystem::exists(status);
}

} // namespace qla
