// How a file on disk relates to a log the database holds: does it continue the log (the log's
// imported bytes are the file's first bytes), is it a shorter copy of the log's start, or
// neither. The first bytes alone cannot tell: a rotated log, or the logs of two servers that a
// script started from one file, share their first 64 KiB and more.
#pragma once

#include "db/erased_names.h"
#include "db/log_catalog.h"
#include "db/stats_database.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qla::db {

enum class FileRelation {
    Unrelated,
    Continues, // the log's imported bytes are the start of the file (which may hold more)
    StartOf,   // the file is shorter than the imported part and its bytes are the log's start
};

struct FileOnDisk {
    std::string Shown;     // for messages
    std::string LocalPath; // read
    std::int64_t Size = 0;
    std::string_view FirstBytes; // the first min(Size, kFingerprintBytes) bytes
};

// A continuation is proved by the fingerprint of the first bytes and the hash of the bytes just
// before the imported offset; a file of the size last seen is read whole against the CRC of
// everything imported, so a rewrite of the same size is no continuation. A shorter copy is
// compared byte for byte with the stored chunks (read as UTF-8 where the log is UTF-16); a chunk
// that keeps only its block sums (--no-archive) is compared block by block, and a last block
// the file holds only part of cannot be: its bytes are counted in `uncompared`, if given.
// nullopt with the reason in `error` when the file or the database cannot be read, or the
// chunks are damaged.
// A log whose stored lines hold erased players' pseudonyms (erased_table.h) is compared with
// the file's lines pseudonymised alike, when `erased` is given.
std::optional<FileRelation> RelationOf(StatsDatabase& database, const LogEntry& log,
                                       const FileOnDisk& file, std::string& error,
                                       std::int64_t* uncompared = nullptr,
                                       const ErasedNames* erased = nullptr);

// What the file is to the logs already imported: the log it continues, or the log whose start
// it copies, or neither (both empty).
struct ImportedLogMatch {
    std::optional<LogEntry> Continued;
    std::optional<LogEntry> Copied;
    std::int64_t UncomparedBytes = 0; // of a copy, see RelationOf
};

// Finds the stored log the file continues or copies: the candidates of its first line through
// the index, newest first, each proved by RelationOf. nullopt with the reason in `error` when
// the file or the database cannot be read, or a candidate's records are damaged.
std::optional<ImportedLogMatch> FindImportedLog(StatsDatabase& database, const FileOnDisk& file,
                                                const ErasedNames& erased, std::string& error);

// The bytes [from, to) of the file; false when they cannot all be read.
bool ReadFileRange(const std::string& localPath, std::int64_t from, std::int64_t to,
                   std::string& bytes);

} // namespace qla::db
