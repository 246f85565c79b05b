// The site's long tables: the numbered pages a reader without the script walks through, and the
// rows files the script loads instead of carrying every row in a page.
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

// A chat's pages: the first at the root, the others in the chat's folder.
std::vector<std::string> PagesOf(const fs::path& site, const std::string& stem) {
    std::vector<std::string> pages{stem + ".html"};
    for (int k = 2;; ++k) {
        const std::string later = stem + "/" + stem + "-" + std::to_string(k) + ".html";
        if (!fs::exists(site / later))
            break;
        pages.push_back(later);
    }
    return pages;
}

TEST(SiteTables, EveryMessageIsOnExactlyOnePageAndThePagesLinkEachOther) {
    test::TestStore t;
    const int messages = static_cast<int>(2 * kChatRowsPerPage + 345);
    for (int k = 1; k <= messages; ++k)
        t.Chat(true, k % 2 ? "^1Ace" : "Bob", k % 3 == 0, "Hill", "line " + std::to_string(k));
    t.Chat(false, "Bob", false, "Base", "the only text");
    const fs::path site = test::ScratchDir();
    ASSERT_TRUE(WriteDashboardSite(t.Store, site.string(), {}).Ok());

    const std::vector<std::string> pages = PagesOf(site, "voice");
    ASSERT_EQ(pages.size(), 3u);
    std::map<int, int> seen; // message number -> pages showing it
    for (const std::string& file : pages) {
        const std::string page = test::ReadFile((site / file).string());
        const std::regex row(
            "<tr><td>(\\d+)<td><a "
            "href=\"(?:\\.\\./)?players/[0-9a-f]{2}/[a-z0-9-]+\\.html\">[^\n]*<td>line "
            "\\1</tr>");
        for (const std::string& number : Matches(page, row))
            ++seen[std::stoi(number)];
        ExpectLinksResolve(site, file);
    }
    ASSERT_EQ(seen.size(), static_cast<std::size_t>(messages));
    for (const auto& [number, count] : seen)
        EXPECT_EQ(count, 1) << "message " << number;
    EXPECT_EQ(seen.begin()->first, 1);
    EXPECT_EQ(seen.rbegin()->first, messages);

    // The middle page leads both ways; the first and the last only onwards and back. Only the
    // first tells how many pages there are, so a page added at the end leaves the others as
    // they were.
    const std::string middle = test::ReadFile((site / "voice/voice-2.html").string());
    EXPECT_NE(middle.find("Page 2: <a href=\"../voice.html\">first</a> <a "
                          "href=\"../voice.html\">previous</a> <a href=\"../voice/voice-3.html\">"
                          "next</a></p>"),
              std::string::npos)
        << middle;
    EXPECT_NE(test::ReadFile((site / "voice.html").string())
                  .find("Page 1 of 3: <a href=\"voice/voice-2.html\">next</a> <a "
                        "href=\"voice/voice-3.html\">last</a>"),
              std::string::npos);
    EXPECT_EQ(test::ReadFile((site / "voice.html").string()).find(">previous<"), std::string::npos);
    EXPECT_EQ(test::ReadFile((site / "voice/voice-3.html").string()).find(">next<"),
              std::string::npos);
    // One page of text chat has no pager at all.
    EXPECT_EQ(PagesOf(site, "text").size(), 1u);
    EXPECT_EQ(test::ReadFile((site / "text.html").string()).find("class=\"pager\""),
              std::string::npos);
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

TEST(SiteTables, RowsFilesCallTheScriptWithEveryRowOnceAndRepeatedValuesAsIndexes) {
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
    const SiteLayout layout(t.Store, model, order, 1, 1, kSiteFilesPerFolder);
    const std::string ace = PlayerPageAddress("Ace"), bob = PlayerPageAddress("^1Bob"),
                      cid = PlayerPageAddress("Cid");

    // The ratings: Ace won two kills of three against Bob, as far above the middle as Bob is
    // below it; Cid met nobody and stands at the middle.
    EXPECT_EQ(PlayerRowsScript(t.Store, layout, model, order),
              "qlaRows(\"players\",[[[\"" + ace + "\",\"Ace\"],2,1,2,0,0,1535],[[\"" + bob +
                  "\",\"^1Bob\"],1,2,0.5,0,0,1465],[[\"" + cid +
                  "\",\"Cid\"],0,0,0,0,0,1500]],[]);\n");
    // Speakers, locations and "to" are indexes into the lists after the rows; text that could
    // end a script element is escaped as in every JSON the program writes.
    // A chat's rows file names its parts; a part's call gives its number last.
    EXPECT_EQ(ChatRowsScript(true, t.Store.VoiceChats),
              "qlaRowParts(\"chat\",[\"rows/voice-1.js\"]);\n");
    EXPECT_EQ(ChatRowsPart(t.Store, layout, t.Store.VoiceChats, 1),
              "qlaRows(\"chat\",[[1,0,0,0,\"hi\"],[2,1,1,1,"
              "\"\\u003c/script\\u003e\\u003cb\\u003ex\\u003c/b\\u003e\"],[3,0,0,1,\"^2gg\"]],"
              "[null,[[\"" +
                  bob + "\",\"^1Bob\"],[\"" + ace +
                  "\",\"Ace\"]],[\"Base\",\"Hill\"],[\"all\",\"team\"],null],0);\n");
    EXPECT_EQ(ChatRowsPart(t.Store, layout, t.Store.TextChats, 1),
              // Control characters become U+FFFD, as on the pages.
              "qlaRows(\"chat\",[[1,0,0,0,\"te\xEF\xBF\xBDxt\xEF\xBF\xBD\"]],"
              "[null,[[\"" +
                  cid + "\",\"Cid\"]],[\"\"],[\"all\",\"team\"],null],0);\n");

    const fs::path site = test::ScratchDir();
    ASSERT_TRUE(WriteDashboardSite(t.Store, site.string(), {}).Ok());
    EXPECT_EQ(test::ReadFile((site / "voice-rows.js").string()),
              ChatRowsScript(true, t.Store.VoiceChats));
    EXPECT_EQ(test::ReadFile((site / "rows/voice-1.js").string()),
              ChatRowsPart(t.Store, layout, t.Store.VoiceChats, 1));
    EXPECT_EQ(test::ReadFile((site / "rows/text-1.js").string()),
              ChatRowsPart(t.Store, layout, t.Store.TextChats, 1));
    EXPECT_EQ(test::ReadFile((site / "players-rows.js").string()),
              PlayerRowsScript(t.Store, layout, model, order));
    // Hand-checked rows of the pages: end tags of cells left out, names as coloured text.
    const std::string voice = test::ReadFile((site / "voice.html").string());
    EXPECT_NE(voice.find("<tr><td>3<td><a href=\"players/" + bob +
                         ".html\"><span class=\"c1\">Bob</span>"
                         "</a><td>Base<td>team<td><span class=\"c2\">gg</span></tr>\n"),
              std::string::npos);
    const std::string acePage = test::ReadFile((site / "players" / (ace + ".html")).string());
    // A page in another bucket is linked through the players' folder.
    EXPECT_NE(acePage.find("<tr><td><a href=\"../../players/" + bob +
                           ".html\"><span class=\"c1\">Bob</span></a><td>2<td>1</tr>\n"),
              std::string::npos);
}

} // namespace
} // namespace qla
