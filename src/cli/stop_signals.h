// SIGINT and SIGTERM as something a poll loop can wait for: qla watch ends between batches.
#pragma once

#include <csignal>

namespace qla::cli {

// Routes SIGINT and SIGTERM to a pipe while it lives, so the loop ends between batches.
class StopSignals {
  public:
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // Readable once a stop signal came.
    int ReadEnd() const { return fds_[0]; }

  private:
    int fds_[2];
    struct sigaction oldInt_ {
    }, oldTerm_{};
};

} // namespace qla::cli
