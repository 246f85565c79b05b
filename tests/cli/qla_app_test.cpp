// qla's read-only subcommands: exit statuses, output lines and messages.
#include "cli/qla_app.h"
#include "core/product.h"

#include "qla_run.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <QTemporaryDir>

#include <fstream>
#include <sstream>

namespace qla::cli {
namespace {

using CliRun = QlaRun;
constexpr auto RunWith = &Qla;

class QlaAppTest : public ::testing::Test {
  protected:
    QString WriteLog(const std::string& name, const std::string& bytes) {
        const QString path = dir_.filePath(QString::fromStdString(name));
        std::ofstream(path.toStdString(), std::ios::binary) << bytes;
        return path;
    }
    QTemporaryDir dir_;
};

// One kill, one teamkill, one text chat and two engine lines.
const std::string kFiveLines = "logfile opened on Mon Dec 07 04:32:33 2026\r\n"
                               "[skipnotify]Bob was killed by Al's MP40\r\n"
                               "[skipnotify]Bob^7 WAS KILLED BY TEAMMATE^7 Al\r\n"
                               "[skipnotify]^1Carl^7: ^2hello there\r\n"
                               "loading map\r\n";

TEST_F(QlaAppTest, UsageErrorsExitWithTwoAndTheUsage) {
    const QString log = WriteLog("a.log", kFiveLines);
    const QStringList cases[] = {
        {},
        {"frobnicate", log},
        {"info"},
        {"info", log, "--language", "german"}, // info takes no language
        {"analyze", log, "--colour"},
        {"analyze", log, "extra"},
        {"analyze", log, "--language", "klingon"},
        {"analyze", log, "--recognition", "fuzzy"},
        {"info", log, "--recognition", "full"}, // info analyses nothing
        {"player", log},
        {"players"},
    };
    for (const QStringList& arguments : cases) {
        const CliRun run = RunWith(arguments);
        EXPECT_EQ(run.status, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(run.out.empty());
        // A command names itself in its usage errors; qla alone speaks as "qla: ".
        const std::string command = arguments.isEmpty() ? "" : arguments[0].toStdString();
        EXPECT_TRUE(run.err.rfind("qla: ", 0) == 0 ||
                    run.err.rfind("qla " + command + ": ", 0) == 0)
            << run.err;
    }
    EXPECT_NE(RunWith({"frobnicate"}).err.find("Usage: qla"), std::string::npos);
}

TEST_F(QlaAppTest, VersionInBothSpellings) {
    for (const char* option : {"--version", "-V"}) {
        const CliRun run = RunWith({option});
        EXPECT_EQ(run.status, 0) << option;
        EXPECT_EQ(run.out, "qla " + std::to_string(kVersionMajor) + '.' +
                               std::to_string(kVersionMinor) + '.' +
                               std::to_string(kVersionRevision) + "\n")
            << option;
        EXPECT_TRUE(run.err.empty()) << option;
    }
}

TEST_F(QlaAppTest, MissingFileOrFolderFailsWithOne) {
    for (const QString& path : {dir_.filePath("missing.log"), dir_.path()}) {
        for (const char* command : {"info", "analyze", "players"}) {
            const CliRun run = RunWith({command, path});
            EXPECT_EQ(run.status, 1) << command;
            EXPECT_TRUE(run.out.empty());
            EXPECT_EQ(run.err.rfind("qla: ", 0), 0u) << run.err;
        }
    }
}

TEST_F(QlaAppTest, InfoPrintsFileLinesAndDate) {
    const QString log = WriteLog("dated.log", kFiveLines);
    const CliRun run = RunWith({"info", log});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "File: " + log.toStdString() + "\nLines: 5\nDate: Mon Dec 07 04:32:33 2026\n");

    const CliRun undated = RunWith({"info", WriteLog("undated.log", "a\nb\nc\n")});
    EXPECT_EQ(undated.out.substr(undated.out.find("Lines")), "Lines: 3\nDate: \n");

    const CliRun empty = RunWith({"info", WriteLog("empty.log", "")});
    EXPECT_EQ(empty.status, 0);
    EXPECT_EQ(empty.out.substr(empty.out.find("Lines")), "Lines: 1\nDate: \n");
}

TEST_F(QlaAppTest, AnalyzePrintsTheSevenTotalsAndPlayers) {
    const CliRun run = RunWith({"analyze", WriteLog("five.log", kFiveLines)});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "Kills: 1\nDeaths: 2\nTeamkills: 1\nVoicechats: 0\nTextchats: 1\n"
                       "Unknown: 2\nTotal: 5\nPlayers: 3\n");
}

TEST_F(QlaAppTest, GermanWordingNeedsTheGermanLanguage) {
    const QString log = WriteLog("de.log", "[skipnotify]Bob wurde getötet von Al - MP40\r\n");
    EXPECT_EQ(RunWith({"analyze", log, "--language", "german"}).out,
              "Kills: 1\nDeaths: 1\nTeamkills: 0\nVoicechats: 0\nTextchats: 0\nUnknown: 0\n"
              "Total: 1\nPlayers: 2\n");
    EXPECT_EQ(RunWith({"analyze", log}).out.substr(0, 9), "Kills: 0\n");
}

// --language auto reads each log in the language its obituaries are written in and says which.
TEST_F(QlaAppTest, AutoLanguageReadsEachLogInItsOwnLanguage) {
    const QString german = WriteLog("de.log", "[skipnotify]Bob wurde getötet von Al - MP40\r\n");
    const QString english = WriteLog("en.log", kFiveLines);
    for (const auto& [log, language] :
         {std::pair{german, "german"}, std::pair{english, "english"}}) {
        // --quiet: the German line is one that full recognition reads otherwise (no hint here).
        const CliRun automatic = RunWith({"analyze", log, "--language", "Auto", "--quiet"});
        EXPECT_EQ(automatic.status, 0);
        EXPECT_EQ(automatic.out, RunWith({"analyze", log, "--language", language}).out);
        EXPECT_EQ(automatic.err, "qla: " + log.toStdString() + ": read as " + language +
                                     " (--language auto, from its first 10000 lines)\n");
    }
    const CliRun unknown = RunWith({"analyze", english, "--language", "french"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.err.find("(use english, german or auto)"), std::string::npos);
}

// A chat message with a death phrase, a newer death wording and a private message.
const std::string kFullShapes = "[skipnotify]Hans^7: ^2my whole team died.\r\n"
                                "[skipnotify]Bob^7 was crushed.\r\n"
                                "[skipnotify][Bob^7]: ^6cover me\r\n";

TEST_F(QlaAppTest, RecognitionModeOnEveryAnalysingCommand) {
    const QString log = WriteLog("shapes.log", kFullShapes);
    const std::string classic = "Kills: 0\nDeaths: 1\nTeamkills: 0\nVoicechats: 0\nTextchats: 1\n"
                                "Unknown: 1\nTotal: 3\nPlayers: 2\n";
    EXPECT_EQ(RunWith({"analyze", log}).out, classic);
    EXPECT_EQ(RunWith({"analyze", log, "--recognition", "classic"}).out, classic);
    EXPECT_EQ(RunWith({"analyze", log, "--recognition", "FULL"}).out,
              "Kills: 0\nDeaths: 1\nTeamkills: 0\nVoicechats: 0\nTextchats: 2\nUnknown: 0\n"
              "Total: 3\nPlayers: 2\n");
    EXPECT_EQ(RunWith({"players", log}).out, "Hans^7: ^2my whole team\n[err]unnamedplayer\n");
    EXPECT_EQ(RunWith({"players", log, "--recognition", "full"}).out, "Hans\nBob\n");
    EXPECT_EQ(RunWith({"player", log, "Bob", "--recognition", "full"}).out,
              "Player: Bob\nKills: 0\nDeaths: 1\nTeamkills: 0\nVoicechats: 0\n"
              "Textchats: 1\nUnknown: 0\nTotal: 2\n");
    const CliRun unknown = RunWith({"players", log, "--recognition", "fuzzy"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.err.find("unknown recognition 'fuzzy' (use classic or full)"),
              std::string::npos);
}

TEST_F(QlaAppTest, PlayersInOrderOfFirstAppearance) {
    const CliRun run = RunWith({"players", WriteLog("five.log", kFiveLines)});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "Bob\nAl\n^1Carl\n"); // the victim of the first kill comes first
}

TEST_F(QlaAppTest, PlayerShowsTheSelectedPlayerColumn) {
    const QString log = WriteLog("five.log", kFiveLines);
    const CliRun carl = RunWith({"player", log, "^1Carl"});
    EXPECT_EQ(carl.status, 0) << carl.err;
    EXPECT_EQ(carl.out, "Player: Carl\nKills: 0\nDeaths: 0\nTeamkills: 0\nVoicechats: 0\n"
                        "Textchats: 1\nUnknown: 0\nTotal: 1\n");
    const CliRun al = RunWith({"player", log, "Al"});
    EXPECT_EQ(al.out, "Player: Al\nKills: 1\nDeaths: 0\nTeamkills: 1\nVoicechats: 0\n"
                      "Textchats: 0\nUnknown: 0\nTotal: 2\n");
}

TEST_F(QlaAppTest, PlayerNotStoredFailsWithOne) {
    const QString log = WriteLog("five.log", kFiveLines);
    for (const char* name : {"Carl", "bob", "Bob^7", ""}) {
        const CliRun run = RunWith({"player", log, name});
        EXPECT_EQ(run.status, 1) << name;
        EXPECT_TRUE(run.out.empty());
        EXPECT_NE(run.err.find("no player"), std::string::npos);
    }
}

} // namespace
} // namespace qla::cli
