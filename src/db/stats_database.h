// One open statistics database: the Qt SQL connection, the schema check and the write unit.
#pragma once

#include <QSqlDatabase>
#include <QString>

#include <memory>
#include <string>

class QSqlQuery;

namespace qla::db {

enum class OpenMode { ReadOnly, ReadWrite };

class StatsDatabase {
  public:
    // Opens the SQLite file at `path`. ReadWrite creates the file and its tables when missing;
    // ReadOnly needs an existing database. A database of another schema version is refused.
    // Returns nullptr with the reason in `error`.
    static std::unique_ptr<StatsDatabase> Open(const std::string& path, OpenMode mode,
                                               std::string& error);
    ~StatsDatabase();
    StatsDatabase(const StatsDatabase&) = delete;
    StatsDatabase& operator=(const StatsDatabase&) = delete;

    QSqlDatabase& Connection() { return connection_; }
    const std::string& Path() const { return path_; }

    // Starts the one transaction of a unit of work that writes. SQLite takes the write lock at
    // once (BEGIN IMMEDIATE), so two writers never read the same state and both act on it; the
    // second waits up to the busy timeout and then fails with a message saying so.
    bool BeginWrite(std::string& error);
    bool Commit(std::string& error);
    void Rollback();

    // "<what>: <the engine's message>", naming a busy database plainly.
    std::string Failure(const std::string& what, const QSqlQuery& query) const;

  private:
    StatsDatabase(std::string path, QString connectionName);
    bool PrepareSchema(OpenMode mode, std::string& error);

    std::string path_;
    QString connectionName_;
    QSqlDatabase connection_;
};

// How long a writer waits for another one before it gives up.
inline constexpr int kBusyTimeoutMs = 60000;

} // namespace qla::db
