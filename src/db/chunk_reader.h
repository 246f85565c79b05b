// Reading a log's stored chunks back, each checked against the checksum stored with it, so
// damaged bytes are reported instead of silently changing every total. A chunk of a log
// imported with --no-archive holds the sums of its blocks instead of its lines.
#pragma once

#include "db/log_catalog.h"
#include "db/stats_database.h"

#include <QByteArray>
#include <QSqlQuery>

#include <cstdint>
#include <optional>
#include <string>

namespace qla::db {

// What reading a log's lines says when the log keeps only their sums.
std::string KeepsNoLinesText(LogId log);

// One stored chunk as the database holds it.
struct StoredChunk {
    QByteArray Bytes;       // its lines unpacked, or with Sums the CRC-32 of each block
    bool Sums = false;      // imported with --no-archive: no lines
    std::int64_t Size = 0;  // the bytes of lines the chunk stands for
    std::int64_t Lines = 0; // line ends in them
    std::int64_t Seq = 0;
};

// Reads a log's chunks unpacked; each is checked against the checksum of its unpacked bytes.
class ChunkReader {
  public:
    // Reads inside the caller's transaction, if any.
    explicit ChunkReader(StatsDatabase& database);

    // Starts on the chunks of `log`; false with the reason in `error`.
    bool Start(LogId log, std::string& error);
    // The next chunk's lines into `bytes`: false at the end (`error` empty) or on a failure or
    // damage ("the database DB is damaged: ...", in `error`), or at a chunk that keeps no lines
    // (KeepsNoLinesText).
    bool Next(QByteArray& bytes, std::string& error);
    // The next chunk, lines or sums: as Next, but a chunk of sums is returned (its sums checked
    // against its size and, combined, against its checksum).
    bool NextStored(StoredChunk& chunk, std::string& error);
    // Ends the reading before the last chunk, so the statement frees its rows.
    void Finish() { query_.finish(); }

    std::int64_t ChunksRead() const { return read_; }

  private:
    bool Damaged(const std::string& what, std::string& error);

    StatsDatabase& database_;
    QSqlQuery query_;
    bool checksums_; // a database from before version 4 has none
    bool packing_;   // nor one from before version 5 packed chunks
    bool sizes_;     // nor their unpacked sizes
    LogId log_ = 0;
    std::int64_t read_ = 0;
};

// The stored bytes of each chunk of `log` added up, as the database holds them (without
// reading them); nullopt with the reason in `error`.
std::optional<std::int64_t> StoredChunkBytes(StatsDatabase& database, LogId log,
                                             std::string& error);

// Whether every chunk of `log` keeps its lines (none was imported with --no-archive); nullopt
// with the reason in `error`.
std::optional<bool> KeepsAllLines(StatsDatabase& database, LogId log, std::string& error);

} // namespace qla::db
