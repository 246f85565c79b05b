// Comparing a file with a stored log.
#include "db/file_relation.h"

#include "db/block_sums.h"
#include "db/chunk_reader.h"
#include "db/erased_table.h"
#include "db/line_pseudonyms.h"
#include "db/log_piece.h"

#include "core/utf16_log.h"

#include <algorithm>
#include <fstream>

namespace qla::db {

namespace {

constexpr std::size_t kReadBlock = 1 << 20;

// Room to read `bytes` in blocks: no more than they need, since a new file is compared with
// every earlier log of its first line, and thousands of small logs each zeroed a whole block.
std::string ReadRoom(std::int64_t bytes) {
    return std::string(static_cast<std::size_t>(std::clamp<std::int64_t>(
                           bytes, 1, static_cast<std::int64_t>(kReadBlock))),
                       '\0');
}

// The CRC-32 of the file's first `length` bytes; nullopt when they cannot be read.
std::optional<std::uint32_t> CrcOfStart(const std::string& localPath, std::int64_t length) {
    std::ifstream in(localPath, std::ios::binary);
    if (!in.is_open())
        return std::nullopt;
    std::string block = ReadRoom(length);
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

// Follows the stored chunks of a log through the file's bytes, piece by piece: byte for byte
// where a chunk keeps its lines, block by block where it keeps only their sums.
class StoredStart {
  public:
    explicit StoredStart(ChunkReader& chunks) : chunks_(chunks) {}

    // False when the piece differs from the stored bytes or goes past them (`error` empty), or
    // a chunk cannot be read (`error` set).
    bool Take(std::string_view piece, std::string& error) {
        while (!piece.empty()) {
            if (used_ == Size()) {
                if (!chunks_.NextStored(chunk_, error))
                    return false;
                used_ = 0;
                continue;
            }
            const std::size_t n =
                chunk_.Sums ? TakeSummed(piece) : std::min(piece.size(), Size() - used_);
            if (n == 0 ||
                (!chunk_.Sums &&
                 piece.substr(0, n) != std::string_view(chunk_.Bytes.constData() + used_, n)))
                return false;
            used_ += n;
            piece.remove_prefix(n);
        }
        return true;
    }

    // The bytes of a block of sums the file began but did not finish.
    std::int64_t Uncompared() const { return static_cast<std::int64_t>(block_.size()); }

  private:
    std::size_t Size() const { return static_cast<std::size_t>(chunk_.Size); }

    // Gathers the piece's bytes up to the end of the current block and compares the block once
    // it is whole: the bytes taken, or 0 when the block differs.
    std::size_t TakeSummed(std::string_view piece) {
        const std::size_t index = used_ / kSumBlockBytes;
        const std::size_t blockEnd = std::min((index + 1) * kSumBlockBytes, Size());
        const std::size_t n = std::min(piece.size(), blockEnd - used_);
        block_.append(piece.substr(0, n));
        if (used_ + n == blockEnd) {
            if (ExtendCrc(0, block_) != BlockSum(chunk_.Bytes, index))
                return 0;
            block_.clear();
        }
        return n;
    }

    ChunkReader& chunks_;
    StoredChunk chunk_;
    std::size_t used_ = 0; // of the chunk's bytes (those its sums stand for, too)
    std::string block_;    // the file's bytes of the block of sums being compared
};

// The file's text as the log would store it with the erased players' pseudonyms: read whole
// (it is shorter than the log), as UTF-8 where it is UTF-16, and written as an import writes it.
std::optional<std::string> PseudonymisedText(const LogEntry& log, const FileOnDisk& file,
                                             const ErasedNames& erased, std::string& error) {
    std::string bytes;
    if (!ReadFileRange(file.LocalPath, 0, file.Size, bytes)) {
        error = "the log cannot be read: " + file.Shown;
        return std::nullopt;
    }
    if (const Utf16Order order = Utf16OrderOf(file.FirstBytes); order != Utf16Order::None) {
        const ByteBuffer text = DecodeUtf16(bytes, order);
        bytes.assign(text.data(), text.size());
    }
    std::string pseudonymised;
    if (PseudonymiseLines(bytes, erased, {log.Language, log.LineRecognition, true, {}},
                          pseudonymised) > 0)
        return pseudonymised;
    return bytes;
}

// Reads the file piece by piece as the stored text of a log reads (UTF-8 from a UTF-16 file)
// and compares it with the stored chunks. True when every byte of the file matched, or every
// whole block where the log keeps sums: then `uncompared` counts the bytes of the last block.
// `pseudonymised`: the file's text to compare in place of its bytes (a log with pseudonyms).
std::optional<bool> IsStartOf(StatsDatabase& database, const LogEntry& log, const FileOnDisk& file,
                              std::string& error, std::int64_t& uncompared,
                              const std::optional<std::string>& pseudonymised = std::nullopt) {
    if (pseudonymised) {
        ChunkReader chunks(database);
        if (!chunks.Start(log.Id, error))
            return std::nullopt;
        StoredStart stored(chunks);
        const bool same = stored.Take(*pseudonymised, error);
        chunks.Finish();
        if (!error.empty())
            return std::nullopt;
        uncompared = same ? stored.Uncompared() : 0;
        return same;
    }
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
    StoredStart stored(chunks);
    std::string block = ReadRoom(file.Size), text;
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
        if (!stored.Take(piece, error)) {
            chunks.Finish();
            return error.empty() ? std::optional<bool>(false) : std::nullopt;
        }
    }
    chunks.Finish();
    uncompared = stored.Uncompared();
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
                                       const FileOnDisk& file, std::string& error,
                                       std::int64_t* uncompared, const ErasedNames* erased) {
    error.clear();
    if (file.Size >= log.ImportedBytes) {
        if (Continues(log, file, error))
            return FileRelation::Continues;
        return error.empty() ? std::optional(FileRelation::Unrelated) : std::nullopt;
    }
    // Only a log whose lines an erase or an import rewrote holds pseudonyms: the others are
    // compared byte for byte, as the file's text would be written as it is.
    std::optional<std::string> text;
    if (erased != nullptr && !erased->Empty()) {
        const auto rewritten = ReadErasedLogs(database, error);
        if (!rewritten)
            return std::nullopt;
        if (rewritten->contains(log.Id)) {
            text = PseudonymisedText(log, file, *erased, error);
            if (!text)
                return std::nullopt;
        }
    }
    std::int64_t notCompared = 0;
    const auto start = IsStartOf(database, log, file, error, notCompared, text);
    if (!start)
        return std::nullopt;
    if (uncompared)
        *uncompared = *start ? notCompared : 0;
    return *start ? FileRelation::StartOf : FileRelation::Unrelated;
}

std::optional<ImportedLogMatch> FindImportedLog(StatsDatabase& database, const FileOnDisk& file,
                                                const ErasedNames& erased, std::string& error) {
    const auto candidates =
        ImportCandidates(database, Fingerprint(HeadBytes(file.FirstBytes)), error);
    if (!candidates)
        return std::nullopt;
    for (const LogEntry& log : *candidates) {
        error = RecordDamage(log, database.Path());
        if (!error.empty())
            return std::nullopt;
        std::int64_t uncompared = 0;
        const auto relation = RelationOf(database, log, file, error, &uncompared, &erased);
        if (!relation)
            return std::nullopt;
        if (*relation == FileRelation::Continues)
            return ImportedLogMatch{log, std::nullopt};
        if (*relation == FileRelation::StartOf)
            return ImportedLogMatch{std::nullopt, log, uncompared};
    }
    return ImportedLogMatch{};
}

} // namespace qla::db
