// Each imported log keeps the recognition mode it was imported with, and a database made before
// the mode was stored is read as classic and brought up to date by the next import.
#include "db/schema.h"
#include "db_test_support.h"

#include <gtest/gtest.h>

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>

#include <filesystem>
#include <sstream>

namespace qla::dbtest {
namespace {

// Lines the two modes read differently: chat quoting an obituary, a newer death, private chat.
const std::string kShapes = "[skipnotify]Hans^7: ^2my whole team died.\n"
                            "[skipnotify]Bob^7 was crushed.\n"
                            "[skipnotify][Bob^7]: ^6cover me\n"
                            "[skipnotify]Bob^7 was killed by Al^7's MP40\n";

class Recognition : public testing::Test {
  protected:
    QlaRun Analyze(const std::string& log, const char* mode) {
        return Qla({"analyze", QString::fromStdString(log), "--recognition", mode});
    }
    QlaRun Import(const std::string& log, QStringList extra = {}) {
        return Qla(QStringList{"import", QString::fromStdString(log), "--db", database_} << extra);
    }
    TempFolder folder_;
    QString database_ = folder_.QPath("stats.db");
};

TEST_F(Recognition, EachLogIsReadWithTheModeItWasImportedWith) {
    const std::string full = folder_.Path("full.log");
    WriteFile(full, kShapes);
    ASSERT_EQ(Import(full, {"--recognition", "full"}).status, 0);
    EXPECT_EQ(Qla({"analyze", "--db", database_}).out, Analyze(full, "full").out);

    // The log grows; its next import keeps full recognition without being told.
    AppendFile(full, "[skipnotify]Al^7 slit his own throat.\n[skipnotify](Al^7): ^5go\n");
    ASSERT_EQ(Import(full).status, 0);
    EXPECT_EQ(Qla({"analyze", "--db", database_}).out, Analyze(full, "full").out);
    EXPECT_NE(Analyze(full, "full").out, Analyze(full, "classic").out);

    // A second log in classic mode beside it: players and totals add up per log's own mode.
    // (Another log: the same bytes would be a copy of the first log's start, stored once.)
    const std::string classic = folder_.Path("classic.log");
    WriteFile(classic, "-----\n" + kShapes);
    ASSERT_EQ(Import(classic, {"--recognition", "classic"}).status, 0);
    EXPECT_EQ(Qla({"players", "--db", database_}).out,
              "Hans\nBob\nAl\nHans^7: ^2my whole team\n[err]unnamedplayer\n");
    EXPECT_EQ(Import(classic, {"--recognition", "fuzzy"}).status, 2);
}

// A database made now reads new logs in full recognition unless told otherwise; one made before
// keeps classic, so that it never mixes modes unasked.
TEST_F(Recognition, NewDatabasesReadLogsInFullAndOlderOnesKeepClassic) {
    const std::string log = folder_.Path("a.log");
    WriteFile(log, kShapes);
    ASSERT_EQ(Import(log).status, 0);
    const auto modes = [](const QString& database) {
        std::string modes;
        const QlaRun logs = Qla({"logs", "--db", database});
        std::istringstream rows(logs.out);
        std::string row;
        std::getline(rows, row); // the heading
        while (std::getline(rows, row)) {
            std::istringstream cells(row);
            std::string id, lines, language, mode;
            cells >> id >> lines >> language >> mode;
            modes += mode + " ";
        }
        return modes;
    };
    EXPECT_EQ(modes(database_), "full ");
    EXPECT_EQ(Qla({"analyze", "--db", database_}).out, Analyze(log, "full").out);
    WriteFile(folder_.Path("b.log"), "-----\n" + kShapes);
    ASSERT_EQ(Import(folder_.Path("b.log"), {"--recognition", "classic"}).status, 0);
    EXPECT_EQ(modes(database_), "full classic ");

    // The version 3 database of tests/data/schema3 (every log classic) upgraded by an import.
    const std::string old = folder_.Path("old.db");
    std::filesystem::copy_file(std::string(QLA_TEST_DATA_DIR) + "/schema3/stats.db", old);
    const QlaRun upgraded =
        Qla({"import", QString::fromStdString(log), "--db", QString::fromStdString(old)});
    ASSERT_EQ(upgraded.status, 0) << upgraded.err;
    EXPECT_EQ(modes(QString::fromStdString(old)), "classic classic full classic classic ");
}

TEST_F(Recognition, VersionOneDatabaseIsReadAsClassicAndUpgradedByAnImport) {
    const std::string first = folder_.Path("first.log");
    WriteFile(first, kShapes);
    ASSERT_EQ(Import(first, {"--recognition", "full"}).status, 0);
    {
        // Turn the database into what a version 1 program wrote: no recognition column.
        QSqlDatabase connection = QSqlDatabase::addDatabase("QSQLITE", "version1");
        connection.setDatabaseName(database_);
        ASSERT_TRUE(connection.open());
        QSqlQuery query(connection);
        ASSERT_TRUE(query.exec("ALTER TABLE logs DROP COLUMN recognition"));
        ASSERT_TRUE(query.exec("UPDATE qla_meta SET value = '1' WHERE name = 'schema_version'"));
        query.finish();
        connection.close();
    }
    QSqlDatabase::removeDatabase("version1");
    EXPECT_EQ(Qla({"analyze", "--db", database_}).out, Analyze(first, "classic").out);

    const std::string second = folder_.Path("second.log");
    WriteFile(second, "[skipnotify]Carl^7 was crushed.\n");
    const QlaRun imported = Import(second, {"--recognition", "full"});
    ASSERT_EQ(imported.status, 0) << imported.err;
    {
        QSqlDatabase connection = QSqlDatabase::addDatabase("QSQLITE", "version2");
        connection.setDatabaseName(database_);
        ASSERT_TRUE(connection.open());
        QSqlQuery query(connection);
        ASSERT_TRUE(query.exec("SELECT value FROM qla_meta WHERE name = 'schema_version'"));
        ASSERT_TRUE(query.next());
        EXPECT_EQ(query.value(0).toString(), QString::number(db::kSchemaVersion));
        ASSERT_TRUE(query.exec("SELECT recognition FROM logs ORDER BY id"));
        ASSERT_TRUE(query.next());
        EXPECT_EQ(query.value(0).toString(), "classic"); // imported before the mode was kept
        ASSERT_TRUE(query.next());
        EXPECT_EQ(query.value(0).toString(), "full");
        query.finish();
        connection.close();
    }
    QSqlDatabase::removeDatabase("version2");
}

} // namespace
} // namespace qla::dbtest
