// Line output with CR LF and error numbers kept for the writers' messages.
#include "export/output_file.h"

#include <cerrno>
#include <filesystem>

namespace qla {

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
    Append(text);
    EndLine();
}

// A piece that does not fit: what is pending goes out first, then the piece waits in the
// buffer, grown for it when it is longer than the buffer itself.
void OutputFile::AppendLong(std::string_view text) {
    Flush();
    if (text.size() > capacity_) {
        buffer_.reset(new char[text.size()]);
        capacity_ = text.size();
    }
    std::memcpy(buffer_.get(), text.data(), text.size());
    used_ = text.size();
}

void OutputFile::Flush() {
    if (file_ == nullptr || Failed()) {
        used_ = 0;
        return;
    }
    errno = 0;
    const std::size_t written = std::fwrite(buffer_.get(), 1, used_, file_);
    if (written != used_)
        Fail(errno != 0 ? errno : EIO);
    used_ = 0;
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
