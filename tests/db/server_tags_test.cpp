// Logs tagged with the server they were played on, and reading commands that choose them by it,
// on both engines, and a database made before tags existed.
#include "db/schema.h"
#include "db/stats_database.h"
#include "db_test_support.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlQuery>

#include <map>

namespace qla::dbtest {
namespace {

class ServerTags : public testing::TestWithParam<Engine> {
  protected:
    void SetUp() override {
        WriteFile(folder_.Path("alpha.log"), GeneratedLog(false, false, true, 2000, 51));
        WriteFile(folder_.Path("beta.log"), GeneratedLog(false, false, true, 2000, 52));
        WriteFile(folder_.Path("beta2.log"), GeneratedLog(false, false, true, 2000, 53));
        ASSERT_EQ(Import({"alpha.log"}, "alpha").status, 0);
        ASSERT_EQ(Import({"beta.log", "beta2.log"}, "beta").status, 0);
    }

    QlaRun Import(const std::vector<std::string>& logs, const QString& server) {
        QStringList arguments{"import"};
        for (const std::string& log : logs)
            arguments << folder_.QPath(log);
        return Qla(arguments << "--db" << database_ << "--server" << server);
    }

    // What a reading command prints for the logs of one server, or for the named logs alone.
    std::string FromServer(const QString& command, const QString& server) {
        const QlaRun run = Qla({command, "--db", database_, "--server", server});
        EXPECT_EQ(run.status, 0) << run.err;
        return run.out;
    }
    std::string FromLogs(const QString& command, const QString& ids) {
        const QlaRun run = Qla({command, "--db", database_, "--log", ids});
        EXPECT_EQ(run.status, 0) << run.err;
        return run.out;
    }

    TempFolder folder_;
    QString database_ = NewDatabase(GetParam(), folder_);
};

TEST_P(ServerTags, ReadingCommandsChooseTheLogsOfOneServer) {
    for (const QString command : {"analyze", "players", "ratings"}) {
        EXPECT_EQ(FromServer(command, "alpha"), FromLogs(command, "1")) << command.toStdString();
        EXPECT_EQ(FromServer(command, "beta"), FromLogs(command, "2,3")) << command.toStdString();
    }
    // The server narrows the other choices, never widens them.
    const QlaRun both = Qla({"analyze", "--db", database_, "--server", "beta", "--log", "3"});
    EXPECT_EQ(both.out, FromLogs("analyze", "3"));

    const QlaRun logs = Qla({"logs", "--db", database_});
    ASSERT_EQ(logs.status, 0) << logs.err;
    EXPECT_NE(logs.out.find("\theld back\tserver\n"), std::string::npos) << logs.out;
    EXPECT_NE(logs.out.find("alpha.log\t\talpha\n"), std::string::npos) << logs.out;
    EXPECT_NE(logs.out.find("beta2.log\t\tbeta\n"), std::string::npos) << logs.out;
}

TEST_P(ServerTags, AnUnknownServerIsAMistakeAndATagCanBeChanged) {
    const QlaRun unknown = Qla({"analyze", "--db", database_, "--server", "gamma"});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_NE(unknown.err.find("holds no log of the server 'gamma'"), std::string::npos)
        << unknown.err;
    const QlaRun fromLog = Qla({"analyze", folder_.QPath("alpha.log"), "--server", "alpha"});
    EXPECT_EQ(fromLog.status, 2);
    EXPECT_NE(fromLog.err.find("--server needs --db"), std::string::npos) << fromLog.err;
    const QlaRun empty = Import({"alpha.log"}, "");
    EXPECT_EQ(empty.status, 2) << empty.err;

    // The unchanged log takes the new tag; its lines are not imported twice.
    const std::string before = FromLogs("analyze", "1");
    const QlaRun retag = Import({"alpha.log"}, "gamma");
    ASSERT_EQ(retag.status, 0) << retag.err;
    EXPECT_NE(retag.out.find("unchanged, nothing imported; tagged with the server given"),
              std::string::npos)
        << retag.out;
    EXPECT_EQ(FromServer("analyze", "gamma"), before);
    EXPECT_EQ(Qla({"analyze", "--db", database_, "--server", "alpha"}).status, 1);
}

// The site of logs from two servers shows each server's most kills, as the site of that server's
// logs alone counts them.
TEST_P(ServerTags, TheSiteShowsEachServersBoard) {
    const auto site = [&](const QStringList& choice, const std::string& folder) {
        const QlaRun run = Qla(QStringList{"export", "--db", database_, "--view", "dashboard",
                                           "--format", "html", "--output", folder_.QPath(folder)}
                               << choice);
        EXPECT_EQ(run.status, 0) << run.err;
        return QJsonDocument::fromJson(
                   QByteArray::fromStdString(ReadFile(folder_.Path(folder + "/data.json"))))
            .object();
    };
    // Name and kills of the players a list of {id, kills} names, in its order.
    const auto named = [](const QJsonObject& data, const QJsonArray& rows) {
        std::map<int, QString> names;
        for (const QJsonValue& p : data["players"].toArray())
            names[p["id"].toInt()] = p["name"].toString();
        std::vector<std::pair<QString, int>> shown;
        for (const QJsonValue& row : rows)
            shown.emplace_back(names[row["id"].toInt()], row["kills"].toInt());
        return shown;
    };
    const QJsonObject all = site({}, "all");
    const QJsonArray boards = all["top"]["mostKillsByServer"].toArray();
    ASSERT_EQ(boards.size(), 2);
    for (const QJsonValue& board : boards) {
        const QString server = board["server"].toString();
        const QJsonObject alone = site({"--server", server}, server.toStdString());
        std::map<QString, int> killsThere;
        std::vector<int> most;
        for (const QJsonValue& p : alone["players"].toArray()) {
            killsThere[p["name"].toString()] = p["kills"].toInt();
            most.push_back(p["kills"].toInt());
        }
        std::sort(most.rbegin(), most.rend());
        most.resize(10);
        // Each shown player has the kills the server's logs alone give him, and the board holds
        // the ten highest (players of equal kills may stand in another order).
        std::vector<int> shownKills;
        for (const auto& [name, kills] : named(all, board["players"].toArray())) {
            EXPECT_EQ(kills, killsThere[name]) << name.toStdString();
            shownKills.push_back(kills);
        }
        EXPECT_EQ(shownKills, most) << server.toStdString();
        const std::string index = ReadFile(folder_.Path("all/index.html"));
        EXPECT_NE(index.find("<h2>Most kills on " + server.toStdString() + "</h2>"),
                  std::string::npos);
    }
    // One server's logs alone show no board per server.
    EXPECT_FALSE(
        site({"--server", "alpha"}, "alpha")["top"].toObject().contains("mostKillsByServer"));
}

INSTANTIATE_TEST_SUITE_P(Engines, ServerTags, kEngines,
                         [](const auto& info) { return EngineName(info.param); });

// A database of version 7 has no tags: it reads as untagged, and its first import with a tag
// brings it to the version that keeps them.
TEST(ServerTagsUpgrade, ADatabaseWithoutTagsReadsAsUntaggedUntilItsFirstTag) {
    TempFolder folder;
    const QString database = NewDatabase(Engine::SQLite, folder);
    WriteFile(folder.Path("a.log"), GeneratedLog(false, false, true, 1500, 54));
    WriteFile(folder.Path("b.log"), GeneratedLog(false, false, true, 1500, 55));
    ASSERT_EQ(Qla({"import", folder.QPath("a.log"), "--db", database}).status, 0);
    {
        std::string error;
        auto opened =
            db::StatsDatabase::Open(database.toStdString(), db::OpenMode::ReadWrite, error);
        ASSERT_TRUE(opened) << error;
        QSqlQuery query(opened->Connection());
        ASSERT_TRUE(query.exec("ALTER TABLE logs DROP COLUMN server"));
        ASSERT_TRUE(query.exec("UPDATE qla_meta SET value = '7' WHERE name = 'schema_version'"));
    }
    const QlaRun logs = Qla({"logs", "--db", database});
    ASSERT_EQ(logs.status, 0) << logs.err;
    EXPECT_NE(logs.out.find("a.log\t\t-\n"), std::string::npos) << logs.out;
    EXPECT_EQ(Qla({"analyze", "--db", database, "--server", "alpha"}).status, 1);

    ASSERT_EQ(Qla({"import", folder.QPath("b.log"), "--db", database, "--server", "alpha"}).status,
              0);
    const QlaRun analyzed = Qla({"analyze", "--db", database, "--server", "alpha"});
    ASSERT_EQ(analyzed.status, 0) << analyzed.err;
    EXPECT_EQ(analyzed.out, Qla({"analyze", "--db", database, "--log", "2"}).out);
    std::string error;
    auto opened = db::StatsDatabase::Open(database.toStdString(), db::OpenMode::ReadOnly, error);
    ASSERT_TRUE(opened) << error;
    EXPECT_EQ(db::StoredSchemaVersion(opened->Connection()), db::kSchemaVersion);
}

} // namespace
} // namespace qla::dbtest
