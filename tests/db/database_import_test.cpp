// Importing logs as they grow, rotate and shrink: each line counted exactly once.
#include "db_test_support.h"

#include <gtest/gtest.h>

#include <QFile>

#include <filesystem>

namespace qla::dbtest {
namespace {

class Import : public testing::TestWithParam<Engine> {
  protected:
    QlaRun Import_(const std::string& path, QStringList extra = {}) {
        return Qla(QStringList{"import", QString::fromStdString(path), "--db", database_} << extra);
    }
    // `qla analyze` of the database and of a log holding `bytes` must agree.
    void ExpectDatabaseHolds(const std::string& bytes, const std::string& context) {
        if (bytes.empty()) { // a database without lines, unlike an empty file, has none
            EXPECT_NE(Qla({"analyze", "--db", database_}).out.find("Total: 0\n"),
                      std::string::npos);
            return;
        }
        const std::string path = folder_.Path("expected.log");
        WriteFile(path, bytes);
        const QlaRun fromLog =
            Qla(QStringList{"analyze", QString::fromStdString(path)} << kNewDatabaseReading);
        const QlaRun fromDatabase = Qla({"analyze", "--db", database_});
        ASSERT_EQ(fromDatabase.status, 0) << fromDatabase.err;
        EXPECT_EQ(fromDatabase.out, fromLog.out) << context;
    }
    TempFolder folder_;
    QString database_ = NewDatabase(GetParam(), folder_);
};

TEST_P(Import, SecondImportOfAnUnchangedLogAddsNothing) {
    const std::string log = folder_.Path("a.log");
    const std::string bytes = GeneratedLog(false, false, true, 300, 1);
    WriteFile(log, bytes);
    const QlaRun first = Import_(log);
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.out, "log 1: " + log + ": new, 300 lines imported\n");
    const QlaRun second = Import_(log);
    EXPECT_EQ(second.status, 0);
    EXPECT_EQ(second.out, "log 1: " + log + ": unchanged, nothing imported\n");
    // A copy under another name is the same log: its first bytes say so.
    const std::string copy = folder_.Path("copy.log");
    WriteFile(copy, bytes);
    EXPECT_EQ(Import_(copy).out, "log 1: " + copy + ": unchanged, nothing imported\n");
    ExpectDatabaseHolds(bytes, "one import");
}

// The log grows in pieces cut anywhere: inside a line, inside a CR LF, inside a UTF-8
// character. Each import takes the whole lines so far; the end result is the whole log.
TEST_P(Import, LogGrowingInPiecesIsImportedExactlyOnce) {
    std::string bytes = GeneratedLog(false, false, false, 400, 7);
    bytes += "[skipnotify]Zo\xC3\xAB^7: ^2caf\xC3\xA9 na\xC3\xAFve\r\n"; // ends in a 2-byte char
    const std::size_t cafe = bytes.find("caf\xC3\xA9") + 4;              // inside the é
    const std::size_t crlf = bytes.find("\r\n", bytes.size() / 3) + 1;   // between CR and LF
    const std::size_t midLine = bytes.find("\r\n", bytes.size() / 2) - 5;
    const std::size_t cuts[] = {10, crlf, midLine, cafe, bytes.size()};
    const std::string log = folder_.Path("growing.log");
    WriteFile(log, "");
    std::size_t written = 0;
    for (std::size_t cut : cuts) {
        AppendFile(log, bytes.substr(written, cut - written));
        written = cut;
        const QlaRun run = Import_(log);
        ASSERT_EQ(run.status, 0) << run.err;
        // What is in the database is the log up to its last certain line end.
        std::size_t end = written;
        if (end > 0 && bytes[end - 1] == '\r')
            --end;
        while (end > 0 && bytes[end - 1] != '\n' && bytes[end - 1] != '\r')
            --end;
        ExpectDatabaseHolds(bytes.substr(0, end), "after " + std::to_string(written) + " bytes");
        if (end < written) {
            EXPECT_NE(run.out.find(std::to_string(written - end) + " bytes of an unfinished"),
                      std::string::npos)
                << run.out;
        }
    }
    const QlaRun logs = Qla({"logs", "--db", database_});
    EXPECT_NE(logs.out.find("\n1\t401\tenglish\t"), std::string::npos) << logs.out;
}

// UTF-16 logs of either byte order, grown in pieces cut inside a code unit, inside a
// surrogate pair and inside a line: the database holds what the log's whole lines read as.
TEST_P(Import, Utf16LogGrowingInPiecesReadsAsTheFileDoes) {
    const std::string utf8 = GeneratedLog(false, false, false, 200, 5) +
                             "[skipnotify]Zo\xC3\xAB: ^2\xF0\x9F\x98\x80 gg\r\n";
    const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    for (const bool little : {true, false}) {
        std::string bytes = little ? "\xFF\xFE" : "\xFE\xFF";
        for (const QChar c : text) {
            const char low = static_cast<char>(c.unicode() & 0xFF);
            const char high = static_cast<char>(c.unicode() >> 8);
            bytes += little ? std::string{low, high} : std::string{high, low};
        }
        const std::size_t pair = bytes.size() - 14;       // between the halves of the emoji
        const std::size_t midUnit = bytes.size() / 3 + 1; // inside one code unit
        const std::size_t midLine = bytes.size() / 2;
        const std::string log = folder_.Path(little ? "le.log" : "be.log");
        database_ = NewDatabase(GetParam(), folder_, little ? "le" : "be");
        WriteFile(log, "");
        std::size_t written = 0;
        for (const std::size_t cut : {std::size_t{1}, midUnit, midLine, pair, bytes.size()}) {
            AppendFile(log, bytes.substr(written, cut - written));
            written = cut;
            ASSERT_EQ(Import_(log).status, 0);
        }
        ExpectDatabaseHolds(bytes, little ? "little-endian" : "big-endian");
        const QlaRun logs = Qla({"logs", "--db", database_});
        EXPECT_NE(logs.out.find("\n1\t201\tenglish\t"), std::string::npos) << logs.out;
    }
}

// With --language auto a new log gets the language of its first lines; a log that grows keeps
// the language it was imported in.
TEST_P(Import, AutoLanguageIsDecidedOnceForANewLog) {
    const std::string german = GeneratedLog(true, true, false, 300, 8);
    const std::string log = folder_.Path("de.log");
    WriteFile(log, german.substr(0, german.size() / 2));
    const QlaRun first = Import_(log, {"--language", "auto"});
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.err,
              "qla: " + log + ": read as german (--language auto, from its first 10000 lines)\n");
    AppendFile(log, german.substr(german.size() / 2));
    const QlaRun grown = Import_(log, {"--language", "auto"});
    EXPECT_EQ(grown.err, "");
    const std::string path = folder_.Path("expected.log");
    WriteFile(path, german);
    EXPECT_EQ(Qla({"analyze", "--db", database_}).out,
              Qla(QStringList{"analyze", QString::fromStdString(path), "--language", "german"}
                  << kNewDatabaseReading)
                  .out);
    EXPECT_NE(Qla({"logs", "--db", database_}).out.find("\tgerman\t"), std::string::npos);
}

TEST_P(Import, HeldBackLastLineWaitsUntilFinished) {
    const std::string log = folder_.Path("live.log");
    const std::string whole = GeneratedLog(false, false, true, 50, 3);
    const std::string unended = whole.substr(0, whole.size() - 1);
    WriteFile(log, unended);
    ASSERT_EQ(Import_(log).status, 0);
    ExpectDatabaseHolds(whole.substr(0, whole.rfind('\n', whole.size() - 2) + 1), "held back");
    const QlaRun logs = Qla({"logs", "--db", database_});
    EXPECT_NE(logs.out.find("\t49\tenglish\t"), std::string::npos) << logs.out;
    EXPECT_NE(logs.out.find(" bytes\t-\n"), std::string::npos) << logs.out;

    const QlaRun finished = Import_(log, {"--finished"});
    EXPECT_EQ(finished.out, "log 1: " + log + ": grew, 1 line imported\n");
    ExpectDatabaseHolds(whole, "finished");
    EXPECT_EQ(Import_(log, {"--finished"}).out,
              "log 1: " + log + ": unchanged, nothing imported\n");
}

// A log is remembered from its first complete line on: an empty file or a first line the game
// is still writing stores nothing, so it cannot lack its date or be mistaken for another log
// that starts with the same bytes.
TEST_P(Import, ALogIsRememberedFromItsFirstCompleteLine) {
    const std::string empty = folder_.Path("empty.log");
    WriteFile(empty, "");
    const QlaRun none = Import_(empty);
    EXPECT_EQ(none.status, 0) << none.err;
    EXPECT_EQ(none.out, empty + ": empty, nothing imported\n");

    std::string live = GeneratedLog(false, false, true, 100, 31);
    live.replace(0, live.find('\n'), "logfile opened on Sun May 14 15:19:28 2006");
    const std::string log = folder_.Path("live.log");
    WriteFile(log, live.substr(0, 18)); // "logfile opened on "
    const QlaRun waiting = Import_(log);
    EXPECT_EQ(waiting.status, 0) << waiting.err;
    EXPECT_EQ(waiting.out, log + ": no complete line yet, nothing imported (18 bytes of an "
                                 "unfinished last line wait for its line end)\n");

    std::string other = GeneratedLog(false, false, true, 80, 32);
    other.replace(0, other.find('\n'), "logfile opened on Mon Jan  2 08:00:00 2007");
    const std::string otherLog = folder_.Path("other.log");
    WriteFile(otherLog, other);
    EXPECT_EQ(Import_(otherLog).out, "log 1: " + otherLog + ": new, 80 lines imported\n");

    WriteFile(log, live);
    EXPECT_EQ(Import_(log).out, "log 2: " + log + ": new, 100 lines imported\n");
    const QlaRun logs = Qla({"logs", "--db", database_});
    EXPECT_NE(logs.out.find("\tSun May 14 15:19:28 2006\t" + log + "\t"), std::string::npos)
        << logs.out;
    WriteFile(folder_.Path("x.log"), live);
    EXPECT_EQ(Qla({"analyze", "--db", database_, "--until", "2006-12-31"}).out,
              Qla(QStringList{"analyze", folder_.QPath("x.log")} << kNewDatabaseReading).out);
}

TEST_P(Import, RotatedLogsAreNewLogsAndTruncatedOnesAddNothing) {
    const std::string log = folder_.Path("server.log");
    const std::string first = GeneratedLog(false, false, true, 200, 11);
    WriteFile(log, first);
    ASSERT_EQ(Import_(log).status, 0);
    // Rotation: the same path, another log.
    const std::string second = GeneratedLog(false, false, true, 250, 12);
    WriteFile(log, second);
    const QlaRun rotated = Import_(log);
    EXPECT_EQ(rotated.status, 0);
    EXPECT_NE(rotated.out.find("log 2: " + log + ": no longer the log last read from this path"),
              std::string::npos)
        << rotated.out;
    ExpectDatabaseHolds(first + second, "rotated");
    // Truncation at a line end: its lines are stored already.
    const std::string truncated = second.substr(0, second.find('\n', second.size() / 2) + 1);
    WriteFile(log, truncated);
    const QlaRun shrank = Import_(log);
    EXPECT_NE(shrank.out.find("log 2: " + log + ": shorter than when imported"), std::string::npos)
        << shrank.out;
    ExpectDatabaseHolds(first + second, "truncated");
    // Forgetting the rotated log restores the earlier state exactly.
    ASSERT_EQ(Qla({"forget", "--db", database_, "2"}).status, 0);
    ExpectDatabaseHolds(first, "forgotten");
}

TEST_P(Import, LogsAreChosenByIdAndByDate) {
    std::string a = GeneratedLog(false, false, true, 100, 21);
    std::string b = GeneratedLog(false, false, true, 100, 22);
    // Dates the selection can tell apart; the rest of each first line stays generated.
    a.replace(0, a.find('\n'), "logfile opened on Sun May 14 15:19:28 2006");
    b.replace(0, b.find('\n'), "logfile opened on Mon Jan  2 08:00:00 2007");
    const std::string c = "no date header here\n";
    for (const auto& [name, bytes] : {std::pair{"a.log", a}, {"b.log", b}, {"c.log", c}}) {
        WriteFile(folder_.Path(name), bytes);
        ASSERT_EQ(Import_(folder_.Path(name)).status, 0);
    }
    const auto analyze = [&](QStringList selection) {
        return Qla(QStringList{"analyze", "--db", database_} << selection).out;
    };
    const auto expected = [&](const std::string& bytes) {
        WriteFile(folder_.Path("x.log"), bytes);
        return Qla(QStringList{"analyze", folder_.QPath("x.log")} << kNewDatabaseReading).out;
    };
    EXPECT_EQ(analyze({"--log", "1,3"}), expected(a + c));
    EXPECT_EQ(analyze({"--log", "3", "--log", "2"}), expected(b + c)); // import order
    EXPECT_EQ(analyze({"--since", "2006-05-14"}), expected(a + b));
    EXPECT_EQ(analyze({"--until", "2006-05-14"}), expected(a));
    EXPECT_EQ(analyze({"--since", "2006-05-14 15:19:29"}), expected(b));
    EXPECT_EQ(analyze({"--since", "2007-01-02T08:00", "--until", "2007-01-02 08:00"}), expected(b));
    const QlaRun unknown = Qla({"analyze", "--db", database_, "--log", "9"});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_EQ(unknown.err, "qla: the database " + database_.toStdString() + " holds no log 9\n");
    EXPECT_EQ(Qla({"analyze", "--db", database_, "--since", "14.05.2006"}).status, 2);
    EXPECT_EQ(Qla({"analyze", "--log", "1"}).status, 2);
    // Each log is read with the language and recognition it was imported with.
    for (const char* option : {"--language", "--recognition"}) {
        const QlaRun refused = Qla({"analyze", "--db", database_, option, "full"});
        EXPECT_EQ(refused.status, 2);
        EXPECT_NE(refused.err.find(std::string(option) + " does not apply with --db"),
                  std::string::npos)
            << refused.err;
    }
    EXPECT_EQ(Qla({"forget", "--db", database_, "1", "7"}).status, 1);
    EXPECT_EQ(analyze({}), expected(a + b + c)); // nothing was forgotten
}

// A file name (or a date header) holding terminal controls is printed with them spelled out.
TEST_P(Import, ControlCharactersNeverReachTheTerminal) {
    const std::string log = folder_.Path("red\x1b[31m.log");
    WriteFile(log, "\x1b]0;title\x07[skipnotify]Bob was killed by Al's MP40\n");
    const QlaRun imported = Import_(log);
    ASSERT_EQ(imported.status, 0) << imported.err;
    const QlaRun logs = Qla({"logs", "--db", database_});
    for (const QlaRun& run : {imported, logs}) {
        EXPECT_EQ(run.out.find('\x1b'), std::string::npos) << run.out;
        EXPECT_NE(run.out.find("red\\x1b[31m.log"), std::string::npos) << run.out;
    }
    EXPECT_EQ(logs.out.find('\x07'), std::string::npos) << logs.out;
}

// Names holding a NUL byte or bytes that are no UTF-8 are stored and read back as the log has
// them (the summary columns, which cannot hold a NUL in every engine, do not hold the lines).
TEST_P(Import, NamesWithNulAndInvalidUtf8AreStored) {
    const std::string log = folder_.Path("odd.log");
    const std::string bytes =
        std::string("\0logfile\n[skipnotify]Bo\0b was killed by A\0l's MP40\n", 51) +
        "[skipnotify]Bo\xFFx^7: hi\n[skipnotify]Bo\xEF\xBF\xBD"
        "b^7: x\n";
    WriteFile(log, bytes);
    const QlaRun imported = Import_(log);
    ASSERT_EQ(imported.status, 0) << imported.err;
    ExpectDatabaseHolds(bytes, "odd names");
    EXPECT_EQ(Qla({"players", "--db", database_}).out,
              Qla(QStringList{"players", folder_.QPath("odd.log")} << kNewDatabaseReading).out);
}

TEST_P(Import, FailuresLeaveTheDatabaseAsItWas) {
    const std::string log = folder_.Path("a.log");
    const std::string bytes = GeneratedLog(false, false, true, 100, 5);
    WriteFile(log, bytes);
    ASSERT_EQ(Import_(log).status, 0);

    const QlaRun missing = Import_(folder_.Path("missing.log"));
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "qla: the log does not exist: " + folder_.Path("missing.log") + "\n");
    const QlaRun folder = Import_(folder_.Path(""));
    EXPECT_EQ(folder.status, 1);
    EXPECT_NE(folder.err.find("is a folder"), std::string::npos) << folder.err;

    if (GetParam() == Engine::PostgreSQL) {
        // A database the server does not have.
        const QString absent = database_.section(QLatin1Char(' '), 0, 0) + " dbname=absent";
        const QlaRun none = Qla({"logs", "--db", absent});
        EXPECT_EQ(none.status, 1);
        EXPECT_NE(none.err.find("cannot open the database " + absent.toStdString()),
                  std::string::npos)
            << none.err;
        ExpectDatabaseHolds(bytes, "after the failures");
        return;
    }
    // A database that cannot be written: its journal cannot be made beside it.
    AppendFile(log, "[skipnotify]Bob was killed by Al's MP40\n");
    std::filesystem::create_directory(folder_.Path("stats.db-journal"));
    const QlaRun unwritable = Import_(log);
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_EQ(unwritable.err.rfind("qla: ", 0), 0u) << unwritable.err;
    std::filesystem::remove(folder_.Path("stats.db-journal"));
    ExpectDatabaseHolds(bytes, "after the failed write");

    // An export never replaces the database it reads.
    const QlaRun ontoDatabase = Qla({"export", "--db", database_, "--view", "standard", "--format",
                                     "text", "--output", database_});
    EXPECT_EQ(ontoDatabase.status, 1);
    EXPECT_NE(ontoDatabase.err.find("Not written"), std::string::npos) << ontoDatabase.err;
    ExpectDatabaseHolds(bytes, "after the refused export");

    const std::string other = folder_.Path("other.db");
    WriteFile(other, "this is not a database at all, just some text\n");
    const QlaRun notDatabase = Qla({"analyze", "--db", QString::fromStdString(other)});
    EXPECT_EQ(notDatabase.status, 1);
    EXPECT_EQ(notDatabase.err.rfind("qla: ", 0), 0u) << notDatabase.err;
    const QlaRun absent = Qla({"logs", "--db", folder_.QPath("absent.db")});
    EXPECT_EQ(absent.err, "qla: the database does not exist: " + folder_.Path("absent.db") + "\n");
    EXPECT_FALSE(std::filesystem::exists(folder_.Path("absent.db")));
}

INSTANTIATE_TEST_SUITE_P(Engines, Import, kEngines,
                         [](const auto& info) { return EngineName(info.param); });

} // namespace
} // namespace qla::dbtest
