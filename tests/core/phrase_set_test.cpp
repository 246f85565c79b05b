// The phrase-set scan must answer exactly as one search per phrase would.
#include "core/phrase_set.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <iterator>
#include <string>

namespace qla {
namespace {

constexpr PhraseSet kShared{"was killed by", "was stabbed by", "was cooked by"};
constexpr PhraseSet kSuffixed{"died.", "drowned.", "fell to his death."};
constexpr PhraseSet kUnrelated{"alpha", "beta", "gamma"};

std::uint32_t SlowMask(const PhraseSet& set, std::string_view line) {
    std::uint32_t mask = 0;
    for (std::size_t i = 0; i < set.size(); ++i) {
        if (line.find(set[i]) != std::string_view::npos) {
            mask |= std::uint32_t{1} << i;
        }
    }
    return mask;
}

TEST(PhraseSet, MaskEqualsSeparateSearches) {
    const std::string lines[] = {
        "",
        "was",
        "was ",
        "Bob was killed by Al",
        "was cooked by was stabbed by",
        "wawas killed by",
        "Swashy was stabbed byx",
        "I died. then drowned. and fell to his death.",
        "died",
        "drowned.died.",
        "beta gamma",
        "alphabet",
        "gamm",
    };
    for (const std::string& line : lines) {
        for (const PhraseSet* set : {&kShared, &kSuffixed, &kUnrelated}) {
            EXPECT_EQ(set->Mask(line), SlowMask(*set, line)) << line;
            const std::uint32_t slow = SlowMask(*set, line);
            const int first = slow == 0 ? -1 : std::countr_zero(slow);
            EXPECT_EQ(set->FirstIndex(line), first) << line;
            EXPECT_EQ(set->ContainsAny(line), slow != 0) << line;
        }
    }
}

// Sets with a phrase that is all shared start or all shared end, phrases that differ only after
// the byte next to the shared part, and lines glued from their pieces, against one search each.
TEST(PhraseSet, MaskEqualsSeparateSearchesOnGluedLines) {
    static constexpr PhraseSet kNested{"was", "was killed by", "was kissed", "wax"};
    static constexpr PhraseSet kEnds{"x.", "himself.", "herself.", "elf."};
    static constexpr PhraseSet kGerman{"wurde getötet von", "wurde gerösted von",
                                       "wurde geröstet von"};
    const std::string_view pieces[] = {
        "was",          " killed by",   "kissed", "wax", "x.",     "him",
        "self.",        "her",          "e",      "lf.", "wurde ", "getötet von",
        "gerösted von", "geröstet von", "gerös",  " "};
    std::uint64_t state = 11;
    for (int round = 0; round < 3000; ++round) {
        std::string line;
        const int count = round % 9;
        for (int i = 0; i < count; ++i) {
            state = state * 6364136223846793005ULL + 1442695040888963407ULL;
            line += pieces[(state >> 33) % std::size(pieces)];
        }
        for (const PhraseSet* set : {&kNested, &kEnds, &kGerman, &kShared, &kSuffixed}) {
            ASSERT_EQ(set->Mask(line), SlowMask(*set, line)) << line;
        }
    }
}

// Long haystacks go sixteen positions at a time and end with a window that overlaps the positions
// before; every start position (also past the end) and needle length must agree with the
// library's searches, including needles that run past the end or are longer than the text.
TEST(FindBytes, AgreesWithFindOnLongTexts) {
    std::uint64_t state = 5;
    for (int round = 0; round < 300; ++round) {
        std::string hay;
        const int length = round % 70;
        for (int i = 0; i < length; ++i) {
            state = state * 6364136223846793005ULL + 1442695040888963407ULL;
            hay += "abw as"[(state >> 33) % 6];
        }
        for (const std::string_view needle :
             {"a", "wa", "was", "as a", "ab", "bb", "s", "was as was as was a"}) {
            ASSERT_EQ(RFindBytes(hay, needle), std::string_view(hay).rfind(needle))
                << hay << " / " << needle;
            for (std::size_t from = 0; from <= hay.size() + 40; ++from) {
                ASSERT_EQ(FindBytes(hay, needle, from), std::string_view(hay).find(needle, from))
                    << hay << " / " << needle << " from " << from;
            }
        }
        ASSERT_EQ(RFindByte(hay, 'w'), std::string_view(hay).rfind('w')) << hay;
    }
}

// The inline comparisons behind every search, and the backward search, against the library.
TEST(FindBytes, ComparisonsAndBackwardSearchAgreeWithTheLibrary) {
    std::uint64_t state = 8;
    for (int round = 0; round < 2000; ++round) {
        std::string a, b;
        const int length = round % 60;
        for (int i = 0; i < length; ++i) {
            state = state * 6364136223846793005ULL + 1442695040888963407ULL;
            a += "ab)(:\xC3"[(state >> 33) % 6];
            b += (state >> 50) % 9 == 0 ? 'x' : a.back();
        }
        ASSERT_EQ(SameText(a, b), a == b) << a << " / " << b;
        ASSERT_EQ(StartsWithBytes(a, b.substr(0, round % 7)),
                  a.starts_with(b.substr(0, round % 7)));
        ASSERT_EQ(EndsWithBytes(a, b.substr(b.size() / 2)), a.ends_with(b.substr(b.size() / 2)));
        for (const std::string_view needle : {"):", "a", "ab(", "b)(:"}) {
            ASSERT_EQ(RFindBytes(a, needle), std::string_view(a).rfind(needle)) << a << needle;
        }
    }
}

// Every length the word-wise comparison splits differently, with the one differing byte at
// every place: the overlapping last word must still see it.
TEST(FindBytes, ComparisonSeesADifferenceAtEveryPlace) {
    for (std::size_t n = 0; n <= 40; ++n) {
        std::string a;
        for (std::size_t i = 0; i < n; ++i)
            a += static_cast<char>('a' + i % 26);
        EXPECT_TRUE(SameBytes(a.data(), std::string(a).data(), n)) << n;
        for (std::size_t at = 0; at < n; ++at) {
            std::string b = a;
            b[at] = '\xC3';
            EXPECT_FALSE(SameBytes(a.data(), b.data(), n)) << n << " at " << at;
        }
    }
}

TEST(FindBytes, FindsFromPosition) {
    EXPECT_EQ(FindBytes("abcabc", "bc"), 1u);
    EXPECT_EQ(FindBytes("abcabc", "bc", 2), 4u);
    EXPECT_EQ(FindBytes("abcabc", "bd"), std::string_view::npos);
    EXPECT_EQ(FindBytes("ab", "abc"), std::string_view::npos);
    EXPECT_EQ(FindBytes("abc", "c"), 2u);
    EXPECT_EQ(FindBytes("abc", ""), 0u);
    EXPECT_EQ(FindBytes("abc", "abc", 1), std::string_view::npos);
}

TEST(ByteSearch, AgreesWithTheLibrarySearches) {
    const std::string_view hays[] = {"",
                                     "a",
                                     "by",
                                     " by ",
                                     "Stand by Me by x",
                                     "wasWAS was",
                                     "aaaa",
                                     "J\xC3\xBCrgen von Bj\xC3\xB6rn von "};
    const std::string_view needles[] = {"", "a", "aa", " by ", "was", "von ", "x", "longer than"};
    for (std::string_view hay : hays) {
        for (std::string_view needle : needles) {
            EXPECT_EQ(RFindBytes(hay, needle), hay.rfind(needle)) << hay << " / " << needle;
            EXPECT_EQ(EndsWithBytes(hay, needle), hay.ends_with(needle)) << hay << " / " << needle;
            for (std::size_t from = 0; from <= hay.size(); ++from) {
                EXPECT_EQ(FindBytes(hay, needle, from), hay.find(needle, from))
                    << hay << " / " << needle << " from " << from;
            }
        }
    }
}

} // namespace
} // namespace qla
