// Telling a statistics database file from a log by its content, for a file handed to the window
// (its command line, a desktop entry, a drop): the SQLite header and this program's tables.
#pragma once

#include <string>

namespace qla::db {

// True when `path` is an SQLite file that holds this program's meta table (any schema version).
bool IsStatisticsDatabaseFile(const std::string& path);

} // namespace qla::db
