// Export All Data: the site of a generated log links only to files it wrote, the file count and
// progress add up, the if-exists choices hold, and unusable folders are refused up front.
#include "analysis/analysis.h"
#include "export/export_all.h"
#include "export/folder_lock.h"
#include "export/html_export.h"
#include "generator.h"
#include "test_store.h"

#include "support/scratch_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <thread>

#include <sys/stat.h>

namespace qla {
namespace {

namespace fs = std::filesystem;

// A generated English log with hostile names, analysed.
void GeneratedStore(AnalysisStore& store, std::uint64_t players) {
    loggen::Options options;
    options.players = players;
    options.lines = 4000;
    options.hostile = true;
    options.seed = 7;
    std::ostringstream log;
    ASSERT_TRUE(loggen::generateLog(options, log));
    store.LogLines = LogLineList::FromBytes(log.str());
    AnalyzeLog(store, LogLanguage::English);
}

fs::path FreshDir(const std::string& name) {
    const fs::path dir = test::ScratchDir(name);
    return dir;
}

std::set<std::string> FilesIn(const fs::path& dir) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        names.insert(entry.path().filename().string());
    return names;
}

TEST(ExportAllTest, EveryLinkOfAGeneratedSiteResolves) {
    AnalysisStore store;
    GeneratedStore(store, 40);
    ASSERT_GT(store.PlayerCount(), 10);
    const fs::path dir = FreshDir("site_links");

    std::vector<std::string> progressNames;
    ExportAllSettings settings;
    settings.GameTitle = "^1<Cup> & co";
    settings.Progress = [&](const std::string& name, std::int64_t number, std::int64_t count) {
        progressNames.push_back(name);
        EXPECT_EQ(number, static_cast<std::int64_t>(progressNames.size()));
        EXPECT_EQ(count, CountExportAllFiles(store));
    };
    const ExportAllResult result = ExportAllData(store, dir.string(), settings);
    ASSERT_TRUE(result.Ok()) << result.Refused;

    const std::int64_t count = 2 * store.PlayerCount() + 11;
    EXPECT_EQ(CountExportAllFiles(store), count);
    EXPECT_EQ(result.FilesDone, count);
    const std::set<std::string> files = FilesIn(dir);
    EXPECT_EQ(static_cast<std::int64_t>(files.size()), count);
    ASSERT_EQ(static_cast<std::int64_t>(progressNames.size()), count);
    EXPECT_EQ(progressNames[0], "style.css");
    EXPECT_EQ(progressNames[1], "index.html");
    EXPECT_EQ(progressNames[6], "player001a.html");
    EXPECT_EQ(progressNames[7], "player001b.html");
    EXPECT_EQ(progressNames.back(), "weapon5.html");
    EXPECT_EQ(std::set<std::string>(progressNames.begin(), progressNames.end()), files);

    const std::regex link("href='([^']*)'");
    std::set<std::string> linked;
    for (const std::string& name : files) {
        if (name == "style.css")
            continue;
        const std::string page = test::ReadFile((dir / name).string());
        EXPECT_EQ(page.find("<script"), std::string::npos) << name;
        EXPECT_EQ(page.rfind("<html><head><meta charset='utf-8'><title>", 0), 0u) << name;
        for (auto it = std::sregex_iterator(page.begin(), page.end(), link);
             it != std::sregex_iterator(); ++it) {
            const std::string target = (*it)[1];
            if (target.rfind("https://", 0) == 0)
                continue;
            linked.insert(target);
            EXPECT_TRUE(files.count(target)) << name << " links to " << target;
        }
    }
    // Every index page links every player's "a" page, and the five pages of each table.
    for (PlayerIndex p = 1; p <= store.PlayerCount(); ++p)
        EXPECT_TRUE(linked.count(PlayerPageName(p) + "a.html")) << p;
    for (const char* page : {"index.html", "index5.html", "weapon1.html", "weapon5.html"})
        EXPECT_TRUE(linked.count(page)) << page;
}

TEST(ExportAllTest, EmptyStoreWritesElevenCompleteFiles) {
    const AnalysisStore store;
    const fs::path dir = FreshDir("site_empty");
    const ExportAllResult result = ExportAllData(store, dir.string(), {});
    EXPECT_TRUE(result.Ok());
    EXPECT_EQ(CountExportAllFiles(store), 11);
    EXPECT_EQ(FilesIn(dir).size(), 11u);
    const std::string weapons = test::ReadFile((dir / "weapon3.html").string());
    EXPECT_NE(weapons.find("<td class='nr'>0%</td>"), std::string::npos);
    EXPECT_NE(weapons.find("Back to index"), std::string::npos);
}

class ExistingFilesTest : public testing::Test {
  protected:
    void SetUp() override {
        data_.Kill("Bob", "Al", "MP40");
        dir_ = FreshDir("site_existing");
        ASSERT_TRUE(ExportAllData(data_.Store, dir_.string(), {}).Ok());
        Mark("style.css");
        Mark("index.html");
        Mark("player002b.html");
    }
    void Mark(const char* name) { std::ofstream(dir_ / name, std::ios::trunc) << "mine"; }
    bool Kept(const char* name) { return test::ReadFile((dir_ / name).string()) == "mine"; }

    test::TestStore data_;
    fs::path dir_;
};

TEST_F(ExistingFilesTest, OverwriteReplacesPagesButKeepsTheStyleSheet) {
    const ExportAllResult result = ExportAllData(data_.Store, dir_.string(), {});
    EXPECT_TRUE(result.Ok());
    EXPECT_TRUE(Kept("style.css"));
    EXPECT_FALSE(Kept("index.html"));
    EXPECT_FALSE(Kept("player002b.html"));
}

TEST_F(ExistingFilesTest, SkipKeepsEveryExistingPageAndCountsIt) {
    fs::remove(dir_ / "weapon2.html");
    ExportAllSettings settings;
    settings.IfExists = IfFileExists::Skip;
    std::int64_t lastNumber = 0;
    settings.Progress = [&](const std::string&, std::int64_t number, std::int64_t) {
        lastNumber = number;
    };
    const ExportAllResult result = ExportAllData(data_.Store, dir_.string(), settings);
    EXPECT_TRUE(result.Ok());
    EXPECT_EQ(result.FilesDone, 15);
    EXPECT_EQ(lastNumber, 15);
    EXPECT_TRUE(Kept("index.html"));
    EXPECT_TRUE(Kept("player002b.html"));
    EXPECT_TRUE(fs::exists(dir_ / "weapon2.html"));
}

TEST_F(ExistingFilesTest, AskIsPerPageAndStopEndsTheRun) {
    std::vector<std::string> asked;
    ExportAllSettings settings;
    settings.IfExists = IfFileExists::Ask;
    settings.Ask = [&](const std::string& name) {
        asked.push_back(name);
        if (name == "index.html")
            return ExistingFileAnswer::Keep;
        if (name == "index2.html")
            return ExistingFileAnswer::Replace;
        if (name == "player001b.html")
            return ExistingFileAnswer::Stop;
        return ExistingFileAnswer::Keep;
    };
    Mark("index2.html");
    Mark("player002a.html");
    const ExportAllResult result = ExportAllData(data_.Store, dir_.string(), settings);
    EXPECT_TRUE(result.Stopped);
    EXPECT_EQ(result.FilesDone, 7); // style sheet, five index pages, player001a
    const std::vector<std::string> expected{"index.html",     "index2.html", "index3.html",
                                            "index4.html",    "index5.html", "player001a.html",
                                            "player001b.html"};
    EXPECT_EQ(asked, expected); // never asked about the style sheet
    EXPECT_TRUE(Kept("style.css"));
    EXPECT_TRUE(Kept("index.html"));
    EXPECT_FALSE(Kept("index2.html"));
    EXPECT_TRUE(Kept("player002a.html")); // after the stop nothing is touched
}

TEST(ExportAllTest, ACancelledRunKeepsWhatItWroteAndCountsIt) {
    test::TestStore data;
    data.Kill("Bob", "Al", "MP40");
    const fs::path dir = FreshDir("site_cancelled");
    std::int64_t started = 0;
    ExportAllSettings settings;
    settings.Progress = [&](const std::string&, std::int64_t number, std::int64_t) {
        started = number;
    };
    settings.Cancelled = [&] { return started == 4; }; // pressed while the fourth is written
    const ExportAllResult result = ExportAllData(data.Store, dir.string(), settings);
    EXPECT_TRUE(result.Cancelled);
    EXPECT_FALSE(result.Stopped);
    EXPECT_EQ(result.FilesWritten, 4);
    EXPECT_EQ(result.FilesDone, 4);
    EXPECT_EQ(FilesIn(dir).size(), 4u); // style sheet and three index pages, each complete
    EXPECT_NE(test::ReadFile((dir / "index3.html").string()).find("</html>"), std::string::npos);
    // A second run over it: the style sheet there is kept, so it is not counted as written.
    settings.Cancelled = {};
    EXPECT_EQ(ExportAllData(data.Store, dir.string(), settings).FilesWritten,
              CountExportAllFiles(data.Store) - 1);
}

TEST(ExportAllTest, UnusableFoldersAreRefusedBeforeAnythingIsWritten) {
    test::TestStore data;
    data.Kill("Bob", "Al", "MP40");
    const fs::path dir = FreshDir("site_refused");
    std::ofstream(dir / "plain-file") << "x";
    struct Case {
        std::string folder;
        std::string error;
    } cases[] = {
        {(dir / "missing").string(), "Error - 2 - No such file or directory\r\nerrorcode: 0"},
        {(dir / "plain-file").string(), "Error - 20 - Not a directory\r\nerrorcode: 0"},
        {"", "Error - 2 - No such file or directory\r\nerrorcode: 0"},
    };
    for (const Case& c : cases) {
        bool progressed = false;
        ExportAllSettings settings;
        settings.Progress = [&](const std::string&, std::int64_t, std::int64_t) {
            progressed = true;
        };
        const ExportAllResult result = ExportAllData(data.Store, c.folder, settings);
        EXPECT_EQ(result.Refused, c.error) << c.folder;
        EXPECT_FALSE(result.Ok());
        EXPECT_FALSE(progressed);
        EXPECT_EQ(result.FilesDone, 0);
    }
    EXPECT_EQ(FilesIn(dir).size(), 1u);
}

TEST(ExportAllTest, PagesNamedByLinksPipesOrLogsFailAloneAndTheOthersAreWritten) {
    AnalysisStore store;
    GeneratedStore(store, 5);
    const fs::path dir = FreshDir("site_special");
    const fs::path outside = FreshDir("site_special_outside");
    std::ofstream(outside / "target") << "precious";
    std::ofstream(outside / "other") << "old page";
    fs::create_symlink(outside / "target", dir / "player001a.html");
    fs::create_symlink(outside / "absent", dir / "index2.html");
    fs::create_hard_link(outside / "other", dir / "player001b.html");
    ASSERT_EQ(::mkfifo((dir / "weapon3.html").c_str(), 0600), 0); // would block an open for ever
    const ExportAllResult result = ExportAllData(store, dir.string(), {});

    const std::string refusal = " of that name exists, and only regular files are replaced";
    ASSERT_EQ(result.Errors.size(), 3u);
    EXPECT_EQ(result.Errors[0].FileName, "index2.html");
    EXPECT_EQ(result.Errors[0].Error, "Not written: a symbolic link" + refusal);
    EXPECT_EQ(result.Errors[1].FileName, "player001a.html");
    EXPECT_EQ(result.Errors[1].Error, "Not written: a symbolic link" + refusal);
    EXPECT_EQ(result.Errors[2].FileName, "weapon3.html");
    EXPECT_EQ(result.Errors[2].Error, "Not written: a named pipe" + refusal);
    EXPECT_EQ(result.FilesDone, CountExportAllFiles(store));

    EXPECT_EQ(test::ReadFile((outside / "target").string()), "precious");
    EXPECT_FALSE(fs::exists(outside / "absent"));
    EXPECT_EQ(test::ReadFile((outside / "other").string()), "old page");
    const std::string page = test::ReadFile((dir / "player001b.html").string());
    EXPECT_TRUE(page.ends_with("</body></html>\r\n"));
    for (const std::string& name : FilesIn(dir))
        EXPECT_FALSE(name.starts_with(".qla-")) << name;
    EXPECT_EQ(FilesIn(dir).size(), static_cast<std::size_t>(CountExportAllFiles(store)));
}

TEST(ExportAllTest, OneRunPerFolderAtATime) {
    AnalysisStore store;
    GeneratedStore(store, 30);
    const fs::path dir = FreshDir("site_lock");
    {
        std::string error;
        const auto held = FolderLock::Take(dir.string(), error);
        ASSERT_TRUE(held) << error;
        const ExportAllResult refused = ExportAllData(store, dir.string(), {});
        EXPECT_EQ(refused.Refused,
                  "Another export is writing into this folder; try again when it has finished");
        EXPECT_EQ(refused.FilesDone, 0);
        EXPECT_EQ(FilesIn(dir), std::set<std::string>{FolderLock::kFileName});
    }
    // Two runs started together: each either writes the whole site or is refused whole, and
    // the pages are those of one run, never a mix.
    const fs::path reference = FreshDir("site_lock_reference");
    ASSERT_TRUE(ExportAllData(store, reference.string(), {}).Ok());
    for (int round = 0; round < 5; ++round) {
        ExportAllResult results[2];
        std::thread other([&] { results[1] = ExportAllData(store, dir.string(), {}); });
        results[0] = ExportAllData(store, dir.string(), {});
        other.join();
        int refused = 0;
        for (const ExportAllResult& result : results) {
            EXPECT_TRUE(result.Errors.empty());
            if (!result.Refused.empty()) {
                EXPECT_EQ(result.Refused, "Another export is writing into this folder; try "
                                          "again when it has finished");
                ++refused;
            }
        }
        EXPECT_LT(refused, 2);
        EXPECT_EQ(FilesIn(dir), FilesIn(reference));
        for (const std::string& name : FilesIn(reference))
            EXPECT_EQ(test::ReadFile((dir / name).string()),
                      test::ReadFile((reference / name).string()))
                << name;
    }
}

} // namespace
} // namespace qla
