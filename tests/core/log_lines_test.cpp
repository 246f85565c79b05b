// Splitting a log file into lines and decoding each line.
#include "core/log_lines.h"
#include "core/text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

namespace qla {
namespace {

std::vector<std::string> Lines(const std::string& bytes) {
    const LogLineList list = LogLineList::FromBytes(bytes);
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < list.size(); ++i) {
        lines.emplace_back(list[i]);
    }
    return lines;
}

struct LineEndCase {
    const char* name;
    std::string bytes;
    std::vector<std::string> lines;
};

class LineEnds : public testing::TestWithParam<LineEndCase> {};

TEST_P(LineEnds, GiveTheseLines) {
    EXPECT_EQ(Lines(GetParam().bytes), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    LogLines, LineEnds,
    testing::Values(LineEndCase{"CrLfAfterEach", "a\r\nb\r\nc\r\n", {"a", "b", "c"}},
                    LineEndCase{"CrAfterEach", "a\rb\rc\r", {"a", "b", "c"}},
                    LineEndCase{"LfAfterEach", "a\nb\nc\n", {"a", "b", "c"}},
                    LineEndCase{"LfBetweenOnly", "a\nb\nc", {"a", "b", "c"}},
                    LineEndCase{"CrLfBetweenOnly", "a\r\nb\r\nc", {"a", "b", "c"}},
                    LineEndCase{"OneLineNoEnd", "only line", {"only line"}},
                    LineEndCase{"OneLineCrLf", "only line\r\n", {"only line"}},
                    LineEndCase{"EmptyFile", "", {""}}, LineEndCase{"OnlyCrLf", "\r\n", {""}},
                    LineEndCase{"OnlyLf", "\n", {""}},
                    LineEndCase{"EmptyLinesKept", "a\r\n\r\n\r\nb\r\n", {"a", "", "", "b"}},
                    LineEndCase{"StrayCrInLfLog", "a\nb\rc\nd\n", {"a", "b", "c", "d"}},
                    LineEndCase{"LfInsideCrLfLine", "a\nb\r\nc\r\n", {"a", "b", "c"}},
                    LineEndCase{"LfThenCrAtEnd", "a\n\r", {"a", ""}},
                    LineEndCase{"CrCrLf", "a\r\r\nb", {"a", "", "b"}},
                    LineEndCase{"BomDropped",
                                "\xEF\xBB\xBFlogfile opened on x\r\nb",
                                {"logfile opened on x", "b"}},
                    LineEndCase{"BomOnly", "\xEF\xBB\xBF", {""}},
                    LineEndCase{"BomOnlyAtStart", "a\r\n\xEF\xBB\xBF", {"a", "\xEF\xBB\xBF"}},
                    LineEndCase{"LongAsciiRunsAcrossWords",
                                "0123456789abcdefghij\r\n0123456789abcdefghijklmnop\n",
                                {"0123456789abcdefghij", "0123456789abcdefghijklmnop"}}),
    [](const testing::TestParamInfo<LineEndCase>& info) { return std::string(info.param.name); });

struct DecodeCase {
    const char* name;
    std::string bytes;
    std::string utf8;
};

class Decoding : public testing::TestWithParam<DecodeCase> {};

TEST_P(Decoding, GivesUtf8) {
    const std::vector<std::string> lines = Lines(GetParam().bytes);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], GetParam().utf8);
}

INSTANTIATE_TEST_SUITE_P(
    LogLines, Decoding,
    testing::Values(
        DecodeCase{"AsciiUnchanged", "Bob^7 was killed by Al", "Bob^7 was killed by Al"},
        DecodeCase{"Utf8Kept", "Bob wurde get\xC3\xB6tet von", "Bob wurde get\xC3\xB6tet von"},
        DecodeCase{"Windows1252Umlaut", "Bob wurde get\xF6tet von", "Bob wurde get\xC3\xB6tet von"},
        DecodeCase{"Windows1252Euro", "\x80", "\xE2\x82\xAC"},
        DecodeCase{"Unassigned81", "\x81", "\xC2\x81"},
        DecodeCase{"Unassigned8D", "\x8D", "\xC2\x8D"},
        DecodeCase{"Unassigned8F", "\x8F", "\xC2\x8F"},
        DecodeCase{"Unassigned90", "\x90", "\xC2\x90"},
        DecodeCase{"Unassigned9D", "\x9D", "\xC2\x9D"},
        DecodeCase{"OverlongIsNotUtf8", "\xC0\xAF", "\xC3\x80\xC2\xAF"},
        DecodeCase{"SurrogateIsNotUtf8", "\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xE2\x82\xAC"},
        DecodeCase{"TruncatedSequence", "ab\xC3", "ab\xC3\x83"},
        DecodeCase{"FourByteUtf8Kept", "\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},
        DecodeCase{"AboveUnicodeIsNotUtf8", "\xF4\x90\x80\x80",
                   "\xC3\xB4\xC2\x90\xE2\x82\xAC\xE2\x82\xAC"},
        DecodeCase{"ValidThenBadByte", "\xC3\xB6 \xF6", "\xC3\x83\xC2\xB6 \xC3\xB6"}),
    [](const testing::TestParamInfo<DecodeCase>& info) { return std::string(info.param.name); });

TEST(LogLines, EachLineIsDecodedOnItsOwn) {
    // A UTF-8 line beside a Windows-1252 line: each keeps its own reading.
    const std::vector<std::string> lines =
        Lines("gr\xC3\xBC\xC3\x9F\r\ngr\xFC\xDF\r\n\xE2\x82\xAC sign\r\n\x80 sign");
    EXPECT_EQ(lines, (std::vector<std::string>{"gr\xC3\xBC\xC3\x9F", "gr\xC3\xBC\xC3\x9F",
                                               "\xE2\x82\xAC sign", "\xE2\x82\xAC sign"}));
}

TEST(LogLines, SequenceBrokenByLineEndDecodesBothLinesAsWindows1252) {
    // A lead byte at a line's end and a continuation byte at the next line's start.
    EXPECT_EQ(Lines("a\xC3\n\xB6"), (std::vector<std::string>{"a\xC3\x83", "\xC2\xB6"}));
}

TEST(LogLines, BomWithWindows1252FirstLine) {
    EXPECT_EQ(Lines("\xEF\xBB\xBF\xF6\r\nx"), (std::vector<std::string>{"\xC3\xB6", "x"}));
}

TEST(LogLines, FromLinesKeepsLinesAsGiven) {
    const LogLineList list = LogLineList::FromLines({"a\nb", "", "c"});
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0], "a\nb");
    EXPECT_EQ(list[1], "");
    EXPECT_EQ(list[2], "c");
}

TEST(LogLines, ManyLinesCountedExactly) {
    std::string bytes;
    for (int i = 0; i < 10000; ++i) {
        bytes += "[skipnotify]line number " + std::to_string(i) + (i % 2 ? "\r\n" : "\n");
    }
    const LogLineList list = LogLineList::FromBytes(bytes);
    ASSERT_EQ(list.size(), 10000u);
    EXPECT_EQ(list[0], "[skipnotify]line number 0");
    EXPECT_EQ(list[9999], "[skipnotify]line number 9999");
}

// Windows-1252 lines widen in place inside the read buffer; lines around them move right. A
// mix of both readings, empty lines and every line end is checked against decoding line by line.
TEST(LogLines, InPlaceDecodingMatchesLineByLineDecoding) {
    const std::string pieces[] = {
        "plain ascii",
        "gr\xC3\xBC\xC3\x9F utf8",
        "gr\xFC\xDF 1252",
        "",
        "\x80\x9F\xFF",
        "\xE2\x82\xAC ok",
        "\xC3 broken",
        "x\x81y\x8D",
        "Sch\xFCtze^7 wurde get\xF6tet von M\xFCller - a long ASCII tail here",
        "a long ASCII head before the byte \x9F"};
    const char* const ends[] = {"\r\n", "\n", "\r"};
    std::uint64_t state = 99;
    for (int round = 0; round < 50; ++round) {
        std::vector<std::string> chosen;
        std::vector<std::string> expected;
        const int lines = 1 + round * 7;
        for (int i = 0; i < lines; ++i) {
            state = state * 6364136223846793005ULL + 1442695040888963407ULL;
            chosen.push_back(pieces[(state >> 33) % std::size(pieces)]);
            std::string decoded;
            if (IsValidUtf8(chosen.back()))
                decoded = chosen.back();
            else
                AppendWindows1252AsUtf8(decoded, chosen.back());
            expected.push_back(decoded);
        }
        std::string bytes;
        for (int i = 0; i < lines; ++i) {
            bytes += chosen[i];
            if (i + 1 == lines)
                break;
            std::string_view end = ends[(state >> (i % 20)) % std::size(ends)];
            // A CR before an empty line and then an LF would be one CR LF line end.
            if (end == "\r" && chosen[i + 1].empty())
                end = "\r\n";
            bytes += end;
        }
        // A line end at the very end starts no line, so an empty last line needs its own.
        if (chosen.back().empty())
            bytes += "\n";
        EXPECT_EQ(Lines(bytes), expected) << "round " << round;
    }
}

} // namespace
} // namespace qla
