// The sums of runs of logs answer as the logs one after the other: for selections that take a
// run whole, in part or not at all, where a cut obituary name of a later run stands for a whole
// name of an earlier one, and after a log of a run grows, is read again or is forgotten; the
// runs are summed again by the write that changed them, on both engines.
#include "cut_name_lines.h"
#include "db_test_support.h"

#include "db/stats_database.h"
#include "db/store_from_statistics.h"

#include <gtest/gtest.h>

#include <QSqlQuery>

#include <map>

namespace qla::dbtest {
namespace {

class LogBlocksTest : public testing::TestWithParam<Engine> {
  protected:
    // Logs 1 to `count`, each with a chat of Ace; log 1 brings the long name, log 12 meets it
    // only cut.
    void WriteLogs(int count) {
        for (int k = 1; k <= count; ++k) {
            std::string bytes = GeneratedLog(false, false, true, 40, 100 + k) + Chat("Ace", "gg");
            if (k == 1)
                bytes += Chat(kLongName, "hi") + Kill("Ace", kLongName);
            if (k == 12)
                bytes += Kill(kCutName, "Ace") + Kill("Bob", kCutName);
            WriteFile(LogPath(k), bytes);
        }
    }
    std::string LogPath(int k) const { return folder_.Path("log" + std::to_string(k) + ".log"); }

    void ImportLogs(int count) {
        QStringList arguments{"import", "--db", database_};
        for (int k = 1; k <= count; ++k)
            arguments << QString::fromStdString(LogPath(k));
        const QlaRun run = Qla(arguments);
        ASSERT_EQ(run.status, 0) << run.err;
    }

    // The stored blocks: first log to last log.
    std::map<std::int64_t, std::int64_t> Blocks() {
        std::string error;
        auto database =
            db::StatsDatabase::Open(database_.toStdString(), db::OpenMode::ReadOnly, error);
        EXPECT_TRUE(database) << error;
        std::map<std::int64_t, std::int64_t> blocks;
        if (!database)
            return blocks;
        QSqlQuery query(database->Connection());
        EXPECT_TRUE(query.exec("SELECT first_log, last_log FROM log_blocks"));
        while (query.next())
            blocks[query.value(0).toLongLong()] = query.value(1).toLongLong();
        return blocks;
    }

    // What the counts' readers show of `source`.
    std::string Reading(const QStringList& source) { return CountsReading(source, "Ace"); }
    std::string ReadingOfDatabase(const QStringList& logs = {}) {
        QStringList source{"--db", database_};
        if (!logs.isEmpty())
            source << "--log" << logs.join(',');
        return Reading(source);
    }
    // The logs `numbers` as one file.
    std::string ReadingOfLogs(const std::vector<int>& numbers) {
        std::string bytes;
        for (const int k : numbers)
            bytes += ReadFile(LogPath(k));
        const std::string whole = folder_.Path("whole.log");
        WriteFile(whole, bytes);
        return Reading(QStringList{QString::fromStdString(whole)} << kNewDatabaseReading);
    }
    static std::vector<int> Range(int first, int last) {
        std::vector<int> numbers;
        for (int k = first; k <= last; ++k)
            numbers.push_back(k);
        return numbers;
    }

    // The counters as a reader of the counters files them (with the sums) and as a reader of
    // the kills does (log by log).
    void ExpectSumsAsLogByLog() {
        AnalysisStore summed, logByLog;
        ASSERT_TRUE(FillStore(database_, summed, db::CountersOnly()));
        db::StoreParts kills = db::CountersOnly();
        kills.Kills = true;
        ASSERT_TRUE(FillStore(database_, logByLog, kills));
        EXPECT_EQ(PlayersPicture(summed), PlayersPicture(logByLog));
        EXPECT_GT(summed.PlayerCount(), 10);
    }

    TempFolder folder_;
    QString database_ = NewDatabase(GetParam(), folder_);
};

TEST_P(LogBlocksTest, SelectionsReadAsTheirLogsOneAfterTheOther) {
    WriteLogs(20);
    ImportLogs(20);
    EXPECT_EQ(Blocks(), (std::map<std::int64_t, std::int64_t>{{1, 8}, {9, 16}}));

    // The whole history: the run of logs 9 to 16 meets the long name of log 1 only cut, so its
    // sum (made without log 1) is not filed; its logs are, one after the other.
    const std::string all = ReadingOfDatabase();
    EXPECT_EQ(all, ReadingOfLogs(Range(1, 20)));
    EXPECT_EQ(all.find(kCutName), std::string::npos) << all;
    // A run alone, where its cut name stands for no earlier name.
    EXPECT_EQ(ReadingOfDatabase({"9", "10", "11", "12", "13", "14", "15", "16"}),
              ReadingOfLogs(Range(9, 16)));
    // Part of a run, a run whole, and logs after it.
    QStringList later;
    for (int k = 5; k <= 20; ++k)
        later << QString::number(k);
    EXPECT_EQ(ReadingOfDatabase(later), ReadingOfLogs(Range(5, 20)));
    ExpectSumsAsLogByLog();
    QlaRun check = Qla({"check", "--db", database_});
    EXPECT_EQ(check.status, 0) << check.err;

    // A sum that is not its logs' is damage the check names.
    RunSql(database_, {"UPDATE log_blocks SET digest = (SELECT digest FROM log_blocks"
                       " WHERE first_log = 9) WHERE first_log = 1"});
    check = Qla({"check", "--db", database_});
    EXPECT_EQ(check.status, 1);
    EXPECT_NE(check.err.find("the sum of logs 1 to 8 differs from their statistics"),
              std::string::npos)
        << check.err;
}

TEST_P(LogBlocksTest, AChangedLogIsSummedAgainWithItsRun) {
    WriteLogs(17);
    ImportLogs(17);
    ASSERT_EQ(Blocks().size(), 2u);

    // A log of the second run grows: the run is summed again with its new lines.
    AppendFile(LogPath(10), GeneratedLog(false, false, true, 30, 999));
    ASSERT_EQ(Qla({"import", "--db", database_, QString::fromStdString(LogPath(10))}).status, 0);
    EXPECT_EQ(Blocks().size(), 2u);
    EXPECT_EQ(ReadingOfDatabase(), ReadingOfLogs(Range(1, 17)));

    // A log read again in another mode: its run sums what it now counts.
    QlaRun run = Qla({"reanalyze", "--db", database_, "--log", "3", "--recognition", "classic"});
    ASSERT_EQ(run.status, 0) << run.err;
    ExpectSumsAsLogByLog();

    // A forgotten log moves every later log up a place: the runs are those of the logs left.
    run = Qla({"forget", "--db", database_, "5"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(Blocks(), (std::map<std::int64_t, std::int64_t>{{1, 9}, {10, 17}}));
    run = Qla({"reanalyze", "--db", database_, "--log", "3", "--recognition", "full"});
    ASSERT_EQ(run.status, 0) << run.err;
    std::vector<int> left = Range(1, 17);
    left.erase(left.begin() + 4);
    EXPECT_EQ(ReadingOfDatabase(), ReadingOfLogs(left));
    ExpectSumsAsLogByLog();
    run = Qla({"check", "--db", database_});
    EXPECT_EQ(run.status, 0) << run.err;
}

INSTANTIATE_TEST_SUITE_P(Engines, LogBlocksTest, kEngines,
                         [](const auto& info) { return EngineName(info.param); });

} // namespace
} // namespace qla::dbtest
