// Writers that cannot create or fill their file report the platform's error with the stage they
// were in, and never throw or print. Every writer runs through an export request.
#include "export/export_views.h"
#include "test_store.h"

#include "support/child_process.h"
#include "support/scratch_dir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include <sys/resource.h>

namespace qla {
namespace {

namespace fs = std::filesystem;

struct WriterCase {
    std::string_view name;
    ExportView view;
    ExportFormat format;
    int createStage; // stage when the file cannot be created
    int fillStage;   // stage when writing into it fails

    ExportResult write(const AnalysisStore& store, const std::string& path) const {
        ExportRequest request = RequestFor(view, format, {});
        request.Path = path;
        request.GameTitle = "T";
        request.PlayerDetails.Player = 1;
        request.PlayerDetails.Order = PlayerDetailOrder::ItemNames;
        request.Junk.LogDateText = "d";
        return RunExport(store, request).File;
    }
};

using enum ExportView;
using enum ExportFormat;

const WriterCase kWriters[] = {
    {"standard text", Standard, Text, 5, 10},
    {"player text", PlayerDetails, Text, 5, 10},
    {"weapon text", Weapons, Text, 5, 5},
    {"voice text", VoiceChat, Text, 0, 0},
    {"text chat text", TextChat, Text, 0, 0},
    {"junk text", Junk, Text, 0, 0},
    {"standard html", Standard, Html, 5, 10},
    {"player html", PlayerDetails, Html, 5, 10},
    {"weapon html", Weapons, Html, 5, 25},
    {"voice html", VoiceChat, Html, 5, 5},
    {"text chat html", TextChat, Html, 5, 5},
    {"junk html", Junk, Html, 0, 0},
    {"xml", Standard, Xml, 0, 0},
};

test::TestStore SmallStore() {
    test::TestStore data;
    data.Kill("Bob", "Al", "MP40");
    data.Chat(true, "Bob", true, "here", "hi");
    data.Chat(false, "Al", false, "", "yo");
    data.Other("junk");
    return data;
}

TEST(WriterFailureTest, MissingFolder) {
    const test::TestStore data = SmallStore();
    const fs::path missing = test::ScratchDir() / "no_such_folder_for_export";
    fs::remove_all(missing);
    for (const WriterCase& c : kWriters) {
        EXPECT_EQ(c.write(data.Store, (missing / "page").string()).Error,
                  "Error - 2 - No such file or directory\r\nerrorcode: " +
                      std::to_string(c.createStage))
            << c.name;
        EXPECT_FALSE(fs::exists(missing)) << c.name;
    }
}

TEST(WriterFailureTest, FullDiskKeepsTheOldFile) {
    // A disk that fills up mid-file, made by a file-size limit in a child process: the write
    // fails with the stage it was in, and the old file is still whole.
    const test::TestStore data = SmallStore();
    const fs::path dir = test::ScratchDir();
    const fs::path page = dir / "page";
    const int status = test::RunInChild([&] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{1, 1};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
            return 2;
        int failures = 0;
        for (const WriterCase& c : kWriters) {
            { std::ofstream(page, std::ios::binary | std::ios::trunc) << "o"; }
            const std::string error = c.write(data.Store, page.string()).Error;
            const std::string expected =
                "Error - 27 - File too large\r\nerrorcode: " + std::to_string(c.fillStage);
            std::ifstream in(page, std::ios::binary);
            const std::string kept((std::istreambuf_iterator<char>(in)),
                                   std::istreambuf_iterator<char>());
            if (error != expected || kept != "o") {
                std::fprintf(stderr, "%s: %s, kept '%s'\n", std::string(c.name).c_str(),
                             error.c_str(), kept.c_str());
                ++failures;
            }
        }
        return failures == 0 ? 0 : 1;
    });
    EXPECT_EQ(status, 0);
    // Neither a temporary file nor a style sheet of a failed page is left.
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(dir))
        left.push_back(entry.path().filename().string());
    EXPECT_EQ(left, std::vector<std::string>{"page"});
}

TEST(WriterFailureTest, DevicesAreNotWrittenTo) {
    if (!fs::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full here";
    const test::TestStore data = SmallStore();
    for (const WriterCase& c : kWriters)
        EXPECT_EQ(c.write(data.Store, "/dev/full").Error,
                  "Not written: a device of that name exists, and only regular files are replaced")
            << c.name;
    EXPECT_FALSE(fs::exists("/dev/style.css"));
}

TEST(WriterFailureTest, SucceedsWithTheSameStoreInAWritableFolder) {
    const test::TestStore data = SmallStore();
    const fs::path dir = test::ScratchDir();
    for (const WriterCase& c : kWriters) {
        const fs::path page = dir / "page";
        EXPECT_EQ(c.write(data.Store, page.string()).Error, "") << c.name;
        EXPECT_GT(fs::file_size(page), 0u) << c.name;
    }
}

// A player that is not stored is refused before any file exists; no record is added.
TEST(WriterFailureTest, UnknownPlayerIndex) {
    const test::TestStore data = SmallStore();
    const fs::path page = test::ScratchDir() / "unknown_player.html";
    for (PlayerIndex player : {0, -1, 3}) {
        fs::remove(page);
        for (ExportFormat format : {Html, Text}) {
            ExportRequest request = RequestFor(PlayerDetails, format, {});
            request.Path = page.string();
            request.PlayerDetails.Player = player;
            EXPECT_EQ(RunExport(data.Store, request).File.Error,
                      "Error - 22 - Invalid argument\r\nerrorcode: 0");
        }
        EXPECT_FALSE(fs::exists(page));
    }
    EXPECT_EQ(data.Store.PlayerCount(), 2);
}

} // namespace
} // namespace qla
