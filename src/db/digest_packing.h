// A log's digest as the bytes stored for it, and back.
#pragma once

#include "db/log_digest.h"

#include <optional>
#include <string>
#include <string_view>

namespace qla::db {

// The stored form: a format number, then unsigned LEB128 numbers and length-prefixed texts; the
// encounters last, behind their length, so that readers of the pairs skip them.
std::string EncodeDigest(const LogDigest& digest);
// What a reader takes of a stored digest: the kills by weapon (Encounters), the holdings (stored
// apart, EncodeHoldings, so that readers that merge no persons never read them) and the
// renames. A part left out stays empty; its bytes are still checked.
struct DigestParts {
    bool Encounters = true;
    bool Holdings = true;
    bool Renames = true;
    // The kills between players (Pairs): a reader of the counters only leaves them out.
    bool Pairs = true;
    // With Holdings: only each holding's name (HoldingNameIds), which is all that placing the kills'
    // order in a store of names needs; a long history's holdings are mostly their counters.
    bool HoldingNamesOnly = false;
};

// Nullopt when the bytes are not a digest of this format (damaged or written by a newer qla).
// Holdings are not part of these bytes (see DigestParts).
std::optional<LogDigest> DecodeDigest(std::string_view bytes, DigestParts parts = {});

// The form a database stores: the head (totals, players, cut names, row counts) apart from the
// kills and the renames, so that a reader of the counters reads a few kilobytes of a log instead
// of its whole digest (log_digests.digest, .kills and .renames).
struct StoredDigest {
    std::string Head, Kills, Renames;
};
StoredDigest EncodeStoredDigest(const LogDigest& digest);
// Whether a stored head is of that form; a digest stored before keeps everything in the head.
bool IsSplitDigest(std::string_view head);
// Either form; `kills` and `renames` are read only for the parts asked (and may then be empty).
std::optional<LogDigest> DecodeStoredDigest(std::string_view head, std::string_view kills,
                                            std::string_view renames, DigestParts parts = {});

// A head stored without kills and renames (the sums of runs of logs, the kept persons): the
// totals, players and cut names.
std::optional<LogDigest> DecodeDigestHead(std::string_view head);
// The digest's holdings (HasHoldings), its renames' holdings and the names renamed into, as
// stored apart from the digest; DecodeHoldings fills them in (false: damaged).
std::string EncodeHoldings(const LogDigest& digest);
bool DecodeHoldings(std::string_view bytes, LogDigest& digest, bool namesOnly = false);

} // namespace qla::db
