// The kill/death ratio, its decimal text and the half-to-even division behind both.
#include "stats/ratio.h"
#include "stats/whole_division.h"

#include <gtest/gtest.h>

#include <limits>
#include <ostream>

namespace qla {
namespace {

struct RatioCase {
    std::int64_t kills;
    std::int64_t deaths;
    std::int64_t hundredths;
};

void PrintTo(const RatioCase& c, std::ostream* out) {
    *out << c.kills << "/" << c.deaths << " -> " << c.hundredths;
}

class KillDeathRatioTest : public ::testing::TestWithParam<RatioCase> {};

TEST_P(KillDeathRatioTest, GivesRoundedHundredths) {
    const RatioCase& c = GetParam();
    EXPECT_EQ(KillDeathRatio(c.kills, c.deaths), c.hundredths)
        << c.kills << " kills, " << c.deaths << " deaths";
}

INSTANTIATE_TEST_SUITE_P(Examples, KillDeathRatioTest,
                         ::testing::Values(RatioCase{7, 0, 700}, RatioCase{0, 0, 0},
                                           RatioCase{0, 5, 0},
                                           RatioCase{1, 8, 12},  // 12.5 -> even 12
                                           RatioCase{3, 8, 38},  // 37.5 -> even 38
                                           RatioCase{5, 8, 62},  // 62.5 -> even 62
                                           RatioCase{7, 8, 88},  // 87.5 -> even 88
                                           RatioCase{2, 3, 67},  // 66.67 -> 67
                                           RatioCase{1, 3, 33},  // 33.33 -> 33
                                           RatioCase{1, 200, 0}, // 0.5 -> even 0
                                           RatioCase{3, 200, 2}, // 1.5 -> even 2
                                           RatioCase{1, 40, 2},  // 2.5 -> even 2
                                           RatioCase{3, 2, 150},
                                           // Ratios above 327.67, past 16-bit hundredths.
                                           RatioCase{328, 0, 32800}, RatioCase{65536, 1, 6553600},
                                           RatioCase{2'000'000'000, 3, 66'666'666'667}));

TEST(DivideRoundHalfEvenTest, HalvesGoToTheEvenNeighbour) {
    for (std::int64_t q = 0; q < 20; ++q) {
        // (2q+1)/2 lies exactly between q and q+1.
        const std::int64_t even = q % 2 == 0 ? q : q + 1;
        EXPECT_EQ(DivideRoundHalfEven(2 * q + 1, 2), even) << q;
        EXPECT_EQ(DivideRoundHalfEven(-(2 * q + 1), 2), -even) << q;
    }
}

TEST(DivideRoundHalfEvenTest, NonHalvesRoundToNearest) {
    EXPECT_EQ(DivideRoundHalfEven(100, 3), 33);
    EXPECT_EQ(DivideRoundHalfEven(200, 3), 67);
    EXPECT_EQ(DivideRoundHalfEven(-200, 3), -67);
    EXPECT_EQ(DivideRoundHalfEven(251, 100), 3);
    EXPECT_EQ(DivideRoundHalfEven(249, 100), 2);
    EXPECT_EQ(DivideRoundHalfEven(12, 4), 3);
    // A denominator near the top of the range must not overflow while rounding.
    constexpr std::int64_t big = std::numeric_limits<std::int64_t>::max();
    EXPECT_EQ(DivideRoundHalfEven(big / 2 + 1, big), 1);
    EXPECT_EQ(DivideRoundHalfEven(big / 2, big), 0);
}

struct TextCase {
    std::int64_t hundredths;
    const char* separator;
    const char* text;
};

void PrintTo(const TextCase& c, std::ostream* out) {
    *out << c.hundredths << " -> " << c.text;
}

class RatioTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(RatioTextTest, WritesTheShortestDecimal) {
    const TextCase& c = GetParam();
    EXPECT_EQ(RatioText(c.hundredths, c.separator), c.text);
}

INSTANTIATE_TEST_SUITE_P(Examples, RatioTextTest,
                         ::testing::Values(TextCase{150, ".", "1.5"}, TextCase{200, ".", "2"},
                                           TextCase{33, ".", "0.33"}, TextCase{5, ".", "0.05"},
                                           TextCase{50, ".", "0.5"}, TextCase{0, ".", "0"},
                                           TextCase{32800, ".", "328"}, TextCase{101, ".", "1.01"},
                                           TextCase{150, ",", "1,5"}, TextCase{5, ",", "0,05"},
                                           TextCase{-150, ".", "-1.5"},
                                           TextCase{6'666'666'667, ".", "66666666.67"}));

TEST(RatioTextTest, ExtremesDoNotOverflow) {
    EXPECT_EQ(RatioText(std::numeric_limits<std::int64_t>::max(), "."), "92233720368547758.07");
    EXPECT_EQ(RatioText(std::numeric_limits<std::int64_t>::min(), "."), "-92233720368547758.08");
}

} // namespace
} // namespace qla
