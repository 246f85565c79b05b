// The stop signals written into a pipe by a handler that does nothing else.
#include "cli/stop_signals.h"

#include <atomic>
#include <fcntl.h>
#include <unistd.h>

namespace qla::cli {
namespace {

// The write end of the pipe the stop signals write to: a signal handler can reach nothing else.
std::atomic<int>& StopPipe() {
    static std::atomic<int> fd{-1};
    return fd;
}

extern "C" void NoteStopSignal(int) {
    const int fd = StopPipe().load();
    if (fd >= 0) {
        const char byte = 's';
        [[maybe_unused]] const auto written = ::write(fd, &byte, 1);
    }
}

} // namespace

StopSignals::StopSignals() {
    if (::pipe2(fds_, O_CLOEXEC | O_NONBLOCK) != 0)
        fds_[0] = fds_[1] = -1;
    StopPipe().store(fds_[1]);
    struct sigaction action {};
    action.sa_handler = NoteStopSignal;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, &oldInt_);
    ::sigaction(SIGTERM, &action, &oldTerm_);
}

StopSignals::~StopSignals() {
    ::sigaction(SIGINT, &oldInt_, nullptr);
    ::sigaction(SIGTERM, &oldTerm_, nullptr);
    StopPipe().store(-1);
    for (int fd : fds_)
        if (fd >= 0)
            ::close(fd);
}

} // namespace qla::cli
