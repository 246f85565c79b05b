// Change notification for the logs qla watch follows.
#pragma once

#include <set>
#include <string>
#include <utility>

namespace qla::cli {

// inotify on the logs' folders (a rotation makes a new file there), reporting only events about
// the logs' own names, so other files written in the same folder (such as watch's own output)
// wake nothing. Fd() is -1 where it is not available.
class LogNotifier {
  public:
    // `logs`: the folder and file name of each log.
    explicit LogNotifier(const std::set<std::pair<std::string, std::string>>& logs);
    ~LogNotifier();
    LogNotifier(const LogNotifier&) = delete;
    LogNotifier& operator=(const LogNotifier&) = delete;

    int Fd() const { return fd_; }

    // Reads the waiting events; true when one is about a log.
    bool LogChanged() const;

  private:
    int fd_ = -1;
    std::set<std::pair<int, std::string>> names_; // watch descriptor and file name
};

} // namespace qla::cli
