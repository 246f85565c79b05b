// The sinks: every writer puts the same bytes into memory as onto the disk, a site's pages land
// under their names, and each sink keeps its promises about names (a page's style sheet beside
// it, an existing one kept, a refused handover reported, nothing left of an uncommitted file).
#include "export/dashboard/dashboard_export.h"
#include "export/dashboard/player_address.h"
#include "export/disk_sinks.h"
#include "export/export_all.h"
#include "export/export_views.h"
#include "export/memory_sink.h"
#include "test_store.h"

#include "support/scratch_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

namespace qla {
namespace {

namespace fs = std::filesystem;

test::TestStore SmallStore() {
    test::TestStore data;
    data.Kill("Bob", "^1Al", "MP40");
    data.Kill("Al", "Bob", "Sten");
    data.Teamkill("Bob", "Cid");
    data.Chat(true, "Bob", true, "here", "hi <there>");
    data.Chat(false, "^1Al", false, "", "yo & co");
    data.Other("junk line");
    return data;
}

// Every regular file below `folder` by its path there, the export's lock and marker aside.
std::map<std::string, std::string> FilesIn(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        const std::string name = fs::relative(entry.path(), folder).generic_string();
        if (entry.is_regular_file() && !entry.path().filename().string().starts_with(".qla"))
            files[name] = test::ReadFile(entry.path().string());
    }
    return files;
}

TEST(SinkTest, EveryFileWriterPutsTheSameBytesIntoMemoryAsOntoTheDisk) {
    const test::TestStore data = SmallStore();
    const Statistics stats{data.Store, StoreLines(data.Store)};
    for (const ExportViewInfo& view : ExportViews()) {
        for (const ViewWriter& writer : view.Writers) {
            if (WritesFolder(view.View, writer.Format))
                continue;
            const std::string what =
                std::string(view.Name) + " " + std::string(InfoOf(writer.Format).Name);
            const fs::path dir = test::ScratchDir(view.Name);
            ExportRequest request = RequestFor(view.View, writer.Format, {});
            request.GameTitle = "^3Game";
            request.PlayerDetails.Player = 1;
            request.Path = (dir / "out").string();
            ASSERT_TRUE(RunExport(stats, request).Ok()) << what;
            MemorySink memory;
            ASSERT_TRUE(RunExport(stats, request, memory).Ok()) << what;

            std::map<std::string, std::string> expected = FilesIn(dir);
            ASSERT_TRUE(expected.contains("out")) << what;
            // The sink's own file is the one at the request's path.
            expected[kOwnFile] = expected["out"];
            expected.erase("out");
            EXPECT_EQ(memory.Files(), expected) << what;
        }
    }
}

TEST(SinkTest, SitesPutTheSameFilesIntoMemoryAsIntoTheirFolder) {
    const test::TestStore data = SmallStore();
    const Statistics stats{data.Store, StoreLines(data.Store)};

    const fs::path all = test::ScratchDir("all");
    ASSERT_TRUE(ExportAllData(data.Store, all.string(), {}).Ok());
    MemorySink allInMemory;
    const ExportOutcome written =
        RunExport(stats, RequestFor(ExportView::AllData, ExportFormat::Html, {}), allInMemory);
    ASSERT_TRUE(written.Ok());
    EXPECT_EQ(written.Site.FilesWritten, CountExportAllFiles(data.Store));
    EXPECT_EQ(allInMemory.Files(), FilesIn(all));

    const fs::path site = test::ScratchDir("site");
    ASSERT_TRUE(WriteDashboardSite(data.Store, site.string(), {}).Ok());
    MemorySink siteInMemory;
    ASSERT_TRUE(
        RunExport(stats, RequestFor(ExportView::Dashboard, ExportFormat::Html, {}), siteInMemory)
            .Ok());
    EXPECT_EQ(siteInMemory.Files(), FilesIn(site));
    EXPECT_TRUE(siteInMemory.Has(PlayerPagePath(PlayerPageAddress("Bob"))));
}

// Export All's "If file exists" choice asks the sink, so a sink in memory answers like a folder.
TEST(SinkTest, ExportAllAsksTheSinkAboutExistingPages) {
    const test::TestStore data = SmallStore();
    MemorySink sink;
    ASSERT_TRUE(WriteWholeFile(sink, "index2.html", "mine").Ok());
    ASSERT_TRUE(WriteWholeFile(sink, "style.css", "/* mine */").Ok());
    ExportAllSettings settings;
    settings.IfExists = IfFileExists::Skip;
    const ExportAllResult result = ExportAllInto(data.Store, settings, sink);
    ASSERT_TRUE(result.Ok());
    EXPECT_EQ(sink.Content("index2.html"), "mine");
    EXPECT_EQ(sink.Content("style.css"), "/* mine */");
    EXPECT_EQ(result.FilesDone, CountExportAllFiles(data.Store));
    EXPECT_EQ(result.FilesWritten, CountExportAllFiles(data.Store) - 2);
}

TEST(SinkTest, APathSinkKeepsOtherNamesBesideItsFile) {
    const fs::path dir = test::ScratchDir();
    PathSink sink((dir / "page.html").string(), std::nullopt);
    EXPECT_FALSE(sink.Has(kOwnFile));
    ASSERT_TRUE(WriteWholeFile(sink, kOwnFile, "page").Ok());
    ASSERT_TRUE(WriteWholeFile(sink, "style.css", "sheet").Ok());
    EXPECT_TRUE(sink.Has(kOwnFile));
    EXPECT_TRUE(sink.Has("style.css"));
    EXPECT_EQ(FilesIn(dir),
              (std::map<std::string, std::string>{{"page.html", "page"}, {"style.css", "sheet"}}));
}

TEST(SinkTest, AFolderSinkMakesSubfoldersAndNamesAFailedFile) {
    const fs::path dir = test::ScratchDir();
    FolderSink sink(dir.string(), std::nullopt);
    ASSERT_TRUE(sink.Put("players/p1.html", "one").Ok());
    EXPECT_TRUE(sink.Has("players/p1.html"));
    EXPECT_EQ(test::ReadFile((dir / "players/p1.html").string()), "one");
    { std::ofstream(dir / "file") << "x"; }
    EXPECT_EQ(sink.Put("file/page.html", "two").Error,
              "file/page.html: Error - 20 - Not a directory\r\nerrorcode: 0");
}

TEST(SinkTest, AFileOfASinkIsTheSinksFileOfThatName) {
    MemorySink site;
    FileOfSink page(site, "players/p2.html");
    ASSERT_TRUE(WriteWholeFile(page, kOwnFile, "page").Ok());
    ASSERT_TRUE(WriteWholeFile(page, "style.css", "sheet").Ok());
    EXPECT_TRUE(page.Has(kOwnFile));
    EXPECT_EQ(site.Files(), (std::map<std::string, std::string>{{"players/p2.html", "page"},
                                                                {"style.css", "sheet"}}));
}

TEST(SinkTest, AMemorySinkHoldsOnlyCommittedFiles) {
    MemorySink sink;
    {
        const auto dropped = sink.Create("dropped");
        ASSERT_TRUE(dropped->Write("never committed"));
    }
    EXPECT_FALSE(sink.Has("dropped"));
    ASSERT_TRUE(WriteWholeFile(sink, "kept", "first").Ok());
    const auto second = sink.Create("kept");
    ASSERT_TRUE(second->Write("second"));
    ASSERT_TRUE(second->Commit(true, WhenNameTaken::Keep));
    EXPECT_EQ(sink.Content("kept"), "first");
    ASSERT_TRUE(WriteWholeFile(sink, "kept", "third").Ok());
    EXPECT_EQ(sink.Content("kept"), "third");
}

TEST(SinkTest, AGatheredFileReportsARefusedHandover) {
    std::string handed;
    GatheredFile taken([&](std::string&& content) {
        handed = std::move(content);
        return ExportResult{};
    });
    ASSERT_TRUE(taken.Write("a") && taken.Write("b"));
    EXPECT_EQ(handed, "");
    ASSERT_TRUE(taken.Commit(false, WhenNameTaken::Replace));
    EXPECT_EQ(handed, "ab");

    GatheredFile refused([](std::string&&) { return ExportResult{"not a name a site may have"}; });
    ASSERT_TRUE(refused.Write("c"));
    EXPECT_FALSE(refused.Commit(false, WhenNameTaken::Replace));
    EXPECT_EQ(refused.Refusal(), "not a name a site may have");
}

} // namespace
} // namespace qla
