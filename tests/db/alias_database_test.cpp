// Aliases kept in a statistics database: qla alias with --db, --merge-players with --db, an
// older schema read as it is and upgraded by the first write.
#include "db/alias_table.h"
#include "db/schema.h"
#include "db/stats_database.h"
#include "db_test_support.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QSqlQuery>
#include <QVariant>

namespace qla::dbtest {
namespace {

// Two logs of one evening: Bob as ^1Bob and BOB, then renamed; Viper with and without a tag.
const std::string kFirstLog = "[skipnotify]^1Bob^7 was killed by Al^7's MP40\n"
                              "[skipnotify]BOB^7: ^2gg\n"
                              "[skipnotify]Bob^7 renamed to Robert\n"
                              "[skipnotify][QV]Viper^7: ^2hi\n";
const std::string kSecondLog = "[skipnotify]Robert^7 was killed by Al^7's Sten\n"
                               "[skipnotify]Viper^7: ^2back\n"
                               "[skipnotify]Zed^7: ^2new here\n";

class AliasDatabase : public testing::Test {
  protected:
    void SetUp() override {
        for (const auto& [name, bytes] :
             {std::pair{"one.log", kFirstLog}, {"two.log", kSecondLog}}) {
            WriteFile(folder_.Path(name), bytes);
            const QlaRun imported = Qla({"import", folder_.QPath(name), "--db", database_});
            ASSERT_EQ(imported.status, 0) << imported.err;
        }
    }
    std::string Outputs() {
        std::string all;
        for (const QStringList& command :
             {QStringList{"analyze"}, QStringList{"players"}, QStringList{"player", "Al"}}) {
            const QlaRun run = Qla(command + QStringList{"--db", database_, "--merge-players"});
            EXPECT_EQ(run.status, 0) << run.err;
            all += run.out;
        }
        const QString site = folder_.QPath("site");
        QDir(site).removeRecursively();
        const QlaRun exported = Qla({"export", "--db", database_, "--merge-players", "--view",
                                     "all", "--format", "html", "--output", site});
        EXPECT_EQ(exported.status, 0) << exported.err;
        return all + FolderContents(site.toStdString());
    }

    TempFolder folder_;
    QString database_ = folder_.QPath("stats.db");
};

TEST_F(AliasDatabase, MergeAcrossLogsAndAliasesThatUndoExactly) {
    EXPECT_EQ(Qla({"players", "--db", database_}).out,
              "^1Bob\nAl\nBOB\n[QV]Viper\nRobert\nViper\nZed\n");
    EXPECT_EQ(Qla({"players", "--db", database_, "--merge-players"}).out,
              "^1Bob\nAl\n[QV]Viper\nViper\nZed\n");
    const std::string before = Outputs();
    ASSERT_EQ(Qla({"alias", "add", "--db", database_, "Viper", "[QV]Viper"}).status, 0);
    EXPECT_EQ(Qla({"players", "--db", database_, "--merge-players"}).out,
              "^1Bob\nAl\n[QV]Viper\nZed\n");
    EXPECT_EQ(Qla({"alias", "list", "--db", database_}).out,
              "^1Bob\t^1Bob\tBOB\tRobert\tBob\nAl\tAl\n[QV]Viper\t[QV]Viper\tViper\nZed\tZed\n");
    ASSERT_EQ(Qla({"alias", "split", "--db", database_, "Viper"}).status, 0);
    EXPECT_EQ(Outputs(), before);
    // Without --merge-players the aliases change nothing.
    EXPECT_EQ(Qla({"players", "--db", database_}).out,
              "^1Bob\nAl\nBOB\n[QV]Viper\nRobert\nViper\nZed\n");
}

TEST_F(AliasDatabase, SuggestSeesEachLogOnItsOwn) {
    const QlaRun suggest = Qla({"alias", "suggest", "--db", database_});
    ASSERT_EQ(suggest.status, 0) << suggest.err;
    EXPECT_EQ(suggest.out,
              "[QV]Viper\tViper\tsame name apart from a clan tag; never in the same log\n");
}

TEST_F(AliasDatabase, AliasesOfAFileAndOfADatabaseDoNotMix) {
    const QlaRun both = Qla({"players", "--db", database_, "--merge-players", "--aliases",
                             folder_.QPath("aliases.txt")});
    EXPECT_EQ(both.status, 2);
    EXPECT_EQ(
        both.err,
        "qla: --aliases is for logs; a database keeps its own aliases (qla alias ... --db DB)\n");
    const QlaRun aliasBoth = Qla(
        {"alias", "add", "--db", database_, "--aliases", folder_.QPath("aliases.txt"), "A", "B"});
    EXPECT_EQ(aliasBoth.status, 2);
    const QlaRun logs = Qla({"alias", "list", "--db", database_, folder_.QPath("one.log")});
    EXPECT_EQ(logs.status, 2);
    const QlaRun missing = Qla({"alias", "add", "--db", folder_.QPath("none.db"), "A", "B"});
    EXPECT_EQ(missing.status, 0) << "add creates the database as import does";
}

TEST_F(AliasDatabase, AnOlderVersionIsReadAsItIsAndUpgradedByTheFirstWrite) {
    const std::string path = database_.toStdString();
    std::string error;
    {
        auto database = db::StatsDatabase::Open(path, db::OpenMode::ReadWrite, error);
        ASSERT_TRUE(database) << error;
        QSqlQuery query(database->Connection());
        ASSERT_TRUE(query.exec("DROP TABLE player_aliases"));
        // What a version 2 program wrote: everything but the aliases.
        ASSERT_TRUE(query.exec("UPDATE qla_meta SET value = '2' WHERE name = 'schema_version'"));
    }
    {
        auto database = db::StatsDatabase::Open(path, db::OpenMode::ReadOnly, error);
        ASSERT_TRUE(database) << error;
        EXPECT_EQ(db::StoredSchemaVersion(database->Connection()), 2) << "a reader changes nothing";
        const auto aliases = db::ReadAliases(*database, error);
        ASSERT_TRUE(aliases) << error;
        EXPECT_TRUE(aliases->Empty());
    }
    EXPECT_EQ(Qla({"players", "--db", database_, "--merge-players"}).status, 0);
    const QlaRun add = Qla({"alias", "add", "--db", database_, "Zed", "Al"});
    ASSERT_EQ(add.status, 0) << add.err;
    auto database = db::StatsDatabase::Open(path, db::OpenMode::ReadOnly, error);
    ASSERT_TRUE(database) << error;
    EXPECT_EQ(db::StoredSchemaVersion(database->Connection()), db::kSchemaVersion);
    const auto aliases = db::ReadAliases(*database, error);
    ASSERT_TRUE(aliases) << error;
    EXPECT_EQ(aliases->Entries(), (std::vector<AliasEntry>{{AliasKind::Join, "Zed", "Al"}}));
}

} // namespace
} // namespace qla::dbtest
