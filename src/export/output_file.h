// A created file written line by line with CR LF endings. It keeps the first error number so a
// writer can report it with the stage it was in; after a failure further writes are dropped.
// The file appears under its name only when it is closed without a failure (see SinkFile).
#pragma once

#include "core/file_identity.h"
#include "export/export_types.h"
#include "export/sink.h"

#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace qla {

class OutputFile {
  public:
    OutputFile() = default;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    ~OutputFile();

    // Starts the file `name` of `sink`; false with ErrorNumber() or Refusal() set when it cannot.
    bool Create(Sink& sink, const std::string& name);
    // The same for a file on disk through the atomic writer; `logFile` is never replaced.
    bool Create(const std::string& path, const std::optional<FileIdentity>& logFile);
    void Line(std::string_view text);
    // Writes the bytes as they are, without a line end: a document made in pieces.
    void Bytes(std::string_view text) { Append(text); }
    // Writes `parts` one after another as one line.
    template <class... Parts> void LineOf(const Parts&... parts) {
        (Append(parts), ...);
        EndLine();
    }
    // Flushes and puts the file under its name (`durable`: on the disk first); false when this
    // or an earlier write failed, and then the name keeps what it held.
    bool Close(bool durable = true, WhenNameTaken whenTaken = WhenNameTaken::Replace);

    bool Failed() const { return errorNumber_ != 0 || !refusal_.empty(); }
    int ErrorNumber() const { return errorNumber_; }
    const std::string& Refusal() const { return refusal_; }

  private:
    // Pages are written as many short pieces (tags, names, numbers); they are copied inline into
    // a buffer of fixed size, which a library call per piece would cost more than.
    void Append(std::string_view text) {
        if (text.size() > capacity_ - used_) {
            AppendLong(text);
            return;
        }
        char* to = buffer_.get() + used_;
        const char* from = text.data();
        const std::size_t n = text.size();
        if (n >= 8 && n <= 16) {
            // Two overlapping eight-byte copies cover any length from 8 to 16.
            std::memcpy(to, from, 8);
            std::memcpy(to + n - 8, from + n - 8, 8);
        } else if (n < 8) {
            for (std::size_t i = 0; i < n; ++i)
                to[i] = from[i];
        } else {
            std::memcpy(to, from, n);
        }
        used_ += n;
    }
    void AppendLong(std::string_view text);
    void EndLine() {
        Append("\r\n");
        if (used_ >= kFlushSize)
            Flush();
    }
    void Flush();
    void Fail(int errorNumber);
    bool Start(std::unique_ptr<SinkFile> file);

    static constexpr std::size_t kFlushSize = 1 << 16;

    std::unique_ptr<SinkFile> file_;
    std::string refusal_;
    // Bytes [0, used_) are pending. Not cleared when made: a site makes one per file.
    std::size_t capacity_ = kFlushSize + 4096;
    std::unique_ptr<char[]> buffer_{new char[capacity_]};
    std::size_t used_ = 0;
    int errorNumber_ = 0;
};

// An OutputFile that remembers the writer's stage code, so its failure is reported with the
// stage in which it happened: "errorcode: 0/5/10/25" of the message.
// The stage codes a writer reports with a failure: started, writing the head (the chat pages
// stay here), writing the rows, and the weapon page's rows once its table is built.
enum class WriterStage : int { Started = 0, Head = 5, Rows = 10, WeaponRows = 25 };

class StagedFile {
  public:
    void SetStage(WriterStage stage) { stage_ = static_cast<int>(stage); }
    // Starts the file; on failure Finish() reports it.
    bool Create(Sink& sink, const std::string& name);
    bool Create(const std::string& path, const std::optional<FileIdentity>& logFile);
    void Line(std::string_view text) {
        file_.Line(text);
        Note();
    }
    template <class... Parts> void LineOf(const Parts&... parts) {
        file_.LineOf(parts...);
        Note();
    }
    void Bytes(std::string_view text) {
        file_.Bytes(text);
        Note();
    }
    bool Failed() const { return file_.Failed(); }
    // Closes the file and reports the first failure or the refusal.
    ExportResult Finish(bool durable = true);
    // Reports a failure that is not the file's own (the style sheet next to a page).
    ExportResult FailWith(int errorNumber) { return Failure(errorNumber, stage_); }

  private:
    void Note() {
        if (failStage_ < 0 && file_.Failed())
            failStage_ = stage_;
    }

    OutputFile file_;
    int stage_ = static_cast<int>(WriterStage::Started);
    int failStage_ = -1;
};

// True when anything of that name exists (a file, a folder, an unreadable entry).
bool PathExists(const std::string& path);

} // namespace qla
