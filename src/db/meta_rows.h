// The rows of qla_meta: a value by name, read and written inside the caller's transaction.
#pragma once

#include "db/stats_database.h"

#include <optional>
#include <string>

namespace qla::db {

// The row's value; nullopt when there is no such row, or (`error` set) when it cannot be read.
std::optional<std::string> ReadMetaValue(StatsDatabase& database, const char* name,
                                         std::string& error);

// Sets the row's value, adding the row when there is none.
bool WriteMetaValue(StatsDatabase& database, const char* name, const std::string& value,
                    std::string& error);

} // namespace qla::db
