// The table of temporary files and the signal handler that removes them. Only lock-free atomics,
// unlink(), signal() and raise() run in the handler, all of which are async-signal-safe.
#include "export/temp_file_cleanup.h"

#include <atomic>
#include <csignal>
#include <cstring>

#include <unistd.h>

namespace qla {

namespace {

constexpr int kSlots = 16;
constexpr std::size_t kPathCapacity = 4096;

enum SlotState : int { kFree = 0, kFilling = 1, kListed = 2 };

struct Slot {
    std::atomic<int> State{kFree};
    char Path[kPathCapacity];
};

Slot g_slots[kSlots];

static_assert(std::atomic<int>::is_always_lock_free);

extern "C" void RemoveListedAndRaise(int signalNumber) {
    for (Slot& slot : g_slots) {
        if (slot.State.load(std::memory_order_acquire) == kListed)
            ::unlink(slot.Path);
    }
    std::signal(signalNumber, SIG_DFL);
    std::raise(signalNumber);
}

} // namespace

ListedTempFile::ListedTempFile(const char* path) {
    const std::size_t length = std::strlen(path);
    if (length >= kPathCapacity)
        return;
    for (int i = 0; i < kSlots; ++i) {
        int expected = kFree;
        if (g_slots[i].State.compare_exchange_strong(expected, kFilling,
                                                     std::memory_order_acquire)) {
            std::memcpy(g_slots[i].Path, path, length + 1);
            g_slots[i].State.store(kListed, std::memory_order_release);
            slot_ = i;
            return;
        }
    }
}

ListedTempFile::~ListedTempFile() {
    if (slot_ >= 0)
        g_slots[slot_].State.store(kFree, std::memory_order_release);
}

void RemoveTempFilesOnSignals() {
    for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction current {};
        if (::sigaction(signalNumber, nullptr, &current) == 0 && current.sa_handler == SIG_IGN)
            continue;
        struct sigaction action {};
        action.sa_handler = RemoveListedAndRaise;
        sigemptyset(&action.sa_mask);
        for (const int other : {SIGINT, SIGTERM, SIGHUP})
            sigaddset(&action.sa_mask, other);
        ::sigaction(signalNumber, &action, nullptr);
    }
    std::signal(SIGXFSZ, SIG_IGN);
}

} // namespace qla
