// The compressions a stored chunk of lines may have. New chunks are packed with zstd: at its
// fastest levels it takes a third of the time of zlib's fastest and leaves a quarter less. A
// chunk stored before keeps the zlib packing it was written with, and reads as it always did.
#pragma once

#include <QByteArray>

#include <cstdint>
#include <optional>
#include <string_view>

struct ZSTD_CCtx_s; // zstd's compression context (zstd.h)

namespace qla::db {

// The `packing` of a chunk stored compressed by qCompress (level 1): a 4-byte size, then zlib.
inline constexpr const char* kZlibPacking = "zlib";
// The `packing` of a chunk stored as one zstd frame that records its unpacked size.
inline constexpr const char* kZstdPacking = "zstd";

// Compresses a chunk with zstd, reusing one context for a log's many chunks.
class ChunkCompressor {
  public:
    ChunkCompressor();
    ~ChunkCompressor();
    ChunkCompressor(const ChunkCompressor&) = delete;
    ChunkCompressor& operator=(const ChunkCompressor&) = delete;

    // The packed bytes; empty when packing failed (the chunk is then stored as it is).
    QByteArray Pack(std::string_view raw);

  private:
    ZSTD_CCtx_s* context_;
};

// A chunk's bytes unpacked by its `packing` (kZlibPacking or kZstdPacking); nullopt when they
// do not unpack, are packed some other way, or (`size` known) unpack to another size.
std::optional<QByteArray> UnpackChunk(const QByteArray& packed, std::string_view packing,
                                      std::optional<std::int64_t> size = std::nullopt);

} // namespace qla::db
