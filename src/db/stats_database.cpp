// Opening a statistics database: the SQLite options, the first write that makes the tables,
// and the schema check every later open makes.
#include "db/stats_database.h"

#include "db/schema.h"

#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

namespace qla::db {

namespace {

bool IsBusy(const QSqlError& error) {
    // SQLITE_BUSY (5) and SQLITE_LOCKED (6): another connection holds the lock.
    const QString code = error.nativeErrorCode();
    return code == QLatin1String("5") || code == QLatin1String("6");
}

} // namespace

StatsDatabase::StatsDatabase(std::string path, QString connectionName)
    : path_(std::move(path)), connectionName_(std::move(connectionName)) {}

StatsDatabase::~StatsDatabase() {
    connection_.close();
    connection_ = QSqlDatabase();
    QSqlDatabase::removeDatabase(connectionName_);
}

std::unique_ptr<StatsDatabase> StatsDatabase::Open(const std::string& path, OpenMode mode,
                                                   std::string& error) {
    const QString file = QString::fromStdString(path);
    const QFileInfo info(file);
    if (mode == OpenMode::ReadOnly && !info.exists()) {
        error = "the database does not exist: " + path;
        return nullptr;
    }
    if (info.exists() && !info.isFile()) {
        error = "the database is not a file: " + path;
        return nullptr;
    }
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE"))) {
        error = "the Qt SQLite driver (libqt6sql6-sqlite) is not installed";
        return nullptr;
    }
    // Each object its own connection name, so several databases can be open at once.
    std::unique_ptr<StatsDatabase> database(new StatsDatabase(path, QString()));
    database->connectionName_ =
        QStringLiteral("qla-db-%1").arg(reinterpret_cast<quintptr>(database.get()), 0, 16);
    database->connection_ =
        QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), database->connectionName_);
    database->connection_.setDatabaseName(file);
    QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs);
    // A reader opens a writable file for writing too: after a writer was killed, the first
    // one to open the file must roll the hot journal back before anything can be read.
    if (mode == OpenMode::ReadOnly && !info.isWritable())
        options += QStringLiteral(";QSQLITE_OPEN_READONLY");
    database->connection_.setConnectOptions(options);
    if (!database->connection_.open()) {
        error = "cannot open the database " + path + ": " +
                database->connection_.lastError().text().toStdString();
        return nullptr;
    }
    if (!database->PrepareSchema(mode, error))
        return nullptr;
    return database;
}

bool StatsDatabase::PrepareSchema(OpenMode mode, std::string& error) {
    QSqlQuery query(connection_);
    // Large pages suit the stored log bytes: fewer overflow pages to chain and follow. The size
    // takes effect only while the file is still empty.
    query.exec(QStringLiteral("PRAGMA page_size = 65536"));
    query.exec(QStringLiteral("PRAGMA cache_size = -16384"));
    if (mode == OpenMode::ReadWrite && IsEmptyDatabase(connection_)) {
        // Two first imports at once: the second waits here, then finds the tables made.
        if (!BeginWrite(error))
            return false;
        if (IsEmptyDatabase(connection_)) {
            if (!CreateSchema(connection_, error)) {
                Rollback();
                error = path_ + ": " + error;
                return false;
            }
        }
        if (!Commit(error))
            return false;
    }
    // A writer brings an older database to this version before anything reads its tables.
    if (mode == OpenMode::ReadWrite && SchemaProblem(connection_, path_).empty() &&
        StoredSchemaVersion(connection_) < kSchemaVersion) {
        if (!BeginWrite(error))
            return false;
        if (!UpgradeSchema(connection_, error)) {
            Rollback();
            error = path_ + ": " + error;
            return false;
        }
        if (!Commit(error))
            return false;
    }
    error = SchemaProblem(connection_, path_);
    return error.empty();
}

bool StatsDatabase::BeginWrite(std::string& error) {
    QSqlQuery query(connection_);
    if (!query.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
        error = Failure("cannot start writing to the database " + path_, query);
        return false;
    }
    return true;
}

bool StatsDatabase::Commit(std::string& error) {
    QSqlQuery query(connection_);
    if (!query.exec(QStringLiteral("COMMIT"))) {
        error = Failure("cannot write the database " + path_, query);
        Rollback();
        return false;
    }
    return true;
}

void StatsDatabase::Rollback() {
    QSqlQuery query(connection_);
    query.exec(QStringLiteral("ROLLBACK"));
}

std::string StatsDatabase::Failure(const std::string& what, const QSqlQuery& query) const {
    const QSqlError sqlError = query.lastError();
    if (IsBusy(sqlError))
        return what + ": the database is busy (another qla is writing to it; waited " +
               std::to_string(kBusyTimeoutMs / 1000) + " s)";
    return what + ": " + sqlError.text().toStdString();
}

} // namespace qla::db
