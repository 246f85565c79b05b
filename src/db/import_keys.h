// The keys an import keeps so that a later import recognises the same file without reading all
// of it: the hash of its first line (looked up through an index), the hash of the bytes just
// before the imported offset, and the CRC-32 of everything imported. With the fingerprint of
// the first 64 KiB they tell a file that continues a stored log from one that only shares its
// start, and a copy of a log's first lines from a new log.
#pragma once

#include <QSqlDatabase>

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace qla::db {

// The keys of a log computed from its stored chunks, fed in order: they are those of the file
// when the stored bytes are the file's own (FileBytes), which the fingerprint tells.
class StoredKeys {
  public:
    StoredKeys(std::string fingerprint, std::int64_t fingerprintBytes, std::int64_t importedBytes)
        : fingerprint_(std::move(fingerprint)), fingerprintBytes_(fingerprintBytes),
          importedBytes_(importedBytes) {}

    void Add(std::string_view chunk);

    // False for a log read from UTF-16 (stored as UTF-8), or when fewer bytes were fed than
    // were imported.
    bool FileBytes() const;
    std::string HeadHash() const;
    std::string TailHash() const;
    std::uint32_t Crc() const { return crc_; }

  private:
    std::string fingerprint_;
    std::int64_t fingerprintBytes_, importedBytes_;
    std::int64_t seen_ = 0;
    std::string start_, tail_;
    std::uint32_t crc_ = 0;
};

// Computes the chunks' checksums and, where the stored bytes are the file's own (every log but
// one read from UTF-16), each log's keys: a step of the upgrade to version 4, inside the
// caller's write transaction. False with the engine's message on failure.
bool FillImportKeys(QSqlDatabase& connection, std::string& error);

} // namespace qla::db
