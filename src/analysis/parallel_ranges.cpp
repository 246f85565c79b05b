// The threads of a parallel analysis. They share nothing while they run: each range has its own
// store and parser state; only the merge after the join touches the caller's store.
#include "analysis/parallel_ranges.h"

#include "analysis/line_walk.h"

#include <exception>
#include <memory>
#include <thread>
#include <vector>

namespace qla {

unsigned ThreadsFor(unsigned requested) {
    if (requested > 0)
        return requested;
    const unsigned cores = std::thread::hardware_concurrency();
    return cores == 0 ? 1 : cores;
}

AnalysisTotals RunRangesInParallel(AnalysisStore& store, std::size_t count, const RangeRun& run) {
    if (count <= 1)
        return run(0, store);
    std::vector<std::unique_ptr<AnalysisStore>> later;
    std::vector<AnalysisTotals> totals(count);
    std::vector<std::exception_ptr> failures(count);
    std::vector<std::thread> threads;
    for (std::size_t k = 1; k < count; ++k)
        later.push_back(std::make_unique<AnalysisStore>());
    for (std::size_t k = 1; k < count; ++k)
        threads.emplace_back([&, k] {
            try {
                totals[k] = run(k, *later[k - 1]);
            } catch (...) {
                failures[k] = std::current_exception();
            }
        });
    try {
        totals[0] = run(0, store);
    } catch (...) {
        failures[0] = std::current_exception();
    }
    for (std::thread& thread : threads)
        thread.join();
    for (const std::exception_ptr& failure : failures)
        if (failure)
            std::rethrow_exception(failure);
    for (std::size_t k = 1; k < count; ++k) {
        store.Append(std::move(*later[k - 1]));
        later[k - 1].reset(); // its memory goes back before the next store is merged
        AddTotals(totals[0], totals[k]);
    }
    return totals[0];
}

} // namespace qla
