// Where a writer that makes many files puts them: each file whole, named by its path relative to
// the site's folder. A folder on disk takes them as they come; qla watch's publisher compares each
// with the page it serves and keeps only those that differ, so an unchanged page costs no write.
#pragma once

#include "core/file_identity.h"
#include "export/export_types.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qla {

class FileSink {
  public:
    virtual ~FileSink() = default;
    // Takes the file; a failure names it, and the writer stops at the first one.
    virtual ExportResult Put(const std::string& name, std::string_view content) = 0;
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

// Writes each file into a folder (its subfolders made as needed), replacing a file of that name
// whole, never the log being read.
class FolderSink : public FileSink {
  public:
    FolderSink(std::string folder, std::optional<FileIdentity> logFile)
        : folder_(std::move(folder)), logFile_(std::move(logFile)) {}

    ExportResult Put(const std::string& name, std::string_view content) override;

  private:
    std::string folder_;
    std::string madeFolder_; // the last folder made, so a series of pages makes it once
    std::optional<FileIdentity> logFile_;
};

} // namespace qla
