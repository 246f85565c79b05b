// Cutting a log into what an import stores.
#include "db/log_piece.h"

#include <cstring>

#include <QByteArray>
#include <QCryptographicHash>

#include <zlib.h>

#include <algorithm>

namespace qla::db {

std::string Fingerprint(std::string_view firstBytes) {
    const QByteArray hash = QCryptographicHash::hash(
        QByteArrayView(firstBytes.data(), static_cast<qsizetype>(firstBytes.size())),
        QCryptographicHash::Sha256);
    return hash.toHex().toStdString();
}

std::string_view HeadBytes(std::string_view firstBytes) {
    const std::string_view window = firstBytes.substr(0, kFingerprintBytes);
    const std::size_t end = window.find_first_of("\r\n");
    return end == std::string_view::npos ? window : window.substr(0, end + 1);
}

std::uint32_t ExtendCrc(std::uint32_t crc, std::string_view bytes) {
    // zlib takes at most 4 GiB at a time.
    while (!bytes.empty()) {
        const std::size_t piece = std::min<std::size_t>(bytes.size(), 1u << 30);
        crc = static_cast<std::uint32_t>(
            ::crc32(crc, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(piece)));
        bytes.remove_prefix(piece);
    }
    return crc;
}

std::uint32_t JoinCrc(std::uint32_t first, std::uint32_t second, std::size_t secondBytes) {
    return static_cast<std::uint32_t>(
        ::crc32_combine(first, second, static_cast<z_off_t>(secondBytes)));
}

std::size_t CompleteLinesLength(std::string_view bytes) {
    std::size_t end = bytes.size();
    if (end > 0 && bytes[end - 1] == '\r')
        --end; // its LF may follow
    while (end > 0 && bytes[end - 1] != '\n' && bytes[end - 1] != '\r')
        --end;
    return end;
}

namespace {

// How many bytes of `bytes` are `wanted`, eight at a time: a log's chunks are counted while
// they are packed, and a byte at a time took as long as packing them.
std::uint64_t CountByte(std::string_view bytes, char wanted) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ull, kLow7 = 0x7F7F7F7F7F7F7F7Full;
    const std::uint64_t pattern = kOnes * static_cast<unsigned char>(wanted);
    std::uint64_t count = 0;
    std::size_t i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes.data() + i, 8);
        const std::uint64_t x = word ^ pattern; // a zero byte where `wanted` was
        // The high bit of each byte set exactly where the byte is zero (no borrow between bytes).
        const std::uint64_t zero = ~(((x & kLow7) + kLow7) | x | kLow7);
        // One bit a byte: their sum lands in the top byte (a call for std::popcount on a
        // processor not known to have the instruction).
        count += ((zero >> 7) * kOnes) >> 56;
    }
    for (; i < bytes.size(); ++i)
        count += bytes[i] == wanted ? 1 : 0;
    return count;
}

} // namespace

std::uint64_t CountLineEnds(std::string_view bytes) {
    // Each LF ends a line, and each CR that no LF follows (a CR LF is one line end).
    std::uint64_t count = CountByte(bytes, '\n');
    for (std::size_t cr = bytes.find('\r'); cr != std::string_view::npos;
         cr = bytes.find('\r', cr + 1))
        if (cr + 1 == bytes.size() || bytes[cr + 1] != '\n')
            ++count;
    return count;
}

std::vector<std::string_view> SplitIntoChunks(std::string_view lines, std::size_t target) {
    std::vector<std::string_view> chunks;
    while (!lines.empty()) {
        std::size_t cut = lines.size();
        if (lines.size() > target) {
            // The first LF at or after the target; a CR LF then ends with it. A log of CR line
            // ends only has no LF: cut after a CR that no LF follows.
            cut = lines.find('\n', target);
            if (cut == std::string_view::npos) {
                cut = target;
                while (cut < lines.size() &&
                       !(lines[cut] == '\r' && (cut + 1 == lines.size() || lines[cut + 1] != '\n')))
                    ++cut;
            }
            cut = std::min(cut + 1, lines.size());
        }
        chunks.push_back(lines.substr(0, cut));
        lines.remove_prefix(cut);
    }
    return chunks;
}

} // namespace qla::db
