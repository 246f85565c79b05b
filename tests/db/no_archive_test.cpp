// qla import --no-archive keeps a log's statistics without its lines: readers answer as with
// the lines, growth and rotation work as before, a shorter copy of the log's start is still
// recognised (block by block, from the sums the chunks keep), and what needs the lines says
// plainly that the log has none.
#include "db_test_support.h"

#include "db/stats_database.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QSqlQuery>

#include <csignal>
#include <thread>

namespace qla::dbtest {
namespace {

constexpr std::size_t kBlock = 1024;

// The first `lines` lines of `log`.
std::string FirstLines(const std::string& log, std::size_t lines) {
    std::size_t end = 0;
    for (std::size_t i = 0; i < lines; ++i)
        end = log.find('\n', end) + 1;
    return log.substr(0, end);
}

// `bytes` with the byte at `at` changed to another letter (never a line end).
std::string WithByteChanged(std::string bytes, std::size_t at) {
    while (bytes[at] == '\n' || bytes[at] == '\r')
        ++at;
    bytes[at] = bytes[at] == 'Q' ? 'R' : 'Q';
    return bytes;
}

class NoArchive : public testing::TestWithParam<Engine> {
  protected:
    QlaRun Import(const std::string& path, const QString& database, QStringList extra = {}) {
        return Qla(QStringList{"import", QString::fromStdString(path), "--db", database} << extra);
    }
    QlaRun ImportBare(const std::string& path) { return Import(path, bare_, {"--no-archive"}); }
    // `qla analyze` of the database without lines and of a log holding `bytes` agree.
    void ExpectBareHolds(const std::string& bytes, const std::string& context) {
        const std::string path = folder_.Path("expected.log");
        WriteFile(path, bytes);
        const QlaRun fromDatabase = Qla({"analyze", "--db", bare_});
        ASSERT_EQ(fromDatabase.status, 0) << fromDatabase.err;
        EXPECT_EQ(
            fromDatabase.out,
            Qla(QStringList{"analyze", QString::fromStdString(path)} << kNewDatabaseReading).out)
            << context;
    }
    std::string CopyReport(const std::string& copy, std::size_t uncompared) const {
        std::string text = "log 1: " + copy +
                           ": a copy of the first lines of this log (last read from " + log_ +
                           "): nothing imported";
        if (uncompared > 0)
            text += " (its last " + std::to_string(uncompared) +
                    " bytes could not be compared: log 1 keeps no lines)";
        return text + "\n";
    }
    void Sql(const std::string& statement) {
        std::string error;
        auto database =
            db::StatsDatabase::Open(bare_.toStdString(), db::OpenMode::ReadWrite, error);
        ASSERT_TRUE(database) << error;
        QSqlQuery query(database->Connection());
        ASSERT_TRUE(query.exec(QString::fromStdString(statement))) << statement;
    }

    TempFolder folder_;
    QString archived_ = NewDatabase(GetParam(), folder_, "archived");
    QString bare_ = NewDatabase(GetParam(), folder_, "bare");
    const std::string log_ = folder_.Path("server.log");
    // One chunk (under 1 MiB), so a copy's uncompared bytes are its length modulo the block.
    const std::string bytes_ = GeneratedLog(false, false, true, 5000, 21);
};

// Every reading and every import report are those of the database with lines, through growth,
// a line cut in the middle, a log in another language and a rotation.
TEST_P(NoArchive, ReadsAndImportsAsTheDatabaseWithLines) {
    const std::string cut = FirstLines(bytes_, 3001);
    std::vector<std::string> reports;
    const auto both = [&](const std::string& path, const std::string& bytes) {
        WriteFile(path, bytes);
        const QlaRun archived = Import(path, archived_, {"--language", "auto"});
        const QlaRun bare = Import(path, bare_, {"--language", "auto", "--no-archive"});
        ASSERT_EQ(bare.status, 0) << bare.err;
        EXPECT_EQ(bare.out, archived.out);
        EXPECT_EQ(bare.err, archived.err);
        reports.push_back(bare.out);
    };
    both(log_, cut.substr(0, cut.size() - 20)); // the last line cut in its middle
    both(log_, bytes_);
    both(folder_.Path("other.log"), GeneratedLog(true, true, false, 700, 3));
    both(log_, GeneratedLog(false, false, true, 800, 99)); // rotated: a new log
    EXPECT_EQ(reports[0], "log 1: " + log_ + ": new, 3000 lines imported (" +
                              std::to_string(cut.size() - 20 - FirstLines(bytes_, 3000).size()) +
                              " bytes of an unfinished last line wait for its line end)\n");
    EXPECT_EQ(reports[1], "log 1: " + log_ + ": grew, 2000 lines imported\n");
    EXPECT_NE(reports[3].find("rotated or replaced"), std::string::npos) << reports[3];

    for (const QStringList& reading :
         {QStringList{"analyze"}, QStringList{"players"}, QStringList{"analyze", "--log", "2"},
          QStringList{"players", "--log", "3"}}) {
        const QlaRun archived = Qla(QStringList(reading) << "--db" << archived_);
        const QlaRun bare = Qla(QStringList(reading) << "--db" << bare_);
        ASSERT_EQ(bare.status, 0) << bare.err;
        EXPECT_EQ(bare.out, archived.out) << reading.join(' ').toStdString();
    }
}

// A UTF-16 log grown in pieces cut inside a code unit and inside a line reads as the file does.
TEST_P(NoArchive, Utf16LogGrowsAsWithLines) {
    const std::string utf8 = GeneratedLog(false, false, false, 300, 5);
    std::string utf16 = "\xFF\xFE";
    for (const QChar c : QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())))
        utf16 +=
            std::string{static_cast<char>(c.unicode() & 0xFF), static_cast<char>(c.unicode() >> 8)};
    WriteFile(log_, "");
    std::size_t written = 0;
    for (const std::size_t cut : {utf16.size() / 3 + 1, utf16.size() / 2, utf16.size()}) {
        AppendFile(log_, utf16.substr(written, cut - written));
        written = cut;
        ASSERT_EQ(ImportBare(log_).status, 0);
    }
    ExpectBareHolds(utf8, "UTF-16");
    // A copy of its start (compared as the UTF-8 it reads as) adds nothing.
    const std::string copy = folder_.Path("copy.log");
    WriteFile(copy, utf16.substr(0, utf16.size() / 2));
    EXPECT_NE(ImportBare(copy).out.find("a copy of the first lines of this log"),
              std::string::npos);
    ExpectBareHolds(utf8, "the UTF-16 copy counted once");
}

// A copy cut anywhere (inside a line, at a block's end, inside the log's last block) is taken
// for the log's start when its whole blocks match; its last partial block is named.
TEST_P(NoArchive, ShorterCopiesAreComparedBlockByBlock) {
    ASSERT_LT(bytes_.size(), std::size_t{1} << 20);
    ASSERT_NE(bytes_.size() % kBlock, 0u);
    WriteFile(log_, bytes_);
    ASSERT_EQ(ImportBare(log_).status, 0);
    const std::string copy = folder_.Path("copy.log");
    const std::size_t midLine = FirstLines(bytes_, 1501).size() - 7;
    const std::size_t lastBlock = bytes_.size() / kBlock * kBlock;
    for (const std::size_t cut :
         {midLine, 40 * kBlock, lastBlock + 3, bytes_.size() - 5, std::size_t{700}}) {
        WriteFile(copy, bytes_.substr(0, cut));
        EXPECT_EQ(ImportBare(copy).out, CopyReport(copy, cut % kBlock)) << "cut at " << cut;
    }
    // The log itself truncated at one of its line ends: the same, in its own words.
    const std::string truncated = FirstLines(bytes_, 4000);
    WriteFile(log_, truncated);
    EXPECT_EQ(ImportBare(log_).out,
              "log 1: " + log_ +
                  ": shorter than when imported, and its lines are the log's first lines: nothing "
                  "imported (its last " +
                  std::to_string(truncated.size() % kBlock) +
                  " bytes could not be compared: log 1 keeps no lines)\n");
    ExpectBareHolds(bytes_, "every copy counted once");
}

// A shorter file with the log's first line but other bytes in a whole block is a new log. A
// difference inside the file's last partial block cannot be seen: such a file is taken for a
// copy, and the report says how many bytes were not compared.
TEST_P(NoArchive, AFileThatDiffersInAWholeBlockIsNoCopy) {
    WriteFile(log_, bytes_);
    ASSERT_EQ(ImportBare(log_).status, 0);
    const std::string start = FirstLines(bytes_, 2000);
    ASSERT_GT(start.size() % kBlock, 100u);
    const std::string other = folder_.Path("other.log");
    int id = 2; // log ids are never reused
    for (const std::size_t at :
         {std::size_t{300}, start.size() / 2, start.size() / kBlock * kBlock - 1}) {
        WriteFile(other, WithByteChanged(start, at));
        EXPECT_EQ(ImportBare(other).out,
                  "log " + std::to_string(id) + ": " + other + ": new, 2000 lines imported\n")
            << "changed at " << at;
        ASSERT_EQ(Qla({"forget", "--db", bare_, QString::number(id++)}).status, 0);
    }
    WriteFile(other, WithByteChanged(start, start.size() - 10));
    EXPECT_EQ(ImportBare(other).out, CopyReport(other, start.size() % kBlock));
}

// Reanalyze refuses a log without lines; check says what it could not compare, still checks the
// rest, and finds damaged sums and statistics that disagree with each other.
TEST_P(NoArchive, ReanalyzeAndCheckSayTheLogKeepsNoLines) {
    WriteFile(log_, bytes_);
    ASSERT_EQ(ImportBare(log_).status, 0);
    const QlaRun before = Qla({"analyze", "--db", bare_});
    for (const QStringList& choice : {QStringList{}, QStringList{"--log", "1"}}) {
        const QlaRun reanalyze = Qla(QStringList{"reanalyze", "--db", bare_} << choice);
        EXPECT_EQ(reanalyze.status, 1);
        EXPECT_EQ(reanalyze.out, "");
        EXPECT_EQ(reanalyze.err, "qla: log 1 keeps no lines: it was imported with --no-archive, "
                                 "so its statistics cannot be rebuilt\n");
    }
    EXPECT_EQ(Qla({"analyze", "--db", bare_}).out, before.out);
    const std::string skipped = "log 1 keeps no lines: it was imported with --no-archive; its "
                                "statistics were checked against each other, not against its "
                                "lines\n";
    const QlaRun check = Qla({"check", "--db", bare_});
    EXPECT_EQ(check.status, 0) << check.err;
    EXPECT_EQ(check.out, skipped + "no damage found: 1 log, 1 chunk checked\n");

    Sql("UPDATE logs SET kills = kills + 1");
    const QlaRun totals = Qla({"check", "--db", bare_});
    EXPECT_EQ(totals.status, 1);
    EXPECT_EQ(totals.err, "qla: the database " + bare_.toStdString() +
                              " is damaged: log 1 records totals its statistics do not give\n");
    Sql("UPDATE logs SET kills = kills - 1");

    // One byte of the stored sums changed: they no longer combine to the chunk's checksum.
    Sql(GetParam() == Engine::SQLite
            ? "UPDATE log_chunks SET bytes = CAST(substr(bytes, 1, 50) || CASE WHEN substr(bytes, "
              "51, 1) = X'5A' THEN X'5B' ELSE X'5A' END || substr(bytes, 52) AS BLOB)"
            : "UPDATE log_chunks SET bytes = set_byte(bytes, 50, (get_byte(bytes, 50) + 1) % 256)");
    const QlaRun sums = Qla({"check", "--db", bare_});
    EXPECT_EQ(sums.status, 1);
    EXPECT_EQ(sums.err, "qla: the database " + bare_.toStdString() +
                            " is damaged: chunk 0 of log 1 does not match its checksum\n");
}

// A log imported with its lines and grown without them, then with them again: each chunk is
// read as it was stored.
TEST_P(NoArchive, ALogMayMixChunksWithAndWithoutLines) {
    const std::string first = FirstLines(bytes_, 2000), second = FirstLines(bytes_, 3500);
    WriteFile(log_, first);
    ASSERT_EQ(Import(log_, bare_).status, 0);
    WriteFile(log_, second);
    ASSERT_EQ(ImportBare(log_).out, "log 1: " + log_ + ": grew, 1500 lines imported\n");
    WriteFile(log_, bytes_);
    ASSERT_EQ(Import(log_, bare_).out, "log 1: " + log_ + ": grew, 1500 lines imported\n");
    ExpectBareHolds(bytes_, "three imports");

    const std::string copy = folder_.Path("copy.log");
    // Ending in the first chunk: compared byte for byte, reported as always.
    WriteFile(copy, bytes_.substr(0, first.size() - 9));
    EXPECT_EQ(ImportBare(copy).out, CopyReport(copy, 0));
    // Ending in the chunk of sums: its last partial block (counted from the chunk's start).
    const std::size_t inSums = first.size() + 10 * kBlock + 77;
    WriteFile(copy, bytes_.substr(0, inSums));
    EXPECT_EQ(ImportBare(copy).out, CopyReport(copy, 77));
    // Ending in the last chunk: every block of the sums compared whole.
    WriteFile(copy, bytes_.substr(0, second.size() + 500));
    EXPECT_EQ(ImportBare(copy).out, CopyReport(copy, 0));
    // A difference inside the chunk of sums makes another log.
    WriteFile(copy, WithByteChanged(second, first.size() + 100));
    EXPECT_EQ(ImportBare(copy).out, "log 2: " + copy + ": new, 3500 lines imported\n");
    ASSERT_EQ(Qla({"forget", "--db", bare_, "2"}).status, 0);

    const QlaRun check = Qla({"check", "--db", bare_});
    EXPECT_EQ(check.status, 0) << check.err;
    EXPECT_EQ(check.out.substr(check.out.find("no damage")),
              "no damage found: 1 log, 3 chunks checked\n");
    EXPECT_NE(check.out.find("log 1 keeps no lines"), std::string::npos);
    EXPECT_EQ(Qla({"reanalyze", "--db", bare_}).status, 1);
    ExpectBareHolds(bytes_, "copies counted once");
}

// A name the game cut in obituaries stands for a whole name of an earlier log only where the
// later log's lines can be read again; without them the later log reads as it does alone.
TEST_P(NoArchive, CutNamesOfALogWithoutLinesReadAsTheLogAlone) {
    const std::string longName = "^1{TKS}^2Superlongname-Number-One";
    const std::string cutName = "^1{TKS}^2Superlongname-Number^7";
    const std::string date = "logfile opened on Sun Jan 02 10:00:00 2005\n";
    const auto kill = [](const std::string& victim, const std::string& killer) {
        return "[skipnotify]" + victim + " was killed by " + killer + "'s MP40\n";
    };
    const std::string first = date + kill("Ace", longName);
    const std::string second = date + kill(cutName, "Ace") + kill("Bob", cutName);
    WriteFile(folder_.Path("a.log"), first);
    WriteFile(folder_.Path("b.log"), second);
    ASSERT_EQ(Import(folder_.Path("a.log"), bare_).status, 0);
    ASSERT_EQ(ImportBare(folder_.Path("b.log")).status, 0);
    ASSERT_EQ(Import(folder_.Path("a.log"), archived_).status, 0);
    ASSERT_EQ(Import(folder_.Path("b.log"), archived_).status, 0);

    const QlaRun withLines = Qla({"players", "--db", archived_});
    const QlaRun without = Qla({"players", "--db", bare_});
    ASSERT_EQ(without.status, 0) << without.err;
    EXPECT_EQ(without.err, "");
    const std::string cutPlayer = "\n^1{TKS}^2Superlongname-Number\n";
    EXPECT_EQ(withLines.out.find(cutPlayer), std::string::npos) << withLines.out;
    // The cut name stays a player of its own, as the log read alone files it.
    EXPECT_NE(without.out.find(cutPlayer), std::string::npos) << without.out;
    EXPECT_EQ(Qla({"players", "--db", bare_, "--log", "2"}).out,
              Qla({"players", "--db", archived_, "--log", "2"}).out);
}

// qla watch --no-archive imports as it grows, statistics only.
TEST_P(NoArchive, WatchKeepsStatisticsOnly) {
    WriteFile(log_, FirstLines(bytes_, 1000));
    QProcess watcher;
    watcher.start(QStringLiteral(QLA_BINARY), {"watch", QString::fromStdString(log_), "--db", bare_,
                                               "--interval", "0.2", "--no-archive"});
    ASSERT_TRUE(watcher.waitForStarted());
    const auto waitFor = [&](std::size_t lines) {
        const std::string want = "\n1\t" + std::to_string(lines) + "\t";
        std::string logs;
        WaitUntil([&] {
            return (logs = Qla({"logs", "--db", bare_}).out).find(want) != std::string::npos;
        });
        EXPECT_NE(logs.find(want), std::string::npos) << logs;
    };
    waitFor(1000);
    AppendFile(log_, bytes_.substr(FirstLines(bytes_, 1000).size()));
    waitFor(5000);
    ::kill(static_cast<pid_t>(watcher.processId()), SIGTERM);
    ASSERT_TRUE(watcher.waitForFinished(30000));
    EXPECT_EQ(watcher.exitCode(), 0);
    ExpectBareHolds(bytes_, "watched");
    EXPECT_EQ(Qla({"reanalyze", "--db", bare_}).err,
              "qla: log 1 keeps no lines: it was imported with --no-archive, so its statistics "
              "cannot be rebuilt\n");
}

INSTANTIATE_TEST_SUITE_P(Engines, NoArchive, kEngines,
                         [](const auto& info) { return EngineName(info.param); });

} // namespace
} // namespace qla::dbtest
