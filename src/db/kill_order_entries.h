// A stored log's kills in their order as the store built from its statistics holds them: each
// kill as the position of the entry of KillEvents its pair was filed into (store_from_statistics).
#pragma once

#include "db/kill_order_rows.h"
#include "db/log_digest.h"
#include "stats/kill_streaks.h"

#include <optional>

namespace qla::db {

// Adds the log's kills to `order`, its entries filed from `firstEntry` on: one per holding pair
// (`byHoldings`: a store that tracks holders, of a log that keeps holdings), else one per pair of
// names (LogDigest::Pairs). Without a stored order the log is added as not known.
void AddLogKillOrder(const LogDigest& digest, const std::optional<StoredKillOrder>& stored,
                     bool byHoldings, std::size_t firstEntry, KillOrder& order);

// The same for a log read again in the context of the logs before it: `again` holds its kills one
// by one in order, filed by name into the store from `inContext`'s pairs; its sessions are those
// of the stored order, which counts the same kills.
void AddReadAgainKillOrder(const AnalysisStore& again, const LogDigest& inContext,
                           const std::optional<StoredKillOrder>& stored, std::size_t firstEntry,
                           KillOrder& order);

} // namespace qla::db
