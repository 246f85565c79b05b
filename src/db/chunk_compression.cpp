// zstd for new chunks, zlib (as qCompress writes it) for those stored before.
#include "db/chunk_compression.h"

#include <zstd.h>

namespace qla::db {

namespace {

// Level 1: the import packs chunks beside the analysis, on the same two cores, so speed counts
// more than the last few per cent of size.
constexpr int kZstdLevel = 1;
// No stored chunk unpacks to more: a frame that says it would is damaged, not allocated.
constexpr std::int64_t kLargestChunk = std::int64_t{1} << 30;

std::optional<QByteArray> UnpackZstd(const QByteArray& packed, std::optional<std::int64_t> size) {
    const unsigned long long content = ZSTD_getFrameContentSize(packed.constData(), packed.size());
    if (content == ZSTD_CONTENTSIZE_ERROR || content == ZSTD_CONTENTSIZE_UNKNOWN ||
        content > static_cast<unsigned long long>(kLargestChunk) ||
        (size && static_cast<unsigned long long>(*size) != content))
        return std::nullopt;
    QByteArray bytes(static_cast<qsizetype>(content), Qt::Uninitialized);
    const std::size_t unpacked =
        ZSTD_decompress(bytes.data(), bytes.size(), packed.constData(), packed.size());
    if (ZSTD_isError(unpacked) || unpacked != content)
        return std::nullopt;
    return bytes;
}

} // namespace

ChunkCompressor::ChunkCompressor() : context_(ZSTD_createCCtx()) {}

ChunkCompressor::~ChunkCompressor() {
    ZSTD_freeCCtx(context_);
}

QByteArray ChunkCompressor::Pack(std::string_view raw) {
    if (context_ == nullptr)
        return {};
    QByteArray packed(static_cast<qsizetype>(ZSTD_compressBound(raw.size())), Qt::Uninitialized);
    const std::size_t size = ZSTD_compressCCtx(context_, packed.data(), packed.size(), raw.data(),
                                               raw.size(), kZstdLevel);
    if (ZSTD_isError(size))
        return {};
    packed.truncate(static_cast<qsizetype>(size));
    return packed;
}

std::optional<QByteArray> UnpackChunk(const QByteArray& packed, std::string_view packing,
                                      std::optional<std::int64_t> size) {
    if (packing == kZstdPacking)
        return UnpackZstd(packed, size);
    if (packing != kZlibPacking)
        return std::nullopt;
    QByteArray bytes = qUncompress(packed);
    // qUncompress gives nothing for damaged data; a chunk is never empty.
    if (bytes.isEmpty() || (size && bytes.size() != *size))
        return std::nullopt;
    return bytes;
}

} // namespace qla::db
