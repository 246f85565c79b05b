// Reading and adding the rows of erased_players and erased_logs.
#include "db/erased_table.h"

#include <QRandomGenerator>
#include <QSqlQuery>
#include <QVariant>

#include <array>

namespace qla::db {

namespace {

constexpr const char* kSaltRow = "erase_salt";

// Created by the first erase, as hidden_players by the first hide in a database that predates
// it: no schema version of their own.
constexpr const char* kErasedTables[] = {
    "CREATE TABLE IF NOT EXISTS erased_players ("
    " seq BIGINT PRIMARY KEY,"
    " key_hash TEXT NOT NULL UNIQUE,"
    " window_hash BIGINT NOT NULL,"
    " key_bytes BIGINT NOT NULL,"
    " pseudonym TEXT NOT NULL)",

    "CREATE TABLE IF NOT EXISTS erased_logs ("
    " log_id BIGINT PRIMARY KEY)",
};

std::optional<std::string> ReadSalt(StatsDatabase& database, std::string& error) {
    QSqlQuery query(database.Connection());
    query.prepare(QStringLiteral("SELECT value FROM qla_meta WHERE name = ?"));
    query.addBindValue(QString::fromLatin1(kSaltRow));
    if (!query.exec()) {
        error = database.Failure("cannot read the erased players of " + database.Path(), query);
        return std::nullopt;
    }
    return query.next() ? query.value(0).toString().toStdString() : std::string();
}

// A new database's salt: 128 random bits, as hex.
std::string NewSalt() {
    std::array<quint32, 4> words{};
    QRandomGenerator::system()->fillRange(words.data(), words.size());
    return QByteArray(reinterpret_cast<const char*>(words.data()),
                      static_cast<qsizetype>(sizeof(words)))
        .toHex()
        .toStdString();
}

bool Exec(StatsDatabase& database, QSqlQuery& query, std::string& error) {
    if (query.exec())
        return true;
    error = database.Failure("cannot store the erased players of " + database.Path(), query);
    return false;
}

} // namespace

bool HasErasedTables(StatsDatabase& database) {
    return database.Connection().tables(QSql::Tables).contains(QStringLiteral("erased_players"));
}

std::optional<ErasedNames> ReadErasedNames(StatsDatabase& database, std::string& error) {
    if (!HasErasedTables(database))
        return ErasedNames();
    const auto salt = ReadSalt(database, error);
    if (!salt)
        return std::nullopt;
    QSqlQuery query(database.Connection());
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT key_hash, window_hash, key_bytes, pseudonym FROM"
                                   " erased_players ORDER BY seq"))) {
        error = database.Failure("cannot read the erased players of " + database.Path(), query);
        return std::nullopt;
    }
    std::vector<ErasedName> names;
    while (query.next())
        names.push_back({query.value(0).toString().toStdString(),
                         static_cast<std::uint64_t>(query.value(1).toLongLong()),
                         static_cast<std::size_t>(query.value(2).toLongLong()),
                         query.value(3).toString().toStdString()});
    if (!names.empty() && salt->empty()) {
        error = "the database " + database.Path() +
                " is damaged: it keeps erased players "
                "without their salt";
        return std::nullopt;
    }
    return ErasedNames(*salt, std::move(names));
}

std::optional<ErasedNames> AddErasedKeys(StatsDatabase& database,
                                         const std::vector<std::string>& keys,
                                         const std::string& pseudonym, std::string& error) {
    QSqlQuery query(database.Connection());
    for (const char* statement : kErasedTables)
        if (!query.exec(QString::fromLatin1(statement))) {
            error =
                database.Failure("cannot store the erased players of " + database.Path(), query);
            return std::nullopt;
        }
    auto salt = ReadSalt(database, error);
    if (!salt)
        return std::nullopt;
    if (salt->empty()) {
        *salt = NewSalt();
        query.prepare(QStringLiteral("INSERT INTO qla_meta (name, value) VALUES (?, ?)"));
        query.addBindValue(QString::fromLatin1(kSaltRow));
        query.addBindValue(QString::fromStdString(*salt));
        if (!Exec(database, query, error))
            return std::nullopt;
    }
    for (const std::string& key : keys) {
        query.prepare(QStringLiteral(
            "INSERT INTO erased_players (seq, key_hash, window_hash, key_bytes, pseudonym)"
            " SELECT COALESCE(MAX(seq), 0) + 1, ?, ?, ?, ? FROM erased_players"));
        query.addBindValue(QString::fromStdString(KeyHashOf(*salt, key)));
        query.addBindValue(
            QVariant::fromValue<qlonglong>(static_cast<qlonglong>(WindowHashOf(*salt, key))));
        query.addBindValue(QVariant::fromValue<qlonglong>(static_cast<qlonglong>(key.size())));
        query.addBindValue(QString::fromStdString(pseudonym));
        if (!Exec(database, query, error))
            return std::nullopt;
    }
    return ReadErasedNames(database, error);
}

bool MarkErasedLog(StatsDatabase& database, LogId log, std::string& error) {
    QSqlQuery query(database.Connection());
    query.prepare(QStringLiteral("INSERT INTO erased_logs (log_id) SELECT ? WHERE NOT EXISTS"
                                 " (SELECT 1 FROM erased_logs WHERE log_id = ?)"));
    query.addBindValue(QVariant::fromValue<qlonglong>(log));
    query.addBindValue(QVariant::fromValue<qlonglong>(log));
    return Exec(database, query, error);
}

std::optional<std::set<LogId>> ReadErasedLogs(StatsDatabase& database, std::string& error) {
    std::set<LogId> logs;
    if (!HasErasedTables(database))
        return logs;
    QSqlQuery query(database.Connection());
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT log_id FROM erased_logs"))) {
        error = database.Failure("cannot read the erased players of " + database.Path(), query);
        return std::nullopt;
    }
    while (query.next())
        logs.insert(query.value(0).toLongLong());
    return logs;
}

} // namespace qla::db
