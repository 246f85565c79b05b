// IsStatisticsDatabaseFile: the 16-byte SQLite header first, so a log is never handed to SQLite,
// then the meta table, read without writing anything.
#include "db/database_file.h"

#include "db/engine_libraries.h"

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
    std::string error;
    const auto sqlite = LoadSqliteLibrary(error);
    if (!sqlite) // without SQLite no database file can be opened either
        return false;
    sqlite3* connection = nullptr;
    bool ours = false;
    if (sqlite->OpenV2(path.c_str(), &connection, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* query = nullptr;
        if (sqlite->PrepareV2(connection,
                              "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = "
                              "'qla_meta'",
                              -1, &query, nullptr) == SQLITE_OK)
            ours = sqlite->Step(query) == SQLITE_ROW;
        sqlite->Finalize(query);
    }
    sqlite->Close(connection);
    return ours;
}

} // namespace qla::db
