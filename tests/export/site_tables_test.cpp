// The site's player tables: the numbered pages a reader without the script walks through, and the
// rows file the script loads instead of carrying every row in a page.
#include "export/dashboard/dashboard_export.h"
#include "export/dashboard/site_tables.h"
#include "test_store.h"

#include "support/scratch_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <regex>
#include <string>
#include <vector>

namespace qla {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Matches(const std::string& text, const std::regex& pattern) {
    std::vector<std::string> found;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), pattern);
         it != std::sregex_iterator(); ++it)
        found.push_back((*it)[1].str());
    return found;
}

// Every link of a page names a file that was written, seen from the page's folder.
void ExpectLinksResolve(const fs::path& site, const std::string& file) {
    const std::string page = test::ReadFile((site / file).string());
    const fs::path folder = (site / file).parent_path();
    for (const std::string& href : Matches(page, std::regex("(?:href|src|data-rows)=\"([^\"#]+)")))
        EXPECT_TRUE(fs::exists(folder / href)) << file << " links to " << href;
}

TEST(SiteTables, TheOverviewHoldsOnePageOfPlayersWhateverTheirNumber) {
    test::TestStore t;
    const int players = static_cast<int>(kOverviewPlayerRows + kListPlayerRows) + 50;
    for (int k = 1; k <= players; ++k)
        t.Kill("P" + std::to_string(k), "Victim", "MP40");
    const fs::path site = test::ScratchDir();
    DashboardSettings everyPage;
    everyPage.MinLinesForPage = 0; // a page for each, though there are more than 1000
    ASSERT_TRUE(WriteDashboardSite(t.Store, site.string(), everyPage).Ok());

    std::map<std::string, int> listed; // player page -> rows linking to it
    const std::map<std::string, std::size_t> rowsOn = {{"index.html", kOverviewPlayerRows},
                                                       {"list/players-2.html", kListPlayerRows},
                                                       {"list/players-3.html", 51}};
    for (const auto& [file, want] : rowsOn) {
        const std::string page = test::ReadFile((site / file).string());
        const auto rows = Matches(
            page, std::regex("<tr><td><a href=\"(?:\\.\\./)?players/([0-9a-f]{2}/[^\"]+)\">"));
        EXPECT_EQ(rows.size(), want) << file;
        for (const std::string& row : rows)
            ++listed[row];
        ExpectLinksResolve(site, file);
        // No page carries the rows of the others: the script loads them from their file.
        EXPECT_EQ(page.find("application/json"), std::string::npos) << file;
        const std::string root = file == "index.html" ? "" : "../";
        EXPECT_NE(page.find("data-rows=\"" + root + "players-rows.js\""), std::string::npos)
            << file;
    }
    EXPECT_FALSE(fs::exists(site / "list/players-4.html"));
    EXPECT_EQ(listed.size(), static_cast<std::size_t>(players + 1)); // and the victim
    for (const auto& [file, count] : listed) {
        EXPECT_EQ(count, 1) << file;
        EXPECT_TRUE(fs::exists(site / "players" / file)) << file;
    }
}

TEST(SiteTables, ThePlayerRowsFileCallsTheScriptWithEveryRowOnce) {
    test::TestStore t;
    t.Kill("Ace", "^1Bob", "MP40");
    t.Kill("Ace", "^1Bob", "MP40");
    t.Kill("^1Bob", "Ace", "Sten");
    t.Chat(true, "^1Bob", false, "Base", "hi");
    t.Chat(true, "Ace", true, "Hill", "</script><b>x</b>");
    t.Chat(true, "^1Bob", true, "Base", "^2gg");
    t.Chat(false, "Cid", false, "", std::string_view("te\0xt\x1b", 6));
    const DashboardModel model = BuildDashboardModel(t.Store, {});
    const std::vector<PlayerIndex> order = PlayersByKills(model);
    const SiteLayout layout(t.Store, model, order, kSiteFilesPerFolder);
    const std::string ace = PlayerPageAddress("Ace"), bob = PlayerPageAddress("^1Bob"),
                      cid = PlayerPageAddress("Cid");

    // The ratings: Ace won two kills of three against Bob, as far above the middle as Bob is
    // below it; Cid met nobody and stands at the middle.
    EXPECT_EQ(PlayerRowsScript(t.Store, layout, model, order),
              "qlaRows(\"players\",[[[\"" + ace + "\",\"Ace\"],2,1,2,0,0,1535],[[\"" + bob +
                  "\",\"^1Bob\"],1,2,0.5,0,0,1465],[[\"" + cid +
                  "\",\"Cid\"],0,0,0,0,0,1500]],[]);\n");
    const fs::path site = test::ScratchDir();
    ASSERT_TRUE(WriteDashboardSite(t.Store, site.string(), {}).Ok());
    EXPECT_EQ(test::ReadFile((site / "players-rows.js").string()),
              PlayerRowsScript(t.Store, layout, model, order));
    // Hand-checked rows of the pages: end tags of cells left out, names as coloured text.
    const std::string acePage = test::ReadFile((site / "players" / (ace + ".html")).string());
    // A page in another bucket is linked from the bucket beside, the overview from the root.
    ASSERT_NE(ace.substr(0, 3), bob.substr(0, 3));
    EXPECT_NE(acePage.find("<tr><td><a href=\"../" + bob +
                           ".html\"><span class=\"c1\">Bob</span></a><td>2<td>1</tr>\n"),
              std::string::npos)
        << acePage;
    EXPECT_NE(acePage.find("<a href=\"../../index.html\">Overview</a>"), std::string::npos);
    const std::string aceOpponents =
        test::ReadFile((site / "opponents" / (ace + ".html")).string());
    EXPECT_NE(aceOpponents.find("<a href=\"../../players/" + bob + ".html\">"), std::string::npos);
}

} // namespace
} // namespace qla
