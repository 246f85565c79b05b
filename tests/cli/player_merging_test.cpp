// --merge-players and --aliases on analyze, players, player and export, and qla alias: merged
// outputs, usage errors, and an alias added then split restoring every output byte for byte.
#include "cli/qla_app.h"

#include "qla_run.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QStringList>
#include <QTemporaryDir>
#include <QtGlobal>

#include <fstream>
#include <map>
#include <sstream>

namespace qla::cli {
namespace {

std::string Read(const QString& path) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

// One player as ^1Bob, bob and BOB, renamed to Robert; Al beside him; Zed on his own.
const std::string kLog = "[skipnotify]^1Bob^7 was killed by Al^7's MP40\n"
                         "[skipnotify]Al^7 was killed by bob^7's Sten\n"
                         "[skipnotify]BOB^7: ^2hello\n"
                         "[skipnotify]bob^7 renamed to Robert\n"
                         "[skipnotify]Robert^7 was killed by ^1Bob^7's MP40\n"
                         "[skipnotify]Zed^7: ^2hi\n"
                         "[skipnotify]bob^7 died.\n"
                         "[skipnotify]Al^7 renamed to\n";

class PlayerMergingTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        log_ = Path("game.log");
        std::ofstream(log_.toStdString(), std::ios::binary) << kLog;
        aliases_ = Path("aliases.txt");
    }
    QString Path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }

    // Every output the command line makes of the log: totals, players, one player, and each
    // page of the site, keyed by name.
    std::map<std::string, std::string> Outputs(const QStringList& options) {
        std::map<std::string, std::string> outputs;
        outputs["analyze"] = Qla(QStringList{"analyze", log_} + options).out;
        outputs["players"] = Qla(QStringList{"players", log_} + options).out;
        outputs["player"] = Qla(QStringList{"player", log_, "Al"} + options).out;
        const QString site = Path("site");
        QDir(site).removeRecursively();
        const QlaRun exported =
            Qla(QStringList{"export", log_, "--view", "all", "--format", "html", "--output", site} +
                options);
        EXPECT_EQ(exported.status, 0) << exported.err;
        for (QDirIterator it(site, QDir::Files); it.hasNext();) {
            const QString page = it.next();
            outputs[QFileInfo(page).fileName().toStdString()] = Read(page);
        }
        return outputs;
    }

    QTemporaryDir dir_;
    QString log_;
    QString aliases_;
};

TEST_F(PlayerMergingTest, MergedTotalsPlayersAndPlayer) {
    EXPECT_EQ(Qla({"players", log_}).out, "^1Bob\nAl\nbob\nBOB\nRobert\nZed\n");
    const QlaRun analyze = Qla({"analyze", log_, "--merge-players"});
    EXPECT_EQ(analyze.out, "Kills: 3\nDeaths: 4\nTeamkills: 0\nVoicechats: 0\nTextchats: 2\n"
                           "Unknown: 0\nTotal: 8\nPlayers: 3\n");
    // ^1Bob: 2 lines, bob: 2 (a kill and the suicide), BOB: 1, Robert: 1; the first seen wins.
    EXPECT_EQ(Qla({"players", log_, "--merge-players"}).out, "^1Bob\nAl\nZed\n");
    for (const char* name : {"Robert", "BOB", "bob^7", "ROBERT"}) {
        const QlaRun player = Qla({"player", log_, name, "--merge-players"});
        EXPECT_EQ(player.out, "Player: Bob\nKills: 2\nDeaths: 3\nTeamkills: 0\nVoicechats: 0\n"
                              "Textchats: 1\nUnknown: 0\nTotal: 6\n")
            << name;
    }
    EXPECT_EQ(Qla({"player", log_, "ROBERT"}).status, 1) << "without merging names are exact";
}

TEST_F(PlayerMergingTest, ExportsOfTheMergedStore) {
    const QString out = Path("players.txt");
    const QlaRun run = Qla({"export", log_, "--view", "player", "--format", "text", "--player",
                            "Robert", "--merge-players", "--output", out, "--checks", "0"});
    ASSERT_EQ(run.status, 0) << run.err;
    // A kill between two names of the player stays a kill: he is listed as his own victim.
    EXPECT_NE(Read(out).find("^1Bob"), std::string::npos);
    const QlaRun standard = Qla({"export", log_, "--view", "standard", "--format", "xml",
                                 "--merge-players", "--output", Path("standard.xml")});
    ASSERT_EQ(standard.status, 0) << standard.err;
    const std::string xml = Read(Path("standard.xml"));
    EXPECT_EQ(xml.find("Robert"), std::string::npos);
    EXPECT_EQ(xml.find("BOB"), std::string::npos);
}

// Rows are tab-separated: a tab inside a name shows as \t and a backslash as \\, so every row
// splits back into the names it lists.
TEST_F(PlayerMergingTest, AliasListEscapesTabsAndBackslashesInNames) {
    const QString log = Path("tabs.log");
    std::ofstream(log.toStdString(), std::ios::binary)
        << "[skipnotify]Ta\tb^7 was killed by Back\\slash^7's MP40\n"
           "[skipnotify]Back\\slash^7 was killed by \\t^7's MP40\n";
    std::ofstream(aliases_.toStdString()) << "# none yet\n";
    const QlaRun list = Qla({"alias", "list", "--aliases", aliases_, log});
    ASSERT_EQ(list.status, 0) << list.err;
    EXPECT_EQ(list.out, "Ta\\tb\tTa\\tb\nBack\\\\slash\tBack\\\\slash\n\\\\t\t\\\\t\n");
}

TEST_F(PlayerMergingTest, AliasesJoinAndTheirFileMustBeReadable) {
    ASSERT_EQ(Qla({"alias", "add", "--aliases", aliases_, "Zed", "Al"}).status, 0);
    EXPECT_EQ(Qla({"players", log_, "--merge-players", "--aliases", aliases_}).out, "^1Bob\nAl\n");
    const QlaRun list = Qla({"alias", "list", "--aliases", aliases_, log_});
    EXPECT_EQ(list.out, "^1Bob\t^1Bob\tbob\tBOB\tRobert\nAl\tAl\tZed\n");

    const QlaRun without = Qla({"players", log_, "--aliases", aliases_});
    EXPECT_EQ(without.status, 2);
    EXPECT_EQ(without.err, "qla: --aliases needs --merge-players\n");
    const QlaRun missing = Qla({"analyze", log_, "--merge-players", "--aliases", Path("none.txt")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err,
              "qla: the aliases file does not exist: " + Path("none.txt").toStdString() + "\n");
    std::ofstream(Path("bad.txt").toStdString()) << "join\tonly one\n";
    const QlaRun bad = Qla({"export", log_, "--view", "junk", "--format", "text", "--output",
                            Path("j.txt"), "--merge-players", "--aliases", Path("bad.txt")});
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.err, "qla: " + Path("bad.txt").toStdString() +
                           ": line 1: expected join<TAB>NAME<TAB>OTHER or split<TAB>NAME\n");
}

TEST_F(PlayerMergingTest, AnAliasAddedThenSplitRestoresEveryOutputByteForByte) {
    const QStringList merged{"--merge-players", "--aliases", aliases_};
    ASSERT_EQ(Qla({"alias", "add", "--aliases", aliases_, "Zed", "Bob"}).status, 0);
    ASSERT_EQ(Qla({"alias", "split", "--aliases", aliases_, "Zed"}).status, 0);
    const auto before = Outputs(merged);
    ASSERT_EQ(Qla({"alias", "add", "--aliases", aliases_, "Al", "Robert"}).status, 0);
    const auto joined = Outputs(merged);
    EXPECT_NE(joined.at("players"), before.at("players"));
    const QlaRun split = Qla({"alias", "split", "--aliases", aliases_, "Al"});
    ASSERT_EQ(split.status, 0);
    EXPECT_EQ(split.out, "your joins removed: Al\n");
    EXPECT_EQ(Outputs(merged), before);
    // Without the option, merging and aliases change nothing at all.
    EXPECT_EQ(Outputs({}).at("players"), "^1Bob\nAl\nbob\nBOB\nRobert\nZed\n");
}

TEST_F(PlayerMergingTest, SplitTakesANameOutOfItsAutomaticPlayer) {
    const QlaRun split = Qla({"alias", "split", "--aliases", aliases_, "Robert"});
    EXPECT_EQ(split.out, "held apart from automatic joins: Robert\n");
    EXPECT_EQ(Qla({"players", log_, "--merge-players", "--aliases", aliases_}).out,
              "^1Bob\nAl\nRobert\nZed\n");
    const QlaRun suggest = Qla({"alias", "suggest", "--aliases", aliases_, log_});
    EXPECT_EQ(suggest.out, "^1Bob\tRobert\trenamed from bob to Robert in log 1, line 4, held "
                           "apart by a split\n");
}

TEST_F(PlayerMergingTest, AliasUsageErrors) {
    const std::pair<QStringList, std::string> cases[] = {
        {{"alias"}, "an action is missing"},
        {{"alias", "rename", "--aliases", aliases_}, "unknown action 'rename'"},
        {{"alias", "add", "A", "B"}, "add needs --aliases FILE or --db DB"},
        {{"alias", "add", "--aliases", aliases_, "A"}, "add takes NAME OTHER"},
        {{"alias", "split", "--aliases", aliases_}, "split takes NAME"},
        {{"alias", "suggest"}, "suggest takes at least one LOG or --db DB"},
    };
    for (const auto& [arguments, message] : cases) {
        const QlaRun run = Qla(arguments);
        EXPECT_EQ(run.status, 2) << message;
        EXPECT_EQ(run.err.substr(0, run.err.find('\n')), "qla alias: " + message);
    }
    const QlaRun self = Qla({"alias", "add", "--aliases", aliases_, "Bob", "Bob^7"});
    EXPECT_EQ(self.status, 1);
    EXPECT_EQ(self.err, "qla alias: 'Bob' cannot be joined to itself\n");
    EXPECT_FALSE(QFile::exists(aliases_));
}

// Qt's own warnings (such as asking a parser about an option it lacks) go to the terminal past
// our streams; collected here so a test sees them.
QStringList g_qtWarnings;

TEST_F(PlayerMergingTest, DatabaseAliasesWithoutParserWarnings) {
    const QString database = Path("stats.db");
    ASSERT_EQ(Qla({"import", log_, "--db", database, "--finished", "--quiet"}).status, 0);
    g_qtWarnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext&, const QString& text) { g_qtWarnings << text; });
    const QlaRun add = Qla({"alias", "add", "--db", database, "Zed", "Al"});
    const QlaRun list = Qla({"alias", "list", "--db", database});
    const QlaRun refused = Qla({"alias", "list", "--db", database, "--language", "german"});
    qInstallMessageHandler(previous);
    EXPECT_EQ(add.status, 0) << add.err;
    EXPECT_EQ(list.status, 0) << list.err;
    EXPECT_NE(list.out.find("Al\tAl\tZed\n"), std::string::npos) << list.out;
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(refused.err.substr(0, refused.err.find('\n')),
              "qla alias: --language does not apply with --db (each log keeps the language it "
              "was imported with)");
    EXPECT_TRUE(g_qtWarnings.isEmpty()) << g_qtWarnings.join('\n').toStdString();
}

} // namespace
} // namespace qla::cli
