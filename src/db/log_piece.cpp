// Cutting a log into what an import stores.
#include "db/log_piece.h"

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

std::size_t CompleteLinesLength(std::string_view bytes) {
    std::size_t end = bytes.size();
    if (end > 0 && bytes[end - 1] == '\r')
        --end; // its LF may follow
    while (end > 0 && bytes[end - 1] != '\n' && bytes[end - 1] != '\r')
        --end;
    return end;
}

std::uint64_t CountLineEnds(std::string_view bytes) {
    std::uint64_t count = 0;
    const std::size_t size = bytes.size();
    for (std::size_t i = 0; i < size; ++i) {
        const char c = bytes[i];
        if (c == '\n') {
            ++count;
        } else if (c == '\r') {
            ++count;
            if (i + 1 < size && bytes[i + 1] == '\n')
                ++i;
        }
    }
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
