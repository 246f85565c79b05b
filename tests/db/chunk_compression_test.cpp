// A stored chunk unpacks to exactly the bytes packed, or to nothing: a damaged, cut or
// mislabelled chunk is never taken for lines, and a frame that claims a huge size is refused
// before anything is allocated for it.
#include "db/chunk_compression.h"

#include <gtest/gtest.h>

#include <string>

namespace qla::db {
namespace {

std::string SomeLines() {
    std::string lines;
    for (int k = 0; k < 20000; ++k)
        lines += "Player" + std::to_string(k % 37) + " was killed by Other" +
                 std::to_string(k % 11) + "'s MP40\n";
    return lines;
}

QByteArray Bytes(const std::string& text) {
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

TEST(ChunkCompression, BothPackingsUnpackToTheLinesAndOnlyTheirOwnDoes) {
    const std::string lines = SomeLines();
    ChunkCompressor compressor;
    const QByteArray zstd = compressor.Pack(lines);
    ASSERT_FALSE(zstd.isEmpty());
    EXPECT_LT(zstd.size() * 5, static_cast<qsizetype>(lines.size()));
    const QByteArray zlib = qCompress(Bytes(lines), 1);
    EXPECT_EQ(UnpackChunk(zstd, kZstdPacking), Bytes(lines));
    EXPECT_EQ(UnpackChunk(zstd, kZstdPacking, static_cast<std::int64_t>(lines.size())),
              Bytes(lines));
    EXPECT_EQ(UnpackChunk(zlib, kZlibPacking, static_cast<std::int64_t>(lines.size())),
              Bytes(lines));
    // Each under the other's name, or a name no qla writes.
    EXPECT_FALSE(UnpackChunk(zstd, kZlibPacking));
    EXPECT_FALSE(UnpackChunk(zlib, kZstdPacking));
    EXPECT_FALSE(UnpackChunk(zstd, "lz4"));
    // One context packs a log's many chunks alike.
    EXPECT_EQ(compressor.Pack(lines), zstd);
}

TEST(ChunkCompression, ADamagedOrCutChunkOrAWrongSizeUnpacksToNothing) {
    const std::string lines = SomeLines();
    ChunkCompressor compressor;
    const QByteArray packed = compressor.Pack(lines);
    const auto size = static_cast<std::int64_t>(lines.size());
    EXPECT_FALSE(UnpackChunk(packed.left(packed.size() / 2), kZstdPacking, size));
    EXPECT_FALSE(UnpackChunk(packed, kZstdPacking, size + 1));
    EXPECT_FALSE(UnpackChunk(QByteArray(), kZstdPacking));
    QByteArray changed = packed;
    changed[changed.size() / 2] = static_cast<char>(changed[changed.size() / 2] ^ 0x55);
    const auto unpacked = UnpackChunk(changed, kZstdPacking, size);
    // zstd's own checksum is off (the chunk's CRC-32 is checked beside it): the bytes either
    // fail to unpack or unpack to something other than the lines, never silently to them.
    if (unpacked) {
        EXPECT_NE(*unpacked, Bytes(lines));
    }
    EXPECT_FALSE(UnpackChunk(qCompress(Bytes(lines), 1), kZlibPacking, size - 1));
}

TEST(ChunkCompression, AFrameClaimingAHugeSizeIsRefused) {
    // A frame header that says 2^40 bytes follow: refused by its size, not allocated.
    ChunkCompressor compressor;
    QByteArray packed = compressor.Pack("x");
    ASSERT_GE(packed.size(), 6);
    // Frame header: magic, then the descriptor; a descriptor of 0xE0 carries an 8-byte size.
    QByteArray huge("\x28\xB5\x2F\xFD", 4);
    huge.append(static_cast<char>(0xE0));
    const unsigned long long claimed = 1ULL << 40;
    for (int k = 0; k < 8; ++k)
        huge.append(static_cast<char>((claimed >> (8 * k)) & 0xFF));
    huge.append(QByteArray(16, '\0'));
    EXPECT_FALSE(UnpackChunk(huge, kZstdPacking));
}

} // namespace
} // namespace qla::db
