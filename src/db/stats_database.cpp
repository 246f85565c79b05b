// Opening a statistics database: the connection, the first write that makes the tables, and the
// schema check every later open makes. What differs between the engines is in engine_dialect.
#include "db/stats_database.h"

#include "db/engine_dialect.h"
#include "db/kept_persons.h"
#include "db/log_blocks.h"
#include "db/log_name_uses.h"
#include "db/schema.h"
#include "db/statistics_rows.h"
#include "db/statistics_upgrade.h"
#include "db/transaction.h"

#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

#include <utility>

namespace qla::db {

StatsDatabase::StatsDatabase(DatabaseTarget target) : target_(std::move(target)) {}

StatsDatabase::~StatsDatabase() {
    connection_.close();
    connection_ = QSqlDatabase();
    QSqlDatabase::removeDatabase(connectionName_);
}

std::unique_ptr<StatsDatabase> StatsDatabase::Open(const std::string& text, OpenMode mode,
                                                   std::string& error) {
    auto target = ParseDatabaseTarget(text, error);
    if (!target)
        return nullptr;
    bool writable = true;
    if (target->Kind == Engine::SQLite) {
        const QFileInfo info(QString::fromStdString(text));
        if (mode == OpenMode::ReadOnly && !info.exists()) {
            error = "the database does not exist: " + text;
            return nullptr;
        }
        if (info.exists() && !info.isFile()) {
            error = "the database is not a file: " + text;
            return nullptr;
        }
        // A reader opens a writable file for writing too: after a writer was killed, the first
        // one to open the file must roll the hot journal back before anything can be read.
        writable = mode == OpenMode::ReadWrite || info.isWritable();
    }
    const Engine engine = target->Kind;
    if (!QSqlDatabase::isDriverAvailable(QString::fromLatin1(DriverName(engine)))) {
        error = std::string("the Qt SQL driver ") + DriverName(engine) + " (" +
                DriverPackage(engine) + ") is not installed";
        return nullptr;
    }
    // Each object its own connection name, so several databases can be open at once.
    std::unique_ptr<StatsDatabase> database(new StatsDatabase(std::move(*target)));
    database->connectionName_ =
        QStringLiteral("qla-db-%1").arg(reinterpret_cast<quintptr>(database.get()), 0, 16);
    database->connection_ = QSqlDatabase::addDatabase(QString::fromLatin1(DriverName(engine)),
                                                      database->connectionName_);
    ConfigureConnection(database->connection_, database->target_, writable, kBusyTimeoutMs);
    if (!database->connection_.open()) {
        error = "cannot open the database " + text + ": " +
                database->connection_.lastError().text().simplified().toStdString();
        return nullptr;
    }
    if (!database->Run(SessionSetup(engine, mode == OpenMode::ReadOnly, kBusyTimeoutMs),
                       "cannot set up the connection to " + text, error) ||
        !database->PrepareSchema(mode, error))
        return nullptr;
    return database;
}

void StatsDatabase::ReadShape() {
    columns_.clear();
    version_ = StoredSchemaVersion(connection_);
    digestsSplit_ = version_ >= kStatisticsVersion && HasColumn("log_digests", "kills");
}

bool StatsDatabase::HasColumn(const char* table, const char* column) {
    auto found = columns_.find(table);
    if (found == columns_.end())
        found = columns_.emplace(table, connection_.record(QString::fromLatin1(table))).first;
    return found->second.contains(QString::fromLatin1(column));
}

bool StatsDatabase::Run(const QStringList& statements, const std::string& what,
                        std::string& error) {
    QSqlQuery query(connection_);
    for (const QString& statement : statements) {
        if (!query.exec(statement)) {
            error = Failure(what, query);
            return false;
        }
    }
    return true;
}

bool StatsDatabase::PrepareSchema(OpenMode mode, std::string& error) {
    const std::string& path = target_.Text;
    if (mode == OpenMode::ReadWrite && IsEmptyDatabase(connection_)) {
        // Two first imports at once: the second waits here, then finds the tables made.
        Transaction unit(*this, Transaction::Kind::Write, error);
        if (!unit.Open())
            return false;
        if (IsEmptyDatabase(connection_) && !CreateSchema(connection_, error)) {
            error = path + ": " + error;
            return false;
        }
        if (!unit.Commit(error))
            return false;
    }
    // A writer brings an older database to this version before anything reads its tables.
    if (mode == OpenMode::ReadWrite && SchemaProblem(connection_, path).empty() &&
        StoredSchemaVersion(connection_) < kSchemaVersion) {
        Transaction unit(*this, Transaction::Kind::Write, error);
        if (!unit.Open())
            return false;
        // Another writer may have upgraded it meanwhile: the version is read under the lock.
        const int before = StoredSchemaVersion(connection_);
        if (!UpgradeSchema(connection_, error) ||
            (before < kStatisticsVersion && !StoreStatisticsOfEveryLog(*this, error)) ||
            (before >= kStatisticsVersion && before < kChainsVersion &&
             !StoreDigestsAgainWithChains(*this, error))) {
            error = path + ": " + error;
            return false;
        }
        // The commit sums the runs of logs, reading them as this version does.
        ReadShape();
        if (before < kNameUsesVersion && !FillNameUses(*this, error)) {
            error = path + ": " + error;
            return false;
        }
        if (before < kBlocksVersion)
            NoteStatisticsChanged();
        if (!unit.Commit(error) || (before < kKeptPersonsVersion && !KeepPersons(*this, error))) {
            error = path + ": " + error;
            return false;
        }
    }
    error = SchemaProblem(connection_, path);
    ReadShape();
    if (!error.empty())
        version_ = 0;
    return error.empty();
}

bool StatsDatabase::BeginWrite(std::string& error) {
    if (Run(BeginWriteStatements(target_.Kind),
            "cannot start writing to the database " + target_.Text, error))
        return true;
    Rollback(); // PostgreSQL: the transaction began before the lock failed
    return false;
}

bool StatsDatabase::BeginRead(std::string& error) {
    return Run({BeginReadStatement(target_.Kind)}, "cannot read the database " + target_.Text,
               error);
}

bool StatsDatabase::Commit(std::string& error) {
    const bool refresh = std::exchange(statisticsChanged_, false);
    if (refresh && !RefreshLogBlocks(*this, error)) {
        Rollback();
        return false;
    }
    QSqlQuery query(connection_);
    if (!query.exec(QStringLiteral("COMMIT"))) {
        error = Failure("cannot write the database " + target_.Text, query);
        Rollback();
        return false;
    }
    return true;
}

void StatsDatabase::Rollback() {
    statisticsChanged_ = false;
    if (!connection_.isOpen())
        return; // a lost connection: the server rolled the transaction back
    QSqlQuery query(connection_);
    query.exec(QStringLiteral("ROLLBACK"));
}

std::string StatsDatabase::Failure(const std::string& what, const QSqlQuery& query) const {
    const QSqlError sqlError = query.lastError();
    const std::string text = EngineMessage(target_.Kind, sqlError);
    // A failed statement aborts a PostgreSQL transaction: nothing more can run in it, and the
    // driver's freeing of the failed query's prepared statement would fail too (and print a
    // stray "Unable to free statement" line). Ended now, that freeing succeeds.
    if (target_.Kind == Engine::PostgreSQL && connection_.isOpen())
        QSqlQuery(connection_).exec(QStringLiteral("ROLLBACK"));
    if (IsBusy(target_.Kind, sqlError))
        return what + ": the database is busy (another qla is writing to it; waited " +
               std::to_string(kBusyTimeoutMs / 1000) + " s)";
    // A connection the driver already closed fails the next query with no error text at all.
    if (!connection_.isOpen() || IsConnectionLost(target_.Kind, sqlError))
        return what + ": the connection to the database server was lost" +
               (text.empty() ? "" : " (" + text + ")") +
               "; nothing of the unfinished transaction was stored";
    return what + ": " + text;
}

} // namespace qla::db
