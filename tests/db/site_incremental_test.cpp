// The statistics site exported again over itself: the files whose bytes would not change are kept
// as they are (their inode and time too), the others replaced, the pages nobody links any more
// removed, and the folder then holds exactly what an export into an empty folder writes.
#include "db_test_support.h"
#include "support/fixed_site_stamp.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

namespace qla::dbtest {
namespace {

namespace fs = std::filesystem;

struct FileState {
    std::string Bytes;
    std::uint64_t Inode = 0;
};

// Every file of the site by its path in it; the export lock, if any, left out.
std::map<std::string, FileState> SiteFiles(const std::string& site) {
    std::map<std::string, FileState> files;
    for (const auto& entry : fs::recursive_directory_iterator(site)) {
        const std::string name = fs::relative(entry.path(), site).string();
        if (!entry.is_regular_file() || name.find("lock") != std::string::npos)
            continue;
        struct stat info {};
        ::stat(entry.path().c_str(), &info);
        files[name] = {ReadFile(entry.path().string()), static_cast<std::uint64_t>(info.st_ino)};
    }
    return files;
}

QlaRun ExportSite(const QString& database, const std::string& folder) {
    return Qla({"export", "--db", database, "--view", "dashboard", "--format", "html", "--output",
                QString::fromStdString(folder)});
}

// The same bytes as a site made from scratch; returns the files of `site` kept from `before`.
std::size_t ExpectLikeAFreshSite(const QString& database, const TempFolder& folder,
                                 const std::string& site,
                                 const std::map<std::string, FileState>& before,
                                 const std::string& step) {
    const std::string fresh = folder.Path("fresh-" + step);
    EXPECT_EQ(ExportSite(database, fresh).status, 0) << step;
    const auto updated = SiteFiles(site), made = SiteFiles(fresh);
    EXPECT_EQ(updated.size(), made.size()) << step;
    std::size_t kept = 0;
    for (const auto& [name, state] : made) {
        const auto it = updated.find(name);
        if (it == updated.end()) {
            ADD_FAILURE() << step << ": " << name << " missing";
            continue;
        }
        EXPECT_EQ(it->second.Bytes, state.Bytes) << step << ": " << name;
        const auto old = before.find(name);
        if (old != before.end() && old->second.Inode == it->second.Inode) {
            ++kept;
            EXPECT_EQ(old->second.Bytes, it->second.Bytes) << step << ": " << name << " kept";
        }
    }
    return kept;
}

TEST(SiteIncremental, AnExportOverTheSiteRewritesOnlyWhatChangedAndEqualsOneFromScratch) {
    // The overview tells when the site was made: the program's fixed stamp makes it the same
    // moment for every export here.
    TempFolder folder;
    const QString database = NewDatabase(Engine::SQLite, folder);
    for (const int k : {1, 2, 3})
        WriteFile(folder.Path("day" + std::to_string(k) + ".log"),
                  GeneratedLog(false, false, false, 2500, 60 + static_cast<std::uint64_t>(k)));
    ASSERT_EQ(Qla({"import", folder.QPath("day1.log"), folder.QPath("day2.log"), "--db", database})
                  .status,
              0);
    const std::string site = folder.Path("site");
    ASSERT_EQ(ExportSite(database, site).status, 0);
    const auto first = SiteFiles(site);
    ASSERT_TRUE(first.contains("voice/log-1.html"));

    // Nothing new: every file stays as it was.
    ASSERT_EQ(ExportSite(database, site).status, 0);
    EXPECT_EQ(ExpectLikeAFreshSite(database, folder, site, first, "unchanged"), first.size());

    // A new log: the earlier logs' chat pages stay; the overview and the chat indexes change.
    ASSERT_EQ(Qla({"import", folder.QPath("day3.log"), "--db", database}).status, 0);
    ASSERT_EQ(ExportSite(database, site).status, 0);
    const auto grown = SiteFiles(site);
    EXPECT_GT(ExpectLikeAFreshSite(database, folder, site, first, "grown"), 4u);
    EXPECT_EQ(grown.at("voice/log-1.html").Inode, first.at("voice/log-1.html").Inode);
    EXPECT_NE(grown.at("index.html").Inode, first.at("index.html").Inode);
    EXPECT_TRUE(grown.contains("voice/log-3.html"));

    // The first log forgotten: its chat pages go with it.
    ASSERT_EQ(Qla({"forget", "--db", database, "1"}).status, 0);
    ASSERT_EQ(ExportSite(database, site).status, 0);
    ExpectLikeAFreshSite(database, folder, site, grown, "forgotten");
    EXPECT_FALSE(fs::exists(fs::path(site) / "voice/log-1.html"));
}

} // namespace
} // namespace qla::dbtest
