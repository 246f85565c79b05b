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

// The bytes that find a log's earlier imports: its first line with its line end, at most
// kFingerprintBytes. Copies and grown forms of a log share them whatever their length, so the
// database looks candidates up by their hash and then compares the bytes themselves.
std::string_view HeadBytes(std::string_view firstBytes);

// A file is matched against a stored log by its first bytes (the fingerprint) and by the bytes
// just before the imported offset, up to this many.
inline constexpr std::size_t kTailBytes = 64 * 1024;

// CRC-32 of `bytes` continuing `crc` (0 to start): the checksum of each stored chunk, and of a
// log's whole imported part, extended import by import.
std::uint32_t ExtendCrc(std::uint32_t crc, std::string_view bytes);
// The CRC of two byte strings one after the other, from the CRC of each (`first` may itself be
// of several) and the second's length.
std::uint32_t JoinCrc(std::uint32_t first, std::uint32_t second, std::size_t secondBytes);

// Length of the longest start of `bytes` made of whole lines only. A CR as the very last byte
// is no certain line end yet: the LF of a CR LF may still be on its way, so that line waits.
std::size_t CompleteLinesLength(std::string_view bytes);

// Number of line ends (CR, CR LF or LF) in bytes that end in one.
std::uint64_t CountLineEnds(std::string_view bytes);

// Cuts whole lines into chunks of about `target` bytes, each ending after a line end (never
// between the CR and LF of one line end). The last chunk takes what is left.
std::vector<std::string_view> SplitIntoChunks(std::string_view lines, std::size_t target);

} // namespace qla::db
