// The small pieces every page shares: row classes, headings, folders, page names, escaping,
// the frame, the style sheet and the text options preview.
#include "export/disk_sinks.h"
#include "export/export_views.h"
#include "export/html_export.h"
#include "export/html_frame.h"
#include "export/memory_sink.h"
#include "export/text_export.h"
#include "export/xml_export.h"
#include "test_store.h"

#include "support/scratch_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

namespace qla {
namespace {

namespace fs = std::filesystem;

TEST(NextRowClassTest, AlternatesFromLight) {
    struct Case {
        std::string_view current, next;
    } cases[] = {{"", "light"}, {"light", "dark"}, {"dark", "light"}, {"Light", "light"}};
    for (const Case& c : cases)
        EXPECT_EQ(NextRowClass(c.current), c.next) << c.current;
}

TEST(HeadingHtmlTest, WrapsInH2) {
    EXPECT_EQ(HeadingHtml("Other"), "<h2>Other</h2>");
    EXPECT_EQ(HeadingHtml(""), "<h2></h2>");
}

TEST(PlayerPageNameTest, ThreeDigitsThenInFull) {
    struct Case {
        PlayerIndex index;
        std::string_view name;
    } cases[] = {{1, "player001"},     {7, "player007"},      {42, "player042"},
                 {123, "player123"},   {999, "player999"},    {1000, "player1000"},
                 {1009, "player1009"}, {20000, "player20000"}};
    for (const Case& c : cases)
        EXPECT_EQ(PlayerPageName(c.index), c.name) << c.index;
}

TEST(EscapeTest, HtmlAndXml) {
    struct Case {
        std::string_view text, html, xml;
    } cases[] = {
        {"<&>", "&lt;&amp;&gt;", "&lt;&amp;&gt;"},
        {"a'b\"c", "a'b\"c", "a'b\"c"},
        {"tab\there", "tab\there", "tab\there"},
        // C0 controls have no place in either; pages get U+FFFD for them as the XML does.
        {"bell\x07", "bell\xEF\xBF\xBD", "bell\xEF\xBF\xBD"},
        {std::string_view("nul\0x", 5), "nul\xEF\xBF\xBDx", "nul\xEF\xBF\xBDx"},
        {"\x1B[2J\x7F", "\xEF\xBF\xBD[2J\x7F", "\xEF\xBF\xBD[2J\x7F"},
        {"\xEF\xBF\xBE\xEF\xBF\xBF", "\xEF\xBF\xBE\xEF\xBF\xBF",
         "\xEF\xBF\xBD\xEF\xBF\xBD"},                                             // U+FFFE, U+FFFF
        {"bad\xC3", "bad\xC3", "bad\xEF\xBF\xBD"},                                // cut sequence
        {"\xED\xA0\x80", "\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"}, // surrogate
        {"caf\xC3\xA9 \xF0\x9F\x98\x80", "caf\xC3\xA9 \xF0\x9F\x98\x80",
         "caf\xC3\xA9 \xF0\x9F\x98\x80"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EscapeHtml(c.text), c.html) << c.text;
        EXPECT_EQ(EscapeXmlText(c.text), c.xml) << c.text;
    }
}

TEST(BuildPageFrameTest, TitleWithoutCodesInHeadAndColouredInHeading) {
    const PageFrame frame = BuildPageFrame("^1My ^7<Server>");
    EXPECT_EQ(frame.PageHead,
              "<html><head><meta charset='utf-8'><title>My &lt;Server&gt; - "
              "https://quarvel.example.org</title><link rel='stylesheet' href='style.css' "
              "type='text/css'></head><body><h2><font color=#FF0000>My </font><font "
              "color=#FFFFFF>&lt;Server&gt;</font></h2><table cellspacing=1 cellpadding=3>");
    EXPECT_EQ(frame.PageFoot,
              "</table><br><hr>HTML Page generated with Quarvel Logfile Analyzer<br><a "
              "href='https://quarvel.example.org'>https://quarvel.example.org</a></body></html>");
    EXPECT_EQ(BuildPageFrame("other").PageFoot, frame.PageFoot);
}

TEST(ErrorTextTest, NumberDescriptionAndStage) {
    EXPECT_EQ(ErrorText(2, 5), "Error - 2 - No such file or directory\r\nerrorcode: 5");
    EXPECT_EQ(ErrorText(28, 25), "Error - 28 - No space left on device\r\nerrorcode: 25");
}

class StyleSheetTest : public testing::Test {
  protected:
    void SetUp() override { dir_ = test::ScratchDir(); }
    fs::path dir_;
};

TEST_F(StyleSheetTest, WritesTheSeventeenRules) {
    MemorySink sink;
    ASSERT_TRUE(WriteStyleSheet(sink).Ok());
    EXPECT_EQ(sink.Content("style.css"),
              "a {text-decoration: none;color: #202020}\r\n"
              "a:hover{text-decoration: underline;color: #000000}\r\n"
              "\r\n"
              "body {background-color: #808080; font-family: Verdana; font-size: 15px; color: "
              "#101010; text-align:left}\r\n"
              "\r\n"
              "tr.light{font-family: Tahoma; font-size: 12px; color: #202020; background-color: "
              "#ABABAB}\r\n"
              "tr.dark{font-family: Tahoma; font-size: 12px; color: #202020; background-color: "
              "#909090}\r\n"
              "\r\n"
              "td {font-family: Tahoma; font-size: 12px; color: #FFFFFF; text-align:left; "
              "text-valign:top;}\r\n"
              "td.nr {font-family: Tahoma; font-size: 12px; color: #202020; "
              "text-align:center}\r\n"
              "td.name {font-family: Verdana; font-size: 12px; color: #FFFFFF; "
              "text-align:left}\r\n"
              "\r\n"
              "th {font-family: Tahoma; font-size: 15px; color: #202020; text-align:left}\r\n"
              "th.nr {font-family: Tahoma; font-size: 15px; color: #202020; "
              "text-align:center}\r\n"
              "th.name {font-family: Verdana; font-size: 15px; color: #202020; "
              "text-align:left}\r\n"
              "\r\n"
              "h2 {font-family: Verdana; font-size: 20px; color: #202020; text-align:left}\r\n");
}

// Every writer that places a style sheet next to its page keeps one that is already there.
TEST_F(StyleSheetTest, AnExistingStyleSheetIsNeverReplaced) {
    test::TestStore data;
    data.Kill("Bob", "Al", "MP40");
    data.Chat(true, "Bob", true, "here", "hi");
    const std::string css = (dir_ / "style.css").string();
    const auto page = [&](ExportView view, std::string_view name) {
        return [&data, view, path = (dir_ / name).string()] {
            ExportRequest request = RequestFor(view, ExportFormat::Html, {});
            request.Path = path;
            request.GameTitle = "T";
            request.PlayerDetails.Player = 1;
            return RunExport(data.Store, request).File;
        };
    };
    const std::function<ExportResult()> writers[] = {
        [&] {
            PathSink beside((dir_ / "page.html").string(), std::nullopt);
            return WriteStyleSheet(beside);
        },
        page(ExportView::Standard, "a.html"),
        page(ExportView::PlayerDetails, "b.html"),
        page(ExportView::Weapons, "c.html"),
        page(ExportView::VoiceChat, "d.html"),
        page(ExportView::TextChat, "e.html"),
    };
    for (const auto& write : writers) {
        {
            std::ofstream own(css, std::ios::binary | std::ios::trunc);
            own << "/* mine */";
        }
        ASSERT_TRUE(write().Ok());
        EXPECT_EQ(test::ReadFile(css), "/* mine */");
    }
}

TEST(PreviewTextTest, FollowsTheChoices) {
    EXPECT_EQ(PreviewText({}), "Header1,Header2,Header3\r\n"
                               "^7Color^1Name,1,^7Color^1Name1-3\r\n"
                               "^7Color^1Name,2,^7Color^1Name2-3\r\n"
                               "^7Color^1Name,3,^7Color^1Name3-3\r\n"
                               "^7Color^1Name,4,^7Color^1Name4-3\r\n"
                               "^7Color^1Name,5,^7Color^1Name5-3\r\n");
    EXPECT_EQ(PreviewText({false, "; ", true}), "ColorName; 1; ColorName1-3\r\n"
                                                "ColorName; 2; ColorName2-3\r\n"
                                                "ColorName; 3; ColorName3-3\r\n"
                                                "ColorName; 4; ColorName4-3\r\n"
                                                "ColorName; 5; ColorName5-3\r\n");
    const std::string noSeparator = "Header1Header2Header3\r\n^7Color^1Name1^7Color^1Name1-3\r\n";
    EXPECT_EQ(PreviewText({true, "", false}).substr(0, noSeparator.size()), noSeparator);
}

} // namespace
} // namespace qla
