// What --db names: an SQLite file, or a PostgreSQL database given as a URL
// (postgresql://user@host:port/dbname) or as libpq key=value pairs (host=/run/pg dbname=stats).
#pragma once

#include <map>
#include <optional>
#include <string>

namespace qla::db {

enum class Engine { SQLite, PostgreSQL };

struct DatabaseTarget {
    Engine Kind = Engine::SQLite;
    std::string Text; // as given: the file's path, or the connection text (it holds no password)
    // PostgreSQL: the connection parameters (host, port, dbname, user and any other libpq
    // keyword). A password is never among them: libpq takes it from PGPASSWORD or ~/.pgpass.
    std::map<std::string, std::string> Parameters;
};

// Reads the text of --db. Nullopt with the reason in `error` for a connection text that cannot
// be read or that carries a password (it would show in the process list and shell history).
std::optional<DatabaseTarget> ParseDatabaseTarget(const std::string& text, std::string& error);

// True when the text is meant as a PostgreSQL connection rather than a file.
bool LooksLikeConnection(const std::string& text);

} // namespace qla::db
