// Refusing what is no log.
#include "db/import_refusal.h"

#include "core/file_identity.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace qla::db {

namespace {

// The files that make up an SQLite database beside its main file.
constexpr const char* kDatabaseCompanions[] = {"", "-journal", "-wal", "-shm"};

} // namespace

bool IsPartOfDatabase(const std::string& path, const std::string& databasePath) {
    const auto file = IdentityOfFile(path);
    const std::filesystem::path absolute = std::filesystem::absolute(path).lexically_normal();
    for (const char* companion : kDatabaseCompanions) {
        const std::string part = databasePath + companion;
        if (file ? IdentityOfFile(part) == file
                 : std::filesystem::absolute(part).lexically_normal() == absolute)
            return true;
    }
    return false;
}

std::string ImportRefusal(StatsDatabase& database, const std::string& localPath,
                          const std::string& shown) {
    struct stat state {};
    if (::stat(localPath.c_str(), &state) != 0)
        return errno == ENOENT ? "the log does not exist: " + shown
                               : "the log cannot be read: " + shown;
    if (S_ISDIR(state.st_mode))
        return "this is a folder, not a log file: " + shown;
    if (!S_ISREG(state.st_mode))
        return "this is not a regular file, not a log: " + shown;
    if (database.Kind() == Engine::SQLite && IsPartOfDatabase(localPath, database.Path()))
        return "this is the statistics database itself, not a log: " + shown;
    std::ifstream in(localPath, std::ios::binary);
    if (!in.is_open())
        return "the log cannot be read: " + shown;
    static constexpr char kSqliteHeader[] = "SQLite format 3"; // and its NUL
    char header[sizeof kSqliteHeader] = {};
    in.read(header, sizeof header);
    if (in.gcount() == static_cast<std::streamsize>(sizeof header) &&
        std::memcmp(header, kSqliteHeader, sizeof header) == 0)
        return "this is an SQLite database, not a log: " + shown;
    return {};
}

} // namespace qla::db
