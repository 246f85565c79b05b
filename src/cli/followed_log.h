// A log that qla watch follows by its path. It keeps the file it last imported open, so when the
// log is rotated (renamed away and a new file made under its name) the lines written to the old
// file after the last batch are still imported before the new file is started.
#pragma once

#include "db/log_import.h"

#include <sys/stat.h>

#include <string>
#include <vector>

namespace qla::cli {

class FollowedLog {
  public:
    FollowedLog(std::string shown, std::string localPath);
    ~FollowedLog();
    FollowedLog(const FollowedLog&) = delete;
    FollowedLog& operator=(const FollowedLog&) = delete;
    FollowedLog(FollowedLog&&) noexcept;

    // Adds to `batch` what changed since the last batch: the rest of a rotated-away file, then
    // the file now under the path. Nothing when neither changed. `missing` says why no file
    // under the path can be read ("" when one can).
    void Plan(std::vector<db::LogToImport>& batch, std::string& missing);
    // The planned batch was stored: the file now under the path becomes the one followed.
    void Committed();
    // The planned batch was not stored: the next batch plans it again.
    void Abandoned();

    const std::string& Shown() const { return shown_; }

  private:
    std::string shown_, localPath_;
    int followed_ = -1;            // the file last imported
    struct stat seen_ {};          // its state when it was read
    struct stat followedState_ {}; // its state when Plan read it
    bool followedPlanned_ = false; // the batch holds the rest of the rotated-away file
    int fresh_ = -1;               // the file under the path, opened by Plan
    struct stat freshState_ {};
};

} // namespace qla::cli
