// A one-line progress bar for a terminal, redrawn only when its percentage changes.
#pragma once

#include <ostream>
#include <string>

namespace qla::cli {

class ProgressBar {
  public:
    // Draws nothing at all unless `enabled` (a terminal, and not --quiet).
    ProgressBar(std::ostream& out, bool enabled) : out_(out), enabled_(enabled) {}
    ~ProgressBar() { Clear(); }

    void Start(std::string label);
    void Show(double fraction); // 0 to 1
    void Clear();               // removes the bar, so the next line starts clean

  private:
    std::ostream& out_;
    bool enabled_;
    std::string label_;
    int shownPercent_ = -1;
};

// True when `stream` is the process's standard output or standard error and that is a terminal.
bool IsTerminal(const std::ostream& stream);

} // namespace qla::cli
