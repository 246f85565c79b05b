// Ranges run on fewer threads than there are ranges: whatever order they finish in, the store
// receives them in their own order, and a range that throws stops the ranges not yet started.
#include "analysis/parallel_ranges.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace qla {
namespace {

using namespace std::chrono_literals;

// Range k files player "pk", who kills the player of the range before, and counts one line.
AnalysisTotals FileRange(std::size_t k, AnalysisStore& into) {
    const PlayerIndex self = into.FindOrAddPlayer("p" + std::to_string(k));
    const PlayerIndex before = into.FindOrAddPlayer("p" + std::to_string(k == 0 ? 0 : k - 1));
    into.RecordKill(self, before, 1, "");
    AnalysisTotals totals;
    totals.Total = 1;
    totals.Kills = static_cast<std::int64_t>(k);
    return totals;
}

// The store that ranges 0 to count-1 give in order on one thread.
void ExpectRangesInOrder(const AnalysisStore& store, std::size_t count) {
    ASSERT_EQ(store.Players.size(), count + 1);
    for (std::size_t k = 0; k < count; ++k)
        EXPECT_EQ(store.Players[k + 1].Name, "p" + std::to_string(k));
    ASSERT_EQ(store.KillEvents.size(), count + 1);
    for (std::size_t k = 0; k < count; ++k) {
        const KillEvent& event = store.KillEvents[k + 1];
        EXPECT_EQ(store.Players[static_cast<std::size_t>(event.Killer)].Name,
                  "p" + std::to_string(k));
        EXPECT_EQ(store.Players[static_cast<std::size_t>(event.Victim)].Name,
                  "p" + std::to_string(k == 0 ? 0 : k - 1));
    }
}

TEST(ParallelRanges, RangesFinishingOutOfOrderAreAppendedInOrder) {
    constexpr std::size_t kCount = 24;
    for (const unsigned threads : {2u, 3u, 5u}) {
        // Range 0 ends only after a later range on each other thread, which waits for it; with a
        // third thread, range 1 waits for range 2, so a later range is handed in before the one
        // it follows.
        std::atomic<std::size_t> othersDone{0};
        std::atomic<bool> twoDone{false};
        AnalysisStore store;
        const AnalysisTotals totals = RunRangesInParallel(
            store, kCount,
            [&](std::size_t k, AnalysisStore& into) {
                const auto deadline = std::chrono::steady_clock::now() + 2s;
                if (k == 0)
                    while (othersDone < threads - 1 && std::chrono::steady_clock::now() < deadline)
                        std::this_thread::sleep_for(1ms);
                if (k == 1 && threads >= 3)
                    while (!twoDone && std::chrono::steady_clock::now() < deadline)
                        std::this_thread::sleep_for(1ms);
                const AnalysisTotals own = FileRange(k, into);
                if (k == 2)
                    twoDone = true;
                if (k != 0)
                    ++othersDone;
                return own;
            },
            threads);
        ExpectRangesInOrder(store, kCount);
        EXPECT_EQ(totals.Total, static_cast<std::int64_t>(kCount));
        EXPECT_EQ(totals.Kills, static_cast<std::int64_t>(kCount * (kCount - 1) / 2));
    }
}

TEST(ParallelRanges, RunsOnTheThreadsAskedForAndRangeZeroOnTheCaller) {
    const std::thread::id caller = std::this_thread::get_id();
    for (const unsigned threads : {1u, 2u, 4u}) {
        std::mutex mutex;
        std::set<std::thread::id> seen;
        std::thread::id firstRange;
        AnalysisStore store;
        RunRangesInParallel(
            store, 16,
            [&](std::size_t k, AnalysisStore& into) {
                {
                    std::lock_guard lock(mutex);
                    seen.insert(std::this_thread::get_id());
                    if (k == 0)
                        firstRange = std::this_thread::get_id();
                }
                std::this_thread::sleep_for(2ms);
                return FileRange(k, into);
            },
            threads);
        ExpectRangesInOrder(store, 16);
        EXPECT_EQ(firstRange, caller);
        EXPECT_LE(seen.size(), threads);
        if (threads == 1) {
            EXPECT_EQ(seen, std::set<std::thread::id>{caller});
        }
    }
}

// A first range that falls behind holds up the start of ranges far past it, so that they do not
// all wait in memory for it; the rest run once it ends.
TEST(ParallelRanges, RangesDoNotRunFarAheadOfTheFirst) {
    constexpr std::size_t kCount = 30;
    std::atomic<bool> firstDone{false};
    std::atomic<std::size_t> startedMeanwhile{0};
    AnalysisStore store;
    RunRangesInParallel(
        store, kCount,
        [&](std::size_t k, AnalysisStore& into) {
            if (k == 0) {
                std::this_thread::sleep_for(300ms);
                firstDone = true;
            } else if (!firstDone) {
                ++startedMeanwhile;
            }
            return FileRange(k, into);
        },
        3);
    ExpectRangesInOrder(store, kCount);
    EXPECT_GE(startedMeanwhile.load(), 1u);
    EXPECT_LE(startedMeanwhile.load(), 6u);
}

TEST(ParallelRanges, AThrowingRangeStopsTheRangesNotYetStarted) {
    std::atomic<bool> thrown{false};
    std::mutex mutex;
    std::set<std::size_t> started;
    AnalysisStore store;
    EXPECT_THROW(RunRangesInParallel(
                     store, 50,
                     [&](std::size_t k, AnalysisStore& into) {
                         {
                             std::lock_guard lock(mutex);
                             started.insert(k);
                         }
                         if (k == 1) {
                             thrown = true;
                             throw std::runtime_error("range 1");
                         }
                         // The caller's range ends only after range 1 has failed.
                         const auto deadline = std::chrono::steady_clock::now() + 2s;
                         while (!thrown && std::chrono::steady_clock::now() < deadline)
                             std::this_thread::sleep_for(1ms);
                         return FileRange(k, into);
                     },
                     2),
                 std::runtime_error);
    // Range 2 may start while range 1 is failing; the 47 after it never do.
    EXPECT_TRUE(started.count(0) == 1 && started.count(1) == 1);
    EXPECT_LE(started.size(), 3u);
}

} // namespace
} // namespace qla
