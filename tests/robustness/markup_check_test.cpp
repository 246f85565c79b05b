// The checkers themselves must reject what they are there to catch, or a green fuzz run and a
// green regression suite would mean nothing.
#include "markup_check.h"
#include "xml_check.h"

#include <gtest/gtest.h>

namespace qla {
namespace {

const std::string kHead = "<html><head><meta charset='utf-8'><title>T</title>"
                          "<link rel='stylesheet' href='style.css' type='text/css'></head><body>"
                          "<table cellspacing=1 cellpadding=3>\r\n";
const std::string kFoot = "</table><br><hr><a href='x.html'>x</a></body></html>\r\n";

struct PageCase {
    const char* Name;
    std::string Body;
    bool WellFormed;
};

class HtmlPageCheck : public testing::TestWithParam<PageCase> {};

TEST_P(HtmlPageCheck, JudgesThePage) {
    const std::string problem = robust::HtmlPageProblem(kHead + GetParam().Body + kFoot);
    EXPECT_EQ(problem.empty(), GetParam().WellFormed) << problem;
}

INSTANTIATE_TEST_SUITE_P(
    Pages, HtmlPageCheck,
    testing::Values(
        PageCase{"Row",
                 "<tr class='light'><td class='name'><font color=#FF0000>a</font></td></tr>\r\n",
                 true},
        PageCase{"Escaped", "<tr><td>&lt;script&gt; &amp; x</td></tr>\r\n", true},
        PageCase{"RawLess", "<tr><td>a < b</td></tr>\r\n", false},
        PageCase{"RawGreater", "<tr><td>a > b</td></tr>\r\n", false},
        PageCase{"BareAmpersand", "<tr><td>Tom & Jerry</td></tr>\r\n", false},
        PageCase{"UnknownEntity", "<tr><td>&nbsp;</td></tr>\r\n", false},
        PageCase{"ScriptTag", "<tr><td><script>alert(1)</script></td></tr>\r\n", false},
        PageCase{"UnclosedCell", "<tr><td>a</tr>\r\n", false},
        PageCase{"StrayClose", "<tr><td>a</td></td></tr>\r\n", false},
        PageCase{"QuoteInAttribute", "<tr class='a'b'><td>a</td></tr>\r\n", false},
        PageCase{"MarkupInAttribute", "<tr><td><a href='x<y.html'>a</a></td></tr>\r\n", false},
        PageCase{"LoneLf", "<tr><td>a</td></tr>\n", false},
        PageCase{"LoneCr", "<tr><td>a\r</td></tr>\r\n", false},
        PageCase{"InvalidUtf8", "<tr><td>\xff</td></tr>\r\n", false}),
    [](const testing::TestParamInfo<PageCase>& info) { return std::string(info.param.Name); });

TEST(HtmlPageCheck, NeedsThePageHead) {
    EXPECT_NE(robust::HtmlPageProblem("<html><body></body></html>\r\n"), "");
}

TEST(FontMarkupCheck, AcceptsOnlyColourToHtmlOutput) {
    EXPECT_EQ(robust::FontMarkupProblem("a<font color=#FF0000>b</font><font color=#00FF00>c"
                                        "&lt;</font>"),
              "");
    for (const char* bad : {"<font color=#FF0000>a", "</font>", "<b>x</b>", "a>b", "&x;",
                            "<font color=#FF0000><font color=#FF0000>a</font></font>",
                            "<font color=#GG0000>a</font>"})
        EXPECT_NE(robust::FontMarkupProblem(bad), "") << bad;
}

TEST(MarkupText, RemovesTagsAndDecodesEntities) {
    EXPECT_EQ(robust::TextOfMarkup("<font color=#FF0000>a&lt;b&amp;lt;</font>&gt;"), "a<b&lt;>");
    EXPECT_EQ(robust::TagCount("<a><b>&lt;"), 2u);
}

TEST(XmlReading, RejectsBrokenDocumentsAndCounts) {
    const robust::XmlReading good =
        robust::ReadXml("<s><player><n>a &amp; &lt;b&gt;</n></player><player/></s>", "player");
    EXPECT_EQ(good.Error, "");
    EXPECT_EQ(good.Named, 2u);
    EXPECT_EQ(good.Text, "a & <b>");
    for (const char* bad : {"<s>a & b</s>", "<s><x></s>", "<s>\x01</s>", "<s>a</s><t/>"})
        EXPECT_NE(robust::ReadXml(bad).Error, "") << bad;
}

} // namespace
} // namespace qla
