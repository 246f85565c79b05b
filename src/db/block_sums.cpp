// Block sums of a chunk.
#include "db/block_sums.h"

#include "db/log_piece.h"

#include <zlib.h>

#include <algorithm>

namespace qla::db {

QByteArray BlockSums(std::string_view raw) {
    QByteArray sums;
    sums.reserve(static_cast<qsizetype>(4 * BlockCount(static_cast<std::int64_t>(raw.size()))));
    for (std::size_t at = 0; at < raw.size(); at += kSumBlockBytes) {
        const std::uint32_t crc =
            ExtendCrc(0, raw.substr(at, std::min(kSumBlockBytes, raw.size() - at)));
        for (int shift = 0; shift < 32; shift += 8)
            sums.append(static_cast<char>((crc >> shift) & 0xFF));
    }
    return sums;
}

std::size_t BlockCount(std::int64_t rawBytes) {
    return rawBytes <= 0
               ? 0
               : (static_cast<std::size_t>(rawBytes) + kSumBlockBytes - 1) / kSumBlockBytes;
}

std::uint32_t BlockSum(const QByteArray& sums, std::size_t index) {
    const auto* at = reinterpret_cast<const unsigned char*>(sums.constData()) + 4 * index;
    return static_cast<std::uint32_t>(at[0]) | static_cast<std::uint32_t>(at[1]) << 8 |
           static_cast<std::uint32_t>(at[2]) << 16 | static_cast<std::uint32_t>(at[3]) << 24;
}

std::uint32_t CrcOfBlockSums(const QByteArray& sums, std::int64_t rawBytes) {
    std::uint32_t crc = 0;
    for (std::size_t i = 0; i < BlockCount(rawBytes); ++i) {
        const auto length =
            std::min<std::int64_t>(static_cast<std::int64_t>(kSumBlockBytes),
                                   rawBytes - static_cast<std::int64_t>(i * kSumBlockBytes));
        crc = static_cast<std::uint32_t>(
            ::crc32_combine(crc, BlockSum(sums, i), static_cast<z_off_t>(length)));
    }
    return crc;
}

} // namespace qla::db
