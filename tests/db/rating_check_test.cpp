// qla rating-check on generated histories: the fitted rating predicts the later logs better than
// every baseline, a database of the logs gives the figures of the logs themselves on both
// engines, and the command refuses what it cannot check.
#include "db_test_support.h"

#include "history.h"
#include "run_loggen.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <sstream>

namespace qla::dbtest {
namespace {

constexpr int kLogs = 6;

// A generated history; by default the small one of the database tests.
void GenerateHistory(const TempFolder& folder, int seed, int persons = 60, int logs = kLogs,
                     int lines = 20000) {
    std::ostringstream out, err;
    ASSERT_EQ(loggen::runLogGen({"--persons", std::to_string(persons), "--logs",
                                 std::to_string(logs), "--lines", std::to_string(lines), "--seed",
                                 std::to_string(seed), "--output-folder", folder.Path("")},
                                out, err),
              0)
        << err.str();
}

QStringList LogPaths(const TempFolder& folder, int count = kLogs) {
    QStringList paths;
    for (int log = 1; log <= count; ++log)
        paths << folder.QPath((log < 10 ? "log0" : "log") + std::to_string(log) + ".log");
    return paths;
}

struct BinFigures {
    std::string Bin;
    double Predicted = 0, Observed = 0, Encounters = 0;
};

// The text's table of scores: method -> {log loss, Brier}; the encounters of its bins by method,
// and our rating's bins.
struct TextFigures {
    std::map<std::string, std::pair<double, double>> Scores;
    std::map<std::string, double> BinnedEncounters; // half of each kill by either player's chance
    std::vector<BinFigures> RatingBins;
    long TestEncounters = 0;
};

TextFigures ReadText(const std::string& text) {
    TextFigures figures;
    std::istringstream lines(text);
    std::string line;
    int table = 0;
    while (std::getline(lines, line)) {
        if (line.rfind("Test encounters: ", 0) == 0)
            figures.TestEncounters = std::stol(line.substr(17));
        if (line.rfind("method\t", 0) == 0) {
            ++table;
            continue;
        }
        std::istringstream cells(line);
        std::vector<std::string> cell;
        for (std::string value; std::getline(cells, value, '\t');)
            cell.push_back(value);
        if (table == 1 && cell.size() == 3)
            figures.Scores[cell[0]] = {std::stod(cell[1]), std::stod(cell[2])};
        if (table == 2 && cell.size() == 5) {
            figures.BinnedEncounters[cell[0]] += std::stod(cell[4]);
            if (cell[0] == "rating")
                figures.RatingBins.push_back(
                    {cell[1], std::stod(cell[2]), std::stod(cell[3]), std::stod(cell[4])});
        }
    }
    return figures;
}

// At the size the rating is measured at (ten logs of 100,000 lines, 200 persons; two test logs
// of about 93,000 kills) it has the lowest log loss of every method on seeds 1 to 6
// (docs/ratings.md); read by name, the names many people pass through are not rated. Seeds 5
// and 6 were lost to Glicko while those names were. Its chances are calibrated: every bin of 500
// encounters or more (half of each kill by either side) within 0.05 of what happened, which
// seeds 2 and 5 missed while a player never met was placed at the middle rather than beside the
// one he meets. As persons merged over time, seeds 1 and 2 missed it while an encounter was
// binned by one player's chance only.
TEST(RatingCheck, TheFittedRatingPredictsBetterThanEveryBaseline) {
    const std::vector<std::pair<int, QStringList>> readings{
        {2, {}}, {5, {}}, {6, {}}, {1, {"--merge-players"}}, {2, {"--merge-players"}}};
    for (const auto& [seed, merging] : readings) {
        SCOPED_TRACE(merging.join(" ").toStdString());
        TempFolder folder;
        GenerateHistory(folder, seed, 200, 10, 100000);
        const QlaRun run = Qla(QStringList{"rating-check"} << LogPaths(folder, 10)
                                                           << kNewDatabaseReading << merging);
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.err, "");
        const TextFigures figures = ReadText(run.out);
        ASSERT_EQ(figures.Scores.size(), 4u) << run.out;
        const double ours = figures.Scores.at("rating").first;
        for (const char* baseline : {"kd-ratio", "elo", "glicko"}) {
            EXPECT_LT(ours, figures.Scores.at(baseline).first)
                << "seed " << seed << ", against " << baseline << "\n"
                << run.out;
            EXPECT_LT(figures.Scores.at("rating").second, figures.Scores.at(baseline).second)
                << "seed " << seed << ", Brier against " << baseline;
        }
        // Better than a coin, and every test kill in exactly one bin of every method.
        EXPECT_LT(ours, std::log(2.0));
        EXPECT_GT(figures.TestEncounters, 50000);
        for (const auto& [method, binned] : figures.BinnedEncounters)
            EXPECT_DOUBLE_EQ(binned, static_cast<double>(figures.TestEncounters)) << method;
        ASSERT_EQ(figures.RatingBins.size(), 10u);
        for (const BinFigures& bin : figures.RatingBins)
            if (bin.Encounters >= 500) {
                EXPECT_LE(std::abs(bin.Predicted - bin.Observed), 0.05)
                    << "seed " << seed << ", bin " << bin.Bin << " of " << bin.Encounters;
            }
    }
}

class RatingCheckDatabase : public testing::TestWithParam<Engine> {};

TEST_P(RatingCheckDatabase, GivesTheFiguresOfTheLogsItHolds) {
    TempFolder folder;
    GenerateHistory(folder, 6);
    const QString database = NewDatabase(GetParam(), folder);
    for (const QString& log : LogPaths(folder))
        ASSERT_EQ(Qla({"import", log, "--db", database, "--quiet"}).status, 0);
    for (const char* format : {"text", "json"}) {
        const QlaRun fromDatabase = Qla({"rating-check", "--db", database, "--format", format});
        ASSERT_EQ(fromDatabase.status, 0) << fromDatabase.err;
        const QlaRun fromLogs = Qla(QStringList{"rating-check", "--format", format}
                                    << LogPaths(folder) << kNewDatabaseReading);
        ASSERT_EQ(fromLogs.status, 0) << fromLogs.err;
        EXPECT_EQ(fromDatabase.out, fromLogs.out) << format;
    }
    // A selection of the logs is the check of those logs alone.
    const QlaRun firstThree = Qla({"rating-check", "--db", database, "--log", "1,2,3"});
    ASSERT_EQ(firstThree.status, 0) << firstThree.err;
    EXPECT_EQ(firstThree.out,
              Qla(QStringList{"rating-check"} << LogPaths(folder, 3) << kNewDatabaseReading).out);
    EXPECT_NE(firstThree.out.find("Training logs: 2\nTest logs: 1\n"), std::string::npos)
        << firstThree.out;

    // Persons merged over time over all the logs: the same kills, and a database gives what its
    // logs give.
    const QlaRun merged = Qla({"rating-check", "--db", database, "--merge-players"});
    ASSERT_EQ(merged.status, 0) << merged.err;
    EXPECT_EQ(merged.out, Qla(QStringList{"rating-check", "--merge-players"} << LogPaths(folder)
                                                                             << kNewDatabaseReading)
                              .out);
    const QlaRun plain = Qla({"rating-check", "--db", database});
    EXPECT_EQ(ReadText(merged.out).TestEncounters, ReadText(plain.out).TestEncounters);

    const QlaRun oneLog = Qla({"rating-check", "--db", database, "--log", "2"});
    EXPECT_EQ(oneLog.status, 1);
    EXPECT_EQ(oneLog.err, "qla: rating-check needs two logs or more; 1 selected in the database " +
                              database.toStdString() + "\n");
}

INSTANTIATE_TEST_SUITE_P(Engines, RatingCheckDatabase, kEngines,
                         [](const auto& info) { return EngineName(info.param); });

TEST(RatingCheck, RefusesWhatItCannotCheck) {
    TempFolder folder;
    WriteFile(folder.Path("a.log"), GeneratedLog(false, false, true, 2000, 1));
    const QlaRun oneLog = Qla({"rating-check", folder.QPath("a.log")});
    EXPECT_EQ(oneLog.status, 2);
    EXPECT_EQ(oneLog.err.substr(0, oneLog.err.find('\n')),
              "qla rating-check: needs two logs or more: the earlier ones to train on, the last "
              "to predict");
    const QlaRun csv =
        Qla({"rating-check", folder.QPath("a.log"), folder.QPath("a.log"), "--format", "csv"});
    EXPECT_EQ(csv.status, 2);
    EXPECT_EQ(csv.out, "");
    const QlaRun missing = Qla({"rating-check", folder.QPath("a.log"), folder.QPath("b.log")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("b.log"), std::string::npos) << missing.err;
}

} // namespace
} // namespace qla::dbtest
