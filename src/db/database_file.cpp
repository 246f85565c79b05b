// IsStatisticsDatabaseFile: the 16-byte SQLite header first, so a log is never handed to SQLite,
// then the meta table, read without writing anything.
#include "db/database_file.h"

#include <sqlite3.h>

#include <array>
#include <cstring>
#include <fstream>

namespace qla::db {

bool IsStatisticsDatabaseFile(const std::string& path) {
    static constexpr char kHeader[] = "SQLite format 3"; // and its terminating zero byte
    std::array<char, sizeof kHeader> head{};
    std::ifstream file(path, std::ios::binary);
    if (!file.read(head.data(), static_cast<std::streamsize>(head.size())) ||
        std::memcmp(head.data(), kHeader, head.size()) != 0)
        return false;
    sqlite3* connection = nullptr;
    bool ours = false;
    if (sqlite3_open_v2(path.c_str(), &connection, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* query = nullptr;
        if (sqlite3_prepare_v2(connection,
                               "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = "
                               "'qla_meta'",
                               -1, &query, nullptr) == SQLITE_OK)
            ours = sqlite3_step(query) == SQLITE_ROW;
        sqlite3_finalize(query);
    }
    sqlite3_close(connection);
    return ours;
}

} // namespace qla::db
