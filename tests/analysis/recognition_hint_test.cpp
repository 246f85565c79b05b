// The recognition hint: which lines of a classic reading full recognition reads otherwise, on
// hand-written logs whose lines' two readings are known from the rules, on the bundled sample,
// and on the sample of a log too long to read whole.
#include "analysis/analysis.h"
#include "analysis/recognition_hint.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace qla {
namespace {

// Lines both recognitions read alike: an obituary of each kind, chats (voice messages lose
// their "!" in classic recognition, which changes no count), a rename and the game's messages.
const std::vector<std::string> kAlike = {
    "logfile opened on Sat Mar 02 21:14:08 2024",
    "[skipnotify]Bob^7 was killed by Al^7's MP40",
    "[skipnotify]Bob^7 WAS KILLED BY TEAMMATE^7 Al",
    "[skipnotify]Bob^7 died.",
    "[skipnotify]Bob^7 killed himself.",
    "[skipnotify]Bob^7: ^2hello there",
    "[skipnotify]: Name ^3(Axis Base): ^2I need ammo!",
    "[skipnotify]Bob^7 renamed to Al",
    "[skipnotify]^1Warning^7: Complaint filed against you.",
    "Hunk reset, 56.3 MB free",
};

LogLineList Lines(const std::vector<std::string>& lines) {
    return LogLineList::FromLines(lines);
}

std::vector<std::string> With(std::vector<std::string> lines,
                              const std::vector<std::string>& more) {
    lines.insert(lines.end(), more.begin(), more.end());
    return lines;
}

TEST(RecognitionHint, NoHintWhenEveryLineReadsAlike) {
    EXPECT_FALSE(FindRecognitionHint(Lines(kAlike), LogLanguage::English));
    EXPECT_FALSE(FindRecognitionHint(Lines({}), LogLanguage::English));
}

TEST(RecognitionHint, CountsEachLineReadOtherwiseAndShowsTheFirst) {
    const std::vector<std::string> otherwise = {
        // A name holding " by ": classic cuts the killer at its last "by".
        "[skipnotify]Bob^7 was killed by Stand by Me^7's MP40",
        // A newer death wording: classic keeps it as another line.
        "[skipnotify]Bob^7 was crushed.",
        // Chat holding a kill phrase: classic reads an obituary.
        "[skipnotify]Swashy^7: ^2lol I was killed by a bug",
        // A weapon classic does not know: it files "Al^7's Colt" as the killer.
        "[skipnotify]Bob^7 was killed by Al^7's Colt",
    };
    const auto hint = FindRecognitionHint(Lines(With(kAlike, otherwise)), LogLanguage::English);
    ASSERT_TRUE(hint);
    EXPECT_EQ(hint->LinesChecked, kAlike.size() + otherwise.size());
    EXPECT_EQ(hint->LinesReadOtherwise, otherwise.size());
    EXPECT_EQ(hint->Example, otherwise[0]);
}

TEST(RecognitionHint, ReadsInTheLogsLanguage) {
    // A German death line reads alike in German; read as English, classic and full both keep
    // it as another line, so the language alone gives no hint either.
    const std::vector<std::string> german = {"[skipnotify]Bob^7 starb."};
    EXPECT_FALSE(FindRecognitionHint(Lines(german), LogLanguage::German));
    EXPECT_FALSE(FindRecognitionHint(Lines(german), LogLanguage::English));
}

TEST(RecognitionHint, ExampleIsCutBetweenCharacters) {
    // A name whose two-byte characters sit across the cut at 160 bytes.
    const std::string line =
        "[skipnotify]" + std::string(146, 'x') + "\xC3\xA4\xC3\xA4^7 was crushed.";
    const auto hint = FindRecognitionHint(Lines({line}), LogLanguage::English);
    ASSERT_TRUE(hint);
    EXPECT_EQ(hint->Example.size(), 160u);
    EXPECT_EQ(hint->Example, line.substr(0, 160));
    // One byte more of name puts the cut inside the second character: it moves before it.
    const std::string shifted =
        "[skipnotify]" + std::string(147, 'x') + "\xC3\xA4\xC3\xA4^7 was crushed.";
    const auto cutInside = FindRecognitionHint(Lines({shifted}), LogLanguage::English);
    ASSERT_TRUE(cutInside);
    EXPECT_EQ(cutInside->Example, shifted.substr(0, 159));
}

TEST(RecognitionHint, SampleOfALongLogIsItsStartAndSpreadBlocks) {
    EXPECT_EQ(HintSampleRuns(0, 1000), (std::vector<std::pair<std::size_t, std::size_t>>{{0, 0}}));
    EXPECT_EQ(HintSampleRuns(1000, 1000),
              (std::vector<std::pair<std::size_t, std::size_t>>{{0, 1000}}));
    const auto runs = HintSampleRuns(1'000'000, 20'000);
    ASSERT_EQ(runs.size(), 1u + 10'000 / kHintBlockLines);
    EXPECT_EQ(runs.front(), (std::pair<std::size_t, std::size_t>{0, 10'000}));
    std::size_t read = 0, lastEnd = 0;
    for (const auto& [first, end] : runs) {
        EXPECT_GE(first, lastEnd); // in order, never overlapping
        EXPECT_LE(end, 1'000'000u);
        read += end - first;
        lastEnd = end;
    }
    EXPECT_EQ(read, 20'000u);
    EXPECT_GT(runs.back().first, 900'000u); // the blocks reach the log's end
}

TEST(RecognitionHint, LongLogIsJudgedOnItsSample) {
    // 100,000 lines read alike, then 50,000 lines of a newer death wording: only the last of
    // the four spread blocks sees them, and only its lines count.
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < 100'000; ++i)
        lines.push_back(kAlike[i % kAlike.size()]);
    for (std::size_t i = 0; i < 50'000; ++i)
        lines.push_back("[skipnotify]Bob^7 was crushed.");
    const auto hint = FindRecognitionHint(Lines(lines), LogLanguage::English, 4000);
    ASSERT_TRUE(hint);
    EXPECT_EQ(hint->LinesChecked, 4000u);
    EXPECT_EQ(hint->LinesReadOtherwise, kHintBlockLines);
    EXPECT_EQ(hint->Example, "[skipnotify]Bob^7 was crushed.");
}

LogLineList SampleLog(const char* name) {
    std::ifstream file(std::string(QLA_SOURCE_DIR) + "/samples/" + name, std::ios::binary);
    std::stringstream bytes;
    bytes << file.rdbuf();
    return LogLineList::FromBytes(bytes.str());
}

TEST(RecognitionHint, BundledSamplesHoldLinesReadOtherwise) {
    for (const auto& [name, language] : {std::pair{"english-sample.log", LogLanguage::English},
                                         std::pair{"german-sample.log", LogLanguage::German}}) {
        SCOPED_TRACE(name);
        const LogLineList lines = SampleLog(name);
        ASSERT_EQ(lines.size(), 3000u);
        const auto hint = FindRecognitionHint(lines, language);
        ASSERT_TRUE(hint);
        EXPECT_EQ(hint->LinesChecked, 3000u);
        // Every obituary the two readings count differently is a line read otherwise.
        AnalysisStore classic, full;
        classic.LogLines = SampleLog(name);
        full.LogLines = SampleLog(name);
        const AnalysisTotals a = AnalyzeLog(classic, language, Recognition::Classic);
        const AnalysisTotals b = AnalyzeLog(full, language, Recognition::Full);
        const auto gap = [](std::int64_t x, std::int64_t y) {
            return static_cast<std::uint64_t>(x > y ? x - y : y - x);
        };
        EXPECT_GE(hint->LinesReadOtherwise, gap(a.Unknown, b.Unknown));
        EXPECT_GE(hint->LinesReadOtherwise, gap(a.Deaths, b.Deaths));
        EXPECT_LT(hint->LinesReadOtherwise, 3000u);
    }
}

} // namespace
} // namespace qla
