// qla ratings against the truth of a generated history: the board follows the persons' true
// skills, a database of the logs gives the board of their concatenation, and the board needs
// its encounters.
#include "db_test_support.h"

#include "db/stats_database.h"

#include "history.h"
#include "run_loggen.h"
#include "support/history_persons.h"
#include "support/rank_correlation.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlQuery>

#include <filesystem>
#include <map>
#include <set>
#include <sstream>

namespace qla::dbtest {
namespace {

// A generated history of `logs` logs of `lines` lines with `persons` persons into `folder`.
void WriteHistory(const TempFolder& folder, int persons, int logs, int lines, int seed) {
    std::ostringstream out, err;
    ASSERT_EQ(loggen::runLogGen({"--persons", std::to_string(persons), "--logs",
                                 std::to_string(logs), "--lines", std::to_string(lines), "--seed",
                                 std::to_string(seed), "--output-folder", folder.Path("")},
                                out, err),
              0)
        << err.str();
}

TEST(Ratings, TheBoardFollowsTheTrueSkills) {
    TempFolder folder;
    WriteHistory(folder, 80, 3, 20000, 3);
    std::map<std::string, double> skillOf; // main name in the first log, true skill there
    for (const auto& person : testing_support::ReadHistoryPersons(folder.Path("persons.tsv")))
        skillOf[person.MainName] = person.Skills.front();
    const QlaRun board = Qla(
        {"ratings", folder.QPath("log01.log"), "--recognition", "full", "--min-encounters", "200"});
    ASSERT_EQ(board.status, 0) << board.err;
    std::vector<std::pair<double, double>> pairs; // true skill, rating
    std::istringstream rows(board.out);
    std::string row;
    std::getline(rows, row);
    EXPECT_EQ(row, "rank\trating\tuncertainty\tconservative\tencounters\tkills\tdeaths\tteamkills\t"
                   "player");
    while (std::getline(rows, row)) {
        std::istringstream cells(row);
        std::string rank, rating, uncertainty, conservative, encounters, kills, deaths, teamkills,
            name;
        for (std::string* cell : {&rank, &rating, &uncertainty, &conservative, &encounters, &kills,
                                  &deaths, &teamkills, &name})
            std::getline(cells, *cell, '\t');
        EXPECT_GE(std::stoi(encounters), 200) << row;
        if (skillOf.contains(name))
            pairs.emplace_back(skillOf[name], std::stod(rating));
    }
    ASSERT_GE(pairs.size(), 15u);
    EXPECT_GT(testing_support::SpearmanCorrelation(pairs), 0.85)
        << "over " << pairs.size() << " players";

    // From a database of the three logs: the board of their concatenation.
    const QString database = NewDatabase(Engine::SQLite, folder);
    std::string all;
    for (const char* log : {"log01.log", "log02.log", "log03.log"}) {
        ASSERT_EQ(Qla({"import", folder.QPath(log), "--db", database, "--quiet"}).status, 0);
        all += ReadFile(folder.Path(log));
    }
    WriteFile(folder.Path("all.log"), all);
    const QlaRun fromDatabase = Qla({"ratings", "--db", database});
    EXPECT_EQ(fromDatabase.status, 0) << fromDatabase.err;
    EXPECT_EQ(fromDatabase.out,
              Qla(QStringList{"ratings", folder.QPath("all.log")} << kNewDatabaseReading).out);
    EXPECT_EQ(Qla({"ratings", folder.QPath("all.log"), "--min-encounters", "-1"}).status, 2);
}

// The board's rows of the text format, cell by cell.
std::vector<std::vector<std::string>> TextRows(const std::string& text);

// Rank, points, encounters and name of each row; the totals columns left out.
std::multiset<std::string> RatingCells(const std::string& board) {
    std::multiset<std::string> cells;
    for (const auto& row : TextRows(board))
        cells.insert(row[1] + " " + row[2] + " " + row[3] + " " + row[4] + " " + row[8]);
    return cells;
}

TEST(Ratings, AHalfLifeWeighsOlderLogsLessByTheirDates) {
    TempFolder folder;
    WriteHistory(folder, 60, 3, 8000, 5);
    const QString database = NewDatabase(Engine::SQLite, folder);
    for (const char* log : {"log01.log", "log02.log", "log03.log"})
        ASSERT_EQ(Qla({"import", folder.QPath(log), "--db", database, "--quiet"}).status, 0);
    const QlaRun all = Qla({"ratings", "--db", database, "--min-encounters", "10"});
    ASSERT_EQ(all.status, 0) << all.err;
    // The logs are a day apart: with a half-life of a thousandth of a day the older logs weigh
    // nothing, and the fit is that of the newest log alone.
    const QlaRun recent =
        Qla({"ratings", "--db", database, "--min-encounters", "10", "--half-life", "0.001"});
    ASSERT_EQ(recent.status, 0) << recent.err;
    const QlaRun newest =
        Qla({"ratings", "--db", database, "--min-encounters", "10", "--log", "3"});
    ASSERT_EQ(newest.status, 0) << newest.err;
    ASSERT_GE(TextRows(newest.out).size(), 10u);
    EXPECT_EQ(RatingCells(recent.out), RatingCells(newest.out));
    EXPECT_NE(RatingCells(recent.out), RatingCells(all.out));
    // A half-life of a day: between the two, and recorded in the JSON document.
    const QlaRun day = Qla({"ratings", "--db", database, "--min-encounters", "10", "--half-life",
                            "1", "--format", "json"});
    ASSERT_EQ(day.status, 0) << day.err;
    EXPECT_NE(day.out.find("\"halfLifeDays\":1,"), std::string::npos) << day.out.substr(0, 200);
    for (const char* bad : {"0", "-1", "soon"})
        EXPECT_EQ(Qla({"ratings", "--db", database, "--half-life", bad}).status, 2) << bad;
    EXPECT_EQ(Qla({"ratings", folder.QPath("log01.log"), "--half-life", "2"}).status, 2);
}

TEST(Ratings, TheSiteShowsTheBoardsTopAndEveryPlayersRating) {
    TempFolder folder;
    WriteFile(folder.Path("a.log"), GeneratedLog(false, false, true, 30000, 12));
    const QlaRun board = Qla({"ratings", folder.QPath("a.log"), "--format", "json"});
    const QlaRun site = Qla({"export", folder.QPath("a.log"), "--view", "dashboard", "--format",
                             "json", "--output", folder.QPath("site.json")});
    ASSERT_EQ(board.status, 0) << board.err;
    ASSERT_EQ(site.status, 0) << site.err;
    const QJsonDocument ratings = QJsonDocument::fromJson(QByteArray::fromStdString(board.out));
    const QJsonDocument data =
        QJsonDocument::fromJson(QByteArray::fromStdString(ReadFile(folder.Path("site.json"))));
    std::map<int, QJsonObject> playerOfId;
    for (const QJsonValue player : data["players"].toArray())
        playerOfId[player["id"].toInt()] = player.toObject();
    const QJsonArray top = data["top"]["bestRated"].toArray();
    const QJsonArray rows = ratings["players"].toArray();
    ASSERT_EQ(top.size(), std::min<qsizetype>(10, rows.size()));
    ASSERT_GE(top.size(), 5);
    for (qsizetype k = 0; k < top.size(); ++k) {
        const QJsonObject player = playerOfId[top[k].toInt()];
        const QJsonObject row = rows[k].toObject();
        EXPECT_EQ(player["name"], row["name"]) << k;
        EXPECT_EQ(player["rating"], row["rating"]) << k;
        EXPECT_EQ(player["ratingUncertainty"], row["uncertainty"]) << k;
        EXPECT_EQ(player["encounters"], row["encounters"]) << k;
    }
}

// The board's rows of the text format, cell by cell.
std::vector<std::vector<std::string>> TextRows(const std::string& text) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(text);
    std::string line;
    std::getline(lines, line); // the header
    while (std::getline(lines, line)) {
        std::vector<std::string> cells;
        std::istringstream split(line);
        for (std::string cell; std::getline(split, cell, '\t');)
            cells.push_back(cell);
        rows.push_back(cells);
    }
    return rows;
}

TEST(Ratings, JsonAndCsvHoldTheTextBoardAndGuardTheirNames) {
    TempFolder folder;
    // A generated log whose busiest players are renamed to names a spreadsheet would run and a
    // JSON reader must unquote.
    std::string log = GeneratedLog(false, false, true, 20000, 8);
    const auto rename = [&log](const std::string& from, const std::string& to) {
        for (std::size_t at = log.find(from); at != std::string::npos; at = log.find(from, at))
            log.replace(at, from.size(), to), at += to.size();
    };
    const QString path = folder.QPath("a.log");
    WriteFile(folder.Path("a.log"), log);
    const QlaRun plain = Qla({"ratings", path, "--min-encounters", "20"});
    ASSERT_EQ(plain.status, 0) << plain.err;
    const auto plainRows = TextRows(plain.out);
    ASSERT_GE(plainRows.size(), 3u);
    rename(plainRows[0][8], "=SUM(A1)\"x");
    rename(plainRows[1][8], "^1Red^7,Blue");
    WriteFile(folder.Path("a.log"), log);

    const QlaRun text = Qla({"ratings", path, "--min-encounters", "20"});
    const QlaRun json = Qla({"ratings", path, "--min-encounters", "20", "--format", "json"});
    const QlaRun csv = Qla({"ratings", path, "--min-encounters", "20", "--format", "CSV"});
    ASSERT_EQ(text.status, 0) << text.err;
    ASSERT_EQ(json.status, 0) << json.err;
    ASSERT_EQ(csv.status, 0) << csv.err;
    const auto rows = TextRows(text.out);

    QJsonParseError error;
    const QJsonDocument document =
        QJsonDocument::fromJson(QByteArray::fromStdString(json.out), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << json.out.substr(0, 300);
    EXPECT_EQ(document["view"].toString(), "ratings");
    EXPECT_EQ(document["minEncounters"].toInt(), 20);
    const QJsonArray players = document["players"].toArray();
    ASSERT_EQ(static_cast<std::size_t>(players.size()), rows.size());

    std::istringstream csvLines(csv.out);
    std::string csvLine;
    std::getline(csvLines, csvLine);
    EXPECT_EQ(csvLine, "rank,name,visible_name,rating,uncertainty,conservative,encounters,kills,"
                       "deaths,teamkills\r");
    bool sawFormula = false, sawComma = false;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const QJsonObject player = players[static_cast<qsizetype>(r)].toObject();
        const std::vector<std::string>& cells = rows[r];
        EXPECT_EQ(std::to_string(player["rank"].toInt()), cells[0]);
        EXPECT_EQ(std::to_string(player["rating"].toInt()), cells[1]);
        EXPECT_EQ(std::to_string(player["uncertainty"].toInt()), cells[2]);
        EXPECT_EQ(std::to_string(player["conservative"].toInt()), cells[3]);
        EXPECT_EQ(std::to_string(player["encounters"].toInt()), cells[4]);
        EXPECT_EQ(std::to_string(player["kills"].toInt()), cells[5]);
        EXPECT_EQ(std::to_string(player["deaths"].toInt()), cells[6]);
        EXPECT_EQ(std::to_string(player["teamkills"].toInt()), cells[7]);
        EXPECT_EQ(player["name"].toString().toStdString(), cells[8]);

        ASSERT_TRUE(std::getline(csvLines, csvLine));
        const std::string numbers = "," + cells[1] + "," + cells[2] + "," + cells[3] + "," +
                                    cells[4] + "," + cells[5] + "," + cells[6] + "," + cells[7] +
                                    "\r";
        EXPECT_TRUE(csvLine.starts_with(cells[0] + ",")) << csvLine;
        EXPECT_TRUE(csvLine.ends_with(numbers)) << csvLine;
        if (cells[8] == "=SUM(A1)\"x") {
            sawFormula = true;
            // Quoted for its quote, guarded against running as a formula.
            EXPECT_TRUE(csvLine.starts_with(cells[0] + ",\"'=SUM(A1)\"\"x\",")) << csvLine;
        }
        if (cells[8] == "^1Red^7,Blue") {
            sawComma = true;
            EXPECT_EQ(player["visibleName"].toString(), "Red,Blue");
            EXPECT_TRUE(csvLine.starts_with(cells[0] + ",\"^1Red^7,Blue\",\"Red,Blue\","))
                << csvLine;
        }
    }
    EXPECT_TRUE(sawFormula && sawComma) << "the renamed players are on the board";
    EXPECT_FALSE(std::getline(csvLines, csvLine));
    EXPECT_EQ(Qla({"ratings", path, "--format", "xml"}).status, 2);
}

// Read by name, the connect name and the fun names are many people each: they keep their kills
// and deaths but are not rated, on the board, in qla versus and from a database alike. Merged
// into persons, everyone who killed anyone is rated.
TEST(Ratings, NamesManyPeoplePassThroughAreNotRatedByName) {
    TempFolder folder;
    WriteHistory(folder, 80, 2, 20000, 4);
    const QStringList board{"ratings", folder.QPath("log01.log"), "--recognition",
                            "full",    "--min-encounters",        "0"};
    const QlaRun byName = Qla(board);
    ASSERT_EQ(byName.status, 0) << byName.err;
    std::set<std::string> unrated; // names with kills but no encounter
    for (const std::vector<std::string>& row : TextRows(byName.out)) {
        ASSERT_EQ(row.size(), 9u);
        if (row[4] == "0" && row[5] != "0")
            unrated.insert(row[8]);
    }
    EXPECT_TRUE(unrated.contains("Player")) << byName.out;
    // Standard error names them, so that a reader who misses one on the board knows why.
    EXPECT_NE(byName.err.find("qla: not rated, as names many people pass through"),
              std::string::npos)
        << byName.err;
    for (const std::string& name : unrated)
        if (name.find('^') == std::string::npos) {
            EXPECT_NE(byName.err.find(name), std::string::npos) << name;
        }
    EXPECT_GE(unrated.size(), 4u) << byName.out; // the fun names too
    EXPECT_LE(unrated.size(), 10u) << byName.out;

    // The statistics site's player pages say so, for those names only.
    const QlaRun site = Qla({"export", folder.QPath("log01.log"), "--recognition", "full", "--view",
                             "dashboard", "--format", "html", "--output", folder.QPath("site")});
    ASSERT_EQ(site.status, 0) << site.err;
    std::size_t notRated = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder.Path("site")))
        if (entry.path().extension() == ".html" &&
            ReadFile(entry.path().string()).find("not rated: a name many people pass through") !=
                std::string::npos)
            ++notRated;
    EXPECT_GE(notRated, 1u);
    EXPECT_LE(notRated, unrated.size());

    const QlaRun versus =
        Qla({"versus", folder.QPath("log01.log"), "Player",
             QString::fromStdString(TextRows(byName.out).front()[8]), "--recognition", "full"});
    ASSERT_EQ(versus.status, 0) << versus.err;
    EXPECT_NE(versus.out.find("Rating of the player: none (a name many people pass through is "
                              "not rated)\n"),
              std::string::npos)
        << versus.out;
    EXPECT_NE(versus.out.find("Chance the player wins an encounter: none: Player has no rating"),
              std::string::npos);

    const QString database = NewDatabase(Engine::SQLite, folder);
    ASSERT_EQ(Qla({"import", folder.QPath("log01.log"), "--db", database, "--quiet"}).status, 0);
    EXPECT_EQ(Qla({"ratings", "--db", database, "--min-encounters", "0"}).out, byName.out);
    {
        // A database from before stored statistics reads its stored lines: the same names.
        std::string error;
        auto opened =
            db::StatsDatabase::Open(database.toStdString(), db::OpenMode::ReadWrite, error);
        ASSERT_TRUE(opened) << error;
        ASSERT_TRUE(QSqlQuery(opened->Connection())
                        .exec("UPDATE qla_meta SET value = '4' WHERE name = 'schema_version'"));
    }
    const QlaRun fromLines = Qla({"ratings", "--db", database, "--min-encounters", "0"});
    EXPECT_NE(fromLines.err.find("is read from its stored lines"), std::string::npos);
    EXPECT_EQ(fromLines.out, byName.out);

    const QlaRun merged = Qla(QStringList(board) << "--merge-players");
    EXPECT_EQ(merged.err, "");
    for (const std::vector<std::string>& row : TextRows(merged.out))
        if (row.size() == 9 && row[5] != "0") {
            EXPECT_NE(row[4], "0") << row[8];
        }
}

// The passing names of a reading by name come from each log's names' uses stored at import.
// They give what working them out from the chains gives (a database before they were stored),
// an upgrade stores them, the logs read as one file name the same, and damaged ones are named.
TEST(Ratings, TheStoredUsesOfTheNamesTellThePassingNamesAsTheChainsDo) {
    TempFolder folder;
    WriteHistory(folder, 60, 3, 8000, 6);
    const QString database = NewDatabase(Engine::SQLite, folder);
    std::string whole;
    for (const char* log : {"log01.log", "log02.log", "log03.log"})
        whole += ReadFile(folder.Path(log));
    WriteFile(folder.Path("whole.log"), whole);
    ASSERT_EQ(Qla({"import", folder.QPath("log01.log"), folder.QPath("log02.log"),
                   folder.QPath("log03.log"), "--db", database, "--quiet"})
                  .status,
              0);
    const QStringList board{"ratings", "--db", database, "--min-encounters", "0"};
    const QlaRun stored = Qla(board);
    ASSERT_EQ(stored.status, 0) << stored.err;
    EXPECT_NE(stored.err.find("not rated, as names many people pass through"), std::string::npos);
    const QlaRun file = Qla(
        {"ratings", folder.QPath("whole.log"), "--recognition", "full", "--min-encounters", "0"});
    EXPECT_EQ(stored.out, file.out);
    EXPECT_EQ(stored.err, file.err);

    const auto storedUses = [&] {
        std::string error;
        auto opened =
            db::StatsDatabase::Open(database.toStdString(), db::OpenMode::ReadOnly, error);
        QSqlQuery query(opened->Connection());
        query.exec("SELECT COUNT(*) FROM log_chains WHERE name_uses IS NOT NULL");
        return query.next() ? query.value(0).toInt() : -1;
    };
    EXPECT_EQ(storedUses(), 3);
    // None stored: worked out from the chains, the same board.
    RunSql(database, {"UPDATE log_chains SET name_uses = NULL"});
    const QlaRun fromChains = Qla(board);
    EXPECT_EQ(fromChains.out, stored.out);
    EXPECT_EQ(fromChains.err, stored.err);
    // A database of version 12 gets them at its upgrade.
    RunSql(database, {"UPDATE qla_meta SET value = '12' WHERE name = 'schema_version'"});
    ASSERT_EQ(Qla({"upgrade", "--db", database}).status, 0);
    EXPECT_EQ(storedUses(), 3);
    EXPECT_EQ(Qla(board).out, stored.out);
    EXPECT_EQ(Qla({"check", "--db", database}).status, 0);
    // Uses that are not those of the chains: check finds them.
    RunSql(database, {"UPDATE log_chains SET name_uses = (SELECT name_uses FROM log_chains WHERE "
                      "log_id = 1) WHERE log_id = 3"});
    const QlaRun changed = Qla({"check", "--db", database});
    EXPECT_EQ(changed.status, 1);
    EXPECT_NE(changed.err.find("log 3 records statistics its lines do not give"), std::string::npos)
        << changed.err;
    // Damaged: named, never read as none.
    RunSql(database, {"UPDATE log_chains SET name_uses = X'05' WHERE log_id = 2"});
    const QlaRun damaged = Qla(board);
    EXPECT_EQ(damaged.status, 1);
    EXPECT_NE(damaged.err.find("is damaged: the names' uses of log 2 cannot be read"),
              std::string::npos)
        << damaged.err;
}

} // namespace
} // namespace qla::dbtest
