// The schema in SQL that SQLite and PostgreSQL both accept: BIGINT keys given by the program
// (no engine-specific auto-increment), TEXT, and BYTEA for the stored log bytes (SQLite keeps a
// blob as it is in a column of any declared type).
#include "db/schema.h"

#include "db/engine_dialect.h"
#include "db/import_keys.h"
#include "db/public_views.h"
#include "db/statistics_rewrites.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QVariant>

#include <algorithm>
#include <vector>

namespace qla::db {

namespace {

constexpr const char* kTables[] = {
    "CREATE TABLE qla_meta ("
    " name VARCHAR(64) PRIMARY KEY,"
    " value TEXT NOT NULL)",

    "CREATE TABLE logs ("
    " id BIGINT PRIMARY KEY,"
    " path TEXT NOT NULL,"
    " fingerprint VARCHAR(64) NOT NULL,"
    " fingerprint_bytes BIGINT NOT NULL,"
    " file_size BIGINT NOT NULL,"
    " imported_bytes BIGINT NOT NULL,"
    " stored_bytes BIGINT NOT NULL,"
    " date_header TEXT,"
    " date_key VARCHAR(19),"
    " language VARCHAR(16) NOT NULL,"
    " recognition VARCHAR(16) NOT NULL DEFAULT 'classic',"
    " lines BIGINT NOT NULL,"
    " kills BIGINT NOT NULL,"
    " deaths BIGINT NOT NULL,"
    " teamkills BIGINT NOT NULL,"
    " voice_chats BIGINT NOT NULL,"
    " text_chats BIGINT NOT NULL,"
    " unknown_lines BIGINT NOT NULL,"
    " first_imported VARCHAR(20) NOT NULL,"
    " last_imported VARCHAR(20) NOT NULL,"
    " head_hash VARCHAR(64),"
    " tail_hash VARCHAR(64),"
    " content_crc BIGINT,"
    " server TEXT)",

    "CREATE TABLE log_chunks ("
    " log_id BIGINT NOT NULL REFERENCES logs (id),"
    " seq BIGINT NOT NULL,"
    " lines BIGINT NOT NULL,"
    " bytes BYTEA NOT NULL,"
    " checksum BIGINT,"
    " packing VARCHAR(8),"
    " size BIGINT,"
    " PRIMARY KEY (log_id, seq))",

    "CREATE TABLE log_players ("
    " log_id BIGINT NOT NULL REFERENCES logs (id),"
    " name TEXT NOT NULL,"
    " first_seen BIGINT NOT NULL,"
    " kills BIGINT NOT NULL,"
    " deaths BIGINT NOT NULL,"
    " teamkills BIGINT NOT NULL,"
    " voice_chats BIGINT NOT NULL,"
    " text_chats BIGINT NOT NULL,"
    " PRIMARY KEY (log_id, name))",

    "CREATE INDEX logs_date_key ON logs (date_key)",
};

// Added in version 4: what finds a file's earlier imports through an index and proves the
// file continues them (or is a copy of their start), and a checksum of every stored chunk.
struct AddedColumn {
    const char* Table;
    const char* Name;
    const char* Type;
};
constexpr AddedColumn kVersion4Columns[] = {
    {"logs", "head_hash", "VARCHAR(64)"},
    {"logs", "tail_hash", "VARCHAR(64)"},
    {"logs", "content_crc", "BIGINT"},
    {"log_chunks", "checksum", "BIGINT"},
};
constexpr const char* kVersion4Indexes[] = {
    "CREATE INDEX IF NOT EXISTS logs_head_hash ON logs (head_hash)",
    "CREATE INDEX IF NOT EXISTS logs_path ON logs (path)",
};

// Added in version 8: the server a log was played on.
constexpr AddedColumn kVersion8Columns[] = {{"logs", "server", "TEXT"}};

// Added in version 11: a digest's kills and renames apart from its head (digest_packing.h),
// after it in the row, so that a reader of the head never reads them. NULL in a row stored
// before, whose head holds them.
constexpr AddedColumn kVersion11Columns[] = {{"log_digests", "kills", "BYTEA"},
                                             {"log_digests", "renames", "BYTEA"}};

// Added in version 13: the uses of the names of each log's chains (log_name_uses.h). NULL in a
// row stored before, until the upgrade works them out.
constexpr AddedColumn kVersion13Columns[] = {{"log_chains", "name_uses", "BYTEA"}};

// Added in version 5: how a chunk's bytes are packed (NULL: as they are; "zlib": compressed
// as qCompress does; from version 13 "zstd", chunk_compression.h) and its size unpacked.
constexpr AddedColumn kVersion5Columns[] = {
    {"log_chunks", "packing", "VARCHAR(8)"},
    {"log_chunks", "size", "BIGINT"},
};

// Added in version 5: each log's statistics, stored as it is imported, so that reading
// commands never analyse its lines again (log_digest.h), and its chats and other lines as rows.
// The tables of many rows a log name it without REFERENCES: PostgreSQL checks a reference row
// by row, which cost an import more than storing the rows; they are written and removed with
// their log's row, in one transaction.
constexpr const char* kVersion5Tables[] = {
    "CREATE TABLE IF NOT EXISTS log_digests ("
    " log_id BIGINT PRIMARY KEY REFERENCES logs (id),"
    " digest BYTEA NOT NULL)",

    "CREATE TABLE IF NOT EXISTS log_chats ("
    " log_id BIGINT NOT NULL,"
    " kind SMALLINT NOT NULL,"
    " seq BIGINT NOT NULL,"
    " player BIGINT NOT NULL,"
    " team SMALLINT NOT NULL,"
    " location BYTEA NOT NULL,"
    " message BYTEA NOT NULL,"
    " PRIMARY KEY (log_id, kind, seq))",

    // The other lines in blocks of up to 256, each line ended by an LF: a row of its own for
    // each would cost an import more than all else it stores. `seq` is the block's first line.
    "CREATE TABLE IF NOT EXISTS log_unknown_lines ("
    " log_id BIGINT NOT NULL,"
    " seq BIGINT NOT NULL,"
    " line_count BIGINT NOT NULL,"
    " lines BYTEA NOT NULL,"
    " PRIMARY KEY (log_id, seq))",

    // For other tools' SQL (public_tables.h): players are places in the log, as first_seen.
    "CREATE TABLE IF NOT EXISTS log_player_weapons ("
    " log_id BIGINT NOT NULL,"
    " player BIGINT NOT NULL,"
    " weapon SMALLINT NOT NULL,"
    " weapon_name TEXT NOT NULL,"
    " kills BIGINT NOT NULL,"
    " deaths BIGINT NOT NULL,"
    " PRIMARY KEY (log_id, player, weapon))",

    "CREATE TABLE IF NOT EXISTS log_encounters ("
    " log_id BIGINT NOT NULL,"
    " killer BIGINT NOT NULL,"
    " victim BIGINT NOT NULL,"
    " kills BIGINT NOT NULL,"
    " teamkills BIGINT NOT NULL,"
    " PRIMARY KEY (log_id, killer, victim))",

    // The views find a player's name by his place.
    "CREATE INDEX IF NOT EXISTS log_players_place ON log_players (log_id, first_seen)",
};

// Adds the columns a table does not have yet; false with the engine's message in `query`.
template <std::size_t N>
bool AddColumns(QSqlDatabase& connection, QSqlQuery& query, const AddedColumn (&columns)[N]) {
    for (const AddedColumn& column : columns)
        if (!connection.record(QString::fromLatin1(column.Table))
                 .contains(QString::fromLatin1(column.Name)) &&
            !query.exec(QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3")
                            .arg(QString::fromLatin1(column.Table),
                                 QString::fromLatin1(column.Name),
                                 QString::fromLatin1(column.Type))))
            return false;
    return true;
}

// The tables of many small rows are kept by their primary key on SQLite (WITHOUT ROWID): their
// rows are looked up and read in key order only, and an insert then updates one tree instead of
// two. Not the tables of large rows (a log's statistics, blocks of other lines): SQLite compares
// a key of such a table by reading its whole row from the overflow pages, at every step of a
// lookup, which made reading a hundred logs' statistics copy each of them many times over.
constexpr const char* kTablesOfLargeRows[] = {
    "log_digests", "log_holdings", "log_unknown_lines", "log_kill_orders",
    "log_chains",  "log_blocks",   "kept_persons"};

bool HoldsLargeRows(const QString& statement) {
    for (const char* table : kTablesOfLargeRows)
        if (statement.contains(QStringLiteral("EXISTS %1 (").arg(QString::fromLatin1(table))))
            return true;
    return false;
}

QString Version5Statement(QSqlDatabase& connection, const char* statement) {
    QString sql = QString::fromLatin1(statement);
    if (connection.driverName() == QLatin1String("QSQLITE") &&
        sql.startsWith(QLatin1String("CREATE TABLE")) && !HoldsLargeRows(sql))
        sql += QStringLiteral(" WITHOUT ROWID");
    return sql;
}

// Added in version 6: each log's holdings of names (log_digest.h), apart from its digest so that
// the readers that merge no persons do not read them.
constexpr const char* kVersion6Tables[] = {"CREATE TABLE IF NOT EXISTS log_holdings ("
                                           " log_id BIGINT PRIMARY KEY,"
                                           " holdings BYTEA NOT NULL)"};

// Added in version 9: each log's kills in the order they were made (kill_order_rows.h), a row
// for each import of its lines.
constexpr const char* kVersion9Tables[] = {"CREATE TABLE IF NOT EXISTS log_kill_orders ("
                                           " log_id BIGINT NOT NULL,"
                                           " seq BIGINT NOT NULL,"
                                           " first_kill BIGINT NOT NULL,"
                                           " kills BIGINT NOT NULL,"
                                           " end_session BIGINT NOT NULL,"
                                           " last_session BIGINT NOT NULL,"
                                           " kill_order BYTEA NOT NULL,"
                                           " PRIMARY KEY (log_id, seq))"};

// Added in version 11: each log's holdings folded into chains (log_chains.h).
constexpr const char* kVersion11Tables[] = {"CREATE TABLE IF NOT EXISTS log_chains ("
                                            " log_id BIGINT PRIMARY KEY,"
                                            " chains BYTEA NOT NULL,"
                                            " chats BYTEA NOT NULL)"};

// Added in version 12: the players' counters summed over runs of logs (log_blocks.h).
constexpr const char* kVersion12Tables[] = {"CREATE TABLE IF NOT EXISTS log_blocks ("
                                            " first_log BIGINT NOT NULL,"
                                            " logs BIGINT NOT NULL,"
                                            " last_log BIGINT NOT NULL,"
                                            " digest BYTEA NOT NULL,"
                                            " PRIMARY KEY (first_log, logs))",
                                            // At most one row: the merge of every log.
                                            "CREATE TABLE IF NOT EXISTS kept_persons ("
                                            " aliases BYTEA NOT NULL,"
                                            " players BYTEA NOT NULL,"
                                            " names BYTEA NOT NULL)"};

// Version 7: a SQLite database made by versions 5 and 6 keeps its tables of large rows by key;
// each is copied into a table of the same columns that SQLite keeps by row number. The
// statements creating them are found by name, so the copy has every column and constraint.
bool RebuildTablesOfLargeRows(QSqlDatabase& connection, QSqlQuery& query) {
    if (connection.driverName() != QLatin1String("QSQLITE"))
        return true;
    std::vector<QString> creates;
    for (const char* statement : kVersion5Tables)
        creates.emplace_back(QString::fromLatin1(statement));
    for (const char* statement : kVersion6Tables)
        creates.emplace_back(QString::fromLatin1(statement));
    for (const char* table : kTablesOfLargeRows) {
        const QString name = QString::fromLatin1(table);
        const QString copy = name + QStringLiteral("_by_row");
        const auto create =
            std::find_if(creates.begin(), creates.end(), [&](const QString& statement) {
                return statement.contains(QStringLiteral("EXISTS %1 (").arg(name));
            });
        if (create == creates.end())
            continue;
        QString statement = *create;
        statement.replace(QStringLiteral("EXISTS %1 (").arg(name),
                          QStringLiteral("EXISTS %1 (").arg(copy));
        if (!query.exec(QStringLiteral("DROP TABLE IF EXISTS %1").arg(copy)) ||
            !query.exec(statement))
            return false;
        // Columns a later version added come along (a database that says it is older).
        for (const AddedColumn& column : kVersion11Columns)
            if (name == QLatin1String(column.Table) &&
                connection.record(name).contains(QLatin1String(column.Name)) &&
                !query.exec(QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3")
                                .arg(copy, QLatin1String(column.Name), QLatin1String(column.Type))))
                return false;
        if (!query.exec(QStringLiteral("INSERT INTO %1 SELECT * FROM %2").arg(copy, name)) ||
            !query.exec(QStringLiteral("DROP TABLE %1").arg(name)) ||
            !query.exec(QStringLiteral("ALTER TABLE %1 RENAME TO %2").arg(copy, name)))
            return false;
    }
    return true;
}

// Added in version 3: the user's joins and splits of player names, in the order made.
constexpr const char* kAliasTable = "CREATE TABLE IF NOT EXISTS player_aliases ("
                                    " seq BIGINT PRIMARY KEY,"
                                    " kind VARCHAR(8) NOT NULL,"
                                    " name TEXT NOT NULL,"
                                    " other TEXT NOT NULL)";

// Adds the qla_meta row `name` with `value` unless the database has it already.
bool AddMetaRowIfMissing(QSqlQuery& query, const char* name, const char* value) {
    query.prepare(QStringLiteral("INSERT INTO qla_meta (name, value) SELECT ?, ?"
                                 " WHERE NOT EXISTS (SELECT 1 FROM qla_meta WHERE name = ?)"));
    query.addBindValue(QString::fromLatin1(name));
    query.addBindValue(QString::fromLatin1(value));
    query.addBindValue(QString::fromLatin1(name));
    return query.exec();
}

} // namespace

bool CreateSchema(QSqlDatabase& connection, std::string& error) {
    QSqlQuery query(connection);
    for (const char* statement : kTables) {
        if (!query.exec(QString::fromLatin1(statement))) {
            error = "cannot create the tables: " + query.lastError().text().toStdString();
            return false;
        }
    }
    for (const char* statement :
         {kAliasTable, kVersion4Indexes[0], kVersion4Indexes[1], kHiddenPlayersTable}) {
        if (!query.exec(QString::fromLatin1(statement))) {
            error = "cannot create the tables: " + query.lastError().text().toStdString();
            return false;
        }
    }
    for (const char* statement : kVersion5Tables) {
        if (!query.exec(Version5Statement(connection, statement))) {
            error = "cannot create the tables: " + query.lastError().text().toStdString();
            return false;
        }
    }
    for (const char* statement : {kVersion6Tables[0], kVersion9Tables[0], kVersion11Tables[0],
                                  kVersion12Tables[0], kVersion12Tables[1]}) {
        if (!query.exec(Version5Statement(connection, statement))) {
            error = "cannot create the tables: " + query.lastError().text().toStdString();
            return false;
        }
    }
    if (!AddColumns(connection, query, kVersion11Columns) ||
        !AddColumns(connection, query, kVersion13Columns)) {
        error = "cannot create the tables: " + query.lastError().text().toStdString();
        return false;
    }
    if (!CreatePublicViews(connection, error))
        return false;
    const QString insert = QStringLiteral("INSERT INTO qla_meta (name, value) VALUES (?, ?)");
    for (const auto& [name, value] : {std::pair{"schema_version", QString::number(kSchemaVersion)},
                                      std::pair{"next_log_id", QStringLiteral("1")},
                                      std::pair{kDefaultRecognitionRow, QStringLiteral("full")},
                                      std::pair{kStatisticsRewritesRow, QStringLiteral("0")}}) {
        query.prepare(insert);
        query.addBindValue(QString::fromLatin1(name));
        query.addBindValue(value);
        if (!query.exec()) {
            error = "cannot write the schema version: " + query.lastError().text().toStdString();
            return false;
        }
    }
    return true;
}

int StoredSchemaVersion(QSqlDatabase& connection) {
    QSqlQuery query(connection);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT value FROM qla_meta WHERE name = 'schema_version'")) ||
        !query.next())
        return 0;
    return query.value(0).toString().toInt();
}

bool UpgradeSchema(QSqlDatabase& connection, std::string& error) {
    const int stored = StoredSchemaVersion(connection);
    if (stored >= kSchemaVersion)
        return true;
    QSqlQuery query(connection);
    const auto fail = [&](const std::string& reason) {
        error = "cannot bring the tables to version " + std::to_string(kSchemaVersion) + ": " +
                (reason.empty() ? query.lastError().text().toStdString() : reason);
        return false;
    };
    // Every log of a version 1 database was imported in classic mode.
    if ((stored < 2 &&
         !query.exec(QStringLiteral("ALTER TABLE logs ADD COLUMN recognition VARCHAR(16) NOT NULL"
                                    " DEFAULT 'classic'"))) ||
        (stored < 3 && !query.exec(QString::fromLatin1(kAliasTable))))
        return fail({});
    if (stored < 4) {
        if (!AddColumns(connection, query, kVersion4Columns))
            return fail({});
        for (const char* statement : kVersion4Indexes)
            if (!query.exec(QString::fromLatin1(statement)))
                return fail({});
        std::string reason;
        if (!FillImportKeys(connection, reason))
            return fail(reason);
        // Its logs were read in classic mode: new ones are too, unless told otherwise.
        if (!AddMetaRowIfMissing(query, kDefaultRecognitionRow, "classic"))
            return fail({});
    }
    if (stored < 5) {
        if (!AddColumns(connection, query, kVersion5Columns))
            return fail({});
        for (const char* statement : kVersion5Tables)
            if (!query.exec(Version5Statement(connection, statement)))
                return fail({});
        std::string reason;
        if (!CreatePublicViews(connection, reason))
            return fail(reason);
    }
    if (stored < 6)
        for (const char* statement : kVersion6Tables)
            if (!query.exec(Version5Statement(connection, statement)))
                return fail({});
    if (stored >= 5 && stored < 7 && !RebuildTablesOfLargeRows(connection, query))
        return fail({});
    if (stored < 8 && (!AddColumns(connection, query, kVersion8Columns) ||
                       !query.exec(QString::fromLatin1(kHiddenPlayersTable))))
        return fail({});
    if (stored < 9 && !query.exec(Version5Statement(connection, kVersion9Tables[0])))
        return fail({});
    if (stored < 10 && !AddMetaRowIfMissing(query, kStatisticsRewritesRow, "0"))
        return fail({});
    if (stored < 11 && (!query.exec(Version5Statement(connection, kVersion11Tables[0])) ||
                        !AddColumns(connection, query, kVersion11Columns)))
        return fail({});
    if (stored < 12)
        for (const char* statement : kVersion12Tables)
            if (!query.exec(Version5Statement(connection, statement)))
                return fail({});
    if (stored < 13 && !AddColumns(connection, query, kVersion13Columns))
        return fail({});
    if (!query.exec(QStringLiteral("UPDATE qla_meta SET value = '%1' WHERE name = "
                                   "'schema_version'")
                        .arg(kSchemaVersion)))
        return fail({});
    return true;
}

bool IsEmptyDatabase(QSqlDatabase& connection) {
    return connection.tables(QSql::Tables).isEmpty();
}

std::string SchemaProblem(QSqlDatabase& connection, const std::string& path) {
    if (!connection.tables(QSql::Tables).contains(QStringLiteral("qla_meta")))
        return "not a statistics database (it has no qla_meta table): " + path;
    QSqlQuery query(connection);
    query.setForwardOnly(true);
    // A role without rights on the tables sees them but cannot read them: say so, not that
    // this is no statistics database.
    if (!query.exec(QStringLiteral("SELECT value FROM qla_meta WHERE name = 'schema_version'")))
        return "cannot read the database " + path + ": " +
               EngineMessage(connection.driverName() == QLatin1String("QPSQL") ? Engine::PostgreSQL
                                                                               : Engine::SQLite,
                             query.lastError());
    if (!query.next())
        return "not a statistics database (it has no schema version): " + path;
    bool number = false;
    const int version = query.value(0).toString().toInt(&number);
    if (!number || version < kOldestReadableVersion || version > kSchemaVersion)
        return "the database " + path + " has schema version " +
               query.value(0).toString().toStdString() + "; this qla reads versions " +
               std::to_string(kOldestReadableVersion) + " to " + std::to_string(kSchemaVersion);
    return {};
}

} // namespace qla::db
