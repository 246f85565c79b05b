// qla versus from a database of several logs, on SQLite and PostgreSQL: the answer of the logs'
// concatenation read as one log, its rows per log adding up to it, and its weapons (from the
// stored statistics) those of the lines.
#include "db_test_support.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace qla::dbtest {
namespace {

QJsonObject Json(const QlaRun& run) {
    EXPECT_EQ(run.status, 0) << run.err;
    return QJsonDocument::fromJson(QByteArray::fromStdString(run.out)).object();
}

// The two players of the log's first kill line ("A was killed by B's ...").
std::pair<QString, QString> FirstPair(const std::string& log) {
    const std::string marker = " was killed by ";
    const std::size_t at = log.find(marker);
    const std::size_t lineStart = log.rfind('\n', at) + 1;
    std::string victim = log.substr(lineStart, at - lineStart);
    if (victim.rfind("[skipnotify]", 0) == 0)
        victim.erase(0, 12);
    const std::size_t killerStart = at + marker.size();
    const std::string killer = log.substr(killerStart, log.find("'s ", killerStart) - killerStart);
    const auto stored = [](std::string name) {
        if (name.size() >= 2 && name.compare(name.size() - 2, 2, "^7") == 0)
            name.resize(name.size() - 2); // the closing white code is not part of a stored name
        return QString::fromStdString(name);
    };
    return {stored(killer), stored(victim)};
}

class VersusDatabase : public testing::TestWithParam<Engine> {};

TEST_P(VersusDatabase, ADatabaseOfThreeLogsAnswersAsTheirConcatenation) {
    TempFolder folder;
    std::string whole;
    for (int k = 1; k <= 3; ++k) {
        const std::string log = GeneratedLog(false, false, false, 1500, 20 + k);
        whole += log;
        WriteFile(folder.Path("log" + std::to_string(k) + ".log"), log);
    }
    WriteFile(folder.Path("whole.log"), whole);
    const QString database = NewDatabase(GetParam(), folder);
    for (int k = 1; k <= 3; ++k)
        ASSERT_EQ(Qla({"import", folder.QPath("log" + std::to_string(k) + ".log"), "--db", database,
                       "--quiet"})
                      .status,
                  0);
    const auto [name, other] = FirstPair(whole);
    QJsonObject fromLog =
        Json(Qla(QStringList{"versus", folder.QPath("whole.log"), name, other, "--format", "json"}
                 << kNewDatabaseReading));
    QJsonObject fromDatabase =
        Json(Qla({"versus", "--db", database, name, other, "--format", "json"}));
    ASSERT_GT(fromLog["encounters"].toInteger(), 0);
    const QJsonArray logs = fromDatabase["logs"].toArray();
    ASSERT_EQ(logs.size(), 3);
    std::int64_t kills = 0, deaths = 0;
    for (const QJsonValue log : logs) {
        kills += log["kills"].toInteger();
        deaths += log["deaths"].toInteger();
    }
    EXPECT_EQ(kills, fromDatabase["kills"].toInteger());
    EXPECT_EQ(deaths, fromDatabase["deaths"].toInteger());
    fromLog.remove("logs");
    fromDatabase.remove("logs");
    EXPECT_EQ(fromDatabase, fromLog); // counts, weapons, ratings and the chance
}

INSTANTIATE_TEST_SUITE_P(Engines, VersusDatabase, kEngines);

} // namespace
} // namespace qla::dbtest
