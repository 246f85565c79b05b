// SQLite keeps the tables of large rows (a log's statistics, its holdings, blocks of other lines)
// by row number: a table kept by key reads a whole overflowing row at every step of a lookup.
// A database whose tables were laid out by key is rebuilt by its upgrade, and says the same.
#include "db/schema.h"
#include "db/stats_database.h"
#include "db_test_support.h"

#include <gtest/gtest.h>

#include <QSqlQuery>
#include <QVariant>

#include <map>
#include <set>

namespace qla::dbtest {
namespace {

// The statement SQLite keeps for each table, by name.
std::map<std::string, std::string> TableStatements(const std::string& path) {
    std::string error;
    auto database = db::StatsDatabase::Open(path, db::OpenMode::ReadOnly, error);
    EXPECT_TRUE(database) << error;
    std::map<std::string, std::string> statements;
    if (!database)
        return statements;
    QSqlQuery query(database->Connection());
    EXPECT_TRUE(query.exec("SELECT name, sql FROM sqlite_master WHERE type = 'table'"));
    while (query.next())
        statements[query.value(0).toString().toStdString()] =
            query.value(1).toString().toStdString();
    return statements;
}

bool KeptByKey(const std::string& statement) {
    return statement.find("WITHOUT ROWID") != std::string::npos;
}

TEST(LargeRowsLayout, NewDatabasesKeepLargeRowsByRowNumberAndUpgradesRebuildThem) {
    TempFolder folder;
    const std::string log = folder.Path("a.log");
    WriteFile(log, GeneratedLog(false, false, false, 6000, 41));
    const std::string path = folder.Path("stats.db");
    const QString db = QString::fromStdString(path);
    ASSERT_EQ(Qla({"import", QString::fromStdString(log), "--db", db}).status, 0);

    const std::set<std::string> large{"log_digests", "log_holdings", "log_unknown_lines"};
    for (const auto& [table, statement] : TableStatements(path)) {
        if (large.contains(table)) {
            EXPECT_FALSE(KeptByKey(statement)) << table;
        } else if (table == "log_chats" || table == "log_encounters") {
            EXPECT_TRUE(KeptByKey(statement)) << table;
        }
    }

    // The totals, merged, and the other lines (read from the blocks of large rows).
    const QString junk = folder.QPath("junk.txt");
    const auto outputs = [&] {
        std::string all;
        for (const QStringList& arguments : {QStringList{"analyze", "--db", db},
                                             QStringList{"analyze", "--db", db, "--merge-players"},
                                             QStringList{"export", "--db", db, "--view", "junk",
                                                         "--format", "text", "--output", junk}}) {
            const QlaRun run = Qla(arguments);
            EXPECT_EQ(run.status, 0) << run.err;
            all += run.out;
        }
        return all + ReadFile(junk.toStdString());
    };
    const std::string before = outputs();
    ASSERT_NE(before.find("Kills"), std::string::npos);

    // The layout version 6 wrote: the same columns, kept by key.
    {
        std::string error;
        auto database = db::StatsDatabase::Open(path, db::OpenMode::ReadWrite, error);
        ASSERT_TRUE(database) << error;
        QSqlQuery query(database->Connection());
        for (const std::string& table : large) {
            const QString name = QString::fromStdString(table);
            ASSERT_TRUE(query.exec(
                QStringLiteral("SELECT sql FROM sqlite_master WHERE name = '%1'").arg(name)));
            ASSERT_TRUE(query.next());
            const QString statement = query.value(0).toString();
            query.finish();
            ASSERT_TRUE(query.exec(QStringLiteral("ALTER TABLE %1 RENAME TO old").arg(name)));
            ASSERT_TRUE(query.exec(statement + QStringLiteral(" WITHOUT ROWID")))
                << statement.toStdString();
            ASSERT_TRUE(query.exec(QStringLiteral("INSERT INTO %1 SELECT * FROM old").arg(name)));
            ASSERT_TRUE(query.exec("DROP TABLE old"));
        }
        ASSERT_TRUE(query.exec("UPDATE qla_meta SET value = '6' WHERE name = 'schema_version'"));
    }
    for (const auto& [table, statement] : TableStatements(path)) {
        if (large.contains(table)) {
            ASSERT_TRUE(KeptByKey(statement)) << table;
        }
    }
    EXPECT_EQ(outputs(), before) << "a version 6 layout reads as it did";

    const QlaRun upgrade = Qla({"upgrade", "--db", db});
    ASSERT_EQ(upgrade.status, 0) << upgrade.err;
    for (const auto& [table, statement] : TableStatements(path)) {
        if (large.contains(table)) {
            EXPECT_FALSE(KeptByKey(statement)) << table;
        }
    }
    EXPECT_EQ(outputs(), before);
    const QlaRun check = Qla({"check", "--db", db});
    EXPECT_EQ(check.status, 0) << check.out << check.err;
    {
        std::string error;
        auto database = db::StatsDatabase::Open(path, db::OpenMode::ReadOnly, error);
        ASSERT_TRUE(database) << error;
        EXPECT_EQ(db::StoredSchemaVersion(database->Connection()), db::kSchemaVersion);
    }
}

} // namespace
} // namespace qla::dbtest
