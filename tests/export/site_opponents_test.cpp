// The statistics site's opponents pages, on a site of a generated log: one per player page,
// linked from it, listing his ten most met opponents with the numbers of his page's opponents
// table, the weapons of those kills and the rating's chance.
#include "analysis/analysis.h"
#include "export/dashboard/dashboard_export.h"
#include "generator.h"
#include "test_store.h"

#include "support/scratch_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace qla {
namespace {

namespace fs = std::filesystem;

// A table row: the player it names (the linked page, from the site's root) and its numbers.
struct Row {
    fs::path Player;
    std::vector<std::string> Cells; // the cells after the player's, as text
};

// The rows of the table with id `table` on the page at `file`, links resolved from its folder.
std::vector<Row> RowsOf(const fs::path& site, const fs::path& file, const std::string& table) {
    const std::string page = test::ReadFile((site / file).string());
    const std::size_t start = page.find("<table id=\"" + table + "\"");
    if (start == std::string::npos)
        return {};
    const std::string body = page.substr(start, page.find("</table>", start) - start);
    std::vector<Row> rows;
    const std::regex row(
        "<tr><td><a href=\"([^\"]+)\"[^\n]*?</a>(?:</td>)?((?:<td>[^<]*(?:</td>)?)*)"
        "</tr>");
    const std::regex cell("<td>([^<]*)");
    for (auto it = std::sregex_iterator(body.begin(), body.end(), row);
         it != std::sregex_iterator(); ++it) {
        Row found;
        found.Player = ((site / file).parent_path() / (*it)[1].str()).lexically_normal();
        const std::string cells = (*it)[2];
        for (auto c = std::sregex_iterator(cells.begin(), cells.end(), cell);
             c != std::sregex_iterator(); ++c)
            found.Cells.push_back((*c)[1]);
        rows.push_back(found);
    }
    return rows;
}

std::int64_t Number(const std::string& text) {
    return std::stoll(text);
}

// Every player page of the site, from its root.
std::vector<fs::path> PlayerPages(const fs::path& site) {
    std::vector<fs::path> pages;
    for (const auto& entry : fs::recursive_directory_iterator(site / "players"))
        if (entry.path().extension() == ".html")
            pages.push_back(fs::relative(entry.path(), site));
    std::sort(pages.begin(), pages.end());
    return pages;
}

fs::path OpponentsPageOf(const fs::path& playerPage) {
    return fs::path("opponents") / fs::relative(playerPage, "players");
}

void ExpectLinksResolve(const fs::path& site, const fs::path& file) {
    const std::string page = test::ReadFile((site / file).string());
    const std::regex link("(?:href|src)=\"([^\"#]+)");
    for (auto it = std::sregex_iterator(page.begin(), page.end(), link);
         it != std::sregex_iterator(); ++it)
        EXPECT_TRUE(fs::exists((site / file).parent_path() / (*it)[1].str()))
            << file << " links to " << (*it)[1];
}

class SiteOpponentsTest : public testing::Test {
  protected:
    void SetUp() override {
        loggen::Options options;
        options.players = 24; // more opponents than a page lists
        options.lines = 6000;
        options.seed = 5;
        std::ostringstream log;
        ASSERT_TRUE(loggen::generateLog(options, log));
        store_.LogLines = LogLineList::FromBytes(log.str());
        AnalyzeLog(store_, LogLanguage::English);
        site_ = test::ScratchDir();
        ASSERT_TRUE(WriteDashboardSite(store_, site_.string(), {}).Ok());
    }

    AnalysisStore store_;
    fs::path site_;
};

TEST_F(SiteOpponentsTest, EachPlayerPageLinksHisTopTenWithHisPagesNumbers) {
    const std::vector<fs::path> pages = PlayerPages(site_);
    ASSERT_GT(pages.size(), 11u);
    std::map<std::pair<fs::path, fs::path>, double> chances; // (player, opponent) -> percent
    for (const fs::path& page : pages) {
        const fs::path opponentsPage = OpponentsPageOf(page);
        ASSERT_TRUE(fs::exists(site_ / opponentsPage)) << page;
        const std::string own = test::ReadFile((site_ / page).string());
        std::string root; // from the player's folder back to the site's root
        for ([[maybe_unused]] const auto& folder : page.parent_path())
            root += "../";
        const std::string link = "href=\"" + root + opponentsPage.generic_string() + "\"";
        EXPECT_NE(own.find(link), std::string::npos) << page;
        ExpectLinksResolve(site_, opponentsPage);
        const std::string listing = test::ReadFile((site_ / opponentsPage).string());
        // Scrolls in its own box on a phone, as the site's other tables.
        EXPECT_NE(listing.find("<div class=\"scroll\"><table id=\"top-opponents\""),
                  std::string::npos);

        // The player page's opponents: kills and deaths by opponent.
        std::vector<std::int64_t> eitherWay;
        std::map<fs::path, std::pair<std::int64_t, std::int64_t>> killedAndBy;
        for (const Row& row : RowsOf(site_, page, "opponents")) {
            ASSERT_EQ(row.Cells.size(), 2u) << page;
            killedAndBy[row.Player] = {Number(row.Cells[0]), Number(row.Cells[1])};
            eitherWay.push_back(Number(row.Cells[0]) + Number(row.Cells[1]));
        }
        std::sort(eitherWay.rbegin(), eitherWay.rend());
        eitherWay.resize(std::min<std::size_t>(eitherWay.size(), 10));

        const std::vector<Row> top = RowsOf(site_, opponentsPage, "top-opponents");
        ASSERT_EQ(top.size(), eitherWay.size()) << opponentsPage;
        for (std::size_t k = 0; k < top.size(); ++k) {
            const Row& row = top[k];
            // encounters, killed, killed by, main weapons, chance
            ASSERT_EQ(row.Cells.size(), 5u) << opponentsPage;
            EXPECT_EQ(Number(row.Cells[0]), eitherWay[k]) << opponentsPage << " row " << k;
            ASSERT_TRUE(killedAndBy.count(row.Player)) << row.Player;
            EXPECT_EQ(Number(row.Cells[1]), killedAndBy[row.Player].first) << row.Player;
            EXPECT_EQ(Number(row.Cells[2]), killedAndBy[row.Player].second) << row.Player;
            // "MP40 3:1, Sten 2:0": at most three weapons, none with more than the row's kills.
            const std::regex weapon("([^,]+) (\\d+):(\\d+)");
            int weapons = 0;
            std::int64_t previous = Number(row.Cells[0]);
            for (auto it = std::sregex_iterator(row.Cells[3].begin(), row.Cells[3].end(), weapon);
                 it != std::sregex_iterator(); ++it, ++weapons) {
                const std::int64_t kills = std::stoll((*it)[2]), deaths = std::stoll((*it)[3]);
                EXPECT_LE(kills, Number(row.Cells[1]));
                EXPECT_LE(deaths, Number(row.Cells[2]));
                EXPECT_LE(kills + deaths, previous) << "the most used first";
                previous = kills + deaths;
            }
            EXPECT_GE(weapons, 1) << row.Cells[3];
            EXPECT_LE(weapons, 3);
            const double chance = std::stod(row.Cells[4]);
            EXPECT_GT(chance, 0.0);
            EXPECT_LT(chance, 100.0);
            chances[{(site_ / page).lexically_normal(), row.Player}] = chance;
        }
    }
    // Where two players list each other, their chances add up to 100%.
    int pairs = 0;
    for (const auto& [key, chance] : chances)
        if (const auto other = chances.find({key.second, key.first}); other != chances.end()) {
            EXPECT_NEAR(chance + other->second, 100.0, 0.11) << key.first << " " << key.second;
            ++pairs;
        }
    EXPECT_GT(pairs, 0);
}

TEST(SiteOpponents, AStoreWithoutEachKillsWeaponShowsNoWeapons) {
    // A store from stored statistics keeps one entry for a pair's kills in a log.
    test::TestStore t;
    t.Kill("Al", "Bob", "MP40");
    const PlayerIndex al = t.Player("Al"), bob = t.Player("Bob");
    t.Store.RecordKillEvents(bob, al, t.Store.KillEvents[1].WeaponText, 4);
    DashboardSettings settings;
    settings.MinLinesForPage = 1;
    const fs::path site = test::ScratchDir();
    ASSERT_TRUE(WriteDashboardSite(t.Store, site.string(), settings).Ok());
    const std::vector<fs::path> pages = PlayerPages(site);
    ASSERT_EQ(pages.size(), 2u);
    for (const fs::path& page : pages) {
        const fs::path opponentsPage = OpponentsPageOf(page);
        const std::vector<Row> rows = RowsOf(site, opponentsPage, "top-opponents");
        ASSERT_EQ(rows.size(), 1u);
        ASSERT_EQ(rows[0].Cells.size(), 4u); // no weapons column
        EXPECT_EQ(Number(rows[0].Cells[0]), 5);
        EXPECT_NE(test::ReadFile((site / opponentsPage).string()).find("no weapons are shown"),
                  std::string::npos);
    }
}

} // namespace
} // namespace qla
