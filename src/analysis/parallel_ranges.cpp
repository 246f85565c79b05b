// The threads of a parallel analysis. While they analyse they share nothing but the counter of
// the next range: each range has its own store and parser state. The one shared store grows
// only under the merge's lock, and only one thread appends at a time.
#include "analysis/parallel_ranges.h"

#include "analysis/line_walk.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace qla {

unsigned ThreadsFor(unsigned requested) {
    if (requested > 0)
        return requested;
    const unsigned cores = std::thread::hardware_concurrency();
    return cores == 0 ? 1 : cores;
}

void StartRangeInside(AnalysisStore& range, const AnalysisStore& whole) {
    if (!whole.TracksHolders)
        return;
    range.TracksHolders = true;
    range.Reset();
    range.StartInside();
}

namespace {

// Appends the finished ranges to the first range's store in their order. Whoever finishes a
// range hands its store in; the thread that finds no merge running appends every range that is
// next in order, dropping the lock while it copies so that the others can hand theirs in. An
// appended store is emptied and used again for a later range: its lists keep their memory, so
// the next range touches no new pages and the heap does not fill with the holes of freed ones.
class OrderedMerge {
  public:
    OrderedMerge(AnalysisStore& store, std::size_t count, std::size_t ahead)
        : store_(store), stores_(count), ahead_(ahead) {}

    // A store for range `index`, once that range is at most `ahead` ranges past the next one to
    // append (so that a first range that falls behind does not leave every other range waiting
    // in memory); nothing when the run failed meanwhile.
    std::unique_ptr<AnalysisStore> StoreFor(std::size_t index) {
        std::unique_lock lock(mutex_);
        moved_.wait(lock, [&] { return failed_ || index < next_ + ahead_; });
        if (failed_)
            return nullptr;
        ++started_;
        if (spare_.empty())
            return std::make_unique<AnalysisStore>();
        std::unique_ptr<AnalysisStore> store = std::move(spare_.back());
        spare_.pop_back();
        return store;
    }

    // Range `index` is done; `later` holds it (nothing for range 0, which is the store itself).
    void Finished(std::size_t index, std::unique_ptr<AnalysisStore> later) {
        std::unique_lock lock(mutex_);
        if (index == 0)
            firstDone_ = true;
        else
            stores_[index] = std::move(later);
        if (merging_)
            return; // the running merge takes this one too when it is next
        merging_ = true;
        // Range k goes in once ranges 0 to k-1 are in; a store waiting here is a finished range.
        while (firstDone_ && next_ < stores_.size() && stores_[next_] != nullptr) {
            std::unique_ptr<AnalysisStore> taken = std::move(stores_[next_]);
            // Kept for another range only while ranges that could use it are still to start;
            // the others give their memory back list by list as it is copied, before the last
            // appends, when the store itself is largest.
            const bool keep = spare_.size() + started_ + 1 < stores_.size();
            lock.unlock();
            store_.Append(std::move(*taken), keep ? AnalysisStore::LaterRoom::kKept
                                                  : AnalysisStore::LaterRoom::kFreed);
            if (!keep)
                taken.reset();
            lock.lock();
            if (keep)
                spare_.push_back(std::move(taken));
            ++next_;
            moved_.notify_all();
        }
        merging_ = false;
    }

    // Wakes the threads waiting for a store: no more ranges start.
    void Fail() {
        std::lock_guard lock(mutex_);
        failed_ = true;
        moved_.notify_all();
    }

  private:
    std::mutex mutex_;
    std::condition_variable moved_; // the next range to append changed, or the run failed
    AnalysisStore& store_;
    std::vector<std::unique_ptr<AnalysisStore>> stores_; // finished ranges not yet appended
    std::vector<std::unique_ptr<AnalysisStore>> spare_;
    std::size_t ahead_;
    std::size_t next_ = 1;    // the next range to append
    std::size_t started_ = 0; // ranges after the first that got a store
    bool firstDone_ = false;
    bool merging_ = false;
    bool failed_ = false;
};

} // namespace

AnalysisTotals RunRangesInParallel(AnalysisStore& store, std::size_t count, const RangeRun& run,
                                   unsigned threads) {
    if (count <= 1)
        return run(0, store);
    const std::size_t helpers =
        std::min<std::size_t>(threads == 0 ? count : std::max(threads, 1u), count) - 1;
    std::vector<AnalysisTotals> totals(count);
    std::vector<std::exception_ptr> failures(count);
    std::atomic<std::size_t> next{1};
    std::atomic<bool> failed{false};
    // A range starts at most one range per thread past the next one to append.
    OrderedMerge merge(store, count, helpers + 1);

    // Runs one range and hands its store in; a failure (of the range or of a merge) is kept
    // for the caller and stops the taking of ranges.
    const auto runOne = [&](std::size_t k) {
        try {
            if (k == 0) {
                totals[0] = run(0, store);
                merge.Finished(0, nullptr);
            } else if (auto own = merge.StoreFor(k)) {
                totals[k] = run(k, *own);
                merge.Finished(k, std::move(own));
            }
        } catch (...) {
            failures[k] = std::current_exception();
            failed = true;
            merge.Fail();
        }
    };
    const auto takeRanges = [&] {
        while (!failed.load()) {
            const std::size_t k = next.fetch_add(1);
            if (k >= count)
                break;
            runOne(k);
        }
    };
    std::vector<std::thread> workers;
    for (std::size_t t = 0; t < helpers; ++t)
        workers.emplace_back(takeRanges);
    runOne(0);
    takeRanges();
    for (std::thread& worker : workers)
        worker.join();
    for (const std::exception_ptr& failure : failures)
        if (failure)
            std::rethrow_exception(failure);
    for (std::size_t k = 1; k < count; ++k)
        AddTotals(totals[0], totals[k]);
    return totals[0];
}

} // namespace qla
