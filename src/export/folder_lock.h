// One Export All per folder at a time. Two runs writing the same pages at once would each leave
// a site of mixed pages, so a run holds a lock on a file in the folder while it writes. The lock
// is the kernel's (flock), so a killed run never leaves the folder locked.
#pragma once

#include "export/temp_file_cleanup.h"

#include <memory>
#include <string>

namespace qla {

class FolderLock {
  public:
    // The lock of `folder`, or null with `error` saying why it could not be had.
    static std::unique_ptr<FolderLock> Take(const std::string& folder, std::string& error);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    static constexpr const char* kFileName = ".qla-export.lock";

  private:
    FolderLock(std::string path, int fd)
        : path_(std::move(path)), fd_(fd), listed_(path_.c_str()) {}

    std::string path_;
    int fd_;
    ListedTempFile listed_; // a signal removes the lock file too
};

} // namespace qla
