// Analysing a log as it is read, without holding it: the bytes are split at line ends into one
// range for each thread, each range is read in blocks by its own line reader and analysed into
// its own store, and the stores are appended in order. The store and totals are exactly those
// of opening the whole log and analysing its lines.
#pragma once

#include "analysis/analysis.h"
#include "core/log_line_reader.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace qla {

struct StreamOptions {
    unsigned Threads = 0;                  // 0: one for each core
    std::uint64_t MinBytesEach = 4u << 20; // a range is never split smaller than this
    std::size_t BlockSize = kDefaultLineBlock;
    // Called on the calling thread now and then with the share of the log read (0 to 1).
    std::function<void(double)> Progress;
    // Names the log met before these bytes (a log that grew): filed first, in this order, so
    // that the new lines resolve cut names against them and the store's records 1 to
    // KnownPlayers.size() are these names.
    std::vector<std::string> KnownPlayers;
    // With a store that tracks holders: each known player's holding (as many as KnownPlayers),
    // so that the new lines continue the holdings that were still held.
    std::vector<NameHolding> KnownHoldings;
    // Names renamed into and not used yet, with the known player (from 1) each continues.
    std::vector<std::pair<std::string, std::int32_t>> KnownRenamedInto;
    // The lines of the log before these bytes, so that holdings tell the log's line numbers.
    std::uint64_t LinesBefore = 0;
};

struct StreamedAnalysis {
    bool ReadFailed = false;
    AnalysisTotals Totals;
    std::optional<std::string> DateText; // as OpenLogResult::DateText
    std::uint64_t LineCount = 0;
};

// A reader of `length` bytes of the log from `offset` on.
using RangeReaders = std::function<ReadBytes(std::uint64_t offset, std::uint64_t length)>;

// Where the ranges of a log of `size` bytes start: 0 first, then just after a line end near
// each k * size / count (after the LF of a CR LF). A UTF-16 log is one range.
std::vector<std::uint64_t> RangeStarts(std::uint64_t size, const RangeReaders& readers,
                                       std::size_t count);

// Analyses the log of `size` bytes that `readers` read; the store is reset first. `start` says
// whether the bytes are the log's beginning (where a byte-order mark is looked for).
StreamedAnalysis AnalyzeStreamedLog(AnalysisStore& store, std::uint64_t size,
                                    const RangeReaders& readers, LogLanguage language,
                                    Recognition recognition, const StreamOptions& options,
                                    LogLineList::Start start = LogLineList::Start::kFileStart);

struct LogFileAnalysis {
    std::string Error; // why the file could not be read; empty when it was
    StreamedAnalysis Analysis;
};

// Opens and analyses the log at `path` as OpenLogFile and AnalyzeLog do together, reading it
// in blocks: the store's LogLines stay empty and its LogFileIdentity names the file.
LogFileAnalysis AnalyzeLogFile(AnalysisStore& store, const std::string& path, LogLanguage language,
                               Recognition recognition, const StreamOptions& options = {});

// The first `count` lines of the log at `path` (for judging its language); empty when the
// file cannot be read.
LogLineList FirstLogLines(const std::string& path, std::size_t count);

} // namespace qla
