// Damaged databases are named as such, never read as if sound: a damaged chunk, records that
// contradict each other, stored statistics that the stored lines do not give. And a database
// of schema version 3 reads as it did and upgrades without a change in what it says.
#include "db_test_support.h"

#include "db/chunk_compression.h"
#include "db/schema.h"
#include "db/stats_database.h"

#include <gtest/gtest.h>

#include <QSqlQuery>

#include <filesystem>

namespace qla::dbtest {
namespace {

class Damage : public testing::TestWithParam<Engine> {
  protected:
    void SetUp() override {
        WriteFile(log_, GeneratedLog(false, false, true, 3000, 41));
        const QlaRun first = Qla({"import", QString::fromStdString(log_), "--db", database_});
        ASSERT_EQ(first.status, 0) << first.err;
        // A second piece, so the log has chunks and players of two imports.
        AppendFile(log_, GeneratedLog(false, false, true, 400, 42));
        ASSERT_EQ(Qla({"import", QString::fromStdString(log_), "--db", database_}).status, 0);
    }
    void Sql(const QString& statement) {
        std::string error;
        auto database =
            db::StatsDatabase::Open(database_.toStdString(), db::OpenMode::ReadWrite, error);
        ASSERT_TRUE(database) << error;
        QSqlQuery query(database->Connection());
        ASSERT_TRUE(query.exec(statement)) << statement.toStdString();
    }
    std::string Damaged(const std::string& what) const {
        return "qla: the database " + database_.toStdString() + " is damaged: " + what + "\n";
    }
    TempFolder folder_;
    QString database_ = NewDatabase(GetParam(), folder_);
    std::string log_ = folder_.Path("a.log");
};

TEST_P(Damage, ASoundDatabaseChecksClean) {
    const QlaRun check = Qla({"check", "--db", database_});
    EXPECT_EQ(check.status, 0) << check.err;
    EXPECT_EQ(check.out, "no damage found: 1 log, 2 chunks checked\n");
}

TEST_P(Damage, AChangedByteInAChunkIsFoundByCheckAndLeavesTheStatistics) {
    const QStringList analyze{"analyze", "--db", database_};
    const QlaRun before = Qla(analyze);
    ASSERT_EQ(before.status, 0) << before.err;
    // One stored byte of the first chunk changed (the chunks are stored packed).
    Sql(GetParam() == Engine::SQLite
            ? "UPDATE log_chunks SET bytes = substr(bytes, 1, 50) || CASE WHEN substr(bytes, 51, "
              "1) = X'5A' THEN X'5B' ELSE X'5A' END || substr(bytes, 52) WHERE seq = 0"
            : "UPDATE log_chunks SET bytes = set_byte(bytes, 50, (get_byte(bytes, 50) + 1) % 256)"
              " WHERE seq = 0");
    // The statistics were stored as the lines were imported; reading them never reads the lines.
    const QlaRun after = Qla(analyze);
    EXPECT_EQ(after.status, 0) << after.err;
    EXPECT_EQ(after.out, before.out);
    const QlaRun check = Qla({"check", "--db", database_});
    EXPECT_EQ(check.status, 1);
    // Unpacked, the bytes either fail to unpack or do not match the checksum of the lines.
    EXPECT_EQ(check.err.rfind(Damaged("chunk 0 of log 1 ").substr(0, 60), 0), 0u) << check.err;
    EXPECT_TRUE(check.err.find("does not match its checksum") != std::string::npos ||
                check.err.find("cannot be unpacked") != std::string::npos)
        << check.err;
}

TEST_P(Damage, ChunksAreStoredPackedAndUnpackToTheLog) {
    std::string error;
    auto database = db::StatsDatabase::Open(database_.toStdString(), db::OpenMode::ReadOnly, error);
    ASSERT_TRUE(database) << error;
    QSqlQuery query(database->Connection());
    ASSERT_TRUE(query.exec("SELECT COUNT(*), SUM(LENGTH(bytes)), SUM(size) FROM log_chunks"
                           " WHERE packing = 'zstd'"));
    ASSERT_TRUE(query.next());
    EXPECT_EQ(query.value(0).toInt(), 2);
    EXPECT_LT(query.value(1).toLongLong() * 2, query.value(2).toLongLong()) << "packed to half";
    // The stored lines read back are the log's bytes: check reads them and compares.
    EXPECT_EQ(Qla({"check", "--db", database_}).status, 0);
}

// A chunk stored before zstd keeps its zlib: it checks clean and its log reads again from it.
TEST_P(Damage, AChunkStoredWithZlibReadsAsBefore) {
    const QlaRun before = Qla({"players", "--db", database_});
    ASSERT_EQ(before.status, 0) << before.err;
    {
        std::string error;
        auto database =
            db::StatsDatabase::Open(database_.toStdString(), db::OpenMode::ReadWrite, error);
        ASSERT_TRUE(database) << error;
        QSqlQuery query(database->Connection());
        ASSERT_TRUE(query.exec("SELECT bytes, size FROM log_chunks WHERE seq = 0"));
        ASSERT_TRUE(query.next());
        const auto lines = db::UnpackChunk(query.value(0).toByteArray(), db::kZstdPacking,
                                           query.value(1).toLongLong());
        ASSERT_TRUE(lines);
        query.finish();
        QSqlQuery update(database->Connection());
        update.prepare("UPDATE log_chunks SET bytes = ?, packing = 'zlib' WHERE seq = 0");
        update.addBindValue(qCompress(*lines, 1));
        ASSERT_TRUE(update.exec());
    }
    const QlaRun check = Qla({"check", "--db", database_});
    EXPECT_EQ(check.status, 0) << check.err;
    const QlaRun again = Qla({"reanalyze", "--db", database_});
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(Qla({"players", "--db", database_}).out, before.out);
}

TEST_P(Damage, StoredStatisticsThatCannotBeReadAreNamedAndCheckFindsChangedOnes) {
    // Cut short: no reader makes anything of it.
    Sql(GetParam() == Engine::SQLite
            ? "UPDATE log_digests SET digest = substr(digest, 1, 40)"
            : "UPDATE log_digests SET digest = substring(digest from 1 for 40)");
    for (const char* command : {"analyze", "players"}) {
        const QlaRun run = Qla({command, "--db", database_});
        EXPECT_EQ(run.status, 1) << command;
        EXPECT_EQ(run.err, Damaged("the statistics of log 1 cannot be read")) << command;
    }
    EXPECT_EQ(Qla({"check", "--db", database_}).status, 1);
    // Gone altogether.
    Sql("DELETE FROM log_digests");
    const QlaRun gone = Qla({"players", "--db", database_});
    EXPECT_EQ(gone.status, 1);
    EXPECT_EQ(gone.err, Damaged("log 1 has no statistics"));
}

TEST_P(Damage, ReadersOfCountsNeverReadTheKillsOrRenamesAndOthersNameTheirDamage) {
    QStringList player{"player", "--db", database_};
    player << QString::fromStdString(
        Qla({"players", "--db", database_})
            .out.substr(0, Qla({"players", "--db", database_}).out.find('\n')));
    const std::vector<QStringList> counts = {
        {"analyze", "--db", database_}, {"players", "--db", database_}, player};
    std::vector<std::string> before;
    for (const QStringList& command : counts)
        before.push_back(Qla(command).out);
    Sql(GetParam() == Engine::SQLite
            ? "UPDATE log_digests SET kills = X'07', renames = X'07'"
            : "UPDATE log_digests SET kills = '\\x07'::bytea, renames = '\\x07'::bytea");
    for (std::size_t c = 0; c < counts.size(); ++c) {
        const QlaRun run = Qla(counts[c]);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, before[c]);
    }
    const QlaRun exported = Qla({"export", "--db", database_, "--view", "standard", "--format",
                                 "text", "--output", folder_.QPath("standard.txt")});
    EXPECT_EQ(exported.status, 1);
    EXPECT_EQ(exported.err, Damaged("the statistics of log 1 cannot be read"));
    EXPECT_EQ(Qla({"check", "--db", database_}).status, 1);
}

TEST_P(Damage, ChatRowsThatDisagreeWithTheLinesAreFoundByCheck) {
    Sql("DELETE FROM log_chats WHERE seq = 1");
    const QlaRun check = Qla({"check", "--db", database_});
    EXPECT_EQ(check.status, 1);
    EXPECT_NE(check.err.find("log 1 records chats or other lines its lines do not give"),
              std::string::npos)
        << check.err;
}

TEST_P(Damage, RecordsThatContradictEachOtherAreNamed) {
    Sql("UPDATE logs SET imported_bytes = file_size + 100");
    const QlaRun import = Qla({"import", QString::fromStdString(log_), "--db", database_});
    EXPECT_EQ(import.status, 1);
    EXPECT_EQ(import.err.rfind(Damaged("log 1 records ").substr(0, 60), 0), 0u) << import.err;
    EXPECT_NE(import.err.find("imported bytes of a"), std::string::npos) << import.err;
    const QlaRun analyze = Qla({"analyze", "--db", database_});
    EXPECT_EQ(analyze.status, 1);
    EXPECT_NE(analyze.err.find("is damaged: log 1 records"), std::string::npos) << analyze.err;
    EXPECT_EQ(Qla({"check", "--db", database_}).status, 1);
}

TEST_P(Damage, StoredStatisticsAreCheckedAgainstTheStoredLines) {
    Sql("UPDATE logs SET kills = kills + 9");
    Sql("UPDATE log_players SET deaths = deaths + 1 WHERE first_seen = 1");
    const QlaRun check = Qla({"check", "--db", database_});
    EXPECT_EQ(check.status, 1);
    EXPECT_NE(check.err.find("log 1 records totals its lines do not give"), std::string::npos)
        << check.err;
    EXPECT_NE(check.err.find("log 1 records players its lines do not give"), std::string::npos)
        << check.err;
}

// The chat and junk views stream their rows from the database: a row that names no player of its
// log fails the export, which then writes nothing, rather than filing the message under nobody.
TEST_P(Damage, AChatRowNamingNoPlayerFailsTheStreamedViewAndWritesNothing) {
    const QString out = QString::fromStdString(folder_.Path("voice.txt"));
    const QStringList voice{"export",   "--db", database_,  "--view", "voice",
                            "--format", "text", "--output", out};
    const QlaRun sound = Qla(voice);
    ASSERT_EQ(sound.status, 0) << sound.err;
    ASSERT_GT(ReadFile(out.toStdString()).size(), 100u);
    std::filesystem::remove(out.toStdString());

    Sql("UPDATE log_chats SET player = 9999 WHERE seq = 3 AND kind = 0");
    const QlaRun damaged = Qla(voice);
    EXPECT_EQ(damaged.status, 1);
    EXPECT_EQ(damaged.err.rfind("qla export: ", 0), 0u) << damaged.err;
    EXPECT_NE(damaged.err.find("is damaged: a chat of log 1 names no player of the log"),
              std::string::npos)
        << damaged.err;
    EXPECT_FALSE(std::filesystem::exists(out.toStdString()));
    // The other views never read the chat rows.
    EXPECT_EQ(Qla({"export", "--db", database_, "--view", "junk", "--format", "csv", "--output",
                   QString::fromStdString(folder_.Path("junk.csv"))})
                  .status,
              0);
}

INSTANTIATE_TEST_SUITE_P(Engines, Damage, kEngines,
                         [](const auto& info) { return EngineName(info.param); });

// tests/data/schema3 holds a database that version 3 wrote (an English, a German, a full
// recognition and a UTF-16 log, and an alias) and the logs it was made from.
class SchemaThree : public testing::Test {
  protected:
    void SetUp() override {
        const std::filesystem::path data = std::string(QLA_TEST_DATA_DIR) + "/schema3";
        for (const auto& entry : std::filesystem::directory_iterator(data))
            std::filesystem::copy_file(entry.path(), folder_.Path(entry.path().filename()));
    }
    QString Db() const { return folder_.QPath("stats.db"); }
    std::string Log(const std::string& name) const { return folder_.Path(name); }
    TempFolder folder_;
};

TEST_F(SchemaThree, ReadsAsBeforeAndUpgradesWithoutChangingWhatItSays) {
    const QStringList reads[] = {{"analyze", "--db", Db()},
                                 {"players", "--db", Db()},
                                 {"analyze", "--db", Db(), "--merge-players"},
                                 {"player", "--db", Db(), "Al", "--merge-players"},
                                 {"analyze", "--db", Db(), "--log", "2"},
                                 {"analyze", "--db", Db(), "--log", "4"}};
    std::vector<QlaRun> before;
    for (const QStringList& read : reads)
        before.push_back(Qla(read));
    // What the logs say read directly: the first log alone, the UTF-16 log alone.
    EXPECT_EQ(
        before[4].out,
        Qla({"analyze", QString::fromStdString(Log("day2.log")), "--language", "german"}).out);
    EXPECT_EQ(before[5].out, Qla({"analyze", QString::fromStdString(Log("day4-utf16.log"))}).out);

    // Importing the unchanged logs upgrades the database and adds nothing, the UTF-16 log
    // (whose file bytes the upgrade could not see) included.
    for (const char* name : {"day1.log", "day2.log", "day3.log", "day4-utf16.log"}) {
        const QlaRun again = Qla({"import", QString::fromStdString(Log(name)), "--db", Db()});
        ASSERT_EQ(again.status, 0) << again.err;
        EXPECT_NE(again.out.find(": unchanged, nothing imported"), std::string::npos) << again.out;
    }
    std::string error;
    {
        auto database = db::StatsDatabase::Open(Db().toStdString(), db::OpenMode::ReadOnly, error);
        ASSERT_TRUE(database) << error;
        EXPECT_EQ(db::StoredSchemaVersion(database->Connection()), db::kSchemaVersion);
    }
    for (std::size_t i = 0; i < std::size(reads); ++i) {
        const QlaRun after = Qla(reads[i]);
        EXPECT_EQ(after.status, before[i].status);
        EXPECT_EQ(after.out, before[i].out) << reads[i].join(' ').toStdString();
    }
    const QlaRun check = Qla({"check", "--db", Db()});
    EXPECT_EQ(check.status, 0) << check.err;

    // An upgraded log grows as any other: a copy of its start adds nothing.
    const std::string day1 = ReadFile(Log("day1.log"));
    WriteFile(Log("copy.log"), day1.substr(0, day1.find('\n', day1.size() / 2) + 1));
    EXPECT_NE(Qla({"import", folder_.QPath("copy.log"), "--db", Db()}).out.find("a copy"),
              std::string::npos);
}

TEST_F(SchemaThree, UpgradeBringsItToThisVersionAndChangesNothingItSays) {
    const QlaRun before = Qla({"players", "--db", Db()});
    const QlaRun upgrade = Qla({"upgrade", "--db", Db()});
    EXPECT_EQ(upgrade.status, 0) << upgrade.err;
    EXPECT_EQ(upgrade.out, "the database " + Db().toStdString() + " is at schema version " +
                               std::to_string(db::kSchemaVersion) + "\n");
    EXPECT_EQ(Qla({"players", "--db", Db()}).out, before.out);
    EXPECT_EQ(Qla({"upgrade", "--db", Db(), "extra.log"}).status, 2);
    EXPECT_EQ(Qla({"upgrade", "--db", folder_.QPath("absent.db")}).status, 0)
        << "a new database is made at this version";
}

} // namespace
} // namespace qla::dbtest
