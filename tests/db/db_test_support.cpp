// Generated logs, files and in-process qla runs for the database tests.
#include "db_test_support.h"

#include "cli/qla_app.h"
#include "db/stats_database.h"
#include "generator.h"
#include "postgres_server.h"
#include "support/fixed_site_stamp.h"

#include <QDir>
#include <QDirIterator>
#include <QSqlQuery>

#include <fstream>
#include <map>
#include <sstream>
#include <thread>

namespace qla::dbtest {

QlaRun Qla(QStringList arguments) {
    arguments.prepend(QStringLiteral("qla"));
    std::ostringstream out, err;
    QlaRun run;
    run.status = cli::RunQla(arguments, out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

std::string GeneratedLog(bool german, bool windows1252, bool lf, std::uint64_t lines,
                         std::uint64_t seed) {
    loggen::Options options;
    options.lines = lines;
    options.players = 12;
    options.language = german ? loggen::Language::German : loggen::Language::English;
    options.encoding = windows1252 ? loggen::Encoding::Windows1252 : loggen::Encoding::Utf8;
    options.lineEnds = lf ? loggen::LineEnds::Lf : loggen::LineEnds::CrLf;
    options.seed = seed;
    std::ostringstream out;
    loggen::generateLog(options, out);
    return out.str();
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

void AppendFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::app) << bytes;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string FolderContents(const std::string& folder) {
    std::map<std::string, std::string> files;
    const QDir root(QString::fromStdString(folder));
    QDirIterator it(root.path(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files[root.relativeFilePath(path).toStdString()] = ReadFile(path.toStdString());
    }
    std::string all;
    for (const auto& [name, bytes] : files)
        all += "== " + name + " (" + std::to_string(bytes.size()) + " bytes)\n" + bytes + "\n";
    return all;
}

std::string EngineName(Engine engine) {
    return engine == Engine::PostgreSQL ? "PostgreSQL" : "SQLite";
}

void PrintTo(Engine engine, std::ostream* out) {
    *out << EngineName(engine);
}

QString NewDatabase(Engine engine, const TempFolder& folder, const std::string& name) {
    if (engine == Engine::SQLite)
        return folder.QPath(name + ".db");
    std::string error;
    const std::string connection = PostgresServer::Shared().NewDatabase(error);
    if (connection.empty())
        ADD_FAILURE() << "no PostgreSQL database for the test: " << error;
    return QString::fromStdString(connection);
}

bool WaitUntil(const std::function<bool()>& done, std::chrono::seconds limit,
               std::chrono::milliseconds pause) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < deadline) {
        if (done())
            return true;
        std::this_thread::sleep_for(pause);
    }
    return done();
}

bool FillStore(const QString& database, AnalysisStore& store, db::StoreParts parts) {
    std::string error;
    auto opened = db::StatsDatabase::Open(database.toStdString(), db::OpenMode::ReadOnly, error);
    EXPECT_TRUE(opened) << error;
    if (!opened)
        return false;
    const db::DatabaseStoreResult built = db::BuildStoreFromDatabase(*opened, {}, store, parts);
    EXPECT_TRUE(built.Ok) << built.Error;
    return built.Ok;
}

std::unique_ptr<db::StatsDatabase> OpenForReading(const QString& database) {
    std::string error;
    auto opened = db::StatsDatabase::Open(database.toStdString(), db::OpenMode::ReadOnly, error);
    EXPECT_TRUE(opened) << error;
    return opened;
}

std::string CountsReading(const QStringList& source, const std::string& player) {
    std::string all;
    for (const char* command : {"analyze", "players", "player"}) {
        QStringList arguments = QStringList{command} << source;
        if (command == std::string_view("player"))
            arguments << QString::fromStdString(player);
        const QlaRun run = Qla(arguments);
        EXPECT_EQ(run.status, 0) << run.err;
        all += std::string("### ") + command + "\n" + run.out;
    }
    return all;
}

std::string PlayersPicture(const AnalysisStore& store) {
    std::string all;
    for (const PlayerIndex p : store.PlayerIndexes()) {
        const PlayerRecord& player = store.Players[static_cast<std::size_t>(p)];
        all += player.Name + "|";
        for (const std::int64_t kills : player.Kills)
            all += std::to_string(kills) + ",";
        for (const std::int64_t deaths : player.Deaths)
            all += std::to_string(deaths) + ",";
        all += std::to_string(player.Teamkills) + "," + std::to_string(player.VoiceChatCount) +
               "," + std::to_string(player.TextChatCount) + "\n";
    }
    return all;
}

void RunSql(const QString& database, const std::vector<std::string>& statements) {
    std::string error;
    auto opened = db::StatsDatabase::Open(database.toStdString(), db::OpenMode::ReadWrite, error);
    ASSERT_TRUE(opened) << error;
    QSqlQuery query(opened->Connection());
    for (const std::string& statement : statements)
        ASSERT_TRUE(query.exec(QString::fromStdString(statement))) << statement;
}

} // namespace qla::dbtest
