// Name normalisation and colour-code stripping.
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

} // namespace
} // namespace qla
