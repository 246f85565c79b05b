// Cutting a log's new lines into the chunks it is stored in, each with its line count, the
// checksum of its bytes and those bytes compressed (or, without the archive, the sums of its
// blocks). Done on a thread of its own while the lines are analysed, so that storing costs the
// import little time.
#pragma once

#include <QByteArray>

#include <cstdint>
#include <string_view>
#include <vector>

namespace qla::db {

// What a chunk keeps of its bytes.
enum class ChunkKeeping {
    Lines, // the bytes, compressed where that makes them smaller
    Sums,  // only the CRC-32 of each block (qla import --no-archive)
};

struct PackedChunk {
    std::string_view Raw;   // a view of the bytes that were packed
    std::int64_t Lines = 0; // line ends in Raw
    std::uint32_t Crc = 0;  // of Raw
    // What is stored instead of Raw, and its `packing`; both empty: Raw is stored as it is.
    QByteArray Packed;
    const char* Packing = nullptr;
};

std::vector<PackedChunk> PackChunks(std::string_view lines,
                                    ChunkKeeping keeping = ChunkKeeping::Lines);

} // namespace qla::db
