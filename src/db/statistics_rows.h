// The rows that hold a log's statistics: its digest, and its chats and other lines as rows of
// their own, read by streaming.
#pragma once

#include "db/digest_packing.h"
#include "db/log_catalog.h"
#include "db/log_chains.h"
#include "db/stats_database.h"

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace qla::db {

// The log's digest, with the parts asked for; nullopt with the reason in `error` (a log without
// one is damage).
std::optional<LogDigest> ReadDigest(StatsDatabase& database, LogId id, std::string& error,
                                    DigestParts parts = {});

// The log's chains (log_chains.h) for a digest of `players` names: as stored, or worked out
// from its holdings when the log was stored before chains were kept. Nullopt with the reason in
// `error` when they cannot be read. Without `withChats` their ChatRecords may be left empty.
std::optional<LogChains> ReadChains(StatsDatabase& database, LogId id, std::size_t players,
                                    bool withChats, std::string& error);

// Adds the log's stored holdings to a digest read without them (none for a log stored before
// they were kept); false with the reason in `error`.
bool ReadHoldings(StatsDatabase& database, LogId id, LogDigest& digest, std::string& error,
                  bool namesOnly = false);

// The upgrade step that stores every log's digest again, its kills and renames apart, with its
// chains from its stored holdings, without reading its lines again.
bool StoreDigestsAgainWithChains(StatsDatabase& database, std::string& error);

// A digest's bytes as stored: the digest, and for a digest with holdings its chains and holdings.
// Worked out apart from writing them, so that a import can do it beside its other rows.
struct EncodedDigest {
    StoredDigest Digest;
    bool HasHoldings = false;
    std::string Chains, ChainChats, Holdings;
    std::string NameUses; // of the chains as stored (log_name_uses.h)
};
EncodedDigest EncodeDigestToStore(const LogDigest& digest);
// The same in two parts that only read the digest and fill members of `encoded` apart, so two
// threads may run them at once: the digest and holdings, and (for a digest with holdings) the
// chains, their chats and their names' uses.
void EncodeDigestHeadToStore(const LogDigest& digest, EncodedDigest& encoded);
void EncodeDigestChainsToStore(const LogDigest& digest, EncodedDigest& encoded);

// Stores the log's digest in place of the one it had, with its holdings and chains.
bool WriteDigest(StatsDatabase& database, LogId id, const LogDigest& digest, std::string& error);
bool WriteEncodedDigest(StatsDatabase& database, LogId id, const EncodedDigest& encoded,
                        std::string& error);

// Stores the chats and other lines `piece` found as rows, numbered on from the log's rows stored
// `before` (none for a new log). Chat players are positions in the log's digest, as the piece
// filed its players after the earlier ones; a piece whose records are still holdings gives each
// record's position in `positionOf` (GroupHoldersByName), so that its rows are written before
// it is filed by name.
bool WriteTextRows(StatsDatabase& database, LogId id, const RowsBefore& before,
                   const AnalysisStore& piece, std::string& error,
                   std::span<const PlayerIndex> positionOf = {});

enum class ChatKind { Voice = 0, Text = 1 };

struct ChatRow {
    std::int64_t Seq = 0;     // the row's number in the log, from 1
    std::uint32_t Player = 0; // position in the log's digest
    bool IsTeam = false;
    std::string_view Location;
    std::string_view Message;
};

// Calls `each` for the log's chats of one kind in their order, those numbered after `afterSeq`;
// false with `error` set.
bool ForEachChat(StatsDatabase& database, LogId id, ChatKind kind,
                 const std::function<void(const ChatRow&)>& each, std::string& error,
                 std::int64_t afterSeq = 0);

// Calls `each` for the log's other lines in their order; false with `error` set.
bool ForEachUnknownLine(StatsDatabase& database, LogId id,
                        const std::function<void(std::string_view)>& each, std::string& error);
// Adds the log's first other lines to `lines` until it holds `count`, reading no further rows.
bool AddFirstUnknownLines(StatsDatabase& database, LogId id, std::size_t count,
                          std::vector<std::string>& lines, std::string& error);

// Removes every statistics row of the log, its log_players rows too (analysing it again).
bool DeleteStatisticsRows(StatsDatabase& database, LogId id, std::string& error);

} // namespace qla::db
