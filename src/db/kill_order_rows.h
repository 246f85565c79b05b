// Each log's kills in the order they were made, which the streaks of qla awards and of the
// statistics site need: the stored statistics keep the kills summed per killer and victim
// (log_digest.h). For each kill the order keeps which of the log's holding pairs
// (LogDigest::HoldingPairs) it added to, and where a session begins inside the log. One row per
// import of the log's lines: a log that grows adds a row, and its order goes on where it stopped.
#pragma once

#include "core/store.h"
#include "db/log_catalog.h"
#include "db/log_digest.h"
#include "db/stats_database.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qla::db {

// A log's kills in order, as read back.
struct StoredKillOrder {
    std::vector<std::uint32_t> Pairs;       // each kill's place in the log's HoldingPairs
    std::vector<std::size_t> SessionStarts; // places in Pairs where a session begins, ascending
};

// What one import adds to a log's order: made from the piece before its holdings are filed by
// name (they tell the session each kill was made in), its pairs filled in by FileHoldings.
struct KillOrderPiece {
    // False when the log's earlier kills have no order (imported before it was kept): nothing is
    // stored, and the log's streaks stay unknown until qla reanalyze reads it again.
    bool Continues = false;
    std::int64_t Seq = 0;
    std::uint64_t FirstKill = 1; // the piece's first kill, counted from 1 in the log
    std::vector<std::uint32_t> Pairs;
    std::vector<std::size_t> SessionStarts; // places in Pairs
    // Sessions numbered as in the whole log: the one the lines end in, the one of the last kill
    // (-1: no kill yet). The piece's own numbers can fall behind when the earlier lines ended
    // with a session's first line, before anyone was named in it.
    std::int64_t EndSession = 0, LastKillSession = -1;
};

// The order the piece starts for log `id`, whose digest before the piece is `before` (the piece
// was analysed with its holdings known); nullopt with the reason in `error`. For a piece that
// tracks holders.
std::optional<KillOrderPiece> StartKillOrderPiece(StatsDatabase& database, LogId id,
                                                  const LogDigest& before,
                                                  const AnalysisStore& piece, std::string& error);

// Stores the piece's row when it continues the log's order.
bool WriteKillOrderPiece(StatsDatabase& database, LogId id, const KillOrderPiece& piece,
                         std::string& error);

// The log's order; `order` stays empty when the rows do not hold each of the digest's kills (a
// log imported, or begun, before the order was kept, or rows that do not match its pairs).
// False with the reason in `error` when the database cannot be read. `digest` with its holdings.
bool ReadKillOrder(StatsDatabase& database, LogId id, const LogDigest& digest,
                   std::optional<StoredKillOrder>& order, std::string& error);

} // namespace qla::db
