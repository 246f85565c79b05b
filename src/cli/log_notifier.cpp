// The logs' folders watched through inotify, their events filtered to the logs' names.
#include "cli/log_notifier.h"

#include <sys/inotify.h>
#include <unistd.h>

namespace qla::cli {

LogNotifier::LogNotifier(const std::set<std::pair<std::string, std::string>>& logs) {
    fd_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    for (const auto& [folder, name] : logs) {
        const int watch =
            fd_ < 0 ? -1
                    : ::inotify_add_watch(fd_, folder.c_str(),
                                          IN_MODIFY | IN_CLOSE_WRITE | IN_CREATE | IN_MOVED_TO |
                                              IN_MOVED_FROM | IN_DELETE | IN_ATTRIB);
        if (watch < 0) {
            if (fd_ >= 0)
                ::close(fd_);
            fd_ = -1;
            return;
        }
        names_.insert({watch, name});
    }
}

LogNotifier::~LogNotifier() {
    if (fd_ >= 0)
        ::close(fd_);
}

bool LogNotifier::LogChanged() const {
    alignas(inotify_event) char buffer[16384];
    bool changed = false;
    for (;;) {
        const ssize_t length = ::read(fd_, buffer, sizeof buffer);
        if (length <= 0)
            return changed;
        for (ssize_t at = 0; at < length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            const std::string name = event->len > 0 ? event->name : "";
            changed =
                changed || (event->mask & IN_Q_OVERFLOW) != 0 || names_.contains({event->wd, name});
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
}

} // namespace qla::cli
