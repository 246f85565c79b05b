// qla awards from a database tells the streaks and first bloods as the same command on the
// logs' lines one after the other: every period and format, players merged or not, a log that
// grew in pieces (one cut in the middle of its kills, one just after a "logfile opened on" line),
// and a log imported before the database kept the order of its kills, which says so until qla
// reanalyze reads it again.
#include "db_test_support.h"

#include "db/schema.h"
#include "db/stats_database.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlQuery>

#include <utility>

namespace qla::dbtest {
namespace {

constexpr const char* kPeriods[] = {"all", "session", "day", "week", "month"};

class AwardStreaks : public testing::TestWithParam<Engine> {
  protected:
    QlaRun Import(const std::string& path) {
        const QlaRun run = Qla({"import", QString::fromStdString(path), "--db", database_});
        EXPECT_EQ(run.status, 0) << run.err;
        return run;
    }
    // The awards of the database, and of `log` read as the database reads its logs.
    std::string FromDatabase(QStringList options) {
        const QlaRun run = Qla(QStringList{"awards", "--db", database_} << options);
        EXPECT_EQ(run.status, 0) << run.err;
        return run.out;
    }
    std::string FromLog(const std::string& log, QStringList options) {
        const QlaRun run = Qla(QStringList{"awards", QString::fromStdString(log), "--quiet"}
                               << kNewDatabaseReading << options);
        EXPECT_EQ(run.status, 0) << run.err;
        return run.out;
    }
    void Sql(const QString& statement) {
        std::string error;
        auto database =
            db::StatsDatabase::Open(database_.toStdString(), db::OpenMode::ReadWrite, error);
        ASSERT_TRUE(database) << error;
        QSqlQuery query(database->Connection());
        ASSERT_TRUE(query.exec(statement)) << statement.toStdString();
    }

    TempFolder folder_;
    QString database_ = NewDatabase(GetParam(), folder_);
};

// A session of a file is labelled "FILE:N", a stored log "log N": the N-th session of the file
// that holds the logs one after the other is the N-th stored log.
std::string LabelledAsStored(std::string text, const std::string& file) {
    const std::string label = file + ":";
    for (std::size_t at = 0; (at = text.find(label, at)) != std::string::npos;)
        text.replace(at, label.size(), "log ");
    return text;
}

QJsonObject Json(const std::string& text) {
    return QJsonDocument::fromJson(QByteArray::fromStdString(text)).object();
}

// The awards of a JSON answer's only period, by key.
const QJsonObject AwardsOf(const QJsonObject& answer) {
    QJsonObject awards;
    for (const QJsonValue award : answer["periods"][0]["awards"].toArray())
        awards[award["award"].toString()] = award.toObject();
    return awards;
}

TEST_P(AwardStreaks, ADatabaseTellsTheAwardsAsItsLogsOneAfterTheOtherDo) {
    // Three logs; the second grows in two pieces, cut in the middle of its kills.
    std::string all;
    const std::string grown = folder_.Path("b.log");
    for (const int seed : {61, 62, 63}) {
        const std::string text = GeneratedLog(false, false, seed == 62, 2500, seed);
        all += text;
        const std::string path = seed == 62 ? grown : folder_.Path(std::to_string(seed) + ".log");
        WriteFile(path, seed == 62 ? text.substr(0, text.find('\n', text.size() / 3) + 1) : text);
        Import(path);
        if (seed == 62) {
            WriteFile(path, text);
            EXPECT_NE(Import(path).out.find("grew"), std::string::npos);
        }
    }
    const std::string concatenated = folder_.Path("all.log");
    WriteFile(concatenated, all);
    for (const char* period : kPeriods)
        for (const char* format : {"json", "text", "csv"}) {
            const QStringList options{"--period", period, "--format", format};
            EXPECT_EQ(FromDatabase(options),
                      LabelledAsStored(FromLog(concatenated, options), "all.log"))
                << period << " " << format;
        }
    for (const char* merge : {"--merge-players", "--merge-players=names"})
        for (const char* period : {"all", "session"}) {
            const QStringList options{"--period", period, "--format", "json", merge};
            EXPECT_EQ(FromDatabase(options),
                      LabelledAsStored(FromLog(concatenated, options), "all.log"))
                << merge << " " << period;
        }
    // The streaks are there, not only equal.
    const QJsonObject answer = Json(FromDatabase({"--format", "json"}));
    EXPECT_TRUE(answer["streaksKnown"].toBool());
    EXPECT_GE(AwardsOf(answer)["longest_kill_streak"]["winners"][0]["value"].toInteger(), 2);
    EXPECT_EQ(AwardsOf(answer)["first_blood"]["winners"].toArray().size(), 3);
    // A forgotten log leaves no order behind.
    const auto rows = [&](const QString& log) {
        std::string error;
        auto database =
            db::StatsDatabase::Open(database_.toStdString(), db::OpenMode::ReadOnly, error);
        EXPECT_TRUE(database) << error;
        QSqlQuery query(database->Connection());
        EXPECT_TRUE(query.exec("SELECT COUNT(*) FROM log_kill_orders WHERE log_id = " + log));
        return query.next() ? query.value(0).toInt() : -1;
    };
    EXPECT_EQ(rows("2"), 2); // the grown log: a row for each import
    ASSERT_EQ(Qla({"forget", "--db", database_, "2"}).status, 0);
    EXPECT_EQ(rows("2"), 0);
    EXPECT_EQ(rows("1"), 1);
}

TEST_P(AwardStreaks, AStreakGoesOnIntoTheLinesALogGrewByAndStopsAtASessionBegunInIt) {
    // One file of two sessions, imported in three pieces: cut in the middle of the first
    // session's kills, then just after the line that begins the second session.
    const std::string first = GeneratedLog(false, false, true, 1500, 64);
    const std::string second = GeneratedLog(false, false, true, 1500, 65);
    const std::string log = folder_.Path("grown.log");
    const std::string text = first + second;
    WriteFile(log, text.substr(0, text.find('\n', first.size() / 2) + 1));
    Import(log);
    WriteFile(log, text.substr(0, text.find('\n', first.size()) + 1));
    Import(log);
    WriteFile(log, text);
    Import(log);
    const QStringList all{"--period", "all", "--format", "json"};
    const QJsonObject fromDatabase = Json(FromDatabase(all));
    const QJsonObject fromLog = Json(FromLog(log, all));
    // The file has two sessions where the database has one log: the first blood of each is
    // told, labelled by the session or by the log.
    QJsonObject stored = AwardsOf(fromDatabase), read = AwardsOf(fromLog);
    ASSERT_EQ(std::as_const(stored)["first_blood"]["winners"].toArray().size(), 2);
    for (QJsonObject* awards : {&stored, &read}) {
        QJsonArray bloods = std::as_const(*awards)["first_blood"]["winners"].toArray();
        for (int b = 0; b < bloods.size(); ++b) {
            QJsonObject blood = bloods[b].toObject();
            blood.remove("subject");
            bloods[b] = blood;
        }
        QJsonObject award = (*awards)["first_blood"].toObject();
        award["winners"] = bloods;
        (*awards)["first_blood"] = award;
    }
    EXPECT_EQ(stored, read);
    EXPECT_TRUE(fromDatabase["streaksKnown"].toBool());
    // The records' streaks too: the file's sessions are one session in the database, whose
    // ties go by the whole log's counts, so only the length is the same for sure.
    for (int r = 0; r < 2; ++r) {
        EXPECT_TRUE(fromDatabase["records"][r]["known"].toBool());
        EXPECT_EQ(fromDatabase["records"][r]["value"], fromLog["records"][r]["value"]) << r;
    }
}

TEST_P(AwardStreaks, ALogImportedBeforeTheOrderWasKeptSaysSoUntilReadAgain) {
    std::string all;
    for (const int seed : {66, 67}) {
        const std::string text = GeneratedLog(false, false, true, 2000, seed);
        all += text;
        WriteFile(folder_.Path(std::to_string(seed) + ".log"), text);
        Import(folder_.Path(std::to_string(seed) + ".log"));
    }
    WriteFile(folder_.Path("all.log"), all);
    const QStringList sessions{"--period", "session", "--format", "json"};
    const std::string sound = FromDatabase(sessions);
    // Log 1 as a qla before version 9 left it: its statistics without the order of its kills.
    Sql("DELETE FROM log_kill_orders WHERE log_id = 1");
    const QJsonObject answer = Json(FromDatabase(sessions));
    EXPECT_FALSE(answer["streaksKnown"].toBool());
    EXPECT_TRUE(answer["note"].toString().contains("qla reanalyze"))
        << answer["note"].toString().toStdString();
    const QJsonArray periods = answer["periods"].toArray();
    ASSERT_EQ(periods.size(), 2);
    for (int p = 0; p < 2; ++p) {
        const QJsonObject awards = AwardsOf(QJsonObject{{"periods", QJsonArray{periods[p]}}});
        for (const char* streak : {"longest_kill_streak", "longest_death_streak"}) {
            EXPECT_EQ(awards[streak]["known"].toBool(), p == 1) << streak << " session " << p;
            EXPECT_EQ(awards[streak]["winners"].toArray().isEmpty(), p == 0);
        }
        // Its first blood is still told: the summed kills keep the order of their first ones.
        EXPECT_EQ(awards["first_blood"]["winners"].toArray().size(), 1);
    }
    EXPECT_FALSE(answer["records"][0]["known"].toBool());
    EXPECT_TRUE(answer["records"][2]["known"].toBool());
    const std::string text = FromDatabase({"--period", "all"});
    EXPECT_NE(text.find("Longest kill streak\t-\t-\t-\tnot stored"), std::string::npos) << text;

    const QlaRun again = Qla({"reanalyze", "--db", database_, "--log", "1"});
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(FromDatabase(sessions), sound);
}

INSTANTIATE_TEST_SUITE_P(Engines, AwardStreaks, kEngines,
                         [](const auto& info) { return EngineName(info.param); });

// A database of version 8 keeps no order: read as it is, it says so; its first import brings it
// to version 9, after which the new log's streaks are told and the old one's once read again.
TEST(AwardStreaksUpgrade, ADatabaseOfVersion8TellsStreaksOfTheLogsImportedSince) {
    TempFolder folder;
    const QString database = NewDatabase(Engine::SQLite, folder);
    WriteFile(folder.Path("a.log"), GeneratedLog(false, false, true, 1500, 68));
    WriteFile(folder.Path("b.log"), GeneratedLog(false, false, true, 1500, 69));
    ASSERT_EQ(Qla({"import", folder.QPath("a.log"), "--db", database}).status, 0);
    {
        std::string error;
        auto opened =
            db::StatsDatabase::Open(database.toStdString(), db::OpenMode::ReadWrite, error);
        ASSERT_TRUE(opened) << error;
        QSqlQuery query(opened->Connection());
        ASSERT_TRUE(query.exec("DROP TABLE log_kill_orders"));
        ASSERT_TRUE(query.exec("UPDATE qla_meta SET value = '8' WHERE name = 'schema_version'"));
    }
    const QStringList sessions{"awards",  "--db",     database, "--period",
                               "session", "--format", "json"};
    const QlaRun old = Qla(sessions);
    ASSERT_EQ(old.status, 0) << old.err;
    EXPECT_FALSE(Json(old.out)["streaksKnown"].toBool());

    ASSERT_EQ(Qla({"import", folder.QPath("b.log"), "--db", database}).status, 0);
    const QJsonObject upgraded = Json(Qla(sessions).out);
    const QJsonArray periods = upgraded["periods"].toArray();
    ASSERT_EQ(periods.size(), 2);
    EXPECT_FALSE(
        AwardsOf({{"periods", QJsonArray{periods[0]}}})["longest_kill_streak"]["known"].toBool());
    EXPECT_TRUE(
        AwardsOf({{"periods", QJsonArray{periods[1]}}})["longest_kill_streak"]["known"].toBool());
    ASSERT_EQ(Qla({"reanalyze", "--db", database}).status, 0);
    EXPECT_TRUE(Json(Qla(sessions).out)["streaksKnown"].toBool());
    std::string error;
    auto opened = db::StatsDatabase::Open(database.toStdString(), db::OpenMode::ReadOnly, error);
    ASSERT_TRUE(opened) << error;
    EXPECT_EQ(db::StoredSchemaVersion(opened->Connection()), db::kSchemaVersion);
}

} // namespace
} // namespace qla::dbtest
