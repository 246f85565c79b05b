// Reading a log's stored chunks back, each checked against the checksum stored with it, so
// damaged bytes are reported instead of silently changing every total.
#pragma once

#include "db/log_catalog.h"
#include "db/stats_database.h"

#include <QByteArray>
#include <QSqlQuery>

#include <cstdint>
#include <optional>
#include <string>

namespace qla::db {

// The `packing` of a chunk stored compressed by qCompress (level 1): a 4-byte size, then zlib.
inline constexpr const char* kZlibPacking = "zlib";

// Reads a log's chunks unpacked; each is checked against the checksum of its unpacked bytes.
class ChunkReader {
  public:
    // Reads inside the caller's transaction, if any.
    explicit ChunkReader(StatsDatabase& database);

    // Starts on the chunks of `log`; false with the reason in `error`.
    bool Start(LogId log, std::string& error);
    // The next chunk into `bytes`: false at the end (`error` empty) or on a failure or damage
    // ("the database DB is damaged: ...", in `error`).
    bool Next(QByteArray& bytes, std::string& error);
    // Ends the reading before the last chunk, so the statement frees its rows.
    void Finish() { query_.finish(); }

    std::int64_t ChunksRead() const { return read_; }

  private:
    StatsDatabase& database_;
    QSqlQuery query_;
    bool checksums_; // a database from before version 4 has none
    bool packing_;   // nor one from before version 5 packed chunks
    LogId log_ = 0;
    std::int64_t read_ = 0;
};

// The stored bytes of each chunk of `log` added up, as the database holds them (without
// reading them); nullopt with the reason in `error`.
std::optional<std::int64_t> StoredChunkBytes(StatsDatabase& database, LogId log,
                                             std::string& error);

} // namespace qla::db
