// Character cuts count code points and clamp to the text; decoding helpers.
#include "core/text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

namespace qla {
namespace {

struct CutCase {
    std::string_view text;
    std::int64_t count;
    std::string_view first, last, dropFirst, dropLast;
};

class CharCutTest : public ::testing::TestWithParam<CutCase> {};

TEST_P(CharCutTest, CutsByCharactersAndClamps) {
    const CutCase& c = GetParam();
    EXPECT_EQ(FirstChars(c.text, c.count), c.first);
    EXPECT_EQ(LastChars(c.text, c.count), c.last);
    EXPECT_EQ(DropFirstChars(c.text, c.count), c.dropFirst);
    EXPECT_EQ(DropLastChars(c.text, c.count), c.dropLast);
}

INSTANTIATE_TEST_SUITE_P(
    Cuts, CharCutTest,
    ::testing::Values(CutCase{"abcdef", 2, "ab", "ef", "cdef", "abcd"},
                      CutCase{"abc", 0, "", "", "abc", "abc"},
                      CutCase{"abc", -4, "", "", "abc", "abc"},
                      CutCase{"abc", 3, "abc", "abc", "", ""},
                      CutCase{"abc", 99, "abc", "abc", "", ""}, CutCase{"", 1, "", "", "", ""},
                      // "ö" and "ü" are two bytes each but one character.
                      CutCase{"Bö ü", 2, "Bö", " ü", " ü", "Bö"},
                      CutCase{"wurde gerösted", 7, "wurde g", "erösted", "erösted", "wurde g"},
                      CutCase{"€x", 1, "€", "x", "x", "€"}));

TEST(CharCountTest, CountsCodePointsNotBytes) {
    EXPECT_EQ(CharCount(""), 0);
    EXPECT_EQ(CharCount("abc"), 3);
    EXPECT_EQ(CharCount("tötete"), 6);
    EXPECT_EQ(CharCount("€"), 1);
    EXPECT_EQ(CharCount("\xF0\x9F\x98\x80"), 1);
}

TEST(TrimTest, TrimsOnlyTheSpaceCharacter) {
    EXPECT_EQ(TrimSpaces("  a b  "), "a b");
    EXPECT_EQ(TrimSpaces("   "), "");
    EXPECT_EQ(TrimSpaces("\ta\t"), "\ta\t");
    EXPECT_EQ(TrimRightSpaces("  a  "), "  a");
    EXPECT_EQ(TrimRightSpaces(""), "");
}

TEST(Utf8ValidityTest, AcceptsWellFormedAndRejectsTheRest) {
    struct Case {
        std::string_view bytes;
        bool valid;
    };
    const Case cases[] = {
        {"plain", true},
        {"gr\xC3\xB6sted", true},    // ö
        {"\xE2\x82\xAC", true},      // €
        {"\xF0\x9F\x98\x80", true},  // emoji
        {"gr\xF6sted", false},       // Windows-1252 ö
        {"\xC0\xAF", false},         // overlong
        {"\xE0\x80\xAF", false},     // overlong
        {"\xED\xA0\x80", false},     // surrogate
        {"\xF4\x90\x80\x80", false}, // past U+10FFFF
        {"\xE2\x82", false},         // cut short
        {"\x80", false},             // lone continuation
        {std::string_view("a\0b", 3), true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsValidUtf8(c.bytes), c.valid) << testing::PrintToString(c.bytes);
}

TEST(Windows1252Test, DecodesLettersPunctuationAndUnassignedBytes) {
    std::string out;
    AppendWindows1252AsUtf8(out, "t\xF6tete \xFC \x80 \x93x\x94 \x81\x8D\x8F\x90\x9D");
    EXPECT_EQ(out, "tötete ü € \u201Cx\u201D \u0081\u008D\u008F\u0090\u009D");
}

TEST(AppendCodePointTest, WritesEveryLength) {
    std::string out;
    for (char32_t cp : {U'A', U'\u00F6', U'\u20AC', U'\U0001F600'})
        AppendCodePoint(out, cp);
    EXPECT_EQ(out, "Aö€\U0001F600");
}

// The cuts take ASCII shortcuts; a plain count of character starts must give the same cut for
// every count on texts mixing ASCII, multi-byte characters and stray continuation bytes.
TEST(CharCutsTest, AgreeWithCountingCharacterStarts) {
    const auto starts = [](std::string_view text) {
        std::vector<std::size_t> at;
        for (std::size_t i = 0; i < text.size(); ++i)
            if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80)
                at.push_back(i);
        return at;
    };
    const std::string_view pieces[] = {"a",    "bcdefghij",        "\xC3\xB6", "\xE2\x82\xAC",
                                       "\x80", "\xF0\x9F\x98\x80", " "};
    std::uint64_t state = 3;
    for (int round = 0; round < 800; ++round) {
        std::string text;
        const int count = round % 25;
        for (int i = 0; i < count; ++i) {
            state = state * 6364136223846793005ULL + 1442695040888963407ULL;
            text += pieces[(state >> 33) % std::size(pieces)];
        }
        const std::vector<std::size_t> at = starts(text);
        const auto chars = static_cast<std::int64_t>(at.size());
        ASSERT_EQ(CharCount(text), chars) << testing::PrintToString(text);
        for (std::int64_t n = -1; n <= chars + 1; ++n) {
            const std::size_t first = n <= 0       ? 0
                                      : n >= chars ? text.size()
                                                   : at[static_cast<std::size_t>(n)];
            const std::size_t last = n <= 0      ? text.size()
                                     : n > chars ? 0
                                                 : at[static_cast<std::size_t>(chars - n)];
            const std::string_view t = text;
            ASSERT_EQ(FirstChars(t, n), t.substr(0, first)) << testing::PrintToString(text) << n;
            ASSERT_EQ(DropFirstChars(t, n), t.substr(first)) << testing::PrintToString(text) << n;
            ASSERT_EQ(LastChars(t, n), t.substr(last)) << testing::PrintToString(text) << n;
            ASSERT_EQ(DropLastChars(t, n), t.substr(0, last)) << testing::PrintToString(text) << n;
        }
    }
}

} // namespace
} // namespace qla
