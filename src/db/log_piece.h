// The pieces an import cuts a log into: the fingerprint of its first bytes, the part that ends
// in a certain line end, and the chunks it is stored in.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qla::db {

// A log is recognised by a hash of its first 64 KiB (all of it while it is smaller).
inline constexpr std::size_t kFingerprintBytes = 64 * 1024;

// Hex SHA-256 of the bytes.
std::string Fingerprint(std::string_view firstBytes);

// Length of the longest start of `bytes` made of whole lines only. A CR as the very last byte
// is no certain line end yet: the LF of a CR LF may still be on its way, so that line waits.
std::size_t CompleteLinesLength(std::string_view bytes);

// Number of line ends (CR, CR LF or LF) in bytes that end in one.
std::uint64_t CountLineEnds(std::string_view bytes);

// Cuts whole lines into chunks of about `target` bytes, each ending after a line end (never
// between the CR and LF of one line end). The last chunk takes what is left.
std::vector<std::string_view> SplitIntoChunks(std::string_view lines, std::size_t target);

} // namespace qla::db
