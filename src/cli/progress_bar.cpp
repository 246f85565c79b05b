// Drawing the import progress on a terminal.
#include "cli/progress_bar.h"

#include <algorithm>
#include <iostream>

#include <unistd.h>

namespace qla::cli {

namespace {
constexpr int kWidth = 30;
constexpr std::size_t kLabelWidth = 40;
} // namespace

void ProgressBar::Start(std::string label) {
    label_ = label.size() > kLabelWidth ? "..." : "";
    // The path's end tells logs apart better than its start.
    label_.append(label, label.size() > kLabelWidth ? label.size() - (kLabelWidth - 3) : 0);
    shownPercent_ = -1;
    Show(0);
}

void ProgressBar::Show(double fraction) {
    if (!enabled_)
        return;
    const int percent = static_cast<int>(std::clamp(fraction, 0.0, 1.0) * 100);
    if (percent == shownPercent_)
        return;
    shownPercent_ = percent;
    const int filled = percent * kWidth / 100;
    out_ << "\r" << label_ << " [" << std::string(static_cast<std::size_t>(filled), '#')
         << std::string(static_cast<std::size_t>(kWidth - filled), '.') << "] " << percent << "%"
         << std::flush;
}

void ProgressBar::Clear() {
    if (!enabled_ || shownPercent_ < 0)
        return;
    out_ << "\r" << std::string(label_.size() + kWidth + 8, ' ') << "\r" << std::flush;
    shownPercent_ = -1;
}

bool IsTerminal(const std::ostream& stream) {
    if (&stream == &std::cout)
        return isatty(STDOUT_FILENO) == 1;
    return &stream == &std::cerr && isatty(STDERR_FILENO) == 1;
}

} // namespace qla::cli
