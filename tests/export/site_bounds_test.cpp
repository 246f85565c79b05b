// The statistics site under hostile logs: rows of colour codes, very long names, many players
// seen once and more pages than one folder should hold. Each case checks the rule on a small
// store; bench/run measures the big logs.
#include "core/names.h"
#include "export/colour_html.h"
#include "export/dashboard/dashboard_export.h"
#include "export/dashboard/player_address.h"
#include "export/dashboard/site_layout.h"
#include "export/dashboard/site_names.h"
#include "export/dashboard/site_tables.h"
#include "export/export_views.h"
#include "test_store.h"

#include "support/scratch_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <random>
#include <set>
#include <string>

namespace qla {
namespace {

namespace fs = std::filesystem;

std::string Coloured(std::string_view text) {
    std::string out;
    AppendColouredText(out, text);
    return out;
}

std::string Shown(std::string_view name) {
    std::string out;
    AppendShownName(out, name);
    return out;
}

TEST(SiteColours, ARowOfCodesIsOneElementAndNoElementIsEmpty) {
    EXPECT_EQ(Coloured("^1^2^3Bob"), "<span class=\"c3\">Bob</span>");
    EXPECT_EQ(Coloured("Bob^1^2"), "Bob"); // codes with nothing after them
    EXPECT_EQ(Coloured("^1^2^3"), "");
    EXPECT_EQ(Coloured("[QV]^1Bob^7^2 Al"),
              "[QV]<span class=\"c1\">Bob</span><span class=\"c2\"> Al</span>");
    // Runs of one colour share an element; a lone caret is text.
    EXPECT_EQ(Coloured("^1Bob^9by^1"), "<span class=\"c1\">Bobby</span>");
    EXPECT_EQ(Coloured("^^1<b>"), "^<span class=\"c1\">&lt;b&gt;</span>");
    // A million codes are one element, as the generator's code-run names are.
    std::string run;
    for (int i = 0; i < 1000000; ++i)
        run += i % 2 ? "^1" : "^b";
    EXPECT_EQ(Coloured(run + "Coder"), "<span class=\"c1\">Coder</span>");
    // The classic pages' colour rendering keeps a tag for every code.
    EXPECT_EQ(ColourToHtml("^1^2A"), "<font color=#FF0000></font><font color=#00FF00>A</font>");
}

TEST(SiteColours, TheRowsFilesCodesColourAsThePagesDo) {
    EXPECT_EQ(ShortestColourCodes("^1^2^3Bob^7"), "^3Bob");
    EXPECT_EQ(ShortestColourCodes("^1Bob^9by"), "^1Bobby");
    EXPECT_EQ(ShortestColourCodes("plain"), "plain");
    // A caret before a kept code must not make a code of the text after it.
    EXPECT_EQ(ShortestColourCodes("^1x^^11"), "^1x^^11");
    // Against the pages' rendering on random texts of carets, code and other characters.
    std::mt19937 random(5);
    const std::string alphabet = "^^^17bqQ9xy <&";
    for (int n = 0; n < 20000; ++n) {
        std::string text(random() % 12, ' ');
        for (char& c : text)
            c = alphabet[random() % alphabet.size()];
        const std::string shortest = ShortestColourCodes(text);
        EXPECT_EQ(Coloured(shortest), Coloured(text)) << text;
        EXPECT_EQ(StripColourCodes(shortest), StripColourCodes(text)) << text;
        EXPECT_LE(shortest.size(), text.size()) << text;
    }
}

TEST(SiteNames, ALongNameIsShortenedWithTheWholeNameInItsTitle) {
    const std::string forty(kShownNameChars, 'x');
    EXPECT_EQ(Shown("^1" + forty), "<span class=\"c1\">" + forty + "</span>");
    // Forty characters and an ellipsis; the title holds every visible character, escaped.
    const std::string name = "^1" + std::string(30, 'a') + "^2" + std::string(20, 'b') + "<\"";
    EXPECT_EQ(Shown(name), "<span title=\"" + std::string(30, 'a') + std::string(20, 'b') +
                               "&lt;&quot;\"><span class=\"c1\">" + std::string(30, 'a') +
                               "</span><span class=\"c2\">" + std::string(10, 'b') +
                               "</span>\xE2\x80\xA6</span>");
    // Characters, not bytes: a name of 41 two-byte letters loses the last whole one.
    std::string umlauts;
    for (std::size_t i = 0; i <= kShownNameChars; ++i)
        umlauts += "\xC3\xBC";
    EXPECT_EQ(Shown(umlauts), "<span title=\"" + umlauts + "\">" +
                                  umlauts.substr(0, 2 * kShownNameChars) + "\xE2\x80\xA6</span>");
    // Codes do not count: a million of them before a short name leave it whole.
    std::string codes;
    for (int i = 0; i < 1000000; ++i)
        codes += "^1";
    EXPECT_EQ(Shown(codes + "Al"), "<span class=\"c1\">Al</span>");
}

TEST(SiteLayout, NumberedPagesFillFoldersUpToTheLimit) {
    EXPECT_EQ(PageSeries("players", "p", 9, 10).Path(7), "players/p7.html");
    EXPECT_EQ(PageSeries("players", "p", 9, 10).Depth(), 1);
    const PageSeries two("players", "p", 999, 10);
    EXPECT_EQ(two.Path(7), "players/0/0/p7.html");
    EXPECT_EQ(two.Path(345), "players/3/4/p345.html");
    EXPECT_EQ(two.Depth(), 3);
    EXPECT_EQ(two.ScriptForm(), "players|p|2|10");
    std::map<std::string, std::set<std::string>> entries; // folder -> its files and folders
    for (std::size_t n = 1; n <= 999; ++n) {
        fs::path path = two.Path(n);
        for (; path.has_parent_path(); path = path.parent_path())
            entries[path.parent_path().string()].insert(path.filename().string());
    }
    for (const auto& [folder, names] : entries)
        EXPECT_LE(names.size(), 10u) << folder;
    EXPECT_EQ(entries["players/9"].size(), 10u);
}

TEST(SiteLayout, EveryoneHasAPageUpToAThousandPlayersUnlessTold) {
    DashboardSettings settings;
    EXPECT_EQ(MinLinesForPage(settings, kPagesForEveryPlayerUpTo), 0);
    EXPECT_EQ(MinLinesForPage(settings, kPagesForEveryPlayerUpTo + 1), kDefaultMinLinesForPage);
    settings.MinLinesForPage = 2;
    EXPECT_EQ(MinLinesForPage(settings, 3), 2);

    test::TestStore t;
    t.Kill("Ace", "Once", "MP40");
    t.Kill("Ace", "Twice", "MP40");
    t.Chat(true, "Twice", false, "Hill", "hi");
    const DashboardModel model = BuildDashboardModel(t.Store, settings);
    EXPECT_EQ(model.Of(1).Lines, 2);
    EXPECT_TRUE(model.Of(1).OwnPage);  // Ace
    EXPECT_FALSE(model.Of(2).OwnPage); // Once: one line
    EXPECT_TRUE(model.Of(3).OwnPage);  // Twice: a death and a chat
}

// The values of one attribute in a page, in order.
std::vector<std::string> ValuesOf(const std::string& page, const std::string& attribute) {
    std::vector<std::string> values;
    const std::string start = " " + attribute + "=\"";
    for (std::size_t at = page.find(start); at != std::string::npos; at = page.find(start, at)) {
        at += start.size();
        values.push_back(page.substr(at, page.find('"', at) - at));
    }
    return values;
}

// Links of every page of the site, each seen from its page's folder: the file exists and an
// anchor names an element of it.
void ExpectEveryLinkResolves(const fs::path& site) {
    std::map<fs::path, std::string> pages;
    std::map<fs::path, std::set<std::string>> ids;
    for (const auto& entry : fs::recursive_directory_iterator(site))
        if (entry.path().extension() == ".html") {
            const fs::path page = fs::weakly_canonical(entry.path());
            pages[page] = test::ReadFile(entry.path().string());
            for (const std::string& id : ValuesOf(pages[page], "id"))
                ids[page].insert(id);
        }
    std::set<fs::path> checked;
    std::size_t links = 0;
    for (const auto& [file, text] : pages)
        for (const char* attribute : {"href", "src", "data-rows"})
            for (const std::string& link : ValuesOf(text, attribute)) {
                ++links;
                const std::size_t hash = link.find('#');
                const fs::path target =
                    (file.parent_path() / link.substr(0, hash)).lexically_normal();
                if (checked.insert(target).second) {
                    ASSERT_TRUE(fs::exists(target)) << file << " links to " << link;
                }
                if (hash != std::string::npos) {
                    EXPECT_TRUE(ids[target].count(link.substr(hash + 1)))
                        << file << " links to " << link;
                }
            }
    EXPECT_GT(links, pages.size());
}

TEST(SiteBounds, PlayersSeenInFewLinesAreRowsOfTheListThatLinksLeadTo) {
    test::TestStore t;
    t.Kill("Ace", "^1Once", "MP40");
    t.Kill("Ace", "Bob", "MP40");
    t.Kill("Bob", "Ace", "Sten");
    t.Kill("Bob", "Ace", "Sten");
    t.Chat(true, "^1Once", false, "Hill", "hi"); // two lines
    t.Chat(false, "Solo", false, "Base", "gg");  // one line, no opponent
    DashboardSettings settings;
    settings.MinLinesForPage = 3;
    const fs::path site = test::ScratchDir();
    ASSERT_TRUE(WriteDashboardSite(t.Store, site.string(), settings).Ok());

    const auto pageOf = [&](std::string_view name) {
        return site / PlayerPagePath(PlayerPageAddress(name));
    };
    EXPECT_TRUE(fs::exists(pageOf("Ace")));
    EXPECT_TRUE(fs::exists(pageOf("Bob")));
    EXPECT_FALSE(fs::exists(pageOf("^1Once")));
    EXPECT_FALSE(fs::exists(pageOf("Solo")));
    const std::string index = test::ReadFile((site / "index.html").string());
    EXPECT_NE(index.find("<tr id=\"p2\"><td><span class=\"c1\">Once</span><td>0<td>1<td>"),
              std::string::npos);
    const std::string ace = test::ReadFile(pageOf("Ace").string());
    // His rating, as in data.json below, with its uncertainty.
    EXPECT_NE(ace.find("<dt>Rating<dd>1512 ± 124</div>"), std::string::npos);
    // Nobody has the 50 kills either way the skill board needs.
    const std::string overview = test::ReadFile((site / "index.html").string());
    EXPECT_NE(overview.find("<h2>Best rated</h2><p class=\"note\">Ranked by the rating less twice "
                            "its uncertainty; at least 50 kills either way.</p><p>Nobody yet.</p>"),
              std::string::npos);
    EXPECT_NE(ace.find("<a href=\"../../index.html#p2\"><span class=\"c1\">Once</span></a>"),
              std::string::npos);
    // The chat's speaker list leads to his row, from the log's page in its folder.
    const std::string voice = test::ReadFile((site / "voice/log-1.html").string());
    EXPECT_NE(voice.find("data-root=\"../\" data-speakers=\"index.html#p2\""), std::string::npos);
    // The script's rows name the list page for those without a page.
    EXPECT_NE(test::ReadFile((site / "players-rows.js").string()).find("[[2,\"^1Once\",1],0,1,"),
              std::string::npos);
    // The site's data.json gives details only where the site shows them; the JSON export to all.
    const std::string data = test::ReadFile((site / "data.json").string());
    EXPECT_NE(data.find("\"id\":2,\"name\":\"^1Once\",\"visibleName\":\"Once\",\"kills\":0,"
                        "\"deaths\":1,\"ratio\":0,\"teamkills\":0,\"suicides\":0,\"rating\":1433,"
                        "\"ratingUncertainty\":156,\"encounters\":1,\"voiceChats\":1,"
                        "\"textChats\":0}"),
              std::string::npos)
        << data;
    const fs::path json = site / "dashboard.json";
    ExportRequest request = RequestFor(ExportView::Dashboard, ExportFormat::Json, {});
    request.Path = json.string();
    request.Dashboard = settings;
    ASSERT_TRUE(RunExport(t.Store, request).Ok());
    EXPECT_NE(test::ReadFile(json.string())
                  .find("\"voiceChats\":1,\"textChats\":0,\"weapons\":[{\"weapon\":\"MP40\","
                        "\"kills\":0,\"deaths\":1}]"),
              std::string::npos);
    ExpectEveryLinkResolves(site);
}

TEST(SiteBounds, NoFolderHoldsMoreThanTheLimitAndEveryLinkResolves) {
    // More list pages and player numbers than a folder of 20 holds, and a long chat.
    test::TestStore t;
    const auto regular = [](std::size_t k) {
        return "^" + std::to_string(k % 10) + "Regular" + std::to_string(k);
    };
    for (std::size_t k = 1; k <= 450; ++k) {
        t.Kill(regular(k), "Victim" + std::to_string(k % 7 + 1), "MP40");
        t.Kill(regular(k), "Victim" + std::to_string(k % 5 + 1), "Sten");
    }
    for (std::size_t k = 1; k <= kOverviewPlayerRows + 20 * kListPlayerRows; ++k)
        t.Chat(false, "Passer" + std::to_string(k), false, "Base", "hi");
    for (std::size_t k = 1; k <= 21000; ++k)
        t.Chat(true, regular(k % 450 + 1), false, "Hill", "^1^2go");
    DashboardSettings settings;
    settings.FilesPerFolder = 20;
    settings.MinLinesForPage = 2;
    const fs::path site = test::ScratchDir();
    ASSERT_TRUE(WriteDashboardSite(t.Store, site.string(), settings).Ok());

    std::size_t folders = 0, playerPages = 0;
    for (const auto& entry : fs::recursive_directory_iterator(site)) {
        if (!entry.is_directory()) {
            playerPages += entry.path().extension() == ".html" &&
                           !entry.path().string().ends_with("-opponents.html") &&
                           entry.path().string().find("/players/") != std::string::npos;
            continue;
        }
        ++folders;
        const auto count = std::distance(fs::directory_iterator(entry), fs::directory_iterator());
        EXPECT_LE(count, 20) << entry.path();
    }
    EXPECT_LE(std::distance(fs::directory_iterator(site), fs::directory_iterator()), 20);
    EXPECT_GT(folders, 20u);
    EXPECT_EQ(playerPages, 450u + 7u); // the passers, seen once, have rows
    EXPECT_NE(
        test::ReadFile((site / "voice/log-1.html").string()).find("<span class=\"c2\">go</span>"),
        std::string::npos);
    ExpectEveryLinkResolves(site);
}

} // namespace
} // namespace qla
