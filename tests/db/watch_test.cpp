// qla watch as a real process: a log written in bursts cut anywhere, the watcher killed between
// bursts and started again, the log rotated; the database ends with every line exactly once and
// the site folder is whole whenever it is looked at.
#include "db_test_support.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>

#include <atomic>
#include <csignal>
#include <filesystem>
#include <functional>
#include <random>
#include <thread>

namespace qla::dbtest {
namespace {

class Watch : public testing::TestWithParam<Engine> {
  protected:
    std::unique_ptr<QProcess> StartWatch() {
        auto process = std::make_unique<QProcess>();
        process->start(QStringLiteral(QLA_BINARY),
                       {"watch", folder_.QPath("server.log"), "--db", database_, "--interval",
                        "0.2", "--site", folder_.QPath("site"), "--view", "all"});
        EXPECT_TRUE(process->waitForStarted());
        return process;
    }

    std::string Analyze(const QStringList& source) {
        const QlaRun run = Qla(QStringList{"analyze"} << source);
        return run.status == 0 ? run.out : "failed: " + run.err;
    }

    // Every page of the site is there and ends as a page ends; "" when whole, else what is not.
    std::string SiteProblem() {
        const QDir site(folder_.QPath("site"));
        if (!site.exists())
            return {}; // not written yet
        for (const char* page : {"index.html", "index2.html", "index3.html", "index4.html",
                                 "index5.html", "style.css", "weapon1.html", "weapon4.html"})
            if (!site.exists(QString::fromLatin1(page)))
                return std::string("missing ") + page;
        for (const QString& name : site.entryList({"*.html"}, QDir::Files)) {
            const std::string page = ReadFile(site.filePath(name).toStdString());
            if (!page.ends_with("</html>\r\n"))
                return "unfinished " + name.toStdString();
            if (name.startsWith("player") && name.endsWith("a.html") &&
                !site.exists(QString(name).replace("a.html", "b.html")))
                return "no second page for " + name.toStdString();
        }
        return {};
    }

    TempFolder folder_;
    QString database_ = NewDatabase(GetParam(), folder_);
};

TEST_P(Watch, BurstsKillAndRotationConvergeToEveryLineOnce) {
    const std::string first = GeneratedLog(false, false, false, 20000, 71);
    const std::string second = GeneratedLog(false, true, true, 3000, 72);
    const std::string log = folder_.Path("server.log");
    WriteFile(log, "");
    std::unique_ptr<QProcess> watcher = StartWatch();

    // Bursts end at random bytes (inside lines, inside a CR LF); the last one ends the log.
    std::mt19937 random(7);
    std::vector<std::size_t> cuts;
    for (int i = 0; i < 7; ++i)
        cuts.push_back(std::uniform_int_distribution<std::size_t>(1, first.size() - 1)(random));
    std::sort(cuts.begin(), cuts.end());
    cuts.push_back(first.size());
    std::size_t written = 0;
    for (std::size_t burst = 0; burst < cuts.size(); ++burst) {
        if (burst == 3) {
            // Killed between bursts, the next burst written while no watcher runs.
            ::kill(static_cast<pid_t>(watcher->processId()), SIGKILL);
            watcher->waitForFinished();
        }
        const bool last = burst + 1 == cuts.size();
        if (last) // held still, so the rotation below surely comes before it sees this burst
            ::kill(static_cast<pid_t>(watcher->processId()), SIGSTOP);
        AppendFile(log, first.substr(written, cuts[burst] - written));
        if (last)
            break;
        written = cuts[burst];
        if (burst == 3)
            watcher = StartWatch();
        for (int look = 0; look < 4; ++look) {
            const std::string problem = SiteProblem();
            EXPECT_EQ(problem, "") << "burst " << burst;
            std::this_thread::sleep_for(std::chrono::milliseconds(40));
        }
    }
    // Rotation before the watcher saw the last burst: it must still import that burst from the
    // renamed file before it starts the new one.
    std::filesystem::rename(log, log + ".1");
    WriteFile(log, second.substr(0, second.size() / 2 + 7));
    ::kill(static_cast<pid_t>(watcher->processId()), SIGCONT);
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    AppendFile(log, second.substr(second.size() / 2 + 7));

    WriteFile(folder_.Path("expected.log"), first + second);
    const std::string expected =
        Analyze(QStringList{folder_.QPath("expected.log")} << kNewDatabaseReading);
    std::string state;
    WaitUntil([&] { return (state = Analyze({"--db", database_})) == expected; });
    EXPECT_EQ(state, expected);
    const QlaRun logs = Qla({"logs", "--db", database_});
    EXPECT_NE(logs.out.find("\n1\t20000\tenglish\t"), std::string::npos) << logs.out;
    EXPECT_NE(logs.out.find("\n2\t3000\tenglish\t"), std::string::npos) << logs.out;

    // The site catches up with the database and equals its export.
    const QString reference = folder_.QPath("reference");
    ASSERT_EQ(Qla({"export", "--db", database_, "--view", "all", "--format", "html", "--output",
                   reference})
                  .status,
              0);
    const std::string want = FolderContents(reference.toStdString());
    std::string site;
    WaitUntil([&] { return (site = FolderContents(folder_.Path("site"))) == want; });
    EXPECT_TRUE(site == want) << "the site is not the database's export";

    ::kill(static_cast<pid_t>(watcher->processId()), SIGTERM);
    ASSERT_TRUE(watcher->waitForFinished(30000));
    EXPECT_EQ(watcher->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(watcher->exitCode(), 0);
    const std::string messages = watcher->readAllStandardError().toStdString();
    EXPECT_TRUE(messages.ends_with(": stopped\n")) << messages;
    EXPECT_FALSE(std::filesystem::exists(folder_.Path("site.qla-new")));
}

using MakeLink = void (*)(const std::filesystem::path& target, const std::filesystem::path& link);

class WatchLinked : public Watch {
  protected:
    // A log written as `real/server.log` and followed through a link to it, `link`, made by
    // `makeLink`: qla watch starts on the link with the first half of the log there, and once that
    // half is in, the second half is written while `meanwhile` runs. The database must then hold
    // the whole log within `limit`, as its file reads.
    void FollowThroughLink(MakeLink makeLink, const std::string& link, const char* interval,
                           std::chrono::seconds limit,
                           const std::function<void(const std::function<void()>&)>& meanwhile) {
        const std::string log = GeneratedLog(false, false, false, 4000, 73);
        const std::size_t half = log.find('\n', log.size() / 2) + 1;
        std::filesystem::create_directories(folder_.Path("real"));
        std::filesystem::create_directories(
            std::filesystem::path(folder_.Path(link)).parent_path());
        WriteFile(folder_.Path("real/server.log"), log.substr(0, half));
        makeLink(folder_.Path("real/server.log"), folder_.Path(link));
        QProcess watcher;
        watcher.start(QStringLiteral(QLA_BINARY),
                      {"watch", folder_.QPath(link), "--db", database_, "--interval", interval});
        ASSERT_TRUE(watcher.waitForStarted());
        const std::string first = AnalyzedAsFile(log.substr(0, half));
        const std::string whole = AnalyzedAsFile(log);
        std::string state;
        WaitUntil([&] { return (state = Analyze({"--db", database_})) == first; });
        ASSERT_EQ(state, first);
        meanwhile([&] {
            AppendFile(folder_.Path("real/server.log"), log.substr(half));
            WaitUntil([&] { return (state = Analyze({"--db", database_})) == whole; }, limit);
        });
        EXPECT_EQ(state, whole);
        ::kill(static_cast<pid_t>(watcher.processId()), SIGTERM);
        ASSERT_TRUE(watcher.waitForFinished(30000));
        EXPECT_EQ(watcher.exitCode(), 0);
    }

    std::string AnalyzedAsFile(const std::string& text) {
        WriteFile(folder_.Path("as-file.log"), text);
        return Analyze(QStringList{folder_.QPath("as-file.log")} << kNewDatabaseReading);
    }
};

// A hard link to a file written through another folder: no notification tells of its growth,
// and the link's folder meanwhile changes every 100 ms. The look at every interval imports it.
TEST_P(WatchLinked, AHardLinkedLogGrowsInABusyFolderAndIsImportedAtTheInterval) {
    FollowThroughLink(
        [](const std::filesystem::path& target, const std::filesystem::path& link) {
            std::filesystem::create_hard_link(target, link);
        },
        "busy/server.log", "1", std::chrono::seconds(20),
        [&](const std::function<void()>& writeAndWait) {
            std::atomic<bool> busy = true;
            std::thread noise([&] {
                for (int n = 0; busy; ++n) {
                    AppendFile(folder_.Path("busy/other.log"), std::to_string(n) + "\n");
                    std::this_thread::sleep_for(std::chrono::milliseconds(100));
                }
            });
            writeAndWait();
            busy = false;
            noise.join();
        });
}

// A symbolic link into another folder: its target's folder tells of its growth, so it is
// imported at once, not at the (here long) interval.
TEST_P(WatchLinked, ASymbolicallyLinkedLogIsImportedAsItGrows) {
    FollowThroughLink(
        [](const std::filesystem::path& target, const std::filesystem::path& link) {
            std::filesystem::create_symlink(target, link);
        },
        "links/server.log", "600", std::chrono::seconds(60),
        [](const std::function<void()>& writeAndWait) { writeAndWait(); });
}

INSTANTIATE_TEST_SUITE_P(Engines, WatchLinked, kEngines,
                         [](const auto& info) { return EngineName(info.param); });

TEST(WatchCommand, CommandLineMistakesAreUsageErrors) {
    const QStringList mistakes[] = {
        {"watch", "a.log"},
        {"watch", "--db", "x.db"},
        {"watch", "a.log", "--db", "x.db", "--interval", "0"},
        {"watch", "a.log", "--db", "x.db", "--interval", "soon"},
        {"watch", "a.log", "--db", "x.db", "--view", "all"},
        {"watch", "a.log", "--db", "x.db", "--site", "s"},
        {"watch", "a.log", "--db", "x.db", "--site", "s", "--view", "standard"},
        {"watch", "a.log", "--db", "x.db", "--site", "s", "--view", "all", "--format", "text"},
        {"watch", "a.log", "--db", "host=x colour=blue"},
    };
    for (const QStringList& arguments : mistakes) {
        const QlaRun run = Qla(arguments);
        EXPECT_EQ(run.status, 2) << arguments.join(' ').toStdString() << ": " << run.err;
        EXPECT_EQ(run.err.rfind("qla watch: ", 0), 0u) << run.err;
    }
}

// A first batch of many logs (a watch started over a folder of old logs) is told in one short
// line: the first logs by name, the rest counted.
TEST(WatchCommand, ABatchOfManyLogsIsToldInAShortLine) {
    TempFolder folder;
    QStringList arguments{"watch"};
    for (int i = 0; i < 40; ++i) {
        const std::string path = folder.Path("l" + std::to_string(i) + ".log");
        WriteFile(path, "[skipnotify]P" + std::to_string(i) + "^7 was killed by Q^7's MP40\n");
        arguments << QString::fromStdString(path);
    }
    arguments << "--db" << folder.QPath("stats.db") << "--interval"
              << "0.2";
    QProcess watcher;
    watcher.start(QStringLiteral(QLA_BINARY), arguments);
    ASSERT_TRUE(watcher.waitForStarted());
    std::string messages;
    WaitUntil(
        [&] {
            watcher.waitForReadyRead(100);
            messages += watcher.readAllStandardError().toStdString();
            return messages.find('\n') != std::string::npos;
        },
        std::chrono::seconds(120), std::chrono::milliseconds(0));
    ::kill(static_cast<pid_t>(watcher.processId()), SIGTERM);
    ASSERT_TRUE(watcher.waitForFinished(30000));
    const std::string first = messages.substr(0, messages.find('\n'));
    EXPECT_NE(first.find("log 5: " + folder.Path("l4.log") +
                         ": new, 1 line imported; and 35 more "
                         "logs (40 lines imported in this batch)"),
              std::string::npos)
        << first;
    EXPECT_EQ(first.find("l5.log"), std::string::npos) << first;
    EXPECT_LT(first.size(), 1000u);
}

INSTANTIATE_TEST_SUITE_P(Engines, Watch, kEngines,
                         [](const auto& info) { return EngineName(info.param); });

} // namespace
} // namespace qla::dbtest
