// Case folding and the identity key of player names.
#include "core/case_fold.h"
#include "core/names.h"
#include "core/text.h"

#include <gtest/gtest.h>

namespace qla {
namespace {

TEST(FoldCaseTest, FoldsLatinGreekAndCyrillicLetters) {
    struct Case {
        std::string_view text, folded;
    };
    const Case cases[] = {
        {"Fred", "fred"},
        {"ÄÖÜ äöü", "äöü äöü"},
        {"ÆØÅ", "æøå"},
        {"ĞÖKHAN", "ğökhan"},
        {"ŁUKASZ", "łukasz"},
        {"Ÿ", "ÿ"}, // folds outside its own block
        {"ſ", "s"}, // long s
        {"ΣΠΎΡΟΣ", "σπύροσ"},
        {"σπύρος", "σπύροσ"}, // final sigma folds to sigma
        {"ДИМА", "дима"},
        {"ЁЖИК", "ёжик"},
        {"ЃЅ", "ѓѕ"},
        {"ẞ Weiß", "ss weiss"},
        {"ＡＢＣ", "ａｂｃ"}, // fullwidth Latin
        {"小龙 123 ^1!", "小龙 123 ^1!"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FoldCase(c.text), c.folded) << c.text;
}

TEST(FoldCaseTest, KeepsBytesThatAreNotUtf8AndIsIdempotent) {
    EXPECT_EQ(FoldCase("A\xFF"
                       "B\xC3"),
              "a\xFF"
              "b\xC3");
    EXPECT_EQ(FoldCase("\xC0\xAF"
                       "X"),
              "\xC0\xAF"
              "x"); // an overlong form is no letter
    for (std::string_view text : {"ÀÉÎÕÜ", "ΑΒΓΔ", "АБВГ", "Ǆ ǅ ǆ", "ḀẞỸ"})
        EXPECT_EQ(FoldCase(FoldCase(text)), FoldCase(text)) << text;
}

TEST(FoldCodePointTest, PairsOfEveryOtherCodePointFoldOnlyTheUpperOne) {
    EXPECT_EQ(FoldCodePoint(0x0100), char32_t{0x0101}); // Ā -> ā
    EXPECT_EQ(FoldCodePoint(0x0101), char32_t{0x0101});
    EXPECT_EQ(FoldCodePoint(0x0460), char32_t{0x0461}); // Ѡ -> ѡ
    EXPECT_EQ(FoldCodePoint(0x0461), char32_t{0x0461});
    EXPECT_EQ(FoldCodePoint(0x00D7), char32_t{0x00D7}); // the multiplication sign in Latin-1
    EXPECT_EQ(FoldCodePoint(0x00DF), char32_t{0x00DF}); // ß has no simple folding
    EXPECT_EQ(FoldCodePoint(0x10FFFF), char32_t{0x10FFFF});
}

TEST(IdentityKeyTest, IgnoresColourCodesCaseAndOuterBlanks) {
    const std::string bob = IdentityKey("Bob");
    EXPECT_EQ(bob, "bob");
    for (std::string_view name : {"^1Bob", "bob^7", "^1B^2O^3B", "  BOB ", "\tBob\t",
                                  "\xC2\xA0"
                                  "Bob",
                                  "^1 Bob ^7"})
        EXPECT_EQ(IdentityKey(name), bob) << name;
    EXPECT_EQ(IdentityKey("B ob"), "b ob");   // inner blanks stay
    EXPECT_EQ(IdentityKey("Bob^x"), "bob^x"); // "^x" is no colour code
    EXPECT_EQ(IdentityKey("^^1Bob"), "^bob");
    EXPECT_EQ(IdentityKey("^1Jürgen"), IdentityKey("JÜRGEN"));
    EXPECT_EQ(IdentityKey("^4Σπύρος"), IdentityKey("ΣΠΎΡΟΣ"));
    EXPECT_EQ(IdentityKey("Дима^7"), IdentityKey("ДИМА"));
    EXPECT_NE(IdentityKey("Bob1"), bob);
    EXPECT_EQ(IdentityKey("^1 ^2"), "");
    EXPECT_EQ(IdentityKey(""), "");
}

} // namespace
} // namespace qla
