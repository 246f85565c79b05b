// Which stored log a file is: copies and truncations of a log's start add nothing, a log that
// extends a stored one adds only its new lines, and a file that shares only its first bytes
// with a stored log is a new log. Files that are no logs are refused before anything is read.
#include "db_test_support.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

namespace qla::dbtest {
namespace {

// The first `lines` lines of `log`.
std::string FirstLines(const std::string& log, std::size_t lines) {
    std::size_t end = 0;
    for (std::size_t i = 0; i < lines; ++i)
        end = log.find('\n', end) + 1;
    return log.substr(0, end);
}

class ImportIdentity : public testing::TestWithParam<Engine> {
  protected:
    QlaRun Import(const std::string& path) {
        return Qla({"import", QString::fromStdString(path), "--db", database_});
    }
    // The database reads exactly as a log of `bytes` does.
    void ExpectDatabaseHolds(const std::string& bytes, const std::string& context) {
        const std::string path = folder_.Path("expected.log");
        WriteFile(path, bytes);
        const QlaRun fromDatabase = Qla({"analyze", "--db", database_});
        ASSERT_EQ(fromDatabase.status, 0) << fromDatabase.err;
        EXPECT_EQ(
            fromDatabase.out,
            Qla(QStringList{"analyze", QString::fromStdString(path)} << kNewDatabaseReading).out)
            << context;
    }
    TempFolder folder_;
    QString database_ = NewDatabase(GetParam(), folder_);
    // Long enough that a third of it is well past the first 64 KiB that fingerprint a log.
    const std::string log_ = GeneratedLog(false, false, true, 5000, 21);
};

// Two servers' logs started as copies of one file: each byte is counted once however the
// copies are imported and grow.
TEST_P(ImportIdentity, ShorterCopiesAddNothingAndGrowthAddsOnlyNewLines) {
    const std::string hostA = folder_.Path("hostA.log"), hostB = folder_.Path("hostB.log");
    WriteFile(hostA, FirstLines(log_, 2000));
    ASSERT_EQ(Import(hostA).out, "log 1: " + hostA + ": new, 2000 lines imported\n");
    WriteFile(hostB, FirstLines(log_, 1500));
    EXPECT_EQ(Import(hostB).out, "log 1: " + hostB +
                                     ": a copy of the first lines of this log (last read from " +
                                     hostA + "): nothing imported\n");
    WriteFile(hostA, FirstLines(log_, 2500));
    EXPECT_EQ(Import(hostA).out, "log 1: " + hostA + ": grew, 500 lines imported\n");
    ExpectDatabaseHolds(FirstLines(log_, 2500), "the copy counted once");

    // The copy grows past what is stored: only its new lines count.
    WriteFile(hostB, FirstLines(log_, 3000));
    EXPECT_EQ(Import(hostB).out, "log 1: " + hostB + ": grew, 500 lines imported\n");
    WriteFile(hostA, FirstLines(log_, 2800));
    EXPECT_NE(Import(hostA).out.find("nothing imported"), std::string::npos);
    // Shorter than the 64 KiB fingerprint, and cut inside a line (hostB was read last).
    WriteFile(hostB, FirstLines(log_, 40));
    EXPECT_NE(Import(hostB).out.find("shorter than when imported"), std::string::npos);
    WriteFile(hostA, FirstLines(log_, 41).substr(0, FirstLines(log_, 41).size() - 7));
    EXPECT_NE(Import(hostA).out.find("a copy of the first lines"), std::string::npos);
    ExpectDatabaseHolds(FirstLines(log_, 3000), "every copy counted once");
    EXPECT_EQ(Qla({"check", "--db", database_}).status, 0);
}

// A log cut back at one of its line ends holds nothing new; a log replaced by another that
// shares its first 64 KiB is read from its start as a new log.
TEST_P(ImportIdentity, ALogThatSharesOnlyItsStartIsANewLog) {
    const std::string path = folder_.Path("server.log");
    const std::string first = FirstLines(log_, 2000);
    WriteFile(path, first);
    ASSERT_EQ(Import(path).status, 0);
    WriteFile(path, FirstLines(log_, 1200));
    EXPECT_EQ(Import(path).out, "log 1: " + path +
                                    ": shorter than when imported, and its lines are the log's "
                                    "first lines: nothing imported\n");

    // The same first 1,500 lines (over 64 KiB), then other lines, and longer than before.
    const std::string other = GeneratedLog(false, false, true, 1500, 22);
    const std::string replaced = FirstLines(log_, 1500) + other.substr(other.find('\n') + 1);
    WriteFile(path, replaced);
    const QlaRun rotated = Import(path);
    EXPECT_EQ(rotated.out, "log 2: " + path +
                               ": no longer the log last read from this path (rotated or "
                               "replaced): a new log, 2999 lines imported; log 1 stays as it "
                               "was\n");
    ExpectDatabaseHolds(first + replaced, "the replacement read from its start");

    // Rewritten in place at the same size, past the first 64 KiB: no longer the same log.
    std::string rewritten = replaced;
    const std::size_t at = rewritten.find("killed", 100000);
    rewritten.replace(at, 6, "KILLED");
    WriteFile(path, rewritten);
    EXPECT_NE(Import(path).out.find("log 3: " + path + ": no longer the log last read"),
              std::string::npos);
    ExpectDatabaseHolds(first + replaced + rewritten, "the rewrite is a new log");
}

TEST_P(ImportIdentity, FilesThatAreNoLogsAreRefused) {
    const std::string log = folder_.Path("a.log");
    WriteFile(log, FirstLines(log_, 100));
    ASSERT_EQ(Import(log).status, 0);
    const auto refused = [&](const std::string& path, const std::string& why) {
        const QlaRun run = Import(path);
        EXPECT_EQ(run.status, 1) << path;
        EXPECT_EQ(run.err, "qla: " + why + path + "\n");
    };
    const std::string fifo = folder_.Path("pipe.log");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    refused(fifo, "this is not a regular file, not a log: "); // would block in open()
    refused("/dev/zero", "this is not a regular file, not a log: ");
    if (GetParam() == Engine::SQLite) {
        refused(database_.toStdString(), "this is the statistics database itself, not a log: ");
        const std::string other = folder_.Path("other.db");
        std::filesystem::copy_file(database_.toStdString(), other);
        refused(other, "this is an SQLite database, not a log: ");
        // watch refuses it before it starts, instead of trying again every interval.
        for (const std::string suffix : {"", "-journal"}) {
            const QlaRun watch =
                Qla({"watch", database_ + QString::fromStdString(suffix), "--db", database_});
            EXPECT_EQ(watch.status, 2);
            EXPECT_NE(watch.err.find("is the statistics database itself, not a log"),
                      std::string::npos)
                << watch.err;
        }
    }
    ExpectDatabaseHolds(FirstLines(log_, 100), "nothing of the refused files");
}

// Many small logs share transactions (a commit waits for the disk); a log that fails in such a
// group costs the others nothing, and every log is still reported on its own line, in order.
TEST_P(ImportIdentity, ManySmallLogsAreImportedTogetherAndEachReported) {
    QStringList arguments{"import"};
    std::string expected, all;
    for (int i = 0; i < 150; ++i) {
        const std::string path = folder_.Path("s" + std::to_string(i) + ".log");
        const std::string bytes =
            "logfile opened on Mon Jan  1 10:00:" + std::to_string(10 + i % 50) +
            " 2007\n[skipnotify]P" + std::to_string(i) + "^7 was killed by Q^7's MP40\n";
        WriteFile(path, bytes);
        arguments << QString::fromStdString(path);
        expected += "log " + std::to_string(i + 1) + ": " + path + ": new, 2 lines imported\n";
        all += bytes;
        if (i == 120) { // a copy within the same group, and a log that cannot be read
            arguments << QString::fromStdString(path) << folder_.QPath("missing.log");
            expected += "log 121: " + path + ": unchanged, nothing imported\n";
        }
    }
    arguments << "--db" << database_;
    const QlaRun run = Qla(arguments);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, expected);
    EXPECT_EQ(run.err, "qla: the log does not exist: " + folder_.Path("missing.log") + "\n");
    ExpectDatabaseHolds(all, "each small log once");
}

INSTANTIATE_TEST_SUITE_P(Engines, ImportIdentity, kEngines,
                         [](const auto& info) { return EngineName(info.param); });

} // namespace
} // namespace qla::dbtest
