// The files an import refuses before it reads a byte of them.
#pragma once

#include "db/stats_database.h"

#include <string>

namespace qla::db {

// True when `path` leads to the SQLite database file `databasePath` or one of the files beside
// it that belong to it (its journal, write-ahead log or shared memory); compared by path where
// a file does not exist yet.
bool IsPartOfDatabase(const std::string& path, const std::string& databasePath);

// Why the file (read as `localPath`, named `shown` in messages) cannot be imported; empty when
// it can. Only regular files are read (a FIFO would block the import in open(), a device never
// ends), and never a database: imported, it would add its own bytes again with every import.
std::string ImportRefusal(StatsDatabase& database, const std::string& localPath,
                          const std::string& shown);

} // namespace qla::db
