// The watch loop: wait for a change (inotify on the logs' folders, and a look at every interval
// in case notification is not available or misses a change), then import what changed in one
// batch, one transaction, and rewrite the site when the batch stored something.
#include "cli/watch_command.h"

#include "cli/exit_codes.h"
#include "cli/log_notifier.h"
#include "cli/stop_signals.h"
#include "cli/watch_options.h"
#include "cli/watcher.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <poll.h>
#include <set>
#include <thread>

namespace qla::cli {
namespace {

// Batches follow each other at least this far apart while a log is written without pause, so a
// busy log costs a bounded number of transactions.
constexpr auto kMinimumBatchSpacing = std::chrono::milliseconds(100);

enum class WaitEnd { Stop, LogChanged, IntervalUp };

// Waits until a signal asks to stop, a followed log changes, or `due`. Changes to other files of
// the logs' folders do not move `due`: a folder whose other files change all the time must not
// hold off the interval's batch for good (it is what sees a log the notifications miss, such
// as the target of a link in another folder).
WaitEnd WaitForNextBatch(const StopSignals& stop, const LogNotifier& notifier, bool listen,
                         std::chrono::steady_clock::time_point due) {
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            due - std::chrono::steady_clock::now());
        pollfd waits[2] = {{stop.ReadEnd(), POLLIN, 0}, {notifier.Fd(), POLLIN, 0}};
        const int ready = ::poll(waits, listen ? 2 : 1,
                                 static_cast<int>(std::max<std::int64_t>(0, left.count())));
        if (ready < 0 && errno != EINTR)
            return WaitEnd::Stop;
        if (waits[0].revents != 0)
            return WaitEnd::Stop;
        if (ready == 0)
            return WaitEnd::IntervalUp;
        if (listen && waits[1].revents != 0 && notifier.LogChanged())
            return WaitEnd::LogChanged;
    }
}

} // namespace

int RunWatchCommand(const QStringList& arguments, std::ostream& out, std::ostream& err) {
    WatchOptions options;
    std::vector<FollowedLog> logs;
    std::set<std::pair<std::string, std::string>> names;
    if (const auto exit = ParseWatchCommand(arguments, options, logs, names, out, err))
        return *exit;
    const StopSignals stop;
    Watcher watcher(options, std::move(logs), err);
    std::string error;
    if (!watcher.OpenDatabase(error)) {
        err << "qla: " << error << "\n";
        return kExitFailed;
    }
    const LogNotifier notifier(names);
    if (notifier.Fd() < 0)
        err << "qla watch: no change notification for the logs' folders; looking every "
            << options.Interval.count() << " ms\n";
    watcher.ForceSite();
    watcher.RunBatch();
    for (;;) {
        const auto batchEnded = std::chrono::steady_clock::now();
        // After a failure the next try waits for the interval, whatever the logs do.
        const bool listen = notifier.Fd() >= 0 && !watcher.Failing();
        const WaitEnd end = WaitForNextBatch(stop, notifier, listen, batchEnded + options.Interval);
        if (end == WaitEnd::Stop)
            break; // SIGINT or SIGTERM: between batches, so nothing is half done
        if (end == WaitEnd::LogChanged) {
            std::this_thread::sleep_until(batchEnded + kMinimumBatchSpacing);
            notifier.LogChanged(); // what came meanwhile is in this batch too
        }
        watcher.RunBatch();
    }
    err << "qla watch: " << WatchTimestamp() << ": stopped\n";
    return kExitOk;
}

} // namespace qla::cli
