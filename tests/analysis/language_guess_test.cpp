// Deciding a log's language from its obituaries, and when to propose the other one.
#include "analysis/language_guess.h"

#include <gtest/gtest.h>

#include <string>

namespace qla {
namespace {

LogLineList Lines(const std::string& text) {
    return LogLineList::FromBytes(text);
}

std::string Repeat(const std::string& line, int times) {
    std::string text;
    for (int i = 0; i < times; ++i)
        text += line;
    return text;
}

const std::string kEnglishKill = "[skipnotify]Bob was killed by Al's MP40\r\n";
const std::string kGermanKill = "[skipnotify]Bob wurde get\xC3\xB6tet von Al - MP40\r\n";
const std::string kChat = "[skipnotify]^1Carl^7: ^2hello there\r\n";

TEST(LanguageGuessTest, TheLanguageWithMoreObituariesWinsAndEnglishBreaksTies) {
    const LanguageEvidence german = WeighLogLanguages(Lines(kChat + Repeat(kGermanKill, 3)));
    EXPECT_EQ(german.Of(LogLanguage::German), 3u);
    EXPECT_EQ(german.Of(LogLanguage::English), 0u);
    EXPECT_EQ(LikelyLogLanguage(german), LogLanguage::German);
    EXPECT_EQ(LikelyLogLanguage(WeighLogLanguages(Lines(Repeat(kEnglishKill, 2)))),
              LogLanguage::English);
    // Nothing to go by, or as much of each: English, the default.
    EXPECT_EQ(LikelyLogLanguage(WeighLogLanguages(Lines(kChat))), LogLanguage::English);
    EXPECT_EQ(LikelyLogLanguage(WeighLogLanguages(Lines(kEnglishKill + kGermanKill))),
              LogLanguage::English);
    EXPECT_EQ(LikelyLogLanguage(WeighLogLanguages(LogLineList())), LogLanguage::English);
}

TEST(LanguageGuessTest, OnlyTheFirstLinesAreJudged) {
    const LogLineList lines = Lines(Repeat(kEnglishKill, 3) + Repeat(kGermanKill, 10));
    EXPECT_EQ(LikelyLogLanguage(WeighLogLanguages(lines, 5)), LogLanguage::English);
    EXPECT_EQ(LikelyLogLanguage(WeighLogLanguages(lines)), LogLanguage::German);
}

TEST(LanguageGuessTest, TheOtherLanguageIsProposedOnlyWhenFarBetter) {
    const LanguageEvidence german = WeighLogLanguages(Lines(Repeat(kGermanKill, 8)));
    EXPECT_EQ(FarBetterLanguage(german, LogLanguage::English), LogLanguage::German);
    EXPECT_EQ(FarBetterLanguage(german, LogLanguage::German), std::nullopt);
    // Too few obituaries to be sure, or not clearly more than the chosen language's.
    EXPECT_EQ(
        FarBetterLanguage(WeighLogLanguages(Lines(Repeat(kGermanKill, 4))), LogLanguage::English),
        std::nullopt);
    EXPECT_EQ(FarBetterLanguage(
                  WeighLogLanguages(Lines(Repeat(kGermanKill, 8) + Repeat(kEnglishKill, 3))),
                  LogLanguage::English),
              std::nullopt);
}

} // namespace
} // namespace qla
