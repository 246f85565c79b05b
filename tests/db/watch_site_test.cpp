// qla watch --site as a real process beside what it must never take: a site folder holding the
// database or the watched log, the current folder, a link to the site's folder, a file someone
// drops into the site while it runs, and a site an export wrote before.
#include "db_test_support.h"

#include <gtest/gtest.h>

#include <QProcess>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <thread>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace qla::dbtest {
namespace {

namespace fs = std::filesystem;

// qla watch run in `folder` as its working folder; killed at the end of the test if still running.
class WatchProcess {
  public:
    WatchProcess(const std::string& folder, const QStringList& arguments) {
        process_.setWorkingDirectory(QString::fromStdString(folder));
        // A file, as the pipe is only read while the test waits on the process.
        process_.setStandardErrorFile(QString::fromStdString(messages_.Path("stderr")));
        process_.start(QStringLiteral(QLA_BINARY), QStringList{"watch"} + arguments);
        EXPECT_TRUE(process_.waitForStarted());
    }
    ~WatchProcess() {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished();
        }
    }
    // The exit status when it ends by itself within `milliseconds`.
    std::optional<int> EndsWithin(int milliseconds) {
        if (!process_.waitForFinished(milliseconds))
            return std::nullopt;
        return process_.exitCode();
    }
    // Stops it as a service manager does; its exit status.
    int Stop() {
        ::kill(static_cast<pid_t>(process_.processId()), SIGTERM);
        EXPECT_TRUE(process_.waitForFinished(30000));
        return process_.exitCode();
    }
    // Everything it wrote to stderr so far.
    std::string Messages() const { return ReadFile(messages_.Path("stderr")); }
    std::size_t Count(const std::string& text) {
        std::size_t count = 0;
        const std::string all = Messages();
        for (auto at = all.find(text); at != std::string::npos; at = all.find(text, at + 1))
            ++count;
        return count;
    }

  private:
    TempFolder messages_;
    QProcess process_;
};

std::pair<dev_t, ino_t> IdentityOf(const std::string& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return {info.st_dev, info.st_ino};
}

bool WaitFor(const std::function<bool()>& done) {
    return WaitUntil(done, std::chrono::seconds(120), std::chrono::milliseconds(50));
}

std::string AnalyzeDatabase(const QString& database) {
    const QlaRun run = Qla({"analyze", "--db", database});
    return run.status == 0 ? run.out : "failed: " + run.err;
}

std::string AnalyzeLog(const std::string& path) {
    const QlaRun run =
        Qla(QStringList{"analyze", QString::fromStdString(path)} << kNewDatabaseReading);
    return run.status == 0 ? run.out : "failed: " + run.err;
}

std::string Export(const QString& database, const std::string& view, const std::string& folder) {
    const QlaRun run = Qla({"export", "--db", database, "--view", QString::fromStdString(view),
                            "--format", "html", "--output", QString::fromStdString(folder)});
    EXPECT_EQ(run.status, 0) << run.err;
    return FolderContents(folder);
}

class WatchSite : public testing::TestWithParam<Engine> {
  protected:
    TempFolder folder_;
    QString database_ = NewDatabase(GetParam(), folder_);
};

// The case that lost a database: the site's folder is the database's folder.
TEST(WatchSiteFolder, AFolderHoldingTheDatabaseIsRefusedAndKept) {
    TempFolder folder;
    fs::create_directory(folder.Path("stats"));
    WriteFile(folder.Path("game.log"), GeneratedLog(false, false, false, 3000, 5));
    ASSERT_EQ(
        Qla({"import", folder.QPath("game.log"), "--db", folder.QPath("stats/stats.db")}).status,
        0);
    const std::string stored = AnalyzeDatabase(folder.QPath("stats/stats.db"));
    ASSERT_EQ(stored, AnalyzeLog(folder.Path("game.log")));

    WatchProcess watch(folder.Path(""),
                       {"game.log", "--db", "stats/stats.db", "--site", "stats", "--view", "all"});
    const auto status = watch.EndsWithin(3000);
    ASSERT_TRUE(status.has_value()) << "still running: " << watch.Messages();
    EXPECT_EQ(*status, 2);
    EXPECT_EQ(
        watch.Messages().rfind("qla watch: --site stats holds the database stats/stats.db;", 0), 0u)
        << watch.Messages();
    EXPECT_EQ(AnalyzeDatabase(folder.QPath("stats/stats.db")), stored);
    EXPECT_FALSE(fs::exists(folder.Path("stats/index.html")));
    EXPECT_FALSE(fs::exists(folder.Path("stats.qla-new")));
}

TEST(WatchSiteFolder, TheCurrentFolderAndItsParentsAreRefusedAtOnce) {
    TempFolder folder;
    fs::create_directories(folder.Path("work/logs"));
    WriteFile(folder.Path("work/logs/game.log"), GeneratedLog(false, false, false, 100, 6));
    const QString database = folder.QPath("stats.db");
    for (const std::string& site :
         {std::string("."), std::string(".."), std::string("./"), folder.Path("work")}) {
        WatchProcess watch(folder.Path("work"), {"logs/game.log", "--db", database, "--site",
                                                 QString::fromStdString(site), "--view", "all"});
        const auto status = watch.EndsWithin(3000);
        ASSERT_TRUE(status.has_value()) << site << " still running: " << watch.Messages();
        EXPECT_EQ(*status, 2) << site;
        EXPECT_NE(watch.Messages().find("is or holds the current folder"), std::string::npos)
            << watch.Messages();
        EXPECT_EQ(watch.Count("Device or resource busy"), 0u);
    }
    EXPECT_TRUE(fs::exists(folder.Path("work/logs/game.log")));
    EXPECT_FALSE(fs::exists(folder.Path("stats.db"))) << "refused before the database is opened";
}

TEST(WatchSiteFolder, AFileQlaDidNotWriteIsRefusedByName) {
    TempFolder folder;
    WriteFile(folder.Path("game.log"), GeneratedLog(false, false, false, 100, 8));
    fs::create_directory(folder.Path("site"));
    WriteFile(folder.Path("site/notes.txt"), "mine\n");
    WatchProcess watch(folder.Path(""),
                       {"game.log", "--db", "stats.db", "--site", "site", "--view", "all"});
    const auto status = watch.EndsWithin(3000);
    ASSERT_TRUE(status.has_value()) << "still running: " << watch.Messages();
    EXPECT_EQ(*status, 1);
    EXPECT_NE(watch.Messages().find("site/notes.txt is not a file of a site qla wrote"),
              std::string::npos)
        << watch.Messages();
    EXPECT_EQ(ReadFile(folder.Path("site/notes.txt")), "mine\n");

    // A link that leads nowhere is neither followed nor replaced.
    fs::create_directory_symlink(folder.Path("gone"), folder.Path("dangling"));
    WatchProcess dangling(folder.Path(""),
                          {"game.log", "--db", "stats.db", "--site", "dangling", "--view", "all"});
    ASSERT_EQ(dangling.EndsWithin(3000), std::optional<int>(1)) << dangling.Messages();
    EXPECT_NE(dangling.Messages().find("is a link that leads nowhere"), std::string::npos)
        << dangling.Messages();
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(folder.Path("dangling"))));
}

TEST_P(WatchSite, AFolderHoldingTheWatchedLogIsRefused) {
    fs::create_directory(folder_.Path("logs"));
    WriteFile(folder_.Path("logs/game.log"), GeneratedLog(false, false, false, 100, 9));
    WatchProcess watch(folder_.Path(""), {"logs/game.log", "--db", database_, "--site", "logs",
                                          "--view", "dashboard"});
    const auto status = watch.EndsWithin(3000);
    ASSERT_TRUE(status.has_value()) << "still running: " << watch.Messages();
    EXPECT_EQ(*status, 2);
    EXPECT_NE(watch.Messages().find("--site logs holds the watched log logs/game.log"),
              std::string::npos)
        << watch.Messages();
    EXPECT_TRUE(fs::exists(folder_.Path("logs/game.log")));
    EXPECT_EQ(AnalyzeDatabase(database_).find("Total: 100\n"), std::string::npos)
        << "nothing imported";
}

// A file dropped into the live site stops the swaps, not the imports; told once; once it is gone
// the site is written again.
TEST_P(WatchSite, AFileDroppedIntoTheSiteHoldsThePublishNotTheImport) {
    const std::string all = GeneratedLog(false, false, false, 3000, 10);
    const std::string log = folder_.Path("server.log");
    const std::size_t first = all.find('\n', all.size() / 3) + 1;
    const std::size_t second = all.find('\n', 2 * all.size() / 3) + 1;
    WriteFile(log, all.substr(0, first));
    WatchProcess watch(folder_.Path(""), {"server.log", "--db", database_, "--interval", "0.2",
                                          "--site", "site", "--view", "all"});
    ASSERT_TRUE(WaitFor([&] { return watch.Count("published the site") == 1; }))
        << watch.Messages();
    const auto page = IdentityOf(folder_.Path("site/index.html"));

    WriteFile(folder_.Path("site/notes.txt"), "mine\n");
    AppendFile(log, all.substr(first, second - first));
    WriteFile(folder_.Path("part.log"), all.substr(0, second));
    EXPECT_TRUE(WaitFor([&] {
        return AnalyzeDatabase(database_) == AnalyzeLog(folder_.Path("part.log"));
    })) << watch.Messages();
    AppendFile(log, all.substr(second));
    EXPECT_TRUE(WaitFor([&] { return AnalyzeDatabase(database_) == AnalyzeLog(log); }))
        << watch.Messages();
    std::this_thread::sleep_for(std::chrono::milliseconds(600)); // a few more tries
    EXPECT_EQ(watch.Count("site/notes.txt is not a file of a site qla wrote"), 1u)
        << watch.Messages();
    EXPECT_EQ(watch.Count("published the site"), 1u);
    EXPECT_EQ(IdentityOf(folder_.Path("site/index.html")), page) << "the old site stays served";
    EXPECT_EQ(ReadFile(folder_.Path("site/notes.txt")), "mine\n");

    fs::remove(folder_.Path("site/notes.txt"));
    const std::string want = Export(database_, "all", folder_.Path("reference"));
    EXPECT_TRUE(WaitFor([&] { return watch.Count("published the site") == 2; }))
        << watch.Messages();
    EXPECT_TRUE(FolderContents(folder_.Path("site")) == want) << "the site is the database's";
    EXPECT_EQ(watch.Stop(), 0);
    EXPECT_FALSE(fs::exists(folder_.Path("site.qla-new")));
    EXPECT_FALSE(fs::exists(folder_.Path("site.qla-kept")));
}

// A process that has ended: forked, gone and waited for.
pid_t EndedProcess() {
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

// A run killed between writing a file into the site and renaming it into place leaves its
// temporary file; once that run is gone the file is nobody's and goes, so the next watch
// publishes. One of a running process is kept, and holds the publish as any unlisted file does.
TEST_P(WatchSite, ATemporaryFileOfAKilledRunGoesAndTheSiteIsPublished) {
    const std::string all = GeneratedLog(false, false, false, 2000, 12);
    const std::string log = folder_.Path("server.log");
    const std::size_t half = all.find('\n', all.size() / 2) + 1;
    WriteFile(log, all.substr(0, half));
    const QStringList arguments{"server.log", "--db", database_, "--interval", "0.2",
                                "--site",     "site", "--view",  "dashboard"};
    {
        WatchProcess watch(folder_.Path(""), arguments);
        ASSERT_TRUE(WaitFor([&] { return watch.Count("published the site") == 1; }))
            << watch.Messages();
        EXPECT_EQ(watch.Stop(), 0);
    }
    const std::string dead = ".qla-" + std::to_string(EndedProcess()) + "-5eed-0.tmp";
    const std::string alive = ".qla-" + std::to_string(::getpid()) + "-5eed-0.tmp";
    // A folder of player pages, below the site's top folder.
    std::string deep;
    for (const auto& entry : fs::recursive_directory_iterator(folder_.Path("site/players")))
        if (entry.is_regular_file()) {
            deep = fs::relative(entry.path().parent_path(), folder_.Path("")).string();
            break;
        }
    ASSERT_NE(deep.find("players/"), std::string::npos) << deep;
    WriteFile(folder_.Path("site/" + dead), "cut");
    WriteFile(folder_.Path(deep + "/" + dead), "cut");

    AppendFile(log, all.substr(half));
    WatchProcess watch(folder_.Path(""), arguments);
    ASSERT_TRUE(WaitFor([&] { return watch.Count("published the site") == 1; }))
        << watch.Messages();
    EXPECT_FALSE(fs::exists(folder_.Path("site/" + dead)));
    EXPECT_FALSE(fs::exists(folder_.Path(deep + "/" + dead)));
    EXPECT_TRUE(WaitFor([&] {
        return FolderContents(folder_.Path("site")) ==
               Export(database_, "dashboard", folder_.Path("reference"));
    })) << "the site is the database's";

    WriteFile(folder_.Path(deep + "/" + alive), "being written");
    // Rotated to a new log: a batch, and a publish that is held.
    WriteFile(log, GeneratedLog(false, false, false, 500, 13));
    EXPECT_TRUE(WaitFor([&] { return watch.Count(alive + " is not a file of a site") == 1; }))
        << watch.Messages();
    EXPECT_EQ(ReadFile(folder_.Path(deep + "/" + alive)), "being written");
    EXPECT_EQ(watch.Stop(), 0);
}

// A link to the site's folder stays a link: its target is what is replaced, each time.
TEST_P(WatchSite, ALinkToTheSiteStaysALink) {
    const std::string all = GeneratedLog(false, false, false, 2000, 11);
    const std::string log = folder_.Path("server.log");
    const std::size_t half = all.find('\n', all.size() / 2) + 1;
    WriteFile(log, all.substr(0, half));
    fs::create_directories(folder_.Path("srv/real-site"));
    fs::create_directory_symlink("srv/real-site", folder_.Path("www"));
    WatchProcess watch(folder_.Path(""), {"server.log", "--db", database_, "--interval", "0.2",
                                          "--site", "www", "--view", "all"});
    ASSERT_TRUE(WaitFor([&] { return watch.Count("published the site") == 1; }))
        << watch.Messages();
    AppendFile(log, all.substr(half));
    ASSERT_TRUE(WaitFor([&] { return watch.Count("published the site") == 2; }))
        << watch.Messages();
    EXPECT_EQ(watch.Stop(), 0);

    ASSERT_TRUE(fs::is_symlink(fs::symlink_status(folder_.Path("www"))));
    EXPECT_EQ(fs::read_symlink(folder_.Path("www")), fs::path("srv/real-site"));
    EXPECT_TRUE(FolderContents(folder_.Path("srv/real-site")) ==
                Export(database_, "all", folder_.Path("reference")));
    for (const char* left : {"www.qla-new", "srv/real-site.qla-new", "srv/real-site.qla-kept"})
        EXPECT_FALSE(fs::exists(fs::symlink_status(folder_.Path(left)))) << left;
}

// A site an export wrote is taken over: its files are the marker's, stale pages included.
TEST_P(WatchSite, ASiteAnExportWroteIsReplacedFileByFile) {
    const std::string log = folder_.Path("server.log");
    WriteFile(log, GeneratedLog(false, false, false, 1500, 12));
    WriteFile(folder_.Path("other.log"), GeneratedLog(false, false, false, 4000, 13));
    const QlaRun bigger = Qla({"export", folder_.QPath("other.log"), "--view", "all", "--format",
                               "html", "--output", folder_.QPath("site")});
    ASSERT_EQ(bigger.status, 0) << bigger.err;
    WatchProcess watch(folder_.Path(""), {"server.log", "--db", database_, "--interval", "0.2",
                                          "--site", "site", "--view", "all"});
    ASSERT_TRUE(WaitFor([&] { return watch.Count("published the site") == 1; }))
        << watch.Messages();
    EXPECT_EQ(watch.Stop(), 0);
    EXPECT_TRUE(FolderContents(folder_.Path("site")) ==
                Export(database_, "all", folder_.Path("reference")))
        << "the other log's pages are gone with the old site";
    EXPECT_FALSE(fs::exists(folder_.Path("site.qla-new")));
    EXPECT_FALSE(fs::exists(folder_.Path("site.qla-kept")));
}

// The statistics site watch publishes is the one qla export --db writes of the same database,
// totals and each player's history log by log included; without --title it is headed
// "Statistics", never with the window's placeholder.
TEST_P(WatchSite, TheStatisticsSiteIsTheOneExportWritesOfTheDatabase) {
    WriteFile(folder_.Path("server.log"), GeneratedLog(false, false, false, 1500, 14));
    WriteFile(folder_.Path("other.log"), GeneratedLog(false, false, false, 1200, 15));
    WatchProcess watch(folder_.Path(""),
                       {"server.log", "other.log", "--db", database_, "--interval", "0.2", "--site",
                        "site", "--view", "dashboard"});
    ASSERT_TRUE(WaitFor([&] { return watch.Count("published the site") == 1; }))
        << watch.Messages();
    EXPECT_EQ(watch.Stop(), 0);
    const std::string site = FolderContents(folder_.Path("site"));
    EXPECT_TRUE(site == Export(database_, "dashboard", folder_.Path("reference")))
        << "the site is the database's";
    const std::string data = ReadFile(folder_.Path("site/data.json"));
    EXPECT_NE(data.find(R"("source":{"gameTitle":"Statistics",)"), std::string::npos)
        << data.substr(0, 300);
    EXPECT_NE(data.find(R"("logs":2,)"), std::string::npos) << data.substr(0, 300);
    EXPECT_NE(
        ReadFile(folder_.Path("site/index.html")).find("<title>Overview - Statistics</title>"),
        std::string::npos);
    EXPECT_EQ(site.find("__type here the game title__"), std::string::npos);
}

// The same choices (title and thresholds) give both the same site, and they reach it: the title
// heads it, the ratio list's note names the minimums, fewer players get pages of their own. The
// classic pages keep the placeholder without a title.
TEST_P(WatchSite, TheChoicesReachTheStatisticsSiteAndTheClassicPagesKeepTheirPlaceholder) {
    WriteFile(folder_.Path("server.log"), GeneratedLog(false, false, false, 800, 16));
    const QStringList choices{"--title",      "^1Cup", "--min-kills",          "1",
                              "--min-deaths", "0",     "--min-lines-for-page", "80"};
    {
        WatchProcess watch(folder_.Path(""),
                           QStringList{"server.log", "--db", database_, "--interval", "0.2",
                                       "--site", "site", "--view", "DashBoard"} +
                               choices);
        ASSERT_TRUE(WaitFor([&] { return watch.Count("published the site") == 1; }))
            << watch.Messages();
        EXPECT_EQ(watch.Stop(), 0);
    }
    const QlaRun reference =
        Qla(QStringList{"export", "--db", database_, "--view", "dashboard", "--format", "html",
                        "--output", folder_.QPath("reference")} +
            choices);
    ASSERT_EQ(reference.status, 0) << reference.err;
    EXPECT_TRUE(FolderContents(folder_.Path("site")) == FolderContents(folder_.Path("reference")));
    EXPECT_NE(ReadFile(folder_.Path("site/data.json")).find(R"("gameTitle":"^1Cup")"),
              std::string::npos);
    EXPECT_NE(ReadFile(folder_.Path("site/index.html")).find("At least 1 kills and 0 deaths."),
              std::string::npos);
    const QlaRun defaults = Qla({"export", "--db", database_, "--view", "dashboard", "--format",
                                 "html", "--output", folder_.QPath("defaults")});
    ASSERT_EQ(defaults.status, 0) << defaults.err;
    const auto pagesIn = [](const std::string& site) {
        std::size_t pages = 0;
        if (!fs::is_directory(site + "/players"))
            return pages;
        for (const auto& entry : fs::recursive_directory_iterator(site + "/players"))
            pages += entry.path().extension() == ".html";
        return pages;
    };
    EXPECT_LT(pagesIn(folder_.Path("site")), pagesIn(folder_.Path("defaults")));
    EXPECT_GT(pagesIn(folder_.Path("site")), 0u);

    WatchProcess classic(folder_.Path(""), {"server.log", "--db", database_, "--interval", "0.2",
                                            "--site", "pages", "--view", "all"});
    ASSERT_TRUE(WaitFor([&] { return classic.Count("published the site") == 1; }))
        << classic.Messages();
    EXPECT_EQ(classic.Stop(), 0);
    EXPECT_NE(ReadFile(folder_.Path("pages/index.html")).find("__type here the game title__"),
              std::string::npos);
}

// Every file below a site, the marker included, with what tells a rewritten file from one left
// alone: a rewrite is a new inode, and a modification time of its own.
struct FileState {
    std::string Bytes;
    ino_t Inode = 0;
    std::int64_t ModifiedNanoseconds = 0;
};
std::map<std::string, FileState> FilesOf(const std::string& folder) {
    std::map<std::string, FileState> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        struct stat info {};
        if (!entry.is_regular_file() || ::lstat(entry.path().c_str(), &info) != 0)
            continue;
        files[entry.path().lexically_relative(folder).generic_string()] = {
            ReadFile(entry.path().string()), info.st_ino,
            info.st_mtim.tv_sec * 1'000'000'000LL + info.st_mtim.tv_nsec};
    }
    return files;
}

// The files a site's marker lists.
std::set<std::string> ListedIn(const std::string& site) {
    std::set<std::string> listed;
    std::istringstream marker(ReadFile(site + "/.qla-site"));
    std::string line;
    std::getline(marker, line); // the header
    while (std::getline(marker, line))
        listed.insert(line);
    return listed;
}

// Waits for watch's `publishes`-th publish, then polls until the site is what qla export --db
// writes of the database into an empty folder (a later batch may still be on its way).
bool BecomesTheDatabasesSite(WatchProcess& watch, std::size_t publishes, const QString& database,
                             const std::string& view, const std::string& site,
                             const std::string& scratch) {
    if (!WaitFor([&] { return watch.Count("published the site") >= publishes; }))
        return false;
    int round = 0;
    return WaitFor([&] {
        const std::string reference = scratch + "-" + std::to_string(++round);
        return FolderContents(site) == Export(database, view, reference);
    });
}

// Bursts of lines, a log that appears and a rotation, published batch by batch: after each the
// site is byte for byte the one an export of the database writes into an empty folder, and its
// marker lists exactly its files.
TEST_P(WatchSite, ASiteUpdatedBatchByBatchIsTheOneExportWritesFromScratch) {
    for (const std::string view : {"dashboard", "all"}) {
        SCOPED_TRACE(view);
        TempFolder work;
        const QString database = NewDatabase(GetParam(), work, "stats-" + view);
        const std::string all = GeneratedLog(false, false, false, 2400, 21);
        const std::size_t first = all.find('\n', all.size() / 3) + 1;
        const std::size_t second = all.find('\n', 2 * all.size() / 3) + 1;
        WriteFile(work.Path("a.log"), all.substr(0, first));
        WatchProcess watch(work.Path(""),
                           {"a.log", "b.log", "--db", database, "--interval", "0.2", "--site",
                            "site", "--view", QString::fromStdString(view)});
        const std::string site = work.Path("site"), scratch = work.Path("reference");
        const auto published = [&](std::size_t publishes) {
            return BecomesTheDatabasesSite(watch, publishes, database, view, site, scratch);
        };
        ASSERT_TRUE(published(1)) << watch.Messages();

        AppendFile(work.Path("a.log"), all.substr(first, second - first));
        EXPECT_TRUE(published(2)) << watch.Messages();
        WriteFile(work.Path("b.log"), GeneratedLog(false, false, false, 900, 22));
        EXPECT_TRUE(published(3)) << watch.Messages();
        AppendFile(work.Path("a.log"), all.substr(second));
        fs::rename(work.Path("a.log"), work.Path("a.log.1"));
        WriteFile(work.Path("a.log"), GeneratedLog(false, false, false, 700, 23));
        EXPECT_TRUE(published(4)) << watch.Messages();
        EXPECT_EQ(watch.Stop(), 0);

        EXPECT_EQ(watch.Count("published the site in site: all "), 1u) << watch.Messages();
        EXPECT_GE(watch.Count(" files written, "), 3u) << "updated, not replaced";
        std::set<std::string> files;
        for (const auto& [file, state] : FilesOf(site))
            files.insert(file);
        files.erase(".qla-site");
        EXPECT_EQ(ListedIn(site), files);
        EXPECT_FALSE(fs::exists(work.Path("site.qla-new")));
    }
}

// A player erased while watch runs leaves its site at the next batch, his name in the others'
// chats too: the chats watch kept from the publish before are read again once rewritten.
TEST_P(WatchSite, AnErasedPlayerLeavesTheSiteAtTheNextBatch) {
    const auto chat = [](const std::string& name, const std::string& text) {
        return "[skipnotify]" + name + "^7: ^2" + text + "\n";
    };
    WriteFile(folder_.Path("a.log"), GeneratedLog(false, false, true, 1500, 26) +
                                         chat("Keeper", "hello all") + chat("Other", "gg Keeper"));
    WatchProcess watch(folder_.Path(""), {"a.log", "--db", database_, "--interval", "0.2", "--site",
                                          "site", "--view", "dashboard"});
    const std::string site = folder_.Path("site");
    ASSERT_TRUE(WaitFor([&] { return watch.Count("published the site") == 1; }))
        << watch.Messages();
    ASSERT_NE(FolderContents(site).find("gg Keeper"), std::string::npos);

    const QlaRun erased = Qla({"erase-player", "--db", database_, "Keeper"});
    ASSERT_EQ(erased.status, 0) << erased.err;
    AppendFile(folder_.Path("a.log"), chat("Other", "anyone there?"));
    EXPECT_TRUE(
        BecomesTheDatabasesSite(watch, 2, database_, "dashboard", site, folder_.Path("reference")))
        << watch.Messages();
    EXPECT_EQ(watch.Stop(), 0);
    const std::string published = FolderContents(site);
    EXPECT_NE(published.find("anyone there?"), std::string::npos);
    EXPECT_EQ(published.find("Keeper"), std::string::npos);
}

// A burst in one log rewrites its pages and the overview; the pages of the other log's players,
// the style sheet and the script keep their bytes, inode and time; the line tells the counts.
TEST_P(WatchSite, ABatchRewritesOnlyTheFilesWhoseBytesChanged) {
    const std::string all = GeneratedLog(false, false, false, 3000, 24);
    const std::size_t cut = all.find('\n', 2 * all.size() / 3) + 1;
    WriteFile(folder_.Path("server.log"), all.substr(0, cut));
    WriteFile(folder_.Path("other.log"), GeneratedLog(false, false, false, 2000, 25));
    WatchProcess watch(folder_.Path(""),
                       {"server.log", "other.log", "--db", database_, "--interval", "0.2", "--site",
                        "site", "--view", "dashboard"});
    ASSERT_TRUE(WaitFor([&] { return watch.Count("published the site") == 1; }))
        << watch.Messages();
    const auto before = FilesOf(folder_.Path("site"));

    AppendFile(folder_.Path("server.log"), all.substr(cut));
    ASSERT_TRUE(WaitFor([&] { return watch.Count("published the site") == 2; }))
        << watch.Messages();
    EXPECT_EQ(watch.Stop(), 0);
    const auto after = FilesOf(folder_.Path("site"));

    std::size_t written = 0, removed = 0, untouchedPlayerPages = 0;
    for (const auto& [file, now] : after) {
        const auto old = before.find(file);
        if (old != before.end() && old->second.Bytes == now.Bytes) {
            EXPECT_EQ(now.Inode, old->second.Inode) << file << " was written again";
            EXPECT_EQ(now.ModifiedNanoseconds, old->second.ModifiedNanoseconds) << file;
            untouchedPlayerPages += file.starts_with("players/") ? 1 : 0;
        } else if (file != ".qla-site") {
            ++written;
        }
    }
    for (const auto& [file, old] : before)
        removed += after.contains(file) ? 0 : 1;
    ASSERT_TRUE(after.contains("index.html"));
    EXPECT_NE(after.at("index.html").Bytes, before.at("index.html").Bytes);
    EXPECT_NE(after.at("index.html").Inode, before.at("index.html").Inode);
    EXPECT_EQ(after.at("site.css").Inode, before.at("site.css").Inode);
    EXPECT_GT(untouchedPlayerPages, 0u) << "the other log's players keep their pages";
    EXPECT_LT(written + 1, after.size()) << "not the whole site";
    EXPECT_EQ(watch.Count("published the site in site: " + std::to_string(written) +
                          " files written, " + std::to_string(removed) + " removed"),
              1u)
        << watch.Messages();
    EXPECT_TRUE(FolderContents(folder_.Path("site")) ==
                Export(database_, "dashboard", folder_.Path("reference")));
}

// A log forgotten while watch runs takes its players' pages with it at the next publish; a file
// someone dropped into the site meanwhile holds that publish and stays, and once it is gone the
// stale pages go.
TEST_P(WatchSite, StalePagesAreRemovedAndADroppedFileIsKept) {
    const std::string all = GeneratedLog(false, false, false, 2000, 26);
    const std::size_t cut = all.find('\n', all.size() / 2) + 1;
    WriteFile(folder_.Path("server.log"), all.substr(0, cut));
    WriteFile(folder_.Path("old.log"), GeneratedLog(false, false, false, 2000, 27));
    ASSERT_EQ(Qla({"import", folder_.QPath("old.log"), "--db", database_}).status, 0);
    WatchProcess watch(folder_.Path(""), {"server.log", "--db", database_, "--interval", "0.2",
                                          "--site", "site", "--view", "dashboard"});
    ASSERT_TRUE(WaitFor([&] { return watch.Count("published the site") == 1; }))
        << watch.Messages();
    const auto before = FilesOf(folder_.Path("site"));

    const QlaRun logs = Qla({"logs", "--db", database_});
    ASSERT_EQ(logs.status, 0) << logs.err;
    const std::size_t line = logs.out.rfind('\n', logs.out.find("old.log")) + 1;
    const QString id =
        QString::fromStdString(logs.out.substr(line, logs.out.find('\t', line) - line));
    ASSERT_EQ(Qla({"forget", "--db", database_, id}).status, 0);
    WriteFile(folder_.Path("site/players/notes.html"), "mine\n");
    AppendFile(folder_.Path("server.log"), all.substr(cut));
    EXPECT_TRUE(WaitFor([&] { return watch.Count("site/players/notes.html is not a file") == 1; }))
        << watch.Messages();
    EXPECT_EQ(FilesOf(folder_.Path("site")).size(), before.size() + 1) << "nothing removed yet";

    fs::remove(folder_.Path("site/players/notes.html"));
    ASSERT_TRUE(WaitFor([&] { return watch.Count("published the site") == 2; }))
        << watch.Messages();
    EXPECT_EQ(watch.Stop(), 0);
    const auto after = FilesOf(folder_.Path("site"));
    std::size_t gone = 0;
    for (const auto& [file, state] : before)
        gone += after.contains(file) ? 0 : 1;
    EXPECT_GT(gone, 0u) << "the forgotten log's players had pages";
    EXPECT_EQ(watch.Count(" files written, " + std::to_string(gone) + " removed"), 1u)
        << watch.Messages();
    EXPECT_TRUE(FolderContents(folder_.Path("site")) ==
                Export(database_, "dashboard", folder_.Path("reference")));
}

INSTANTIATE_TEST_SUITE_P(Engines, WatchSite, kEngines,
                         [](const auto& info) { return EngineName(info.param); });

} // namespace
} // namespace qla::dbtest
