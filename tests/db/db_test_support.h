// Shared by the database tests: generated logs, files, and qla run in-process or as a process.
#pragma once

#include "db/store_from_database.h"

#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace qla::dbtest {

struct QlaRun {
    int status = -1;
    std::string out, err;
};

// How a database made by this version reads a log imported without --recognition: a log read
// directly must be read so too to give the same statistics.
inline const QStringList kNewDatabaseReading{"--recognition", "full"};

// qla in-process: `arguments` without the program name.
QlaRun Qla(QStringList arguments);

// A generated log; `lf` picks LF line ends instead of CR LF, `windows1252` the encoding.
std::string GeneratedLog(bool german, bool windows1252, bool lf, std::uint64_t lines,
                         std::uint64_t seed);

void WriteFile(const std::string& path, const std::string& bytes);
void AppendFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);

// Every file below `folder`, by relative path, with its bytes, in one string for comparing.
std::string FolderContents(const std::string& folder);

// Asks `done` every `pause` until it says yes or `limit` has passed; its last answer. The limit
// is a time, not a number of tries: on a loaded machine each try of a command takes longer, and
// a passing run waits no longer for a generous limit.
bool WaitUntil(const std::function<bool()>& done,
               std::chrono::seconds limit = std::chrono::seconds(120),
               std::chrono::milliseconds pause = std::chrono::milliseconds(100));

class TempFolder {
  public:
    std::string Path(const std::string& name) const {
        return dir_.filePath(QString::fromStdString(name)).toStdString();
    }
    QString QPath(const std::string& name) const {
        return dir_.filePath(QString::fromStdString(name));
    }

  private:
    QTemporaryDir dir_;
};

// The engines every database test runs against.
enum class Engine { SQLite, PostgreSQL };
inline const auto kEngines = testing::Values(Engine::SQLite, Engine::PostgreSQL);
std::string EngineName(Engine engine);
// Names the engine in test listings.
void PrintTo(Engine engine, std::ostream* out);

// A new, empty database for --db: a file `name`.db in `folder`, or a new database on the tests'
// PostgreSQL server. A server that cannot start fails the test (it is never skipped).
QString NewDatabase(Engine engine, const TempFolder& folder, const std::string& name = "stats");

// Fills `store` from every log of `database` as a reader does (opened read-only); a failure
// fails the test and returns false.
bool FillStore(const QString& database, AnalysisStore& store, db::StoreParts parts = {});

// The database opened for reading; null (a test failure recorded) when it cannot be.
std::unique_ptr<db::StatsDatabase> OpenForReading(const QString& database);

// What `qla analyze`, `players` and `player PLAYER` print of `source`, one after the other; a
// failed command fails the test.
std::string CountsReading(const QStringList& source, const std::string& player);

// Every player of `store` in order: name, counters by weapon, teamkills and chats, a line each.
std::string PlayersPicture(const AnalysisStore& store);

// Runs the statements on `database` (opened for writing, no transaction); a failure fails the
// test.
void RunSql(const QString& database, const std::vector<std::string>& statements);

} // namespace qla::dbtest
