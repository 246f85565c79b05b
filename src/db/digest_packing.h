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
};

// Nullopt when the bytes are not a digest of this format (damaged or written by a newer qla).
// Holdings are not part of these bytes (see DigestParts).
std::optional<LogDigest> DecodeDigest(std::string_view bytes, DigestParts parts = {});

// The digest's holdings (HasHoldings), its renames' holdings and the names renamed into, as
// stored apart from the digest; DecodeHoldings fills them in (false: damaged).
std::string EncodeHoldings(const LogDigest& digest);
bool DecodeHoldings(std::string_view bytes, LogDigest& digest);

} // namespace qla::db
