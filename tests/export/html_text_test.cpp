// The export layer's one HTML escaper in its two uses, and the classic pages' colour tags.
#include "export/colour_html.h"
#include "export/html_text.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace qla {
namespace {

const std::string kFffd = "\xEF\xBF\xBD";

// The escaping rules one byte at a time, as plainly as they can be said: what the run-copying
// escaper must write.
std::string EscapedByteByByte(std::string_view text, bool quotes) {
    std::string out;
    for (const char c : text) {
        if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else if (quotes && c == '"')
            out += "&quot;";
        else if (quotes && c == '\'')
            out += "&#39;";
        else if (static_cast<unsigned char>(c) < 0x20 && c != '\t')
            out += kFffd;
        else
            out += c;
    }
    return out;
}

TEST(HtmlText, ClassicPagesKeepQuotesTheSiteQuotesThem) {
    const std::string text = "<a href='x'>\"Bob\" & Al</a>";
    EXPECT_EQ(EscapeHtml(text), "&lt;a href='x'&gt;\"Bob\" &amp; Al&lt;/a&gt;");
    std::string site;
    AppendHtmlText(site, text);
    EXPECT_EQ(site, "&lt;a href=&#39;x&#39;&gt;&quot;Bob&quot; &amp; Al&lt;/a&gt;");
    // Appending keeps what was there; empty text adds nothing.
    std::string out = "keep:";
    AppendEscapedHtml(out, "", HtmlQuotes::Escaped);
    AppendEscapedHtml(out, "a\x01", HtmlQuotes::Kept);
    EXPECT_EQ(out, "keep:a" + kFffd);
}

TEST(HtmlText, RunsBetweenReferencesAreCopiedWhole) {
    // Random bytes dense in markup characters, controls and quotes, at the start, the end and in
    // rows: the run copying must write what the byte rules say.
    std::mt19937 random(42);
    const std::string alphabet = std::string("&<>\"'\t\x01\x1B\x7F ab\xC3\xA9", 14) + '\0';
    for (int round = 0; round < 2000; ++round) {
        std::string text;
        const int length = static_cast<int>(random() % 12);
        for (int i = 0; i < length; ++i)
            text += alphabet[random() % alphabet.size()];
        EXPECT_EQ(EscapeHtml(text), EscapedByteByByte(text, false)) << text;
        std::string site;
        AppendHtmlText(site, text);
        EXPECT_EQ(site, EscapedByteByByte(text, true)) << text;
    }
}

TEST(ColourToHtmlTest, OpensAndClosesFontTags) {
    EXPECT_EQ(ColourToHtml("^1Red^7Fred"),
              "<font color=#FF0000>Red</font><font color=#FFFFFF>Fred</font>");
    EXPECT_EQ(ColourToHtml("a^zb"), "a^zb");
    EXPECT_EQ(ColourToHtml("^!x"), "<font color=#FFFFFF>x</font>");
    EXPECT_EQ(ColourToHtml("^$"), "<font color=#FFFFFF></font>");
    EXPECT_EQ(ColourToHtml("plain <b>"), "plain <b>");
}

TEST(ColourToHtmlTest, EveryCodeCharacterHasItsColour) {
    struct Case {
        char code;
        std::string_view colour;
    };
    const Case cases[] = {
        {'0', "000000"}, {'1', "FF0000"}, {'2', "00FF00"}, {'3', "FFFF00"}, {'4', "0000FF"},
        {'5', "00FFFF"}, {'6', "FF00FF"}, {'7', "FFFFFF"}, {'8', "000000"}, {'9', "FF0000"},
        {'.', "FF00FF"}, {'&', "FF00FF"}, {'*', "00FF00"}, {',', "0000FF"}, {'-', "00FFFF"},
        {'u', "00FFFF"}, {'@', "000000"}, {'b', "00FF00"}, {'n', "FF00FF"}, {'q', "FF0000"},
        {'d', "0000FF"}, {'w', "FFFFFF"}, {'#', "FFFF00"}, {'!', "FFFFFF"}, {'$', "FFFFFF"},
        {'|', "0000FF"}, {'U', "00FFFF"}, {'Q', "FF0000"},
    };
    for (const Case& c : cases) {
        const std::string text = std::string("^") + c.code + "x";
        EXPECT_EQ(ColourToHtml(text), "<font color=#" + std::string(c.colour) + ">x</font>")
            << c.code;
    }
}

TEST(ColourToHtmlTest, EscapesTheTextBetweenCodesOnRequest) {
    EXPECT_EQ(ColourToHtml("^1<script>&^2>", HtmlEscaping::Escape),
              "<font color=#FF0000>&lt;script&gt;&amp;</font><font color=#00FF00>&gt;</font>");
    EXPECT_EQ(ColourToHtml("a&b", HtmlEscaping::Escape), "a&amp;b");
    // "^&" is a code (magenta), not an ampersand to escape.
    EXPECT_EQ(ColourToHtml("^&x", HtmlEscaping::Escape), "<font color=#FF00FF>x</font>");
}

TEST(ColourToHtmlTest, EscapesLikeTheClassicPagesAndReplacesControls) {
    // Quotes stay, as in every classic page; controls become U+FFFD between the tags.
    EXPECT_EQ(ColourToHtml("^1<E\x1Bvil>\x07'\"", HtmlEscaping::Escape),
              "<font color=#FF0000>&lt;E" + kFffd + "vil&gt;" + kFffd + "'\"</font>");
    // A code's caret is never text; a caret before no code, or at the end, is.
    EXPECT_EQ(ColourToHtml("^^1x^", HtmlEscaping::Escape), "^<font color=#FF0000>x^</font>");
    EXPECT_EQ(ColourToHtml("", HtmlEscaping::Escape), "");
}

} // namespace
} // namespace qla
