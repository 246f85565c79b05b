// Line output with CR LF and error numbers kept for the writers' messages.
#include "export/output_file.h"

#include "export/disk_sinks.h"

#include <cerrno>
#include <filesystem>

namespace qla {

OutputFile::~OutputFile() = default;

bool OutputFile::Create(Sink& sink, const std::string& name) {
    return Start(sink.Create(name));
}

bool OutputFile::Create(const std::string& path, const std::optional<FileIdentity>& logFile) {
    return Start(CreateDiskFile(path, logFile));
}

bool OutputFile::Start(std::unique_ptr<SinkFile> file) {
    file_ = std::move(file);
    if (!file_->Failed())
        return true;
    refusal_ = file_->Refusal();
    if (refusal_.empty())
        Fail(file_->ErrorNumber());
    return false;
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
    if (!file_ || Failed()) {
        used_ = 0;
        return;
    }
    if (!file_->Write(std::string_view(buffer_.get(), used_)))
        Fail(file_->ErrorNumber());
    used_ = 0;
}

bool OutputFile::Close(bool durable, WhenNameTaken whenTaken) {
    if (!file_ || file_->Failed())
        return !Failed();
    Flush();
    if (Failed()) {
        file_.reset(); // dropped uncommitted: nothing is left behind
        return false;
    }
    if (!file_->Commit(durable, whenTaken)) {
        refusal_ = file_->Refusal();
        if (refusal_.empty())
            Fail(file_->ErrorNumber());
    }
    file_.reset();
    return !Failed();
}

void OutputFile::Fail(int errorNumber) {
    if (errorNumber_ == 0)
        errorNumber_ = errorNumber;
}

bool StagedFile::Create(Sink& sink, const std::string& name) {
    const bool created = file_.Create(sink, name);
    Note();
    return created;
}

bool StagedFile::Create(const std::string& path, const std::optional<FileIdentity>& logFile) {
    const bool created = file_.Create(path, logFile);
    Note();
    return created;
}

ExportResult StagedFile::Finish(bool durable) {
    file_.Close(durable);
    Note();
    if (!file_.Refusal().empty())
        return {file_.Refusal()};
    return file_.Failed() ? Failure(file_.ErrorNumber(), failStage_) : ExportResult{};
}

bool PathExists(const std::string& path) {
    std::error_code error;
    const auto status = std::filesystem::symlink_status(path, error);
    return std::filesystem::exists(status);
}

} // namespace qla
