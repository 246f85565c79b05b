// Logs saved as UTF-16: decoded by their byte-order mark and analysed exactly like the same log
// saved as UTF-8; broken UTF-16 decodes to U+FFFD instead of failing.
#include "analysis/analysis.h"
#include "core/log_lines.h"
#include "core/utf16_log.h"

#include "support/scratch_dir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace qla {
namespace {

// Non-ASCII names (two-byte, three-byte and a four-byte character that UTF-16 writes as a
// surrogate pair), a kill, a teamkill, a chat and an other line.
const std::string kUtf8Log =
    "logfile opened on Mon Dec 07 04:32:33 2026\r\n"
    "[skipnotify]Bj\xC3\xB6rn was killed by Al\xE2\x82\xACx's MP40\r\n"
    "[skipnotify]Bj\xC3\xB6rn^7 WAS KILLED BY TEAMMATE^7 Al\xE2\x82\xACx\r\n"
    "[skipnotify]^1Carl\xF0\x9F\x98\x80^7: ^2hello <there>\r\n"
    "loading map\n";

// The UTF-16 form of valid UTF-8 text, with a byte-order mark.
std::string Utf16Of(const std::string& utf8, bool littleEndian) {
    std::vector<char16_t> units{0xFEFF};
    for (std::size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        const std::size_t length = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
        char32_t cp = length == 1 ? b : b & (0x3F >> (length - 1));
        for (std::size_t k = 1; k < length; ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        i += length;
        if (cp >= 0x10000) {
            units.push_back(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
            units.push_back(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
        } else {
            units.push_back(static_cast<char16_t>(cp));
        }
    }
    std::string bytes;
    for (const char16_t unit : units) {
        const char low = static_cast<char>(unit & 0xFF), high = static_cast<char>(unit >> 8);
        bytes += littleEndian ? std::string{low, high} : std::string{high, low};
    }
    return bytes;
}

std::vector<std::string> LinesOf(const LogLineList& lines) {
    std::vector<std::string> all;
    for (std::size_t i = 0; i < lines.size(); ++i)
        all.emplace_back(lines[i]);
    return all;
}

struct Analysed {
    std::vector<std::string> Lines;
    std::vector<std::string> Players;
    AnalysisTotals Totals;
    std::optional<std::string> Date;
};

Analysed OpenAndAnalyse(const std::string& path) {
    AnalysisStore store;
    const OpenLogResult opened = OpenLogFile(store, path);
    EXPECT_TRUE(opened.Opened) << opened.Error;
    Analysed result;
    result.Date = opened.DateText;
    result.Totals = AnalyzeLog(store, LogLanguage::English);
    result.Lines = LinesOf(store.LogLines);
    for (std::size_t p = 1; p < store.Players.size(); ++p)
        result.Players.push_back(store.Players[p].Name);
    return result;
}

TEST(Utf16Log, BothByteOrdersAnalyseLikeTheirUtf8Twin) {
    const auto dir = test::ScratchDir();
    const auto write = [&](const std::string& name, const std::string& bytes) {
        std::ofstream((dir / name).string(), std::ios::binary) << bytes;
        return (dir / name).string();
    };
    const Analysed utf8 = OpenAndAnalyse(write("utf8.log", kUtf8Log));
    ASSERT_EQ(utf8.Totals.Kills, 1);
    ASSERT_EQ(utf8.Totals.Teamkills, 1);
    ASSERT_EQ(utf8.Totals.TextChats, 1);
    ASSERT_EQ(utf8.Players.size(), 3u);
    for (const bool little : {true, false}) {
        const Analysed utf16 = OpenAndAnalyse(write("utf16.log", Utf16Of(kUtf8Log, little)));
        EXPECT_EQ(utf16.Lines, utf8.Lines) << little;
        EXPECT_EQ(utf16.Players, utf8.Players) << little;
        EXPECT_EQ(utf16.Date, utf8.Date) << little;
        EXPECT_EQ(utf16.Totals.Kills, utf8.Totals.Kills);
        EXPECT_EQ(utf16.Totals.Deaths, utf8.Totals.Deaths);
        EXPECT_EQ(utf16.Totals.Teamkills, utf8.Totals.Teamkills);
        EXPECT_EQ(utf16.Totals.TextChats, utf8.Totals.TextChats);
        EXPECT_EQ(utf16.Totals.Unknown, utf8.Totals.Unknown);
        EXPECT_EQ(utf16.Totals.Total, utf8.Totals.Total);
    }
}

TEST(Utf16Log, BrokenUnitsBecomeReplacementCharacters) {
    const std::string fffd = "\xEF\xBF\xBD";
    struct Case {
        std::string Bytes; // little-endian, after the mark
        std::vector<std::string> Lines;
    };
    const Case cases[] = {
        {"", {""}},                                 // the mark alone
        {std::string("a\0\r\0\n\0", 6), {"a"}},     // CR LF ends the last line
        {std::string("a\0\n\0b\0", 6), {"a", "b"}}, // LF between lines
        {std::string("\x00\xD8"
                     "b\0",
                     4),
         {fffd + "b"}}, // high surrogate alone
        {std::string("\x00\xDC"
                     "b\0",
                     4),
         {fffd + "b"}},                                             // low surrogate alone
        {std::string("\x3D\xD8\x00\xDE", 4), {"\xF0\x9F\x98\x80"}}, // a pair: U+1F600
        {std::string("a\0b", 3), {"a" + fffd}},                     // an odd last byte
        {std::string("\0\0\x1B\0", 4), {std::string("\0\x1B", 2)}}, // controls kept as text
    };
    for (const Case& c : cases) {
        const LogLineList lines = LogLineList::FromBytes("\xFF\xFE" + c.Bytes);
        EXPECT_EQ(LinesOf(lines), c.Lines) << testing::PrintToString(c.Bytes);
        // The same text big-endian gives the same lines.
        std::string swapped = c.Bytes;
        for (std::size_t i = 0; i + 1 < swapped.size(); i += 2)
            std::swap(swapped[i], swapped[i + 1]);
        EXPECT_EQ(LinesOf(LogLineList::FromBytes("\xFE\xFF" + swapped)), c.Lines);
    }
}

TEST(Utf16Log, OnlyTheTwoMarksSelectUtf16) {
    EXPECT_EQ(Utf16OrderOf("\xFF\xFE"), Utf16Order::LittleEndian);
    EXPECT_EQ(Utf16OrderOf("\xFE\xFF"
                           "x"),
              Utf16Order::BigEndian);
    EXPECT_EQ(Utf16OrderOf("\xFF"), Utf16Order::None);
    EXPECT_EQ(Utf16OrderOf("\xEF\xBB\xBF"), Utf16Order::None);
    // A Windows-1252 line that happens to start with other high bytes stays Windows-1252.
    EXPECT_EQ(LinesOf(LogLineList::FromBytes("\xFF\xFF")),
              std::vector<std::string>{"\xC3\xBF\xC3\xBF"});
}

} // namespace
} // namespace qla
