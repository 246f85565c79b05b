// Name normalisation, colour-code stripping and the HTML colour tags.
#include "core/names.h"

#include <gtest/gtest.h>

namespace qla {
namespace {

TEST(ColourCodeCharTest, DigitsAndTheSixteenMarksInEitherCase) {
    for (char c : std::string_view("0123456789.*,-@!$bnqduw#&|BNQDUW"))
        EXPECT_TRUE(IsColourCodeChar(std::string_view(&c, 1))) << c;
    for (std::string_view text : {"", "a", "x", "^", " ", "z", "Z", "10", "%", "(", "\xC3\xB6"})
        EXPECT_FALSE(IsColourCodeChar(text)) << text;
}

TEST(NormalizeNameTest, TrimsSpacesAndDropsTrailingCodes) {
    struct Case {
        std::string_view raw, normalised;
    };
    const Case cases[] = {
        {"  Fred^7  ", "Fred"},
        {"Fred", "Fred"},
        {"fred", "fred"},
        {"Fred^7^3", "Fred"},
        {"^1Red^7Fred^7", "^1Red^7Fred"},
        {"Fred^", "Fred^"},
        {"Fred^x", "Fred^x"},
        {"Fred^B", "Fred"},
        {"   ", ""},
        {"^7", ""},
        {"", ""},
        {"\tFred\t", "\tFred\t"},
        {"Fred ^7", "Fred "}, // a blank before trailing codes stays: trimming comes first
        {"^^7", "^"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NormalizeName(c.raw), c.normalised) << c.raw;
}

TEST(StripColourCodesTest, RemovesOnlyRealCodes) {
    EXPECT_EQ(StripColourCodes("^^1a"), "^a");
    EXPECT_EQ(StripColourCodes("^1Red^7Fred"), "RedFred");
    EXPECT_EQ(StripColourCodes("a^zb"), "a^zb");
    EXPECT_EQ(StripColourCodes("end^"), "end^");
    EXPECT_EQ(StripColourCodes("^B^bx"), "x");
    EXPECT_EQ(StripColourCodes("J\xC3\xB6rg^2"), "J\xC3\xB6rg");
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

} // namespace
} // namespace qla
