// Statistics summed over runs of consecutive logs (the log_blocks table), so that a reader of
// the players' counters files a few sums instead of every log of a long history. A block of
// level k sums kLogsPerBlock^k logs that follow one another in import order, at positions that
// are a multiple of its size; each write that changes a log's statistics removes the blocks
// that sum it, and the commit builds the blocks the logs' positions then call for.
#pragma once

#include "db/log_catalog.h"
#include "db/log_digest.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace qla::db {

class StatsDatabase;

inline constexpr std::size_t kLogsPerBlock = 8;

// A stored block: the logs from First to Last, Logs of them.
struct LogBlock {
    LogId First = 0;
    LogId Last = 0;
    std::size_t Logs = 0;
    bool operator==(const LogBlock&) const = default;
};

// Every stored block, the longest first; none before the version that keeps them.
std::optional<std::vector<LogBlock>> ReadLogBlocks(StatsDatabase& database, std::string& error);

// A block's sum: the players in order of first appearance with their counters summed, the
// totals, and the cut obituary names of its logs.
std::optional<LogDigest> ReadBlockSum(StatsDatabase& database, const LogBlock& block,
                                      std::string& error);

// Removes the blocks that sum log `id`, whose statistics change or go.
bool ForgetBlocksOf(StatsDatabase& database, LogId id, std::string& error);

// Inside the caller's write transaction: removes the blocks the logs' positions no longer call
// for and builds the missing ones, shortest first (a longer one files the shorter ones).
bool RefreshLogBlocks(StatsDatabase& database, std::string& error);

// The sum of the logs `ids` (consecutive, in import order) as a block keeps it: from the shorter
// blocks within them, or (`logByLog`) from each log's own statistics.
std::optional<LogDigest> SumOfLogs(StatsDatabase& database, std::vector<LogId> ids, bool logByLog,
                                   std::string& error);

// Whether two sums hold the same players, counters, totals and cut names.
bool SameSums(const LogDigest& a, const LogDigest& b);

// The blocks the logs `ids` (in import order) call for, shortest first.
std::vector<LogBlock> BlocksOfLogs(const std::vector<LogId>& ids);

} // namespace qla::db
