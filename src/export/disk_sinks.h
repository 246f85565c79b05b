// The sinks on disk. Every file goes through the atomic writer: written beside its name and put
// under it whole, never over the log being read nor over anything that is not a regular file.
#pragma once

#include "core/file_identity.h"
#include "export/sink.h"

#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace qla {

// A file at `path` through the atomic writer; `logFile` is never replaced.
std::unique_ptr<SinkFile> CreateDiskFile(const std::string& path,
                                         const std::optional<FileIdentity>& logFile);

// The sink for one file: its own file is `path`, other names lie in the folder `path` is in.
class PathSink final : public Sink {
  public:
    PathSink(std::string path, std::optional<FileIdentity> logFile)
        : path_(std::move(path)), logFile_(std::move(logFile)) {}

    std::unique_ptr<SinkFile> Create(const std::string& name) override;
    bool Has(const std::string& name) const override;

  private:
    std::string PathOf(const std::string& name) const;

    std::string path_;
    std::optional<FileIdentity> logFile_;
};

// Writes each file into a folder (its subfolders made as needed), replacing a file of that name
// whole, never the log being read. `keepable` (sorted) names files an earlier export of a site
// wrote there: such a file that is a regular file already holding the bytes given (whole by Put,
// or in pieces through Create) is kept as it is, its time and inode too, so a site written again
// over itself changes only the files that differ (a web server's caches and rsync see nothing
// else).
class FolderSink final : public Sink {
  public:
    FolderSink(std::string folder, std::optional<FileIdentity> logFile,
               std::vector<std::string> keepable = {})
        : folder_(std::move(folder)), logFile_(std::move(logFile)), keepable_(std::move(keepable)) {
    }

    std::unique_ptr<SinkFile> Create(const std::string& name) override;
    bool Has(const std::string& name) const override;

    // The files made or kept so far, by name.
    const std::set<std::string>& Placed() const { return placed_; }

  private:
    std::unique_ptr<SinkFile> CreateInFolder(const std::string& name);

    std::string folder_;
    std::string madeFolder_; // the last folder made, so a series of pages makes it once
    std::optional<FileIdentity> logFile_;
    std::vector<std::string> keepable_;
    std::set<std::string> placed_;
};

} // namespace qla
