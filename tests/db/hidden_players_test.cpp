// qla hide and unhide on both engines: a hidden player's names are in no output of a reading
// command, the totals stay, the others' opponent rows count him as "a hidden player", and
// unhiding gives every output back as it was.
#include "core/names.h"
#include "db_test_support.h"

#include <gtest/gtest.h>

#include <QProcess>

#include <algorithm>
#include <map>
#include <sstream>

namespace qla::dbtest {
namespace {

// The lines of `text` that start with one of the totals' labels.
std::string TotalsOf(const std::string& analyzed) {
    std::istringstream in(analyzed);
    std::string totals;
    for (std::string line; std::getline(in, line);)
        if (!line.starts_with("Players:"))
            totals += line + "\n";
    return totals;
}

std::vector<std::string> Lines(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// The longest part of a name between colour codes: what every output shows of it, whatever it
// does with the codes.
std::string LongestPlainPart(const std::string& name) {
    std::string longest, part;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '^' && i + 1 < name.size()) {
            longest = part.size() > longest.size() ? part : longest;
            part.clear();
            ++i;
            continue;
        }
        part += name[i];
    }
    return part.size() > longest.size() ? part : longest;
}

class HiddenPlayers : public testing::TestWithParam<Engine> {
  protected:
    void SetUp() override {
        const std::string one = GeneratedLog(false, false, true, 3000, 61);
        WriteFile(folder_.Path("one.log"), one);
        WriteFile(folder_.Path("two.log"), GeneratedLog(false, false, true, 3000, 62));
        ChooseHiddenName();
        ASSERT_FALSE(key_.empty()) << "the generated log holds no plain name to hide";
        // A third log plays the first again with that name spelled otherwise.
        WriteFile(folder_.Path("three.log"), Respelled(one));
        const QlaRun imported = Qla({"import", folder_.QPath("one.log"), folder_.QPath("two.log"),
                                     folder_.QPath("three.log"), "--db", database_});
        ASSERT_EQ(imported.status, 0) << imported.err;
        spellings_ = {name_, respelled_};
        // A player of the same log, who met him.
        for (const std::string& name : Lines(Run({"players"})))
            if (IdentityKey(name) != key_ && shown_.empty())
                shown_ = name;
    }

    // A name of the first log in plain letters that no other name holds, and its other spelling:
    // a colour code and capitals.
    void ChooseHiddenName() {
        const std::vector<std::string> names =
            Lines(Qla({"players", folder_.QPath("one.log"), "--quiet"}).out);
        for (const std::string& name : names) {
            const std::string key = IdentityKey(name);
            const bool plain = name.size() >= 4 && std::ranges::all_of(name, [](char c) {
                                   return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
                               });
            const bool alone = std::ranges::none_of(names, [&](const std::string& other) {
                return other != name && IdentityKey(other).find(key) != std::string::npos;
            });
            if (plain && alone) {
                name_ = name;
                key_ = key;
                respelled_ = "^3" + QString::fromStdString(name).toUpper().toStdString();
                return;
            }
        }
    }

    std::string Respelled(std::string log) const {
        for (std::size_t at = log.find(name_); at != std::string::npos;
             at = log.find(name_, at + respelled_.size()))
            log.replace(at, name_.size(), respelled_);
        return log;
    }

    std::string Run(QStringList arguments) {
        arguments.insert(1, "--db");
        arguments.insert(2, database_);
        const QlaRun run = Qla(arguments);
        EXPECT_EQ(run.status, 0) << arguments.join(' ').toStdString() << ": " << run.err;
        return run.out;
    }

    std::string Export(const QString& view, const QString& format, const QString& output,
                       const QStringList& more = {}) {
        // A fresh file or folder each time: an export keeps the files of an earlier one.
        const QString path = folder_.QPath(std::to_string(++exports_) + "-" + output.toStdString());
        Run(QStringList{"export", "--view", view, "--format", format, "--output", path} << more);
        const bool folder = view == "all" || (view == "dashboard" && format == "html");
        return folder ? FolderContents(path.toStdString()) : ReadFile(path.toStdString());
    }

    // Every reading command and every export of the database, by name.
    std::map<std::string, std::string> Outputs(const QStringList& merging = {}) {
        std::map<std::string, std::string> outputs;
        for (const QString command : {"analyze", "players", "ratings"})
            outputs[command.toStdString()] = Run(QStringList{command} << merging);
        const QString shown = QString::fromStdString(shown_);
        outputs["player"] = Run(QStringList{"player", shown} << merging);
        for (const QString view : {"standard", "weapons", "voice", "text", "junk"})
            for (const QString format : {"json", "csv", "text", "html"})
                outputs[(view + "." + format).toStdString()] =
                    Export(view, format, view + "." + format, merging);
        outputs["standard.xml"] = Export("standard", "xml", "standard.xml", merging);
        for (const QString format : {"json", "csv", "text", "html"})
            outputs[("player." + format).toStdString()] = Export(
                "player", format, "player." + format, QStringList{"--player", shown} << merging);
        outputs["all"] = Export("all", "html", "all", merging);
        outputs["site"] = Export("dashboard", "html", "site", merging);
        outputs["site.json"] = Export("dashboard", "json", "site.json", merging);
        return outputs;
    }

    void ExpectNoHiddenName(const std::map<std::string, std::string>& outputs) {
        for (const auto& [name, text] : outputs)
            for (const std::string& spelling : spellings_)
                EXPECT_EQ(text.find(LongestPlainPart(spelling)), std::string::npos)
                    << name << " shows the hidden " << spelling;
    }

    TempFolder folder_;
    QString database_ = NewDatabase(GetParam(), folder_);
    int exports_ = 0;
    std::string name_, respelled_, key_;
    std::vector<std::string> spellings_;
    std::string shown_;
};

TEST_P(HiddenPlayers, AHiddenNameIsInNoOutputWhileTheTotalsAndOpponentsCountHim) {
    const std::map<std::string, std::string> before = Outputs();
    for (const std::string& spelling : spellings_)
        ASSERT_NE(before.at("players").find(spelling + "\n"), std::string::npos) << spelling;

    // Hidden by a spelling of its own: upper case, outer blanks and a colour code.
    const QString spelling = " ^3" + QString::fromStdString(key_).toUpper() + "  ";
    ASSERT_EQ(Qla({"hide", "--db", database_, spelling}).status, 0);
    EXPECT_EQ(Run({"hide"}), key_ + "\n");

    const std::map<std::string, std::string> after = Outputs();
    ExpectNoHiddenName(after);
    EXPECT_EQ(TotalsOf(after.at("analyze")), TotalsOf(before.at("analyze")));
    EXPECT_EQ(Lines(after.at("players")).size() + spellings_.size(),
              Lines(before.at("players")).size());
    EXPECT_EQ(after.at("standard.csv").find("a hidden player"), std::string::npos);
    EXPECT_EQ(after.at("ratings").find("a hidden player"), std::string::npos);
    // His victims and killers still meet him, under the one name.
    for (const std::string output : {"player.text", "player.json", "player.csv", "site"})
        EXPECT_NE(after.at(output).find("a hidden player"), std::string::npos) << output;
    EXPECT_EQ(after.at("player"), before.at("player")); // the counters of the others stay

    for (const std::string& name : spellings_) {
        const QlaRun player = Qla({"player", "--db", database_, QString::fromStdString(name)});
        EXPECT_EQ(player.status, 1) << name;
        EXPECT_NE(player.err.find("no player is stored as"), std::string::npos) << player.err;
        EXPECT_EQ(Qla({"versus", "--db", database_, QString::fromStdString(shown_),
                       QString::fromStdString(name)})
                      .status,
                  1);
    }
    EXPECT_EQ(Qla({"player", "--db", database_, "a hidden player"}).status, 1);
    // A log read directly hides nobody: hiding is the database's.
    const QlaRun direct = Qla({"players", folder_.QPath("one.log")});
    EXPECT_NE(Lines(direct.out).size(), 0u);
    EXPECT_TRUE(std::ranges::any_of(
        Lines(direct.out), [&](const std::string& name) { return IdentityKey(name) == key_; }));
}

TEST_P(HiddenPlayers, UnhidingGivesEveryOutputBackByteForByte) {
    const std::map<std::string, std::string> before = Outputs();
    const QString key = QString::fromStdString(key_);
    ASSERT_EQ(Qla({"hide", "--db", database_, QString::fromStdString(spellings_[1])}).status, 0);
    // Hiding twice keeps one row; unhiding by another spelling removes it.
    ASSERT_EQ(Qla({"hide", "--db", database_, key}).status, 0);
    EXPECT_EQ(Run({"hide"}), key_ + "\n");
    EXPECT_NE(Outputs().at("players"), before.at("players"));
    ASSERT_EQ(Qla({"unhide", "--db", database_, QString::fromStdString(spellings_[0])}).status, 0);
    EXPECT_EQ(Run({"hide"}), "");
    const std::map<std::string, std::string> after = Outputs();
    for (const auto& [name, text] : before)
        EXPECT_EQ(after.at(name), text) << name;
}

TEST_P(HiddenPlayers, AMergedPlayerHoldingAHiddenNameIsHiddenWhole) {
    ASSERT_EQ(Qla({"hide", "--db", database_, QString::fromStdString(key_)}).status, 0);
    for (const QString merging : {"--merge-players", "--merge-players=names"}) {
        const std::map<std::string, std::string> outputs = Outputs({merging});
        ExpectNoHiddenName(outputs);
        EXPECT_NE(outputs.at("player.text").find("a hidden player"), std::string::npos);
        for (const std::string& name : spellings_)
            EXPECT_EQ(
                Qla({"player", "--db", database_, merging, QString::fromStdString(name)}).status, 1)
                << name;
    }
}

// qla watch publishes the statistics site of the database as qla export --db writes it: without
// the hidden player.
TEST_P(HiddenPlayers, TheSiteQlaWatchPublishesHidesHimToo) {
    ASSERT_EQ(Qla({"hide", "--db", database_, QString::fromStdString(key_)}).status, 0);
    QProcess watch;
    watch.setWorkingDirectory(folder_.QPath(""));
    watch.setStandardErrorFile(folder_.QPath("watch.err"));
    watch.start(QStringLiteral(QLA_BINARY),
                {"watch", "one.log", "two.log", "three.log", "--db", database_, "--interval", "0.2",
                 "--site", "watched", "--view", "dashboard"});
    ASSERT_TRUE(watch.waitForStarted());
    const bool published = WaitUntil([&] {
        return ReadFile(folder_.Path("watch.err")).find("published the site") != std::string::npos;
    });
    watch.terminate();
    watch.waitForFinished(30000);
    ASSERT_TRUE(published) << ReadFile(folder_.Path("watch.err"));
    const std::string site = FolderContents(folder_.Path("watched"));
    EXPECT_NE(site.find("a hidden player"), std::string::npos);
    ExpectNoHiddenName({{"watched site", site}});
}

TEST_P(HiddenPlayers, TheCommandsCheckTheirArguments) {
    EXPECT_EQ(Qla({"hide", "Bob"}).status, 2);
    EXPECT_EQ(Qla({"unhide", "--db", database_}).status, 2);
    EXPECT_EQ(Qla({"hide", "--db", database_, "^1 "}).status, 2);
    EXPECT_EQ(Run({"hide"}), "");
    const QlaRun missing = Qla({"hide", "--db", folder_.QPath("none/stats.db"), "Bob"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("qla: "), std::string::npos);
    // Unhiding a name nobody hid changes nothing.
    EXPECT_EQ(Qla({"unhide", "--db", database_, "Bob"}).status, 0);
    EXPECT_EQ(Run({"hide"}), "");
}

INSTANTIATE_TEST_SUITE_P(Engines, HiddenPlayers, kEngines);

} // namespace
} // namespace qla::dbtest
