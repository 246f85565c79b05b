// Analysing a log's ranges of lines on several threads: each range into a store of its own,
// the first on the calling thread into the caller's store, the later stores appended in order,
// which gives exactly the store of one run over all lines.
#pragma once

#include "analysis/analysis.h"

#include <cstddef>
#include <functional>

namespace qla {

// Analyses range `index` into `into` (a reset store) and returns its totals.
using RangeRun = std::function<AnalysisTotals(std::size_t index, AnalysisStore& into)>;

// Runs ranges 0 to count-1 on up to `threads` threads (0: one for each range). Range 0 runs
// first on this thread into `store`, which must be reset; the threads then take the next range
// that nobody has taken, so a slower core simply does fewer of them. A finished range is
// appended as soon as every range before it is in, while the others still run. An exception
// thrown by a range is thrown here once every thread has ended; no range starts after it.
AnalysisTotals RunRangesInParallel(AnalysisStore& store, std::size_t count, const RangeRun& run,
                                   unsigned threads = 0);

// Makes the store of a later range (index 1 or more) take lines from inside `whole`'s log: it
// tracks holders when `whole` does, and keeps what it does to names it has not met for Append.
void StartRangeInside(AnalysisStore& range, const AnalysisStore& whole);

// The number of threads `requested` stands for: 0 is every core.
unsigned ThreadsFor(unsigned requested);

} // namespace qla
