// qla ratings against the truth of a generated history: the board follows the persons' true
// skills, a database of the logs gives the board of their concatenation, and the board needs
// its encounters.
#include "db_test_support.h"

#include "history.h"
#include "run_loggen.h"
#include "support/history_persons.h"
#include "support/rank_correlation.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

namespace qla::dbtest {
namespace {

TEST(Ratings, TheBoardFollowsTheTrueSkills) {
    TempFolder folder;
    std::ostringstream out, err;
    ASSERT_EQ(loggen::runLogGen({"--persons", "80", "--logs", "3", "--lines", "20000", "--seed",
                                 "3", "--output-folder", folder.Path("")},
                                out, err),
              0)
        << err.str();
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

} // namespace
} // namespace qla::dbtest
