// The keys an import keeps so that a later import recognises the same file without reading all
// of it: the hash of its first line (looked up through an index), the hash of the bytes just
// before the imported offset, and the CRC-32 of everything imported. With the fingerprint of
// the first 64 KiB they tell a file that continues a stored log from one that only shares its
// start, and a copy of a log's first lines from a new log.
#pragma once

#include <QSqlDatabase>

#include <string>

namespace qla::db {

// Computes the chunks' checksums and, where the stored bytes are the file's own (every log but
// one read from UTF-16), each log's keys: a step of the upgrade to version 4, inside the
// caller's write transaction. False with the engine's message on failure.
bool FillImportKeys(QSqlDatabase& connection, std::string& error);

} // namespace qla::db
