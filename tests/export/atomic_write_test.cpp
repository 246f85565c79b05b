// What a writer does to the name it writes: it replaces a regular file whole or not at all, and
// refuses names that are not regular files and the log itself, leaving their targets untouched
// and no temporary file behind.
#include "analysis/analysis.h"
#include "export/atomic_file.h"
#include "export/export_views.h"
#include "test_store.h"

#include "support/scratch_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/stat.h>
#include <unistd.h>

namespace qla {
namespace {

namespace fs = std::filesystem;

std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void Write(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// Names in `dir` that a writer left behind by mistake.
std::vector<std::string> TempFilesIn(const fs::path& dir) {
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(dir))
        if (entry.path().filename().string().starts_with(".qla-"))
            found.push_back(entry.path().filename().string());
    return found;
}

using Writer = std::function<ExportResult(const AnalysisStore&, const std::string&)>;

// A view written through an export request into `path`, as qla and the window write it.
Writer Through(ExportView view, ExportFormat format) {
    return [view, format](const AnalysisStore& store, const std::string& path) {
        ExportRequest request = RequestFor(view, format, {});
        request.Path = path;
        request.GameTitle = "T";
        request.Junk.LogDateText = "d";
        return RunExport(store, request).File;
    };
}

const std::pair<const char*, Writer> kWriters[] = {
    {"standard html", Through(ExportView::Standard, ExportFormat::Html)},
    {"voice text", Through(ExportView::VoiceChat, ExportFormat::Text)},
    {"junk html", Through(ExportView::Junk, ExportFormat::Html)},
    {"xml", Through(ExportView::Standard, ExportFormat::Xml)},
};

test::TestStore SmallStore() {
    test::TestStore data;
    data.Kill("Bob", "Al", "MP40");
    data.Chat(true, "Bob", true, "here", "hi");
    data.Other("junk");
    return data;
}

TEST(AtomicWriteTest, NamesThatAreNotRegularFilesAreRefusedAndTheirTargetsKept) {
    const test::TestStore data = SmallStore();
    const fs::path dir = test::ScratchDir();
    const fs::path target = dir / "target.txt";
    Write(target, "precious");
    fs::create_symlink(target, dir / "link.html");
    fs::create_symlink(dir / "absent.txt", dir / "dangling.html");
    ASSERT_EQ(::mkfifo((dir / "fifo.html").c_str(), 0600), 0);
    fs::create_directory(dir / "folder.html");
    const std::pair<const char*, std::string> cases[] = {
        {"link.html", "a symbolic link"},
        {"dangling.html", "a symbolic link"},
        {"fifo.html", "a named pipe"}, // refused, so nothing waits for a reader
        {"folder.html", "a folder"},
    };
    for (const auto& [name, kind] : cases) {
        for (const auto& [writer, write] : kWriters) {
            EXPECT_EQ(write(data.Store, (dir / name).string()).Error,
                      "Not written: " + kind +
                          " of that name exists, and only regular files are replaced")
                << name << ", " << writer;
        }
    }
    EXPECT_EQ(Read(target), "precious");
    EXPECT_FALSE(fs::exists(dir / "absent.txt"));
    EXPECT_TRUE(fs::is_symlink(dir / "link.html"));
    EXPECT_TRUE(fs::is_fifo(dir / "fifo.html"));
    // A refused page gets no style sheet beside it.
    EXPECT_FALSE(fs::exists(dir / "style.css"));
    EXPECT_EQ(TempFilesIn(dir), std::vector<std::string>{});
}

TEST(AtomicWriteTest, ReplacingAHardLinkedPageLeavesItsOtherNameAlone) {
    const test::TestStore data = SmallStore();
    const fs::path dir = test::ScratchDir();
    Write(dir / "page.html", "old page");
    fs::create_hard_link(dir / "page.html", dir / "other.html");
    ASSERT_EQ(::chmod((dir / "page.html").c_str(), 0640), 0);
    for (const auto& [writer, write] : kWriters) {
        ASSERT_EQ(write(data.Store, (dir / "page.html").string()).Error, "") << writer;
        EXPECT_NE(Read(dir / "page.html"), "old page") << writer;
        EXPECT_EQ(Read(dir / "other.html"), "old page") << writer;
    }
    // The replaced page keeps the permissions it had.
    struct stat info {};
    ASSERT_EQ(::stat((dir / "page.html").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(TempFilesIn(dir), std::vector<std::string>{});
}

TEST(AtomicWriteTest, TheLogIsNeverReplacedUnderAnyOfItsNames) {
    const fs::path dir = test::ScratchDir();
    const std::string log = "[skipnotify]Bob was killed by Al's MP40\r\n";
    Write(dir / "game.log", log);
    fs::create_hard_link(dir / "game.log", dir / "same.log");
    fs::create_directory(dir / "sub");
    AnalysisStore store;
    ASSERT_TRUE(OpenLogFile(store, (dir / "game.log").string()).Opened);
    AnalyzeLog(store, LogLanguage::English);
    for (const char* name : {"game.log", "same.log", "sub/../game.log"}) {
        for (const auto& [writer, write] : kWriters) {
            EXPECT_EQ(write(store, (dir / name).string()).Error,
                      "Not written: that file is the log being analysed")
                << name << ", " << writer;
        }
    }
    EXPECT_EQ(Read(dir / "game.log"), log);
    // Another file is written as usual.
    EXPECT_EQ(std::get<1>(kWriters[0])(store, (dir / "out.html").string()).Error, "");
    EXPECT_EQ(TempFilesIn(dir), std::vector<std::string>{});
}

TEST(AtomicWriteTest, AFolderThatCannotTakeTheTemporaryFileFailsWithItsError) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    const test::TestStore data = SmallStore();
    const fs::path dir = test::ScratchDir();
    Write(dir / "page.html", "old page");
    fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
    const ExportResult result = std::get<1>(kWriters[0])(data.Store, (dir / "page.html").string());
    fs::permissions(dir, fs::perms::owner_all);
    EXPECT_EQ(result.Error, "Error - 13 - Permission denied\r\nerrorcode: 5");
    EXPECT_EQ(Read(dir / "page.html"), "old page");
}

// A free name gets an unnamed file that is linked only when complete: the folder shows nothing
// while it is written, and a file of the name that appears meanwhile is replaced or kept as
// asked, or refused when it is not a regular file.
TEST(AtomicFileTest, AFreeNameShowsNothingUntilTheWholeFileIsThere) {
    const fs::path dir = test::ScratchDir();
    const std::string page = (dir / "page.html").string();
    AtomicFile file;
    ASSERT_TRUE(file.Open(page, std::nullopt));
    ASSERT_TRUE(file.Write("<p>whole</p>"));
    EXPECT_TRUE(fs::is_empty(dir));
    ASSERT_TRUE(file.Commit(false));
    EXPECT_EQ(Read(page), "<p>whole</p>");
    EXPECT_EQ(TempFilesIn(dir), std::vector<std::string>{});

    const std::string gone = (dir / "never.html").string();
    ASSERT_TRUE(file.Open(gone, std::nullopt));
    ASSERT_TRUE(file.Write("cut"));
    file.Discard();
    EXPECT_FALSE(fs::exists(gone));

    for (const WhenNameTaken when : {WhenNameTaken::Replace, WhenNameTaken::Keep}) {
        const std::string raced = (dir / "raced.html").string();
        fs::remove(raced);
        ASSERT_TRUE(file.Open(raced, std::nullopt));
        ASSERT_TRUE(file.Write("new"));
        Write(raced, "other run");
        ASSERT_TRUE(file.Commit(true, when));
        EXPECT_EQ(Read(raced), when == WhenNameTaken::Replace ? "new" : "other run");
        EXPECT_EQ(TempFilesIn(dir), std::vector<std::string>{});
    }

    const std::string link = (dir / "link.html").string();
    Write(dir / "target", "target");
    ASSERT_TRUE(file.Open(link, std::nullopt));
    ASSERT_TRUE(file.Write("new"));
    fs::create_symlink(dir / "target", link);
    EXPECT_FALSE(file.Commit(false));
    EXPECT_NE(file.Refusal().find("symbolic link"), std::string::npos) << file.Refusal();
    EXPECT_EQ(Read(dir / "target"), "target");
    EXPECT_EQ(TempFilesIn(dir), std::vector<std::string>{});
}

// Only the names a writer gives its temporaries say whose they are; a page or a look-alike never
// does, so a sweep of dead runs' files cannot take one.
TEST(AtomicFileTest, OnlyATemporaryNameTellsItsProcess) {
    EXPECT_EQ(TemporaryFileOwner(".qla-4242-1a2b3c-0.tmp"), 4242);
    EXPECT_EQ(TemporaryFileOwner(".qla-7-0-12.tmp"), 7);
    for (const char* other :
         {"page.html", ".qla-site", ".qla-4242-1a2b3c-0.tmp.html", "qla-4242-1a2b3c-0.tmp",
          ".qla-42x-1a-0.tmp", ".qla-42-1A-0.tmp", ".qla-42--0.tmp", ".qla-42-1a-.tmp",
          ".qla-42-1a.tmp", ".qla--1a-0.tmp", ".qla-12345678901-1a-0.tmp"})
        EXPECT_EQ(TemporaryFileOwner(other), std::nullopt) << other;
}

} // namespace
} // namespace qla
