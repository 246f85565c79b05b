// qla versus on generated logs: its counts are those of the classic player page's kills and
// deaths tables, a database holding the log answers as the log does (its weapons from the stored
// statistics, its rows per log), its rating is that of qla ratings, and its mistakes end with
// the statuses every reading command uses.
#include "qla_run.h"

#include "analysis/analysis.h"
#include "generator.h"
#include "stats/detail_tables.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <fstream>
#include <sstream>
#include <string>

namespace qla::cli {
namespace {

std::string GeneratedLog(std::uint64_t seed) {
    loggen::Options options;
    options.players = 8; // few players: every pair meets often
    options.lines = 3000;
    options.seed = seed;
    std::ostringstream log;
    EXPECT_TRUE(loggen::generateLog(options, log));
    return log.str();
}

// The count in the row of `name` of a classic event table; 0 without one.
std::int64_t CountInTable(const SortTable& table, const std::string& name) {
    for (std::size_t row = 1; row < table.size(); ++row)
        if (table[row].Cells[1].Text == name)
            return CellNumber(table[row].Cells[2]);
    return 0;
}

QJsonObject ParsedJson(const QlaRun& run) {
    QJsonParseError error;
    const QJsonDocument document =
        QJsonDocument::fromJson(QByteArray::fromStdString(run.out), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << run.out;
    return document.object();
}

class VersusCommandTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        const std::string text = GeneratedLog(11);
        std::ofstream(Path("game.log").toStdString(), std::ios::binary) << text;
        // The pair that met most, and their counts, from the classic player page's tables.
        AnalysisStore store;
        store.LogLines = LogLineList::FromBytes(text);
        AnalyzeLog(store, LogLanguage::English);
        const KillEventIndex index(store);
        std::int64_t most = -1;
        for (const PlayerIndex a : store.PlayerIndexes())
            for (const PlayerIndex b : store.PlayerIndexes()) {
                if (a == b)
                    continue;
                const std::string& nameB = store.Players[b].Name;
                const auto kills = CountInTable(
                    BuildKillsTable(store, index, a, PlayerDetailOrder::Appearance), nameB);
                const auto deaths = CountInTable(
                    BuildDeathsTable(store, index, a, PlayerDetailOrder::Appearance), nameB);
                if (kills + deaths > most) {
                    most = kills + deaths;
                    name_ = store.Players[a].Name;
                    other_ = nameB;
                    kills_ = kills;
                    deaths_ = deaths;
                }
            }
        ASSERT_GT(most, 0);
    }
    QString Path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }
    QString Name() const { return QString::fromStdString(name_); }
    QString Other() const { return QString::fromStdString(other_); }

    QTemporaryDir dir_;
    std::string name_, other_;
    std::int64_t kills_ = 0, deaths_ = 0;
};

TEST_F(VersusCommandTest, CountsAreThoseOfThePlayerPagesTables) {
    const QlaRun json = Qla({"versus", Path("game.log"), Name(), Other(), "--format", "json"});
    ASSERT_EQ(json.status, 0) << json.err;
    const QJsonObject answer = ParsedJson(json);
    EXPECT_EQ(answer["format"].toString(), "quarvel-statistics");
    EXPECT_EQ(answer["view"].toString(), "versus");
    EXPECT_EQ(answer["player"].toObject()["name"].toString(), Name());
    EXPECT_EQ(answer["opponent"].toObject()["name"].toString(), Other());
    EXPECT_EQ(answer["kills"].toInteger(), kills_);
    EXPECT_EQ(answer["deaths"].toInteger(), deaths_);
    EXPECT_EQ(answer["encounters"].toInteger(), kills_ + deaths_);
    // Each weapon's kills either way add up to the kills, and no weapon is listed twice.
    std::int64_t kills = 0, deaths = 0;
    QStringList weapons;
    for (const QJsonValue weapon : answer["weapons"].toArray()) {
        kills += weapon["kills"].toInteger();
        deaths += weapon["deaths"].toInteger();
        EXPECT_FALSE(weapons.contains(weapon["weapon"].toString()));
        weapons << weapon["weapon"].toString();
    }
    EXPECT_EQ(kills, kills_);
    EXPECT_EQ(deaths, deaths_);
    EXPECT_GT(weapons.size(), 1);
    // A log read is one row, with no log id.
    const QJsonArray logs = answer["logs"].toArray();
    ASSERT_EQ(logs.size(), 1);
    EXPECT_TRUE(logs[0]["logId"].isNull());
    EXPECT_EQ(logs[0]["kills"].toInteger(), kills_);

    // The other way round, the counts change sides and the chances add up to one.
    const QlaRun turned = Qla({"versus", Path("game.log"), Other(), Name(), "--format", "json"});
    const QJsonObject reverse = ParsedJson(turned);
    EXPECT_EQ(reverse["kills"].toInteger(), deaths_);
    EXPECT_EQ(reverse["deaths"].toInteger(), kills_);
    EXPECT_NEAR(reverse["playerWinsChance"].toDouble() + answer["playerWinsChance"].toDouble(), 1.0,
                1e-12);

    const QlaRun text = Qla({"versus", Path("game.log"), Name(), Other()});
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_NE(text.out.find("\nKills: " + std::to_string(kills_) +
                            "\nDeaths: " + std::to_string(deaths_) + "\n"),
              std::string::npos)
        << text.out;
}

TEST_F(VersusCommandTest, TheRatingIsThatOfTheRatingsBoard) {
    const QJsonObject answer =
        ParsedJson(Qla({"versus", Path("game.log"), Name(), Other(), "--format", "json"}));
    const QJsonObject board =
        ParsedJson(Qla({"ratings", Path("game.log"), "--min-encounters", "0", "--format", "json"}));
    int found = 0;
    for (const QJsonValue row : board["players"].toArray())
        for (const auto& [name, key] :
             {std::pair{Name(), "playerRating"}, std::pair{Other(), "opponentRating"}})
            if (row["name"].toString() == name) {
                EXPECT_EQ(row["rating"].toInteger(), answer[key]["rating"].toInteger());
                EXPECT_EQ(row["uncertainty"].toInteger(), answer[key]["uncertainty"].toInteger());
                ++found;
            }
    EXPECT_EQ(found, 2);
    // The better rated of the two is given the better chance.
    const double chance = answer["playerWinsChance"].toDouble();
    EXPECT_EQ(chance > 0.5, answer["playerRating"]["rating"].toInteger() >
                                answer["opponentRating"]["rating"].toInteger());
}

TEST_F(VersusCommandTest, ADatabaseHoldingTheLogAnswersAsTheLogDoes) {
    const QString db = Path("stats.db");
    ASSERT_EQ(
        Qla({"import", Path("game.log"), "--db", db, "--recognition", "classic", "--quiet"}).status,
        0);
    QJsonObject fromLog =
        ParsedJson(Qla({"versus", Path("game.log"), Name(), Other(), "--format", "json"}));
    const QlaRun run = Qla({"versus", "--db", db, Name(), Other(), "--format", "json"});
    ASSERT_EQ(run.status, 0) << run.err;
    QJsonObject fromDatabase = ParsedJson(run);
    // The weapons come from the stored statistics, not from the lines: they must agree.
    EXPECT_EQ(fromDatabase["weapons"], fromLog["weapons"]);
    const QJsonArray logs = fromDatabase["logs"].toArray();
    ASSERT_EQ(logs.size(), 1);
    EXPECT_EQ(logs[0]["logId"].toInteger(), 1);
    EXPECT_EQ(logs[0]["kills"].toInteger(), kills_);
    EXPECT_EQ(logs[0]["deaths"].toInteger(), deaths_);
    fromLog.remove("logs");
    fromDatabase.remove("logs");
    EXPECT_EQ(fromDatabase, fromLog);
}

TEST_F(VersusCommandTest, ADatabaseOfTwoLogsHasARowPerLogInDateOrder) {
    // The second log is dated before the first: rows follow the dates, not the import order.
    // The same log with an earlier date line: the same kills again.
    std::string earlier = GeneratedLog(11);
    earlier.replace(0, earlier.find('\n'), "logfile opened on Mon Jan 01 10:00:00 2001\r");
    std::ofstream(Path("earlier.log").toStdString(), std::ios::binary) << earlier;
    const QString db = Path("two.db");
    ASSERT_EQ(
        Qla({"import", Path("game.log"), "--db", db, "--recognition", "classic", "--quiet"}).status,
        0);
    ASSERT_EQ(
        Qla({"import", Path("earlier.log"), "--db", db, "--recognition", "classic", "--quiet"})
            .status,
        0);
    const QlaRun run = Qla({"versus", "--db", db, Name(), Other(), "--format", "json"});
    ASSERT_EQ(run.status, 0) << run.err;
    const QJsonObject answer = ParsedJson(run);
    const QJsonArray logs = answer["logs"].toArray();
    ASSERT_EQ(logs.size(), 2);
    EXPECT_EQ(logs[0]["logId"].toInteger(), 2);
    EXPECT_TRUE(logs[0]["date"].toString().startsWith("2001-01-01"));
    EXPECT_EQ(logs[1]["logId"].toInteger(), 1);
    EXPECT_EQ(logs[0]["kills"].toInteger() + logs[1]["kills"].toInteger(),
              answer["kills"].toInteger());
    EXPECT_EQ(answer["kills"].toInteger(), 2 * kills_); // the same kills twice
    // One log chosen: its row alone.
    const QJsonObject one =
        ParsedJson(Qla({"versus", "--db", db, "--log", "1", Name(), Other(), "--format", "json"}));
    EXPECT_EQ(one["logs"].toArray().size(), 1);
    EXPECT_EQ(one["kills"].toInteger(), kills_);
}

TEST_F(VersusCommandTest, MergingOverTimeFromADatabaseSaysTheWeaponsAreNotKept) {
    const QString db = Path("stats.db");
    ASSERT_EQ(
        Qla({"import", Path("game.log"), "--db", db, "--recognition", "classic", "--quiet"}).status,
        0);
    const QlaRun json =
        Qla({"versus", "--db", db, Name(), Other(), "--merge-players", "--format", "json"});
    ASSERT_EQ(json.status, 0) << json.err;
    const QJsonObject answer = ParsedJson(json);
    EXPECT_TRUE(answer["weapons"].isNull());
    EXPECT_FALSE(answer["weaponsNote"].toString().isEmpty());
    EXPECT_GT(answer["encounters"].toInteger(), 0);
    const QlaRun text = Qla({"versus", "--db", db, Name(), Other(), "--merge-players"});
    EXPECT_NE(text.out.find("# weapons not shown: "), std::string::npos) << text.out;
    // Merging by names alone keeps them.
    const QJsonObject byNames = ParsedJson(
        Qla({"versus", "--db", db, Name(), Other(), "--merge-players=names", "--format", "json"}));
    EXPECT_TRUE(byNames["weapons"].isArray());
}

TEST_F(VersusCommandTest, MistakesEndWithTheReadingCommandsStatuses) {
    const QlaRun unknown = Qla({"versus", Path("game.log"), Name(), "Nobody Here"});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_EQ(unknown.err, "qla: no player is stored as 'Nobody Here' in " +
                               Path("game.log").toStdString() + "\n");
    EXPECT_TRUE(unknown.out.empty());
    const QlaRun twice = Qla({"versus", Path("game.log"), Name(), Name()});
    EXPECT_EQ(twice.status, 2);
    EXPECT_NE(twice.err.find("the same name"), std::string::npos) << twice.err;
    const QlaRun missing = Qla({"versus", Path("game.log"), Name()});
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("needs LOG NAME OTHER"), std::string::npos) << missing.err;
    const QlaRun format = Qla({"versus", Path("game.log"), Name(), Other(), "--format", "csv"});
    EXPECT_EQ(format.status, 2);
}

} // namespace
} // namespace qla::cli
