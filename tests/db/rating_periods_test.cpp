// qla ratings --period: each period's board is the board of that period's logs alone, as
// qla ratings --log gives it, from a database and from the sessions of one log file.
#include "db_test_support.h"

#include "run_loggen.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

namespace qla::dbtest {
namespace {

// Rows of a text board by their first cell (the period), that cell left out; the header apart.
std::map<std::string, std::string> RowsByPeriod(const std::string& text, std::string& header) {
    std::map<std::string, std::string> rows;
    std::istringstream lines(text);
    std::getline(lines, header);
    for (std::string line; std::getline(lines, line);) {
        const std::size_t tab = line.find('\t');
        rows[line.substr(0, tab)] += line.substr(tab + 1) + "\n";
    }
    return rows;
}

std::string BoardRows(const QlaRun& run) {
    EXPECT_EQ(run.status, 0) << run.err;
    return run.out.substr(run.out.find('\n') + 1);
}

class RatingPeriodsOf : public testing::TestWithParam<Engine> {};

TEST_P(RatingPeriodsOf, EachPeriodsBoardIsTheBoardOfItsLogsAlone) {
    TempFolder folder;
    std::ostringstream out, err;
    ASSERT_EQ(loggen::runLogGen({"--persons", "40", "--logs", "3", "--lines", "6000", "--seed", "9",
                                 "--output-folder", folder.Path("")},
                                out, err),
              0)
        << err.str();
    const QString database = NewDatabase(GetParam(), folder);
    for (const char* log : {"log01.log", "log02.log", "log03.log"})
        ASSERT_EQ(Qla({"import", folder.QPath(log), "--db", database, "--quiet"}).status, 0);
    const QStringList common{"ratings", "--db", database, "--min-encounters", "5"};

    // The logs are a day apart, in one ISO week: three days, three sessions, one week.
    std::string header;
    const QlaRun days = Qla(QStringList(common) << "--period"
                                                << "day");
    ASSERT_EQ(days.status, 0) << days.err;
    const auto byDay = RowsByPeriod(days.out, header);
    EXPECT_EQ(header, "period\trank\trating\tuncertainty\tconservative\tencounters\tkills\tdeaths\t"
                      "teamkills\tplayer");
    ASSERT_EQ(byDay.size(), 3u);
    const auto bySession = RowsByPeriod(Qla(QStringList(common) << "--period"
                                                                << "session")
                                            .out,
                                        header);
    ASSERT_EQ(bySession.size(), 3u);
    int log = 1;
    for (const auto& [day, rows] : byDay) {
        const std::string alone =
            BoardRows(Qla(QStringList(common) << "--log" << QString::number(log)));
        EXPECT_GT(alone.size(), 100u);
        EXPECT_EQ(rows, alone) << day;
        EXPECT_EQ(bySession.at("log " + std::to_string(log)), alone);
        ++log;
    }
    const auto byWeek = RowsByPeriod(Qla(QStringList(common) << "--period"
                                                             << "week")
                                         .out,
                                     header);
    ASSERT_EQ(byWeek.size(), 1u);
    EXPECT_EQ(byWeek.begin()->second, BoardRows(Qla(common)));
    EXPECT_EQ(Qla(QStringList(common) << "--period"
                                      << "all")
                  .out,
              Qla(common).out);

    // JSON: the periods in order with their boards; CSV: the period first on each row.
    const QlaRun json = Qla(QStringList(common) << "--period"
                                                << "day"
                                                << "--format"
                                                << "json");
    ASSERT_EQ(json.status, 0) << json.err;
    EXPECT_NE(json.out.find("\"period\":\"day\",\"periods\":[{\"key\":\"" + byDay.begin()->first +
                            "\",\"first\":\"" + byDay.begin()->first),
              std::string::npos)
        << json.out.substr(0, 300);
    const QlaRun csv = Qla(QStringList(common) << "--period"
                                               << "week"
                                               << "--format"
                                               << "csv");
    EXPECT_EQ(csv.out.substr(0, csv.out.find('\n') + 1),
              "period,rank,name,visible_name,rating,uncertainty,conservative,encounters,kills,"
              "deaths,teamkills\r\n");
    EXPECT_EQ(csv.out.substr(csv.out.find('\n') + 1, 11), byWeek.begin()->first + ",1,");
    EXPECT_EQ(Qla(QStringList(common) << "--period"
                                      << "fortnight")
                  .status,
              2);
}

INSTANTIATE_TEST_SUITE_P(Engines, RatingPeriodsOf, kEngines,
                         [](const auto& info) { return EngineName(info.param); });

TEST(RatingPeriods, TheSessionsOfALogFileAreRatedEachAlone) {
    TempFolder folder;
    std::ostringstream out, err;
    ASSERT_EQ(loggen::runLogGen({"--persons", "30", "--logs", "2", "--lines", "5000", "--seed", "4",
                                 "--output-folder", folder.Path("")},
                                out, err),
              0)
        << err.str();
    WriteFile(folder.Path("both.log"),
              ReadFile(folder.Path("log01.log")) + ReadFile(folder.Path("log02.log")));
    std::string header;
    const auto sessions = RowsByPeriod(Qla({"ratings", folder.QPath("both.log"), "--recognition",
                                            "full", "--min-encounters", "5", "--period", "session"})
                                           .out,
                                       header);
    ASSERT_EQ(sessions.size(), 2u);
    int k = 1;
    for (const auto& [label, rows] : sessions) {
        EXPECT_EQ(label, "both.log:" + std::to_string(k));
        EXPECT_EQ(rows, BoardRows(Qla({"ratings", folder.QPath("log0" + std::to_string(k) + ".log"),
                                       "--recognition", "full", "--min-encounters", "5"})));
        ++k;
    }
}

} // namespace
} // namespace qla::dbtest
