// The persons a database keeps merged answer the names and counts of its whole history as
// merging every log's chains does (and as the logs read as one file do): after each import,
// growth, alias, split, hide, reanalysis and forget, on both engines.
#include "db_test_support.h"

#include "db/stats_database.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QSqlQuery>

#include <sstream>

namespace qla::dbtest {
namespace {

class KeptPersonsTest : public testing::TestWithParam<Engine> {
  protected:
    std::string LogPath(int k) const { return folder_.Path("log" + std::to_string(k) + ".log"); }

    void WriteAndImport(int first, int last) {
        QStringList arguments{"import", "--db", database_};
        for (int k = first; k <= last; ++k) {
            WriteFile(LogPath(k), GeneratedLog(false, false, true, 60, 300 + k));
            arguments << QString::fromStdString(LogPath(k));
        }
        const QlaRun run = Qla(arguments);
        ASSERT_EQ(run.status, 0) << run.err;
    }

    int KeptRows() {
        std::string error;
        auto database =
            db::StatsDatabase::Open(database_.toStdString(), db::OpenMode::ReadOnly, error);
        EXPECT_TRUE(database) << error;
        if (!database)
            return -1;
        QSqlQuery query(database->Connection());
        EXPECT_TRUE(query.exec("SELECT COUNT(*) FROM kept_persons"));
        return query.next() ? query.value(0).toInt() : -1;
    }

    // The names and counts merged, and the page of the `nth` player shown.
    std::string Merged(const QStringList& source, int nth = 3) {
        std::string all;
        for (const char* command : {"analyze", "players"}) {
            const QlaRun run = Qla(QStringList{command} << source << "--merge-players");
            EXPECT_EQ(run.status, 0) << run.err;
            all += std::string("### ") + command + "\n" + run.out;
        }
        std::istringstream players(Qla(QStringList{"players"} << source << "--merge-players").out);
        std::string name;
        for (int k = 0; k < nth && std::getline(players, name);)
            ++k;
        const QlaRun run = Qla(QStringList{"player"} << source << QString::fromStdString(name)
                                                     << "--merge-players");
        EXPECT_EQ(run.status, 0) << run.err;
        return all + "### player\n" + run.out;
    }
    // Kept (every log) against merged again (a date choice that takes every log too).
    void ExpectKeptAsMergedAgain(const std::string& when) {
        const std::string kept = Merged({"--db", database_});
        EXPECT_EQ(kept, Merged({"--db", database_, "--since", "1900-01-01"})) << when;
        EXPECT_NE(kept.find("Players: "), std::string::npos);
    }

    TempFolder folder_;
    QString database_ = NewDatabase(GetParam(), folder_);
};

TEST_P(KeptPersonsTest, EveryChangeOfTheHistoryKeepsThePersonsAsMergingAgainFindsThem) {
    WriteAndImport(1, 6);
    EXPECT_EQ(KeptRows(), 1);
    ExpectKeptAsMergedAgain("imported");
    // As the logs read as one file.
    std::string whole;
    for (int k = 1; k <= 6; ++k)
        whole += ReadFile(LogPath(k));
    WriteFile(folder_.Path("whole.log"), whole);
    EXPECT_EQ(Merged({"--db", database_}),
              Merged(QStringList{folder_.QPath("whole.log")} << kNewDatabaseReading));

    AppendFile(LogPath(2), GeneratedLog(false, false, true, 30, 999));
    ASSERT_EQ(Qla({"import", "--db", database_, QString::fromStdString(LogPath(2))}).status, 0);
    ExpectKeptAsMergedAgain("grown");

    std::istringstream players(Qla({"players", "--db", database_}).out);
    std::string a, b, c;
    ASSERT_TRUE(std::getline(players, a) && std::getline(players, b) && std::getline(players, c));
    QlaRun run = Qla(
        {"alias", "add", "--db", database_, QString::fromStdString(a), QString::fromStdString(b)});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(KeptRows(), 1);
    ExpectKeptAsMergedAgain("joined");
    run = Qla({"alias", "split", "--db", database_, QString::fromStdString(c)});
    ASSERT_EQ(run.status, 0) << run.err;
    ExpectKeptAsMergedAgain("split");
    run = Qla({"hide", "--db", database_, QString::fromStdString(b)});
    ASSERT_EQ(run.status, 0) << run.err;
    ExpectKeptAsMergedAgain("hidden");

    run = Qla({"reanalyze", "--db", database_, "--log", "3", "--recognition", "classic"});
    ASSERT_EQ(run.status, 0) << run.err;
    ExpectKeptAsMergedAgain("read again");
    run = Qla({"forget", "--db", database_, "4"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(KeptRows(), 1);
    ExpectKeptAsMergedAgain("forgotten");
    run = Qla({"check", "--db", database_});
    EXPECT_EQ(run.status, 0) << run.err;
}

TEST_P(KeptPersonsTest, AWriteThatKeepsNoneLeavesTheReadersMergingAgain) {
    WriteAndImport(1, 3);
    const std::string before = Merged({"--db", database_});
    // A change of a log's statistics by a writer that does not keep the persons again (one
    // interrupted before it could): the kept persons are gone with the change.
    {
        std::string error;
        auto database =
            db::StatsDatabase::Open(database_.toStdString(), db::OpenMode::ReadWrite, error);
        ASSERT_TRUE(database) << error;
        ASSERT_TRUE(database->BeginWrite(error)) << error;
        QSqlQuery query(database->Connection());
        ASSERT_TRUE(query.exec("DELETE FROM kept_persons"));
        ASSERT_TRUE(database->Commit(error)) << error;
    }
    EXPECT_EQ(KeptRows(), 0);
    EXPECT_EQ(Merged({"--db", database_}), before);
    WriteAndImport(4, 4);
    EXPECT_EQ(KeptRows(), 1);
    ExpectKeptAsMergedAgain("imported after");

    EXPECT_EQ(Qla({"check", "--db", database_}).status, 0);
    // Persons that are not the logs' are damage the check names.
    RunSql(database_, {"UPDATE kept_persons SET players ="
                       " (SELECT digest FROM log_digests WHERE log_id = 1)"});
    const QlaRun check = Qla({"check", "--db", database_});
    EXPECT_EQ(check.status, 1);
    EXPECT_NE(check.err.find("its kept persons are not those its logs merge into"),
              std::string::npos)
        << check.err;

    // Damaged kept persons are named, never read as players.
    RunSql(database_, {"UPDATE kept_persons SET names = players"});
    const QlaRun run = Qla({"analyze", "--db", database_, "--merge-players"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("its kept persons cannot be read"), std::string::npos) << run.err;
}

TEST_P(KeptPersonsTest, AWatchKeepsThePersonsOnceTheLogIsQuiet) {
    const std::string log = folder_.Path("server.log");
    WriteFile(log, GeneratedLog(false, false, true, 400, 41));
    QProcess watcher;
    watcher.start(QStringLiteral(QLA_BINARY),
                  {"watch", folder_.QPath("server.log"), "--db", database_, "--interval", "0.2"});
    ASSERT_TRUE(watcher.waitForStarted());
    // Looked at once a second: a reader's files in the log's folder are news to the watcher.
    const auto kept = [&](const std::string& total) {
        return WaitUntil(
            [&] {
                return Qla({"analyze", "--db", database_}).out.find(total) != std::string::npos &&
                       KeptRows() == 1;
            },
            std::chrono::seconds(60), std::chrono::milliseconds(1000));
    };
    EXPECT_TRUE(kept("Total: 400\n")) << watcher.readAllStandardError().toStdString();
    ExpectKeptAsMergedAgain("watched");
    AppendFile(log, GeneratedLog(false, false, true, 200, 42));
    EXPECT_TRUE(kept("Total: 600\n")) << watcher.readAllStandardError().toStdString();
    ExpectKeptAsMergedAgain("watched again");
    watcher.terminate();
    EXPECT_TRUE(watcher.waitForFinished());
}

INSTANTIATE_TEST_SUITE_P(Engines, KeptPersonsTest, kEngines,
                         [](const auto& info) { return EngineName(info.param); });

} // namespace
} // namespace qla::dbtest
