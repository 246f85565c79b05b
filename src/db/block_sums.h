// What a chunk keeps of its lines when a log is imported with --no-archive: the CRC-32 of each
// 1 KiB block of its bytes instead of the bytes. The statistics need no lines; the sums still
// tell whether a shorter file is a copy of the log's start, block by block.
#pragma once

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace qla::db {

// The `packing` of a chunk that holds block sums instead of its bytes.
inline constexpr const char* kSumsPacking = "sums";

// The bytes each sum covers; a chunk's last block may be shorter.
inline constexpr std::size_t kSumBlockBytes = 1024;

// The CRC-32 of each block of `raw`, 4 bytes each, little-endian.
QByteArray BlockSums(std::string_view raw);

// The number of sums a chunk of `rawBytes` bytes holds.
std::size_t BlockCount(std::int64_t rawBytes);

// The sum of block `index` (less than sums.size() / 4).
std::uint32_t BlockSum(const QByteArray& sums, std::size_t index);

// The CRC-32 of the whole chunk the sums stand for (`rawBytes` long), combined from its
// blocks' sums: what its `checksum` must be when the sums are sound.
std::uint32_t CrcOfBlockSums(const QByteArray& sums, std::int64_t rawBytes);

} // namespace qla::db
