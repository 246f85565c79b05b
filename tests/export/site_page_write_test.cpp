// How the statistics site writes its pages: a free name is created in place, a taken one goes
// through the careful path that keeps old files whole and refuses what it must not replace.
#include "analysis/analysis.h"
#include "export/data/whole_file.h"

#include "support/child_process.h"
#include "support/scratch_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/resource.h>

namespace qla {
namespace {

namespace fs = std::filesystem;

std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::vector<std::string> NamesIn(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(SitePageWrite, AFreeNameIsWrittenAndATakenOneReplacedWhole) {
    const fs::path dir = test::ScratchDir();
    ASSERT_EQ(WriteSitePage((dir / "new.html").string(), "fresh page", {}).Error, "");
    EXPECT_EQ(Read(dir / "new.html"), "fresh page");
    ASSERT_EQ(WriteSitePage((dir / "empty.html").string(), "", {}).Error, "");
    EXPECT_EQ(Read(dir / "empty.html"), "");

    // An existing page is never opened for writing: a hard link to it keeps the old text.
    std::ofstream(dir / "old.html", std::ios::binary) << "old page, longer than the new";
    fs::create_hard_link(dir / "old.html", dir / "other.html");
    ASSERT_EQ(WriteSitePage((dir / "old.html").string(), "new page", {}).Error, "");
    EXPECT_EQ(Read(dir / "old.html"), "new page");
    EXPECT_EQ(Read(dir / "other.html"), "old page, longer than the new");
    EXPECT_EQ(NamesIn(dir),
              (std::vector<std::string>{"empty.html", "new.html", "old.html", "other.html"}));
}

TEST(SitePageWrite, TakenNamesThatMayNotBeReplacedAreRefused) {
    const fs::path dir = test::ScratchDir();
    std::ofstream(dir / "target.txt", std::ios::binary) << "kept";
    fs::create_symlink(dir / "target.txt", dir / "link.html");
    fs::create_symlink(dir / "nowhere.txt", dir / "dangling.html");
    fs::create_directory(dir / "folder.html");
    EXPECT_EQ(WriteSitePage((dir / "link.html").string(), "x", {}).Error,
              "Not written: a symbolic link of that name exists, and only regular files are "
              "replaced");
    EXPECT_EQ(WriteSitePage((dir / "dangling.html").string(), "x", {}).Error,
              "Not written: a symbolic link of that name exists, and only regular files are "
              "replaced");
    EXPECT_FALSE(fs::exists(dir / "nowhere.txt"));
    EXPECT_EQ(WriteSitePage((dir / "folder.html").string(), "x", {}).Error,
              "Not written: a folder of that name exists, and only regular files are replaced");
    EXPECT_EQ(Read(dir / "target.txt"), "kept");

    const std::string log = "[skipnotify]Bob was killed by Al's MP40\r\n";
    std::ofstream(dir / "game.log", std::ios::binary) << log;
    AnalysisStore store;
    ASSERT_TRUE(OpenLogFile(store, (dir / "game.log").string()).Opened);
    EXPECT_EQ(WriteSitePage((dir / "game.log").string(), "x", store.LogFileIdentity).Error,
              "Not written: that file is the log being analysed");
    EXPECT_EQ(Read(dir / "game.log"), log);
}

TEST(SitePageWrite, AFailedPageIsRemovedAndReportsItsError) {
    const fs::path dir = test::ScratchDir();
    EXPECT_EQ(WriteSitePage((dir / "missing" / "p1.html").string(), "x", {}).Error,
              "Error - 2 - No such file or directory\r\nerrorcode: 0");
    // A disk that fills up mid-page, made by a file-size limit in a child process.
    const int status = test::RunInChild([&] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4, 4};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
            return 2;
        const std::string error = WriteSitePage((dir / "p1.html").string(), "too long", {}).Error;
        if (error != "Error - 27 - File too large\r\nerrorcode: 0") {
            std::fprintf(stderr, "error: %s\n", error.c_str());
            return 1;
        }
        return 0;
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(NamesIn(dir), std::vector<std::string>{});
}

} // namespace
} // namespace qla
