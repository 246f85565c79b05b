// Following one log through growth and rotation by file descriptors: the import reads a file
// through /proc/self/fd, so what it reads is the file this process holds, whatever the path now
// names.
#include "cli/followed_log.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include <utility>

namespace qla::cli {

namespace {

std::string DescriptorPath(int fd) {
    return "/proc/self/fd/" + std::to_string(fd);
}

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Size or modification time moved: the file may hold new lines (or was truncated).
bool Changed(const struct stat& now, const struct stat& seen) {
    return now.st_size != seen.st_size || now.st_mtim.tv_sec != seen.st_mtim.tv_sec ||
           now.st_mtim.tv_nsec != seen.st_mtim.tv_nsec;
}

} // namespace

FollowedLog::FollowedLog(std::string shown, std::string localPath)
    : shown_(std::move(shown)), localPath_(std::move(localPath)) {}

FollowedLog::FollowedLog(FollowedLog&& other) noexcept
    : shown_(std::move(other.shown_)), localPath_(std::move(other.localPath_)),
      followed_(std::exchange(other.followed_, -1)), seen_(other.seen_),
      followedState_(other.followedState_), followedPlanned_(other.followedPlanned_),
      fresh_(std::exchange(other.fresh_, -1)), freshState_(other.freshState_) {}

FollowedLog::~FollowedLog() {
    if (fresh_ >= 0 && fresh_ != followed_)
        ::close(fresh_);
    if (followed_ >= 0)
        ::close(followed_);
}

void FollowedLog::Plan(std::vector<db::LogToImport>& batch, std::string& missing) {
    Abandoned();
    missing.clear();
    fresh_ = ::open(localPath_.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fresh_ < 0)
        missing = errno == ENOENT ? "no such file yet" : std::strerror(errno);
    else if (::fstat(fresh_, &freshState_) != 0 || !S_ISREG(freshState_.st_mode))
        missing = "not a regular file";
    if (!missing.empty() && fresh_ >= 0) {
        ::close(fresh_);
        fresh_ = -1;
    }
    const bool rotated = followed_ >= 0 && (fresh_ < 0 || !SameFile(freshState_, seen_));
    if (rotated) {
        // Lines the old file gained after the last batch still belong to its log.
        if (::fstat(followed_, &followedState_) == 0 && Changed(followedState_, seen_)) {
            batch.push_back({shown_, DescriptorPath(followed_)});
            followedPlanned_ = true;
        }
    }
    if (fresh_ < 0)
        return;
    if (rotated || followed_ < 0 || Changed(freshState_, seen_)) {
        batch.push_back({shown_, DescriptorPath(fresh_)});
    } else {
        ::close(fresh_);
        fresh_ = -1;
    }
}

void FollowedLog::Committed() {
    if (fresh_ < 0) {
        // Rotated away with no new file yet: the old file's rest is in; keep following it.
        if (followedPlanned_)
            seen_ = followedState_;
        followedPlanned_ = false;
        return;
    }
    if (followed_ >= 0)
        ::close(followed_);
    // The state from before the import: lines written while it ran show as a change.
    followed_ = std::exchange(fresh_, -1);
    seen_ = freshState_;
    followedPlanned_ = false;
}

void FollowedLog::Abandoned() {
    if (fresh_ >= 0)
        ::close(fresh_);
    fresh_ = -1;
    followedPlanned_ = false;
}

} // namespace qla::cli
