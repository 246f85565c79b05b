// Writers that cannot create or fill their file report the platform's error with the stage they
// were in, commit nothing, and never throw or print. Every writer of the views' table runs into a
// sink that fails as a disk does; the path sink is checked on a real disk and a real device.
#include "export/export_all.h"
#include "export/export_views.h"
#include "export/memory_sink.h"
#include "test_store.h"

#include "support/child_process.h"
#include "support/failing_sink.h"
#include "support/scratch_dir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>

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

    ExportRequest Request() const {
        ExportRequest request = RequestFor(view, format, {});
        request.GameTitle = "T";
        request.PlayerDetails.Player = 1;
        request.PlayerDetails.Order = PlayerDetailOrder::ItemNames;
        request.Junk.LogDateText = "d";
        return request;
    }
    ExportResult write(const AnalysisStore& store, const std::string& path) const {
        ExportRequest request = Request();
        request.Path = path;
        return RunExport(store, request).File;
    }
    ExportResult write(const AnalysisStore& store, Sink& sink) const {
        return RunExport({store, StoreLines(store)}, Request(), sink).File;
    }
};

using enum ExportView;
using enum ExportFormat;

// The writers of one file, whose stages the paths on disk report too.
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

// The data formats: one stage throughout.
const WriterCase kDataWriters[] = {
    {"standard json", Standard, Json, 0, 0},
    {"player json", PlayerDetails, Json, 0, 0},
    {"weapon json", Weapons, Json, 0, 0},
    {"voice json", VoiceChat, Json, 0, 0},
    {"text chat json", TextChat, Json, 0, 0},
    {"junk json", Junk, Json, 0, 0},
    {"dashboard json", Dashboard, Json, 0, 0},
    {"standard csv", Standard, Csv, 0, 0},
    {"player csv", PlayerDetails, Csv, 0, 0},
    {"weapon csv", Weapons, Csv, 0, 0},
    {"voice csv", VoiceChat, Csv, 0, 0},
    {"text chat csv", TextChat, Csv, 0, 0},
    {"junk csv", Junk, Csv, 0, 0},
};

std::vector<WriterCase> EveryFileWriter() {
    std::vector<WriterCase> all(std::begin(kWriters), std::end(kWriters));
    all.insert(all.end(), std::begin(kDataWriters), std::end(kDataWriters));
    return all;
}

std::string NoSpace(int stage) {
    return "Error - 28 - No space left on device\r\nerrorcode: " + std::to_string(stage);
}

test::TestStore SmallStore() {
    test::TestStore data;
    data.Kill("Bob", "Al", "MP40");
    data.Chat(true, "Bob", true, "here", "hi");
    data.Chat(false, "Al", false, "", "yo");
    data.Other("junk");
    return data;
}

// A new writer in the table needs its failure case here.
TEST(WriterFailureTest, EveryWriterOfOneFileHasACase) {
    std::set<std::pair<ExportView, ExportFormat>> cased;
    for (const WriterCase& c : EveryFileWriter())
        cased.insert({c.view, c.format});
    for (const ExportViewInfo& view : ExportViews())
        for (const ViewWriter& writer : view.Writers)
            if (!WritesFolder(view.View, writer.Format)) {
                EXPECT_TRUE(cased.contains({view.View, writer.Format}))
                    << view.Name << " " << InfoOf(writer.Format).Name;
            }
}

TEST(WriterFailureTest, FileThatCannotBeCreated) {
    const test::TestStore data = SmallStore();
    for (const WriterCase& c : EveryFileWriter()) {
        test::FailingSink sink = test::FailingSink::AtCreation();
        EXPECT_EQ(c.write(data.Store, sink).Error, NoSpace(c.createStage)) << c.name;
        // An HTML page that failed puts no style sheet beside itself.
        EXPECT_EQ(sink.FilesCreated(), 1) << c.name;
        EXPECT_TRUE(sink.Committed().empty()) << c.name;
    }
}

TEST(WriterFailureTest, DiskThatFillsUp) {
    const test::TestStore data = SmallStore();
    for (const WriterCase& c : EveryFileWriter()) {
        MemorySink whole;
        ASSERT_EQ(c.write(data.Store, whole).Error, "") << c.name;
        // No room at all, and room for all but the file's last byte.
        for (const std::size_t room : {std::size_t{0}, whole.Content().size() - 1}) {
            test::FailingSink sink = test::FailingSink::After(room);
            EXPECT_EQ(c.write(data.Store, sink).Error, NoSpace(c.fillStage))
                << c.name << " room " << room;
            EXPECT_TRUE(sink.Committed().empty()) << c.name;
        }
    }
}

// A page of many rows is handed over in pieces as it is written, never built whole first: a
// chat page of a long history would not fit into memory.
TEST(WriterFailureTest, LongPagesArriveInPieces) {
    test::TestStore data;
    const std::string text(100, 'x');
    for (int k = 0; k < 8000; ++k)
        data.Chat(true, "Bob", k % 2 == 0, "here", text);
    for (const ExportFormat format : {Html, Text, Json, Csv}) {
        ExportRequest request = RequestFor(VoiceChat, format, {});
        test::FailingSink sink = test::FailingSink::After(std::size_t{1} << 30);
        ASSERT_TRUE(RunExport({data.Store, StoreLines(data.Store)}, request, sink).Ok());
        EXPECT_GT(sink.BytesTaken(), 800'000u) << InfoOf(format).Name;
        EXPECT_GT(sink.Writes(), 8) << InfoOf(format).Name;
        EXPECT_LE(sink.LargestWrite(), std::size_t{100'000}) << InfoOf(format).Name;
        EXPECT_TRUE(sink.Committed().contains(kOwnFile)) << InfoOf(format).Name;
    }
}

// The statistics site's data.json of a long history is tens of megabytes: it arrives in pieces of
// about a megabyte rather than as one text, and a disk that fills up in a later piece stops the
// site at that file, which is never committed.
TEST(WriterFailureTest, TheSitesDataArrivesInPieces) {
    test::TestStore data;
    constexpr int kPlayers = 12000;
    for (int k = 0; k < kPlayers; ++k)
        data.Kill("Player" + std::to_string(k), "Player" + std::to_string((k + 1) % kPlayers),
                  "MP40");
    const Statistics stats{data.Store, StoreLines(data.Store)};
    const ExportRequest request = RequestFor(Dashboard, Html, {});
    MemorySink whole;
    ASSERT_TRUE(RunExport(stats, request, whole).Ok());
    const std::size_t json = whole.Content("data.json").size();
    ASSERT_GT(json, std::size_t{2} << 20);
    std::size_t total = 0;
    for (const auto& [name, content] : whole.Files())
        total += content.size();

    test::FailingSink roomy = test::FailingSink::After(std::size_t{1} << 30);
    ASSERT_TRUE(RunExport(stats, request, roomy).Ok());
    EXPECT_TRUE(roomy.Committed().contains("data.json"));
    EXPECT_EQ(roomy.BytesTaken(), total);
    EXPECT_LT(roomy.LargestWrite(), json / 2);

    // data.json is the site's last file here: the disk fills up in its last megabyte.
    test::FailingSink full = test::FailingSink::After(total - (std::size_t{1} << 20));
    EXPECT_EQ(RunExport(stats, request, full).File.Error, "data.json: " + NoSpace(0));
    EXPECT_FALSE(full.Committed().contains("data.json"));
}

// The sites name the file that failed: the statistics site stops at it, Export All goes on and
// lists every page.
TEST(WriterFailureTest, SitesNameTheFailedFile) {
    const test::TestStore data = SmallStore();
    const Statistics stats{data.Store, StoreLines(data.Store)};
    test::FailingSink dashboard = test::FailingSink::AtCreation();
    EXPECT_EQ(RunExport(stats, RequestFor(Dashboard, Html, {}), dashboard).File.Error,
              "site.css: " + NoSpace(0));
    EXPECT_EQ(dashboard.FilesCreated(), 1);

    test::FailingSink full = test::FailingSink::After(0);
    const ExportOutcome all = RunExport(stats, RequestFor(AllData, Html, {}), full);
    ASSERT_EQ(all.Site.Errors.size(), static_cast<std::size_t>(CountExportAllFiles(data.Store)));
    EXPECT_EQ(all.Site.Errors[0].FileName, "style.css");
    EXPECT_EQ(all.Site.Errors[0].Error, NoSpace(0));
    EXPECT_EQ(all.Site.Errors[1].FileName, "index.html");
    EXPECT_EQ(all.Site.Errors[1].Error, NoSpace(10));
    EXPECT_EQ(all.Site.FilesWritten, 0);
    EXPECT_TRUE(full.Committed().empty());
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

// The path sink refuses a name that is not a regular file, whatever the writer.
TEST(WriterFailureTest, DevicesAreNotWrittenTo) {
    if (!fs::exists("/dev/null"))
        GTEST_SKIP() << "no /dev/null here";
    const test::TestStore data = SmallStore();
    for (const WriterCase& c : kWriters)
        EXPECT_EQ(c.write(data.Store, "/dev/null").Error,
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
        for (ExportFormat format : {Html, Text, Json, Csv}) {
            ExportRequest request = RequestFor(PlayerDetails, format, {});
            request.Path = page.string();
            request.PlayerDetails.Player = player;
            EXPECT_EQ(RunExport(data.Store, request).File.Error,
                      "Error - 22 - Invalid argument\r\nerrorcode: 0");
            test::FailingSink sink = test::FailingSink::After(1 << 20);
            EXPECT_EQ(RunExport({data.Store, StoreLines(data.Store)}, request, sink).File.Error,
                      "Error - 22 - Invalid argument\r\nerrorcode: 0");
            EXPECT_EQ(sink.FilesCreated(), 0);
        }
        EXPECT_FALSE(fs::exists(page));
    }
    EXPECT_EQ(data.Store.PlayerCount(), 2);
}

} // namespace
} // namespace qla
