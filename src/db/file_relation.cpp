// Comparing a file with a stored log.
#include "db/file_relation.h"

#include "db/chunk_reader.h"
#include "db/log_piece.h"

#include "core/utf16_log.h"

#include <algorithm>
#include <fstream>

namespace qla::db {

namespace {

constexpr std::size_t kReadBlock = 1 << 20;

// The CRC-32 of the file's first `length` bytes; nullopt when they cannot be read.
std::optional<std::uint32_t> CrcOfStart(const std::string& localPath, std::int64_t length) {
    std::ifstream in(localPath, std::ios::binary);
    if (!in.is_open())
        return std::nullopt;
    std::string block(kReadBlock, '\0');
    std::uint32_t crc = 0;
    while (length > 0) {
        const auto want = static_cast<std::streamsize>(
            std::min<std::int64_t>(length, static_cast<std::int64_t>(block.size())));
        in.read(block.data(), want);
        if (in.gcount() != want)
            return std::nullopt;
        crc = ExtendCrc(crc, std::string_view(block.data(), static_cast<std::size_t>(want)));
        length -= want;
    }
    return crc;
}

bool Continues(const LogEntry& log, const FileOnDisk& file, std::string& error) {
    const auto fingerprinted = static_cast<std::size_t>(log.FingerprintBytes);
    if (fingerprinted > file.FirstBytes.size() ||
        Fingerprint(file.FirstBytes.substr(0, fingerprinted)) != log.Fingerprint)
        return false;
    if (log.TailHash) {
        std::string tail;
        const std::int64_t from =
            log.ImportedBytes - std::min<std::int64_t>(log.ImportedBytes, kTailBytes);
        if (!ReadFileRange(file.LocalPath, from, log.ImportedBytes, tail)) {
            error = "the log cannot be read: " + file.Shown;
            return false;
        }
        if (Fingerprint(tail) != *log.TailHash)
            return false;
    }
    if (log.ContentCrc && file.Size == log.FileSize) {
        const auto crc = CrcOfStart(file.LocalPath, log.ImportedBytes);
        if (!crc) {
            error = "the log cannot be read: " + file.Shown;
            return false;
        }
        return *crc == *log.ContentCrc;
    }
    return true;
}

// Reads the file piece by piece as the stored text of a log reads (UTF-8 from a UTF-16 file)
// and compares it with the stored chunks. True when every byte of the file matched.
std::optional<bool> IsStartOf(StatsDatabase& database, const LogEntry& log, const FileOnDisk& file,
                              std::string& error) {
    std::ifstream in(file.LocalPath, std::ios::binary);
    if (!in.is_open()) {
        error = "the log cannot be read: " + file.Shown;
        return std::nullopt;
    }
    const Utf16Order order = Utf16OrderOf(file.FirstBytes);
    std::optional<Utf16PieceDecoder> decoder;
    if (order != Utf16Order::None) {
        decoder.emplace(order);
        in.seekg(2); // the byte-order mark is not stored
    }
    ChunkReader chunks(database);
    if (!chunks.Start(log.Id, error))
        return std::nullopt;
    std::string block(kReadBlock, '\0'), text;
    QByteArray chunk;
    std::size_t used = 0; // of `chunk`
    for (;;) {
        in.read(block.data(), static_cast<std::streamsize>(block.size()));
        const auto got = static_cast<std::size_t>(in.gcount());
        if (got == 0)
            break;
        std::string_view piece(block.data(), got);
        if (decoder) {
            text.clear();
            decoder->Decode(piece, text);
            piece = text;
        }
        while (!piece.empty()) {
            if (used == static_cast<std::size_t>(chunk.size())) {
                if (!chunks.Next(chunk, error)) {
                    chunks.Finish();
                    return error.empty() ? std::optional<bool>(false) : std::nullopt;
                }
                used = 0;
            }
            const std::size_t n =
                std::min(piece.size(), static_cast<std::size_t>(chunk.size()) - used);
            if (piece.substr(0, n) != std::string_view(chunk.constData() + used, n)) {
                chunks.Finish();
                return false;
            }
            used += n;
            piece.remove_prefix(n);
        }
    }
    chunks.Finish();
    return true;
}

} // namespace

bool ReadFileRange(const std::string& localPath, std::int64_t from, std::int64_t to,
                   std::string& bytes) {
    std::ifstream in(localPath, std::ios::binary);
    if (!in.is_open() || from < 0 || to < from)
        return false;
    bytes.resize(static_cast<std::size_t>(to - from));
    in.seekg(from);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return in.gcount() == static_cast<std::streamsize>(bytes.size());
}

std::optional<FileRelation> RelationOf(StatsDatabase& database, const LogEntry& log,
                                       const FileOnDisk& file, std::string& error) {
    error.clear();
    if (file.Size >= log.ImportedBytes) {
        if (Continues(log, file, error))
            return FileRelation::Continues;
        return error.empty() ? std::optional(FileRelation::Unrelated) : std::nullopt;
    }
    const auto start = IsStartOf(database, log, file, error);
    if (!start)
        return std::nullopt;
    return *start ? FileRelation::StartOf : FileRelation::Unrelated;
}

std::optional<ImportedLogMatch> FindImportedLog(StatsDatabase& database, const FileOnDisk& file,
                                                std::string& error) {
    const auto candidates =
        ImportCandidates(database, Fingerprint(HeadBytes(file.FirstBytes)), error);
    if (!candidates)
        return std::nullopt;
    for (const LogEntry& log : *candidates) {
        error = RecordDamage(log, database.Path());
        if (!error.empty())
            return std::nullopt;
        const auto relation = RelationOf(database, log, file, error);
        if (!relation)
            return std::nullopt;
        if (*relation == FileRelation::Continues)
            return ImportedLogMatch{log, std::nullopt};
        if (*relation == FileRelation::StartOf)
            return ImportedLogMatch{std::nullopt, log};
    }
    return ImportedLogMatch{};
}

} // namespace qla::db
