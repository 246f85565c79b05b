// One open statistics database: the Qt SQL connection, the schema check and the write unit.
#pragma once

#include "db/database_target.h"

#include <QSqlDatabase>
#include <QSqlRecord>
#include <QString>

#include <map>
#include <memory>
#include <string>

class QSqlQuery;

namespace qla::db {

enum class OpenMode { ReadOnly, ReadWrite };

class StatsDatabase {
  public:
    // Opens what --db names (ParseDatabaseTarget): an SQLite file or a PostgreSQL database.
    // ReadWrite creates the tables when missing (and the SQLite file); ReadOnly needs an
    // existing statistics database. A database of another schema version is refused. Returns
    // nullptr with the reason in `error`.
    static std::unique_ptr<StatsDatabase> Open(const std::string& target, OpenMode mode,
                                               std::string& error);
    ~StatsDatabase();
    StatsDatabase(const StatsDatabase&) = delete;
    StatsDatabase& operator=(const StatsDatabase&) = delete;

    QSqlDatabase& Connection() { return connection_; }
    // The database as --db named it, for messages.
    const std::string& Path() const { return target_.Text; }
    Engine Kind() const { return target_.Kind; }
    // The schema version of the open database (this program's after a writer opened it).
    int StoredVersion() const { return version_; }
    // Whether `table` has `column`, read from the engine once per table: an import of thousands
    // of small logs asked it for every earlier log it compared the file with.
    bool HasColumn(const char* table, const char* column);
    // Whether the logs' digests may be kept with their kills and renames apart (the columns of
    // schema version 11 are there).
    bool KeepsDigestsSplit() const { return digestsSplit_; }

    // Starts the one transaction of a unit of work that writes, taking the lock every writer
    // of the database shares at once, so two writers never read the same state and both act on
    // it; the second waits up to the busy timeout and then fails with a message saying so.
    bool BeginWrite(std::string& error);
    // Starts a transaction that reads one committed state throughout; ended by Commit.
    bool BeginRead(std::string& error);
    // A write unit that changed a log's statistics brings the sums of runs of logs up to date
    // (log_blocks.h) before it commits.
    bool Commit(std::string& error);
    void Rollback();
    // Said by each writer of a log's statistics rows.
    void NoteStatisticsChanged() { statisticsChanged_ = true; }

    // "<what>: <the engine's message>", naming a busy database and a lost server plainly.
    std::string Failure(const std::string& what, const QSqlQuery& query) const;

  private:
    explicit StatsDatabase(DatabaseTarget target);
    bool PrepareSchema(OpenMode mode, std::string& error);
    // The version and the digests' columns as the tables now are.
    void ReadShape();
    bool Run(const QStringList& statements, const std::string& what, std::string& error);

    DatabaseTarget target_;
    QString connectionName_;
    QSqlDatabase connection_;
    int version_ = 0;
    bool digestsSplit_ = false;
    bool statisticsChanged_ = false;
    std::map<std::string, QSqlRecord> columns_;
};

// How long a writer waits for another one before it gives up.
inline constexpr int kBusyTimeoutMs = 60000;

} // namespace qla::db
