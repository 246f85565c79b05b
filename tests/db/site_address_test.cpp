// A player's page on the statistics site keeps its address when the history around him changes:
// logs forgotten, the site made again over the old one or from scratch. A player who leaves the
// selection takes his page with him, and nobody else's page takes its place.
#include "db_test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

namespace qla::dbtest {
namespace {

namespace fs = std::filesystem;

// Each player page below `site` (the opponents pages beside them left out), by the player's name
// as the page shows it.
std::map<std::string, std::string> PagesByPlayer(const std::string& site) {
    std::map<std::string, std::string> pages;
    for (const auto& entry : fs::recursive_directory_iterator(fs::path(site) / "players")) {
        const std::string path = entry.path().string();
        if (!entry.is_regular_file() || path.ends_with("-opponents.html"))
            continue;
        const std::string page = ReadFile(path);
        const std::size_t at = page.find("<p class=\"player\">");
        EXPECT_NE(at, std::string::npos) << path;
        const std::size_t from = at + 18;
        const auto [place, added] = pages.emplace(page.substr(from, page.find("</p>", from) - from),
                                                  fs::relative(entry.path(), site).string());
        EXPECT_TRUE(added) << "two pages of " << place->first;
    }
    return pages;
}

QlaRun ExportSite(const QString& database, const std::string& folder) {
    return Qla({"export", "--db", database, "--view", "dashboard", "--format", "html", "--output",
                QString::fromStdString(folder)});
}

TEST(SiteAddresses, APlayersPageKeepsItsAddressAfterAForgetAndARebuild) {
    TempFolder folder;
    const QString database = NewDatabase(Engine::SQLite, folder);
    WriteFile(folder.Path("first.log"), GeneratedLog(false, false, true, 3000, 41));
    WriteFile(folder.Path("second.log"), GeneratedLog(false, false, true, 3000, 42));
    ASSERT_EQ(
        Qla({"import", folder.QPath("first.log"), folder.QPath("second.log"), "--db", database})
            .status,
        0);
    const std::string site = folder.Path("site");
    ASSERT_EQ(ExportSite(database, site).status, 0);
    const std::map<std::string, std::string> before = PagesByPlayer(site);
    ASSERT_GT(before.size(), 5u);

    // The first log goes: every player keeps his index no more (the order of first appearance
    // now starts in the second log), and some players leave.
    ASSERT_EQ(Qla({"forget", "--db", database, "1"}).status, 0);
    const QlaRun again = ExportSite(database, site);
    ASSERT_EQ(again.status, 0) << again.err;
    const std::map<std::string, std::string> after = PagesByPlayer(site);
    std::size_t stayed = 0, left = 0;
    for (const auto& [name, path] : before) {
        const auto now = after.find(name);
        if (now != after.end()) {
            EXPECT_EQ(now->second, path) << name;
            ++stayed;
        } else {
            EXPECT_FALSE(fs::exists(fs::path(site) / path)) << name << "'s page stayed";
            ++left;
        }
    }
    EXPECT_GT(stayed, 0u);
    // Nobody new took an address that belonged to someone else.
    for (const auto& [name, path] : after)
        for (const auto& [oldName, oldPath] : before)
            EXPECT_TRUE(path != oldPath || name == oldName) << path;

    // Made from scratch, the site is the one made over the old one, file for file.
    const std::string fresh = folder.Path("fresh");
    ASSERT_EQ(ExportSite(database, fresh).status, 0);
    EXPECT_EQ(PagesByPlayer(fresh), after);
    fs::remove(fs::path(site) / ".qla-site");
    fs::remove(fs::path(fresh) / ".qla-site");
    EXPECT_TRUE(FolderContents(site) == FolderContents(fresh));
    (void)left; // how many left depends on the generated logs; their pages are checked above
}

} // namespace
} // namespace qla::dbtest
