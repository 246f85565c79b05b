// Every command that reads logs takes its reading options through one source: the same mistake
// is told in the same words by each, checked in the same order, and a player who is not there is
// looked for in the log or the database the command line named.
#include "qla_run.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <fstream>
#include <string>

namespace qla::cli {
namespace {

std::string FirstLine(const std::string& text) {
    return text.substr(0, text.find('\n'));
}

class LogSourceTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        std::ofstream(Path("game.log").toStdString(), std::ios::binary)
            << "[skipnotify]Bob was killed by Al's MP40\n";
    }
    QString Path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }

    // Each reading command on the log, with `options` added.
    std::vector<std::pair<std::string, QlaRun>> EveryReader(const QStringList& options) {
        const QString log = Path("game.log");
        const std::vector<std::pair<std::string, QStringList>> commands{
            {"analyze", {"analyze", log}},
            {"players", {"players", log}},
            {"player", {"player", log, "Bob"}},
            {"ratings", {"ratings", log}},
            {"versus", {"versus", log, "Bob", "Al"}},
            {"export",
             {"export", log, "--view", "standard", "--format", "text", "--output",
              Path("out.txt")}},
        };
        std::vector<std::pair<std::string, QlaRun>> runs;
        for (const auto& [name, arguments] : commands)
            runs.emplace_back(name, Qla(arguments + options));
        return runs;
    }

    QTemporaryDir dir_;
};

TEST_F(LogSourceTest, EachReadingMistakeIsToldAlikeByEveryCommand) {
    const std::pair<QStringList, std::string> mistakes[] = {
        {{"--language", "klingon"},
         "qla: unknown language 'klingon' (use english, german or auto)"},
        {{"--recognition", "fast"}, "qla: unknown recognition 'fast' (use classic or full)"},
        {{"--threads", "0"}, "qla: --threads takes a number from 1 to 256, not '0'"},
        {{"--aliases", "aliases.txt"}, "qla: --aliases needs --merge-players"},
    };
    for (const auto& [options, told] : mistakes)
        for (const auto& [command, run] : EveryReader(options)) {
            EXPECT_EQ(run.status, 2) << command << ' ' << options.join(' ').toStdString();
            EXPECT_EQ(FirstLine(run.err), told) << command;
            EXPECT_TRUE(run.out.empty()) << command;
        }
    for (const auto& [command, run] : EveryReader({"--since", "2024-01-01"})) {
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(FirstLine(run.err), "qla " + command + ": --since needs --db");
    }
}

// Language, recognition, threads, then the merging: the first mistake in that order is the one
// told, whichever command it is.
TEST_F(LogSourceTest, MistakesAreCheckedInOneOrder) {
    for (const auto& [command, run] : EveryReader(
             {"--aliases", "a.txt", "--threads", "0", "--recognition", "fast", "--language", "x"}))
        EXPECT_EQ(FirstLine(run.err), "qla: unknown language 'x' (use english, german or auto)")
            << command;
    for (const auto& [command, run] :
         EveryReader({"--aliases", "a.txt", "--threads", "0", "--language", "GERMAN"}))
        EXPECT_EQ(FirstLine(run.err), "qla: --threads takes a number from 1 to 256, not '0'")
            << command;
    const QlaRun alias = Qla({"alias", "list", Path("game.log"), "--language", "klingon"});
    EXPECT_EQ(alias.status, 2);
    EXPECT_EQ(FirstLine(alias.err),
              "qla: unknown language 'klingon' (use english, german or auto)");
}

TEST_F(LogSourceTest, AMissingPlayerIsLookedForInTheNamedSource) {
    const QString log = Path("game.log");
    const QlaRun fromLog = Qla({"player", log, "Carl"});
    EXPECT_EQ(fromLog.status, 1);
    EXPECT_EQ(fromLog.err, "qla: no player is stored as 'Carl' in " + log.toStdString() + "\n");

    const QString db = Path("stats.db");
    ASSERT_EQ(Qla({"import", log, "--db", db, "--quiet"}).status, 0);
    const QlaRun fromDatabase = Qla({"player", "--db", db, "Carl"});
    EXPECT_EQ(fromDatabase.status, 1);
    EXPECT_EQ(fromDatabase.err,
              "qla: no player is stored as 'Carl' in the database " + db.toStdString() + "\n");
    // The same player is found in both, merged or not.
    for (const QStringList& merge : {QStringList{}, QStringList{"--merge-players"}}) {
        const QlaRun logRun = Qla(QStringList{"player", log, "Bob"} + merge);
        const QlaRun dbRun = Qla(QStringList{"player", "--db", db, "Bob"} + merge);
        EXPECT_EQ(logRun.status, 0) << logRun.err;
        EXPECT_EQ(dbRun.status, 0) << dbRun.err;
        EXPECT_NE(logRun.out.find("Player: Bob\nKills: 0\nDeaths: 1\n"), std::string::npos)
            << logRun.out;
        EXPECT_EQ(logRun.out, dbRun.out);
    }
}

} // namespace
} // namespace qla::cli
