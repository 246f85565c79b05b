// The tables and views other tools query with plain SQL: every example docs/database.md gives
// runs on both engines, and the views' figures are those qla prints from the same database,
// for a log imported whole, a log that grew over two imports, and after an upgrade.
#include "db_test_support.h"

#include "db/stats_database.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QLocale>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <map>
#include <memory>
#include <sstream>
#include <vector>

namespace qla::dbtest {
namespace {

// Two players both generated logs hold, whom the documented examples name.
const QStringList kSharedPlayers{"Shadow", "Whisky"};

struct DocExample {
    std::string Engine; // empty: both engines
    std::string Sql;
};

// The fenced ```sql blocks of the page; "```sql sqlite" and "```sql postgresql" are one engine's.
std::vector<DocExample> DocExamples(const std::string& markdown) {
    std::vector<DocExample> examples;
    std::istringstream in(markdown);
    std::string line;
    DocExample* open = nullptr;
    while (std::getline(in, line)) {
        if (open) {
            if (line.rfind("```", 0) == 0)
                open = nullptr;
            else
                open->Sql += line + "\n";
        } else if (line.rfind("```sql", 0) == 0) {
            std::string engine = line.substr(6);
            engine.erase(0, engine.find_first_not_of(' '));
            examples.push_back({engine, {}});
            open = &examples.back();
        }
    }
    return examples;
}

using Row = std::vector<QString>;

// A log dated a day ago, so that the example of the last 7 days finds its players.
std::string DatedYesterday(std::string log) {
    const QString date = QLocale::c().toString(QDateTime::currentDateTimeUtc().addDays(-1),
                                               QStringLiteral("ddd MMM d hh:mm:ss yyyy"));
    return "logfile opened on " + date.toStdString() + "\r\n" + log.substr(log.find('\n') + 1);
}

// The "Label: N" lines of `qla player`.
std::map<std::string, std::int64_t> Figures(const std::string& printout) {
    std::map<std::string, std::int64_t> figures;
    std::istringstream in(printout);
    std::string line;
    while (std::getline(in, line))
        if (const auto colon = line.find(": ");
            colon != std::string::npos && line.rfind("Player: ", 0) != 0) // the name line
            figures[line.substr(0, colon)] = std::stoll(line.substr(colon + 2));
    return figures;
}

// The sections of a player's text export ("Players Killed,Kills" ...), each as name to count.
std::map<std::string, std::map<std::string, std::int64_t>> Sections(const std::string& text) {
    std::map<std::string, std::map<std::string, std::int64_t>> sections;
    std::istringstream in(text);
    std::string line, section;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const auto comma = line.rfind(',');
        if (comma == std::string::npos)
            continue;
        const std::string name = line.substr(0, comma), count = line.substr(comma + 1);
        if (count == "Kills")
            section = name;
        else if (!section.empty())
            sections[section][name] = std::stoll(count);
    }
    return sections;
}

class SqlInterface : public testing::TestWithParam<Engine> {
  protected:
    void SetUp() override {
        // Log 1 is imported whole; log 2 in two imports, split at a line end.
        WriteFile(folder_.Path("one.log"),
                  DatedYesterday(GeneratedLog(false, false, false, 3000, 33)));
        const std::string two = GeneratedLog(false, false, false, 4000, 40);
        const std::size_t half = two.find('\n', two.size() / 2) + 1;
        WriteFile(folder_.Path("two.log"), two.substr(0, half));
        Import("one.log");
        Import("two.log");
        AppendFile(folder_.Path("two.log"), two.substr(half));
        Import("two.log");
    }

    void Import(const std::string& name) {
        const QlaRun run = Qla({"import", folder_.QPath(name), "--db", database_});
        ASSERT_EQ(run.status, 0) << run.err;
    }

    std::unique_ptr<db::StatsDatabase> Open(db::OpenMode mode = db::OpenMode::ReadOnly) {
        std::string error;
        auto database = db::StatsDatabase::Open(database_.toStdString(), mode, error);
        EXPECT_TRUE(database) << error;
        return database;
    }

    // Every row of `sql` as texts; `values` are bound in order.
    static std::vector<Row> Rows(db::StatsDatabase& database, const QString& sql,
                                 const QVariantList& values = {}) {
        QSqlQuery query(database.Connection());
        // PostgreSQL prepares no DROP or UPDATE of the tables: a statement without values runs
        // as it stands.
        if (values.isEmpty()) {
            EXPECT_TRUE(query.exec(sql)) << query.lastError().text().toStdString() << "\n"
                                         << sql.toStdString();
        } else {
            EXPECT_TRUE(query.prepare(sql)) << query.lastError().text().toStdString() << "\n"
                                            << sql.toStdString();
        }
        for (const QVariant& value : values)
            query.addBindValue(value);
        if (!values.isEmpty()) {
            EXPECT_TRUE(query.exec()) << query.lastError().text().toStdString() << "\n"
                                      << sql.toStdString();
        }
        std::vector<Row> rows;
        while (query.next()) {
            Row row;
            for (int c = 0; c < query.record().count(); ++c)
                row.push_back(query.value(c).toString());
            rows.push_back(std::move(row));
        }
        return rows;
    }

    // Everything the views say, in one fixed order, to compare two states of the database.
    static std::vector<Row> AllViews(db::StatsDatabase& database) {
        std::vector<Row> all;
        for (const char* sql : {"SELECT * FROM log_player_totals ORDER BY log_id, name",
                                "SELECT * FROM player_totals ORDER BY name",
                                "SELECT * FROM player_weapons ORDER BY name, weapon",
                                "SELECT * FROM head_to_head ORDER BY killer, victim"}) {
            const auto rows = Rows(database, QString::fromLatin1(sql));
            all.push_back(Row{QString::fromLatin1(sql)});
            all.insert(all.end(), rows.begin(), rows.end());
        }
        return all;
    }

    std::string PlayerExport(const QString& name, const QStringList& selection = {}) {
        const std::string output = folder_.Path("player.txt");
        const QlaRun run = Qla(QStringList{"export", "--db", database_}
                               << selection << "--view"
                               << "player"
                               << "--player" << name << "--format"
                               << "text"
                               << "--output" << QString::fromStdString(output));
        EXPECT_EQ(run.status, 0) << run.err;
        return ReadFile(output);
    }

    // The view's figures for `name` against what qla prints from the same logs.
    void ExpectFiguresOfQla(db::StatsDatabase& database, const QString& name,
                            const QStringList& selection, const QString& totalsSql,
                            const QVariantList& values) {
        SCOPED_TRACE(name.toStdString() + " " + selection.join(' ').toStdString());
        const QlaRun player = Qla(QStringList{"player", "--db", database_} << selection << name);
        ASSERT_EQ(player.status, 0) << player.err;
        auto figures = Figures(player.out);
        auto sections = Sections(PlayerExport(name, selection));
        const auto sum = [&](const std::string& section) {
            std::int64_t total = 0;
            for (const auto& [who, count] : sections[section])
                total += count;
            return total;
        };
        const auto totals = Rows(database, totalsSql, values);
        ASSERT_EQ(totals.size(), 1u);
        // kills, deaths, suicides, teamkills, teamdeaths
        EXPECT_EQ(totals[0][0].toLongLong(), figures["Kills"]);
        EXPECT_EQ(totals[0][1].toLongLong(), figures["Deaths"]);
        EXPECT_EQ(totals[0][2].toLongLong(), sum("Self Kills"));
        EXPECT_EQ(totals[0][3].toLongLong(), figures["Teamkills"]);
        EXPECT_EQ(totals[0][4].toLongLong(), sum("TeamDeaths"));
    }

    TempFolder folder_;
    QString database_ = NewDatabase(GetParam(), folder_);
};

TEST_P(SqlInterface, EveryDocumentedExampleRunsAndFindsRows) {
    const auto examples = DocExamples(ReadFile(QLA_DOCS_DIR "/database.md"));
    ASSERT_GE(examples.size(), 6u);
    auto database = Open();
    ASSERT_TRUE(database);
    const std::string engine = GetParam() == Engine::SQLite ? "sqlite" : "postgresql";
    int run = 0;
    for (const DocExample& example : examples) {
        if (!example.Engine.empty() && example.Engine != engine)
            continue;
        ++run;
        SCOPED_TRACE(example.Sql);
        // The documented names are players of both logs, and log 1 is dated a day ago: every
        // example has an answer.
        EXPECT_FALSE(Rows(*database, QString::fromStdString(example.Sql)).empty());
    }
    EXPECT_GE(run, 5);
}

TEST_P(SqlInterface, TotalsAreThoseQlaPrintsOverAllLogsAndPerLog) {
    auto database = Open();
    ASSERT_TRUE(database);
    const auto names = Rows(*database, "SELECT name, logs FROM player_totals ORDER BY name");
    ASSERT_GE(names.size(), 12u);
    std::map<QString, std::int64_t> logsOf;
    for (const Row& row : names)
        logsOf[row[0]] = row[1].toLongLong();
    for (const QString& shared : kSharedPlayers)
        EXPECT_EQ(logsOf[shared], 2) << shared.toStdString();

    const QString overAll = "SELECT kills, deaths, suicides, teamkills, teamdeaths"
                            " FROM player_totals WHERE name = ?";
    const QString perLog = "SELECT kills, deaths, suicides, teamkills, teamdeaths"
                           " FROM log_player_totals WHERE name = ? AND log_id = ?";
    QStringList checked = kSharedPlayers;
    for (std::size_t i = 0; i < names.size(); i += 4)
        checked << names[i][0];
    for (const QString& name : checked) {
        ExpectFiguresOfQla(*database, name, {}, overAll, {name});
        for (const int log : {1, 2})
            if (!Rows(*database, perLog, {name, log}).empty())
                ExpectFiguresOfQla(*database, name, {"--log", QString::number(log)}, perLog,
                                   {name, log});
    }
}

TEST_P(SqlInterface, WeaponsAndHeadToHeadAreThePlayerPageTables) {
    auto database = Open();
    ASSERT_TRUE(database);
    for (const QString& name : kSharedPlayers) {
        SCOPED_TRACE(name.toStdString());
        auto sections = Sections(PlayerExport(name));
        const auto table = [&](const QString& sql) {
            std::map<std::string, std::int64_t> rows;
            for (const Row& row : Rows(*database, sql, {name}))
                if (row[1].toLongLong() != 0)
                    rows[row[0].toStdString()] = row[1].toLongLong();
            return rows;
        };
        EXPECT_EQ(table("SELECT victim, kills FROM head_to_head WHERE killer = ?"),
                  sections["Players Killed"]);
        EXPECT_EQ(table("SELECT killer, kills FROM head_to_head WHERE victim = ?"),
                  sections["Killed by"]);
        EXPECT_EQ(table("SELECT victim, teamkills FROM head_to_head WHERE killer = ?"),
                  sections["Teamkills"]);
        EXPECT_EQ(table("SELECT killer, teamkills FROM head_to_head WHERE victim = ?"),
                  sections["TeamDeaths"]);
        EXPECT_EQ(table("SELECT weapon_name, kills FROM player_weapons WHERE name = ?"),
                  sections["Weapon"]);
        EXPECT_EQ(table("SELECT weapon_name, deaths FROM player_weapons"
                        " WHERE name = ? AND (weapon BETWEEN 16 AND 22 OR weapon >= 24)"),
                  sections["Self Kills"]);
        EXPECT_FALSE(sections["Players Killed"].empty());
    }
}

TEST_P(SqlInterface, AnUpgradeWritesTheRowsAndForgettingALogRemovesThem) {
    std::vector<Row> before;
    {
        auto database = Open(db::OpenMode::ReadWrite);
        ASSERT_TRUE(database);
        before = AllViews(*database);
        // A version 4 database: no rows for other tools, and the places of a grown log's later
        // players counted on from the rows stored before, with gaps.
        for (const char* sql :
             {"DROP VIEW player_totals", "DROP VIEW head_to_head", "DROP VIEW player_weapons",
              "DROP VIEW log_player_totals", "DROP TABLE log_player_weapons",
              "DROP TABLE log_encounters", "UPDATE log_players SET first_seen = 3 * first_seen",
              "UPDATE qla_meta SET value = '4' WHERE name = 'schema_version'"})
            Rows(*database, QString::fromLatin1(sql));
    }
    const QlaRun upgrade = Qla({"upgrade", "--db", database_});
    ASSERT_EQ(upgrade.status, 0) << upgrade.err;
    {
        auto database = Open();
        ASSERT_TRUE(database);
        EXPECT_EQ(AllViews(*database), before);
    }

    const QlaRun forget = Qla({"forget", "--db", database_, "2"});
    ASSERT_EQ(forget.status, 0) << forget.err;
    auto database = Open();
    ASSERT_TRUE(database);
    for (const char* table : {"log_player_weapons", "log_encounters"}) {
        const auto count =
            QStringLiteral("SELECT COUNT(*) FROM %1 WHERE log_id = ?").arg(QLatin1String(table));
        EXPECT_EQ(Rows(*database, count, {2})[0][0], "0") << table;
        EXPECT_NE(Rows(*database, count, {1})[0][0], "0") << table;
    }
    EXPECT_EQ(Rows(*database, "SELECT logs FROM player_totals WHERE name = 'Shadow'")[0][0], "1");
}

INSTANTIATE_TEST_SUITE_P(Engines, SqlInterface, kEngines);

} // namespace
} // namespace qla::dbtest
