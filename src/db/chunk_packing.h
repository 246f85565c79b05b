// Cutting a log's new lines into the chunks it is stored in, each with its line count, the
// checksum of its bytes and those bytes compressed. Done on a thread of its own while the lines
// are analysed, so that storing compressed costs the import little time.
#pragma once

#include <QByteArray>

#include <cstdint>
#include <string_view>
#include <vector>

namespace qla::db {

struct PackedChunk {
    std::string_view Raw;   // a view of the bytes that were packed
    std::int64_t Lines = 0; // line ends in Raw
    std::uint32_t Crc = 0;  // of Raw
    QByteArray Packed;      // qCompress of Raw; empty when it would not be smaller
};

std::vector<PackedChunk> PackChunks(std::string_view lines);

} // namespace qla::db
