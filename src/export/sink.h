// Where a writer's bytes go. A writer of one file streams it into the sink's own file; a writer of
// a site hands each file to the sink by its path in the site. The sinks: a file or a folder on
// disk (disk_sinks.h), memory (memory_sink.h), and qla watch's publisher, which keeps only the
// pages that changed.
#pragma once

#include "export/atomic_file.h" // WhenNameTaken
#include "export/export_types.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace qla {

// One file on its way into a sink, written in pieces. It appears under its name only when it is
// committed; dropped without a commit (or after a failure) it leaves nothing behind.
class SinkFile {
  public:
    virtual ~SinkFile() = default;
    // Takes all of `bytes`; false with ErrorNumber() set, and then nothing more is taken.
    virtual bool Write(std::string_view bytes) = 0;
    // Puts the file under its name (`durable`: on the disk first, where that means anything);
    // false with ErrorNumber() or Refusal() set, and the name keeps what it held.
    virtual bool Commit(bool durable, WhenNameTaken whenTaken) = 0;

    bool Failed() const { return errorNumber_ != 0 || !refusal_.empty(); }
    int ErrorNumber() const { return errorNumber_; }
    // Why the name is not written although nothing failed (a device, the log being read).
    const std::string& Refusal() const { return refusal_; }

  protected:
    void Fail(int errorNumber) {
        if (errorNumber_ == 0)
            errorNumber_ = errorNumber;
    }
    void Refuse(std::string refusal) { refusal_ = std::move(refusal); }

  private:
    int errorNumber_ = 0;
    std::string refusal_;
};

// The name a writer of one file creates its file under; other names lie beside it (the style
// sheet next to a page).
inline const std::string kOwnFile;

class Sink {
  public:
    virtual ~Sink() = default;
    // Starts the file `name`. Never null: a file that cannot be made comes back failed.
    virtual std::unique_ptr<SinkFile> Create(const std::string& name) = 0;
    // Whether something of that name is there already (a style sheet is never replaced, and
    // Export All asks about existing pages). A sink that shows nothing holds nothing.
    virtual bool Has(const std::string& name) const {
        (void)name;
        return false;
    }
    // Takes a whole file at once, not flushed to the disk (a site's many pages are not); a failure
    // names the file, and a site writer stops at the first one.
    virtual ExportResult Put(const std::string& name, std::string_view content);

    // For a page whose bytes follow from inputs the writer can hash cheaply: true when the sink
    // already holds the page made from inputs of this hash, so the writer neither builds nor
    // puts it. False: the sink notes the hash for the page put next under that name. A sink
    // that remembers nothing keeps nothing.
    // Whether the sink may keep pages (Keeps): only then are their inputs worth hashing.
    virtual bool RemembersPages() const { return false; }
    virtual bool Keeps(const std::string& name, std::uint64_t inputs) {
        (void)name;
        (void)inputs;
        return false;
    }
};

// The file `name` of another sink as the own file of a sink: a site hands each page writer its
// page this way. Other names (a page's style sheet) are the site's own.
class FileOfSink final : public Sink {
  public:
    FileOfSink(Sink& site, std::string name) : site_(site), name_(std::move(name)) {}
    std::unique_ptr<SinkFile> Create(const std::string& name) override {
        return site_.Create(name.empty() ? name_ : name);
    }
    bool Has(const std::string& name) const override {
        return site_.Has(name.empty() ? name_ : name);
    }

  private:
    Sink& site_;
    std::string name_;
};

// A file gathered in memory and handed over whole when committed: for sinks that take whole
// files (memory, the publisher's comparison). A handover that fails is the file's refusal.
class GatheredFile final : public SinkFile {
  public:
    using Handover = std::function<ExportResult(std::string&& content)>;
    explicit GatheredFile(Handover put) : put_(std::move(put)) {}
    bool Write(std::string_view bytes) override {
        if (!Failed())
            content_ += bytes;
        return !Failed();
    }
    bool Commit(bool durable, WhenNameTaken whenTaken) override;

  private:
    Handover put_;
    std::string content_;
};

// The whole of `content` as the file `name` of `sink`; a failure carries the errno text and
// `stage`, a name that may not be replaced the refusal.
ExportResult WriteWholeFile(Sink& sink, const std::string& name, std::string_view content,
                            bool durable = true, int stage = 0);
// The size of a piece of a file written in pieces: a long history's pages and documents are
// tens or hundreds of megabytes, never held whole.
inline constexpr std::size_t kFilePieceBytes = std::size_t{1} << 20;

// The same for a file that `write` puts into the sink's file in pieces (false: a piece failed).
ExportResult WriteFileInPieces(Sink& sink, const std::string& name,
                               const std::function<bool(SinkFile& file)>& write,
                               bool durable = true, int stage = 0);
// As Sink::Put, for a file written in pieces: not flushed, a failure names the file.
ExportResult PutInPieces(Sink& sink, const std::string& name,
                         const std::function<bool(SinkFile& file)>& write);

} // namespace qla
