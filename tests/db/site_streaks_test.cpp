// The statistics site of a database tells the streaks and first bloods: a database of one log as
// the site of that log tells them, and one of several logs, players merged or not, as qla awards
// --db tells the longest runs and records of its logs.
#include "db_test_support.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <regex>

namespace qla::dbtest {
namespace {

// The rows of `page` whose first cell is `title`, each as its text: its cells apart, without the
// tags inside them (a name's colours), its blanks as one.
std::vector<std::string> RowsTitled(const std::string& page, const std::string& title) {
    std::vector<std::string> rows;
    const std::string start = "<tr><td>" + title + "</td>";
    for (std::size_t at = 0; (at = page.find(start, at)) != std::string::npos; ++at) {
        const std::string row = page.substr(at, page.find("</tr>", at) - at);
        const std::string cells = std::regex_replace(row, std::regex("</?t[dhr][^>]*>"), " ");
        rows.push_back(std::regex_replace(std::regex_replace(cells, std::regex("<[^>]*>"), ""),
                                          std::regex(" +"), " "));
    }
    return rows;
}

class SiteStreaks : public testing::TestWithParam<Engine> {
  protected:
    std::string Site(QStringList source, const std::string& name) {
        const std::string folder = folder_.Path(name);
        const QlaRun run = Qla(source << "--view"
                                      << "dashboard"
                                      << "--format"
                                      << "html"
                                      << "--output" << QString::fromStdString(folder));
        EXPECT_EQ(run.status, 0) << run.err;
        return folder;
    }
    TempFolder folder_;
    QString database_ = NewDatabase(GetParam(), folder_);
};

TEST_P(SiteStreaks, ADatabaseOfOneLogTellsThemAsTheSiteOfThatLog) {
    const std::string log = folder_.Path("a.log");
    WriteFile(log, GeneratedLog(false, false, true, 3000, 71));
    ASSERT_EQ(Qla({"import", QString::fromStdString(log), "--db", database_}).status, 0);
    const std::string fromLog =
        Site(QStringList{"export", QString::fromStdString(log)} << kNewDatabaseReading, "log");
    const std::string fromDatabase = Site({"export", "--db", database_}, "database");
    for (const char* page : {"awards.html", "records.html"}) {
        const std::string logPage = ReadFile(fromLog + "/" + page);
        const std::string databasePage = ReadFile(fromDatabase + "/" + page);
        for (const char* title : {"Longest kill streak", "Longest death streak"}) {
            const auto logRows = RowsTitled(logPage, title);
            const auto databaseRows = RowsTitled(databasePage, title);
            ASSERT_FALSE(logRows.empty()) << page << " " << title;
            ASSERT_FALSE(databaseRows.empty()) << page << " " << title;
            // The first row: the all-time award's, or the record's (its log's label apart).
            const std::string logRow = logRows[0], databaseRow = databaseRows[0];
            EXPECT_EQ(databaseRow.substr(0, databaseRow.find(" / ")),
                      logRow.substr(0, logRow.find(" / ")))
                << page;
            EXPECT_EQ(databaseRow.find("Not known"), std::string::npos);
        }
    }
    // The first blood: the log's first kill, labelled by the log's date.
    const auto bloods = RowsTitled(ReadFile(fromDatabase + "/awards.html"), "First blood");
    const auto logBloods = RowsTitled(ReadFile(fromLog + "/awards.html"), "First blood");
    ASSERT_FALSE(bloods.empty());
    ASSERT_FALSE(logBloods.empty());
    // The text of a row without the log's date and with its blanks as one.
    const auto plain = [](const std::string& row) {
        const std::string undated =
            std::regex_replace(row, std::regex(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d)"), " ");
        return std::regex_replace(undated, std::regex(" +"), " ");
    };
    EXPECT_EQ(plain(bloods[0]), plain(logBloods[0]));
}

TEST_P(SiteStreaks, ADatabaseOfSeveralLogsTellsThemAsQlaAwardsDoesMergedOrNot) {
    for (const int seed : {72, 73, 74}) {
        const std::string log = folder_.Path(std::to_string(seed) + ".log");
        WriteFile(log, GeneratedLog(false, false, true, 2000, seed));
        ASSERT_EQ(Qla({"import", QString::fromStdString(log), "--db", database_}).status, 0);
    }
    for (const QStringList& merging : {QStringList{}, QStringList{"--merge-players"}}) {
        const QlaRun awards =
            Qla(QStringList{"awards", "--db", database_, "--format", "json"} << merging);
        ASSERT_EQ(awards.status, 0) << awards.err;
        const QJsonObject answer =
            QJsonDocument::fromJson(QByteArray::fromStdString(awards.out)).object();
        const std::string site = Site(QStringList{"export", "--db", database_} << merging,
                                      merging.isEmpty() ? "apart" : "merged");
        const std::string awardsPage = ReadFile(site + "/awards.html");
        const std::string recordsPage = ReadFile(site + "/records.html");
        const auto expectRow = [](const std::vector<std::string>& rows, const QJsonValue& name,
                                  const QJsonValue& value, const std::string& what) {
            ASSERT_FALSE(rows.empty()) << what;
            const std::string shown = std::regex_replace(
                name["visibleName"].toString().toStdString(), std::regex(" +"), " ");
            const std::string length = " " + std::to_string(value.toInteger()) + " ";
            EXPECT_NE(rows[0].find(shown), std::string::npos) << what << ": " << rows[0];
            EXPECT_NE(rows[0].find(length), std::string::npos) << what << ": " << rows[0];
        };
        for (const QJsonValue award : answer["periods"][0]["awards"].toArray()) {
            const std::string key = award["award"].toString().toStdString();
            if (key == "longest_kill_streak" || key == "longest_death_streak") {
                const std::string title =
                    key == "longest_kill_streak" ? "Longest kill streak" : "Longest death streak";
                expectRow(RowsTitled(awardsPage, title), award["winners"][0]["player"],
                          award["winners"][0]["value"], key);
            }
            // One first blood for each log, in their order.
            if (key == "first_blood") {
                const auto rows = RowsTitled(awardsPage, "First blood");
                const QJsonArray winners = award["winners"].toArray();
                ASSERT_GE(rows.size(), static_cast<std::size_t>(winners.size()));
                for (qsizetype w = 0; w < winners.size(); ++w)
                    EXPECT_NE(rows[static_cast<std::size_t>(w)].find(
                                  winners[w]["other"]["visibleName"].toString().toStdString()),
                              std::string::npos);
            }
        }
        for (const QJsonValue record : answer["records"].toArray()) {
            const QString key = record["record"].toString();
            if (key.contains("streak"))
                expectRow(RowsTitled(recordsPage, record["title"].toString().toStdString()),
                          record["player"], record["value"], key.toStdString());
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, SiteStreaks, kEngines,
                         [](const auto& info) { return EngineName(info.param); });

} // namespace
} // namespace qla::dbtest
