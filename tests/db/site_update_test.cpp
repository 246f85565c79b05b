// Bringing a staged site into a live one when someone has put a file where a new page of the
// site would go: the file is kept, and every file of ours already moved in stays listed.
#include "db_test_support.h"

#include "analysis/analysis.h"
#include "cli/site_publisher.h"
#include "cli/site_update.h"
#include "export/site_marker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sys/stat.h>

namespace qla::dbtest {
namespace {

namespace fs = std::filesystem;

void ExportSite(const QString& log, const std::string& folder) {
    const QlaRun run = Qla({"export", log, "--view", "dashboard", "--format", "html", "--output",
                            QString::fromStdString(folder)});
    ASSERT_EQ(run.status, 0) << run.err;
}

TEST(SiteUpdate, ANewPageNeverReplacesAFileQlaDidNotWrite) {
    TempFolder folder;
    const std::string first = GeneratedLog(false, false, false, 1500, 31);
    WriteFile(folder.Path("a.log"), first);
    WriteFile(folder.Path("ab.log"), first + GeneratedLog(false, false, false, 1500, 32));
    const std::string site = folder.Path("site"), staged = folder.Path("site.qla-new");
    ExportSite(folder.QPath("a.log"), site);
    ExportSite(folder.QPath("ab.log"), staged);

    const SiteMarker live = ReadSiteMarker(site), fresh = ReadSiteMarker(staged);
    std::vector<std::string> newPages;
    for (const std::string& file : fresh.Files)
        if (file.starts_with("players/") &&
            !std::binary_search(live.Files.begin(), live.Files.end(), file))
            newPages.push_back(file);
    ASSERT_GE(newPages.size(), 2u) << "the second log's players have pages of their own";
    // Within a rank names go in from last to first: the pages after it go in first.
    const std::string taken = newPages.front();
    fs::create_directories(fs::path(site + "/" + taken).parent_path());
    WriteFile(site + "/" + taken, "mine\n");
    const std::string overview = ReadFile(site + "/index.html");
    ASSERT_NE(overview, ReadFile(staged + "/index.html"));

    const cli::SiteUpdate update = cli::UpdateSite(staged, site);
    EXPECT_EQ(update.Error, site + "/" + taken + " is not a file of a site qla wrote, and is kept");
    EXPECT_EQ(ReadFile(site + "/" + taken), "mine\n");
    EXPECT_GE(update.Written, newPages.size() - 1);
    EXPECT_TRUE(fs::exists(site + "/" + newPages.back()));
    EXPECT_FALSE(fs::exists(staged + "/" + newPages.back())) << "moved, not copied";
    EXPECT_EQ(ReadFile(site + "/index.html"), overview) << "the overview goes in last";
    std::string error;
    // What was moved in is listed: only the dropped file, or the folder made for it, is not.
    const std::string unlisted = UnlistedEntry(site, error);
    EXPECT_TRUE(unlisted == taken || taken.starts_with(unlisted + "/")) << unlisted << error;
}

// A log of `lines` generated lines written as `folder`/a.log, analysed into `store`; the
// request that publishes its statistics site as `folder`/site.
ExportRequest AnalysedLogSite(const TempFolder& folder, std::uint64_t lines, std::uint32_t seed,
                              AnalysisStore& store) {
    WriteFile(folder.Path("a.log"), GeneratedLog(false, false, false, lines, seed));
    EXPECT_TRUE(OpenLogFile(store, folder.Path("a.log")).Error.empty());
    AnalyzeLog(store, LogLanguage::English);
    ExportRequest request;
    request.View = ExportView::Dashboard;
    request.Path = folder.Path("site");
    return request;
}

std::uint64_t InodeOf(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? static_cast<std::uint64_t>(info.st_ino) : 0;
}

// What qla watch remembers of its pages spares building them again, never a look at the files:
// a page someone changed in the site is built, found different and put back.
TEST(SiteUpdate, APageChangedInTheSiteIsWrittenAgainThoughItsInputsAreTheSame) {
    TempFolder folder;
    AnalysisStore store;
    const ExportRequest request = AnalysedLogSite(folder, 12000, 33, store);
    cli::PageMemory memory;
    const cli::Publication first = cli::PublishSite(store, request, &memory);
    ASSERT_TRUE(first.Published) << first.Error;
    ASSERT_TRUE(first.Whole);

    const std::string site = request.Path, touched = site + "/voice/log-1.html";
    ASSERT_TRUE(fs::exists(touched)) << "the log's voice chat";
    const std::string page = ReadFile(touched);
    const std::uint64_t other = InodeOf(site + "/voice.html");
    WriteFile(touched, "changed by hand\n");

    const cli::Publication second = cli::PublishSite(store, request, &memory);
    ASSERT_TRUE(second.Published) << second.Error;
    EXPECT_EQ(second.Written, 1u);
    EXPECT_EQ(ReadFile(touched), page);
    EXPECT_EQ(InodeOf(site + "/voice.html"), other) << "an unchanged page is left alone";
    const cli::Publication third = cli::PublishSite(store, request, &memory);
    EXPECT_EQ(third.Written, 0u);
}

// A run killed while it cleared its staging folder leaves that folder still marked (its marker
// goes last) or empty: either is cleared and the site published. A folder there that qla did
// not mark is kept, and holds the publish.
TEST(SiteUpdate, AStagingFolderLeftByAKilledRunIsClearedAndAnUnmarkedOneKept) {
    TempFolder folder;
    AnalysisStore store;
    const ExportRequest request = AnalysedLogSite(folder, 1500, 34, store);
    const std::string staged = folder.Path("site.qla-new");

    fs::create_directories(staged + "/players");
    ASSERT_EQ(MarkStagingFolder(staged), "");
    WriteFile(staged + "/style.css", "half\n");
    WriteFile(staged + "/players/a.html", "half\n");
    const cli::Publication marked = cli::PublishSite(store, request);
    EXPECT_TRUE(marked.Published) << marked.Error;
    EXPECT_FALSE(fs::exists(staged));

    fs::create_directories(staged);
    const cli::Publication emptied = cli::PublishSite(store, request);
    EXPECT_TRUE(emptied.Published) << emptied.Error;
    EXPECT_FALSE(fs::exists(staged));

    fs::create_directories(staged);
    WriteFile(staged + "/notes.txt", "mine\n");
    const cli::Publication foreign = cli::PublishSite(store, request);
    EXPECT_FALSE(foreign.Published);
    EXPECT_EQ(foreign.Error, staged + " is in the way, and qla did not make it");
    EXPECT_EQ(ReadFile(staged + "/notes.txt"), "mine\n");
}

// A run killed between the two renames of a swap (on a file system that cannot exchange two
// folders) leaves the old site beside the new one: the next publish removes it.
TEST(SiteUpdate, AnOldSiteLeftAsideIsRemovedByTheNextPublish) {
    TempFolder folder;
    AnalysisStore store;
    const ExportRequest request = AnalysedLogSite(folder, 1500, 35, store);
    const std::string aside = folder.Path("site.qla-old");
    ExportSite(folder.QPath("a.log"), aside);
    WriteFile(aside + "/notes.txt", "mine\n");

    const cli::Publication published = cli::PublishSite(store, request);
    EXPECT_TRUE(published.Published) << published.Error;
    EXPECT_FALSE(fs::exists(aside));
    EXPECT_EQ(ReadFile(folder.Path("site.qla-kept/notes.txt")), "mine\n")
        << "what qla did not write is kept";
    EXPECT_NE(published.Note.find("site.qla-kept"), std::string::npos) << published.Note;
    EXPECT_TRUE(fs::exists(folder.Path("site/index.html")));
}

} // namespace
} // namespace qla::dbtest
