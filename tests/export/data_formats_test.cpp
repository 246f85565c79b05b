// CSV quoting and formula guard, JSON escaping (also inside <script>), and the site's
// HTML pieces and counting: the rules other tools and browsers rely on.
#include "export/dashboard/dashboard_export.h"
#include "export/dashboard/dashboard_model.h"
#include "export/dashboard/player_address.h"
#include "export/dashboard/site_html.h"
#include "export/data/csv_text.h"
#include "export/data/json_text.h"
#include "stats/detail_tables.h"
#include "test_store.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace qla {
namespace {

std::string Csv(std::string_view field, CsvOptions options = {}) {
    std::string out;
    AppendCsvField(out, field, options);
    return out;
}

TEST(CsvField, QuotesSeparatorQuotesAndLineEndsAndDoublesQuotes) {
    EXPECT_EQ(Csv("plain"), "plain");
    EXPECT_EQ(Csv("a,b"), "\"a,b\"");
    EXPECT_EQ(Csv("say \"hi\""), "\"say \"\"hi\"\"\"");
    EXPECT_EQ(Csv("one\r\ntwo"), "\"one\r\ntwo\"");
    EXPECT_EQ(Csv("line\nend"), "\"line\nend\"");
    EXPECT_EQ(Csv("a;b"), "a;b");
    EXPECT_EQ(Csv("a;b", {";", false}), "\"a;b\"");
    EXPECT_EQ(Csv("a::b", {"::", false}), "\"a::b\"");
    // NUL and ESC become U+FFFD as in the other exports; tab stays.
    EXPECT_EQ(Csv(std::string_view("a\0b\x1b[31m\tc", 10)), "a\xEF\xBF\xBD"
                                                            "b\xEF\xBF\xBD[31m\tc");
}

TEST(CsvField, GuardsFormulasUnlessRaw) {
    for (const std::string_view formula : {"=HYPERLINK(A1)", "+1", "-2", "@SUM(A1)", "\tx"})
        EXPECT_EQ(Csv(formula, {"|", false}).substr(0, 2), "'" + std::string(formula.substr(0, 1)))
            << formula;
    EXPECT_EQ(Csv("\rx"), "\"'\rx\"");
    EXPECT_EQ(Csv("=1,2"), "\"'=1,2\"");
    EXPECT_EQ(Csv("=1", {",", true}), "=1");
    EXPECT_EQ(Csv("a=1"), "a=1");
    std::string number;
    AppendCsvNumber(number, "-3", {});
    EXPECT_EQ(number, "-3");
}

std::string Json(std::string_view text) {
    std::string out;
    AppendJsonString(out, text);
    return out;
}

TEST(JsonString, EscapesWhatCouldEndAScriptElementOrAString) {
    EXPECT_EQ(Json("</script><script>alert(1)</script>"),
              "\"\\u003c/script\\u003e\\u003cscript\\u003ealert(1)\\u003c/script\\u003e\"");
    EXPECT_EQ(Json("a\"b\\c\n\r\t\x01"), "\"a\\\"b\\\\c\\n\\r\\t\\u0001\"");
    EXPECT_EQ(Json("&amp;"), "\"\\u0026amp;\"");
    EXPECT_EQ(Json("\xE2\x80\xA8|\xE2\x80\xA9"), "\"\\u2028|\\u2029\"");
    EXPECT_EQ(Json("Ørjan €"), "\"Ørjan €\"");
}

TEST(JsonString, ReplacesBytesThatAreNotUtf8) {
    EXPECT_EQ(Json("Half\xC3"), "\"Half\xEF\xBF\xBD\"");
    EXPECT_EQ(Json("\xFF\x80"), "\"\xEF\xBF\xBD\xEF\xBF\xBD\"");
    EXPECT_EQ(Json("\xC0\xAF"), "\"\xEF\xBF\xBD\xEF\xBF\xBD\"");                 // overlong "/"
    EXPECT_EQ(Json("\xED\xA0\x80"), "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\""); // surrogate
}

TEST(JsonWriter, PlacesCommasAndKeysInNestedContainers) {
    std::string out;
    JsonWriter json(out);
    json.BeginObject();
    json.Field("a", 1);
    json.Key("b");
    json.BeginArray();
    json.Hundredths(150);
    json.Hundredths(-5);
    json.Null();
    json.BeginObject();
    json.EndObject();
    json.EndArray();
    json.Field("c", true);
    json.EndObject();
    EXPECT_EQ(out, "{\"a\":1,\"b\":[1.5,-0.05,null,{}],\"c\":true}");
}

TEST(SiteHtml, NamesAreColouredTextAndNeverMarkup) {
    std::string out;
    AppendColouredText(out, "^1<img src=x onerror=alert(1)>^7\"'&^");
    EXPECT_EQ(out, "<span class=\"c1\">&lt;img src=x onerror=alert(1)&gt;"
                   "</span><span class=\"c7\">&quot;&#39;&amp;^</span>");
    out.clear();
    // Without colour codes a name is its text alone; text before the first code has no span.
    AppendColouredText(out, "plain");
    EXPECT_EQ(out, "plain");
    out.clear();
    AppendColouredText(out, "a<^2b");
    EXPECT_EQ(out, "a&lt;<span class=\"c2\">b</span>");
    out.clear();
    AppendHtmlText(out, std::string_view("N\0\x07\tx", 5));
    EXPECT_EQ(out, "N\xEF\xBF\xBD\xEF\xBF\xBD\tx");
}

TEST(SiteHtml, TextBetweenReferencesIsKeptWhole) {
    std::string out = "x";
    AppendHtmlText(out, "<a>\xC3\xA9t\xC3\xA9 & \"b\"'");
    EXPECT_EQ(out, "x&lt;a&gt;\xC3\xA9t\xC3\xA9 &amp; &quot;b&quot;&#39;");
    out.clear();
    AppendHtmlText(out, "plain text");
    EXPECT_EQ(out, "plain text");
    AppendHtmlText(out, "");
    EXPECT_EQ(out, "plain text");
}

TEST(SiteHtml, BarChartsWriteWholeNumbersWithoutDecimalsAndNoBarTitles) {
    std::string out;
    AppendBarChart(out, "Kills", {"kills"}, {{"MP40", {4}}, {"Sten", {1}}});
    // The longest bar is 480 wide and starts at 110; the other is a quarter of it.
    EXPECT_NE(out.find("<rect class=\"s0\" x=\"110\" y=\"22\" width=\"480\" height=\"10\"/>"
                       "<text class=\"value\" x=\"594\" y=\"31\">4</text>"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("width=\"120\" height=\"10\"/><text class=\"value\" x=\"234\""),
              std::string::npos)
        << out;
    EXPECT_EQ(out.find("<title>"), std::string::npos);
    out.clear();
    AppendBarChart(out, "Kills", {"kills"}, {{"A", {3}}, {"B", {1}}});
    EXPECT_NE(out.find("width=\"160\""), std::string::npos) << out;
    EXPECT_NE(out.find("x=\"274\""), std::string::npos) << out; // 110 + 160 + 4
    out.clear();
    AppendBarChart(out, "Kills", {"kills"}, {{"A", {7}}, {"B", {2}}});
    EXPECT_NE(out.find("width=\"137.1\""), std::string::npos) << out; // 2 * 480 / 7
}

TEST(SiteHtml, PagersLinkOnwardsFromThePagesFolder) {
    const auto pathOf = [](std::size_t page) {
        return page == 1 ? std::string("index.html")
                         : "list/players-" + std::to_string(page) + ".html";
    };
    std::string out;
    AppendPager(out, "../", 2, 3, pathOf);
    EXPECT_EQ(out, "<nav class=\"pager\" aria-label=\"Pages\"><p>Page 2 of 3: <a "
                   "href=\"../index.html\">first</a> <a href=\"../index.html\">previous</a> <a "
                   "href=\"../list/players-3.html\">next</a> <a "
                   "href=\"../list/players-3.html\">last</a></p></nav>\n");
    out.clear();
    AppendPager(out, "", 1, 1, pathOf);
    EXPECT_EQ(out, "");
}

TEST(DashboardModel, TopListsApplyTheThresholdsAndRivalsComeFromTheEvents) {
    test::TestStore t;
    ASSERT_EQ(t.Run("player\tAce\nplayer\tBob\nplayer\tCid\n"), "");
    for (int i = 0; i < 6; ++i)
        t.Kill("Ace", "Bob", "MP40");
    t.Kill("Bob", "Ace", "MP40");
    t.Kill("Cid", "Ace", "Sten");
    t.Kill("Cid", "Ace", "Sten");
    t.Kill("Cid", "Bob", "Sten");
    t.Teamkill("Bob", "Cid");
    DashboardSettings settings;
    settings.MinKills = 5;
    settings.MinDeaths = 3;
    const DashboardModel model = BuildDashboardModel(t.Store, settings);
    EXPECT_EQ(model.MostKills, (std::vector<PlayerIndex>{1, 3, 2}));
    EXPECT_EQ(model.BestRatio, (std::vector<PlayerIndex>{1})); // Cid lacks kills, Bob the ratio
    EXPECT_EQ(model.MostTeamkills, (std::vector<PlayerIndex>{2}));
    EXPECT_EQ(model.Of(1).RatioHundredths, 200);
    const WeaponSummary& sten = model.Weapons[6 - 1]; // WeaponId 6
    EXPECT_EQ(sten.Kills, 3);
    EXPECT_EQ(sten.SharePercent, 30);
    EXPECT_EQ(sten.Best, 3);
    EXPECT_EQ(sten.BestKills, 3);
    EXPECT_EQ(sten.Worst, 1);
    EXPECT_EQ(sten.WorstDeaths, 2);

    const KillEventIndex events(t.Store);
    const auto ace = OpponentsOf(t.Store, events, 1);
    EXPECT_EQ(Nemesis(ace), 3);
    EXPECT_EQ(FavouriteVictim(ace), 2);
    const auto cid = OpponentsOf(t.Store, events, 3);
    EXPECT_EQ(Nemesis(cid), 0); // the teamkill by Bob does not count
}

TEST(DashboardSite, HostileNamesStayTextOnEveryPage) {
    test::TestStore t;
    const std::string hostile = "</script><script>alert(1)</script>";
    t.Kill(hostile, "\"><img src=x onerror=alert(1)>", "MP40");
    t.Chat(false, hostile, false, "Base", "</script><b>x</b>");
    const auto folder = std::filesystem::path(::testing::TempDir()) / "qla-dashboard-hostile";
    std::filesystem::remove_all(folder);
    DashboardSettings settings;
    settings.GameTitle = "^1</title><script>alert(1)</script>";
    ASSERT_TRUE(WriteDashboardSite(t.Store, folder.string(), settings).Ok());
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (entry.path().extension() != ".html")
            continue;
        const std::string page = test::ReadFile(entry.path().string());
        EXPECT_EQ(page.find("<script>alert"), std::string::npos) << entry.path();
        EXPECT_EQ(page.find("<img"), std::string::npos) << entry.path();
        EXPECT_EQ(page.find("<b>"), std::string::npos) << entry.path();
        EXPECT_EQ(page.find("</title><script"), std::string::npos) << entry.path();
    }
    for (PlayerIndex p = 1; p <= 2; ++p)
        EXPECT_TRUE(std::filesystem::exists(
            folder / PlayerPagePath(PlayerPageAddress(t.Store.Players[p].Name))));
    std::filesystem::remove_all(folder);
}

TEST(DashboardSite, ReportsTheFileItCouldNotWrite) {
    test::TestStore t;
    t.Kill("Ace", "Bob", "MP40");
    const auto folder = std::filesystem::path(::testing::TempDir()) / "qla-dashboard-blocked";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder / "weapons.html"); // a folder where a page goes
    const ExportResult result = WriteDashboardSite(t.Store, folder.string(), {});
    EXPECT_EQ(result.Error, "weapons.html: Not written: a folder of that name exists, and only "
                            "regular files are replaced");
    std::filesystem::remove_all(folder);
}

} // namespace
} // namespace qla
