// Merging persons over time from a database answers from the stored holdings, and gives what one
// file holding the same logs gives, whether a log came in whole or grew piece by piece.
#include "db_test_support.h"
#include "history.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace qla::dbtest {
namespace {

class MergedPersons : public testing::TestWithParam<Engine> {
  protected:
    TempFolder folder_;
    QString database_ = NewDatabase(GetParam(), folder_);
};

TEST_P(MergedPersons, ADatabaseMergesAsOneFileOfItsLogsEvenWhenALogGrew) {
    loggen::Options options;
    options.persons = 40;
    options.logs = 4;
    options.lines = 4000;
    options.seed = 5;
    options.outputFolder = folder_.Path("history");
    std::filesystem::create_directories(options.outputFolder);
    std::string error;
    ASSERT_TRUE(loggen::writeHistory(options, &error)) << error;

    std::string whole;
    for (int log = 1; log <= 4; ++log) {
        const std::string bytes =
            ReadFile(options.outputFolder + "/log0" + std::to_string(log) + ".log");
        whole += bytes;
        const std::string path = folder_.Path("log" + std::to_string(log) + ".log");
        // The last log is imported as it grows: a first part, then all of it.
        if (log == 4) {
            std::size_t cut = 0;
            for (int line = 0; line < 2500; ++line)
                cut = bytes.find('\n', cut) + 1;
            WriteFile(path, bytes.substr(0, cut));
            ASSERT_EQ(Qla({"import", QString::fromStdString(path), "--db", database_}).status, 0);
        }
        WriteFile(path, bytes);
        const QlaRun imported = Qla({"import", QString::fromStdString(path), "--db", database_});
        ASSERT_EQ(imported.status, 0) << imported.err;
    }
    const QString file = QString::fromStdString(folder_.Path("whole.log"));
    WriteFile(file.toStdString(), whole);

    const QlaRun check = Qla({"check", "--db", database_});
    EXPECT_EQ(check.status, 0) << check.err;

    // A new database reads with full recognition: the file is read so too.
    const QlaRun players =
        Qla(QStringList{"players", file, "--merge-players"} << kNewDatabaseReading);
    ASSERT_EQ(players.status, 0) << players.err;
    EXPECT_EQ(Qla({"players", "--db", database_, "--merge-players"}).out, players.out);
    const auto count = [](const std::string& lines) {
        return std::count(lines.begin(), lines.end(), '\n');
    };
    const std::string names = Qla(QStringList{"players", file} << kNewDatabaseReading).out;
    EXPECT_LT(count(players.out), count(names)); // merging joins names
    EXPECT_GE(count(players.out), 40);           // and never folds the persons together

    const QString first = QString::fromStdString(players.out.substr(0, players.out.find('\n')));
    const std::vector<QStringList> commands = {
        {"analyze"},
        {"player", first},
        {"export", "--view", "standard", "--format", "text"},
        {"export", "--view", "player", "--player", first, "--format", "text"},
        {"export", "--view", "voice", "--format", "text"},
        {"export", "--view", "weapons", "--format", "text"},
    };
    int exported = 0;
    for (const QStringList& command : commands) {
        // An export is written to a file of each source, and the files are compared.
        const auto run = [&](const QStringList& source, const std::string& tag) {
            QStringList arguments = QStringList{command.front()} + source + command.mid(1);
            arguments << "--merge-players";
            const std::string output = folder_.Path(tag + std::to_string(exported) + ".txt");
            if (command.front() == "export")
                arguments << "--output" << QString::fromStdString(output);
            const QlaRun result = Qla(arguments);
            EXPECT_EQ(result.status, 0) << result.err;
            return command.front() == "export" ? ReadFile(output) : result.out;
        };
        EXPECT_EQ(run({"--db", database_}, "db"),
                  run(QStringList{file} << kNewDatabaseReading, "file"))
            << command.join(' ').toStdString();
        ++exported;
    }
}

// A merged reading of names and counts reads of the kills only those merging weighs: a record's
// kills of itself and those between two colourings of one name (two people). It must still
// find the persons the whole file finds, from the kept merge and from a choice of logs alike.
TEST_P(MergedPersons, TheKillsMergingWeighsAloneGiveTheSamePersonsAndCounts) {
    const auto log = [](int day, const std::vector<std::string>& lines) {
        std::string text = "logfile opened on Mon Mar  " + std::to_string(day) + " 20:00:00 2009\n";
        for (const std::string& line : lines)
            text += "[skipnotify]" + line + "\n";
        return text;
    };
    // ^1Carl and ^4Carl are one name to merging, but one kills the other: two people, though
    // never in play together (the kill is the first's last line and the second's first). Bob
    // kills himself, and the others' kills are many.
    const std::string first = log(
        2, {"Eve^7 was killed by ^1Carl^7's Thompson", "^1Carl^7 was killed by ^4Carl^7's MP40",
            "Bob^7 was killed by ^4Carl^7's MP40", "Bob^7 obliterated himself.", "Eve^7 died."});
    const std::string second =
        log(3, {"Bob^7 was killed by ^1Carl^7's MP40", "Eve^7 was killed by ^1Carl^7's Sten",
                "Bob^7 obliterated himself.", "^1Carl^7 was killed by Bob^7's MP40"});
    WriteFile(folder_.Path("one.log"), first);
    WriteFile(folder_.Path("two.log"), second);
    WriteFile(folder_.Path("whole.log"), first + second);
    const QlaRun imported =
        Qla({"import", QString::fromStdString(folder_.Path("one.log")),
             QString::fromStdString(folder_.Path("two.log")), "--db", database_});
    ASSERT_EQ(imported.status, 0) << imported.err;
    const QStringList file = QStringList{QString::fromStdString(folder_.Path("whole.log"))}
                             << kNewDatabaseReading;
    for (const QStringList& command :
         {QStringList{"players"}, QStringList{"analyze"}, QStringList{"player", "^1Carl"},
          QStringList{"player", "^4Carl"}, QStringList{"player", "Bob"}}) {
        const auto run = [&](const QStringList& source) {
            const QlaRun result =
                Qla(QStringList{command.front()} + source + command.mid(1) << "--merge-players");
            EXPECT_EQ(result.status, 0) << result.err;
            return result.out;
        };
        const std::string expected = run(file);
        EXPECT_EQ(run({"--db", database_}), expected) << command.join(' ').toStdString();
        EXPECT_EQ(run({"--db", database_, "--since", "2009-03-01"}), expected)
            << command.join(' ').toStdString();
    }
    // The two Carls stay two.
    const std::string players = Qla(QStringList{"players"} << file << "--merge-players").out;
    EXPECT_NE(players.find("^1Carl\n"), std::string::npos) << players;
    EXPECT_NE(players.find("^4Carl\n"), std::string::npos) << players;
}

INSTANTIATE_TEST_SUITE_P(Engines, MergedPersons, kEngines,
                         [](const auto& info) { return EngineName(info.param); });

} // namespace
} // namespace qla::dbtest
