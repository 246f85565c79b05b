// The streaming line reader against the whole-buffer split: for every input and every block size
// the lines must be the same, whatever falls on a block end (a CR LF, a UTF-8 character, a
// byte-order mark, a UTF-16 unit or surrogate pair).
#include "core/log_line_reader.h"
#include "core/log_lines.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace qla {
namespace {

using Lines = std::vector<std::string>;

Lines WholeBufferLines(const std::string& bytes,
                       LogLineList::Start start = LogLineList::Start::kFileStart) {
    ByteBuffer buffer = ByteBuffer::Uninitialized(bytes.size());
    if (!bytes.empty())
        std::memcpy(buffer.data(), bytes.data(), bytes.size());
    const LogLineList list = LogLineList::FromBuffer(std::move(buffer), start);
    Lines lines;
    for (std::size_t i = 0; i < list.size(); ++i)
        lines.emplace_back(list[i]);
    return lines;
}

Lines StreamedLines(LogLineReader& reader) {
    Lines lines;
    while (const auto line = reader.Next())
        lines.emplace_back(*line);
    return lines;
}

Lines StreamedLines(const std::string& bytes, std::size_t blockSize,
                    LogLineList::Start start = LogLineList::Start::kFileStart) {
    LogLineReader reader(BytesReader(bytes), blockSize, start);
    Lines lines = StreamedLines(reader);
    EXPECT_FALSE(reader.Failed());
    EXPECT_EQ(reader.LinesRead(), lines.size());
    return lines;
}

const std::vector<std::size_t> kBlockSizes = {1, 2, 3, 4, 5, 6, 7, 8, 9, 13, 16, 17, 31, 64, 4096};

std::string Utf16(const std::u16string& text, bool little, bool mark = true) {
    std::string bytes = mark ? (little ? "\xFF\xFE" : "\xFE\xFF") : "";
    for (const char16_t unit : text) {
        const char lo = static_cast<char>(unit & 0xFF), hi = static_cast<char>(unit >> 8);
        bytes += little ? std::string{lo, hi} : std::string{hi, lo};
    }
    return bytes;
}

struct HandMade {
    const char* name;
    std::string bytes;
};

const std::vector<HandMade> kHandMade = {
    {"empty", ""},
    {"only LF", "\n"},
    {"only CR", "\r"},
    {"only CR LF", "\r\n"},
    {"CR LF between", "a\r\nb\r\nc"},
    {"CR then LF line", "a\r\nb\rc\nd\n"},
    {"CR CR LF", "a\r\r\nb"},
    {"LF then CR at end", "a\n\r"},
    {"empty lines", "a\r\n\r\n\r\nb\r\n"},
    {"mark dropped", "\xEF\xBB\xBFlogfile opened on x\r\nb"},
    {"mark only", "\xEF\xBB\xBF"},
    {"half a mark", "\xEF\xBB"},
    {"mark later kept", "a\r\n\xEF\xBB\xBF"},
    {"UTF-8 kept", "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80\r\nna\xC3\xAFve\n"},
    {"Windows-1252 widened", "caf\xE9\r\n\x80 and \x9F\n\xE9t\xE9"},
    {"mixed in one line", "\xC3\xA9 then \xE9"},
    {"cut character at end", "ok\n\xE2\x82"},
    {"cut character before LF", "\xE2\x82\nnext"},
    {"cut character before CR", "\xF0\x9F\x98\rnext"},
    {"overlong and surrogate", "\xC0\xAF\n\xED\xA0\x80\n\xF4\x90\x80\x80\n"},
    {"long line",
     std::string(100, 'x') + "\xC3\xA9" + std::string(50, 'y') + "\r\n" + std::string(70, 'z')},
    {"UTF-16 LE", Utf16(u"logfile opened on x\r\nSay: \u00e9\u20ac\r\nend", true)},
    {"UTF-16 BE", Utf16(u"a\rb\nc\r\n", false)},
    {"UTF-16 pair", Utf16(u"x\U0001F600y\r\n\U0001F600", true)},
    {"UTF-16 lone surrogates", Utf16(u"a\xD800"
                                     u"b\n\xDC00\n\xD83D",
                                     true)},
    {"UTF-16 odd last byte", Utf16(u"ab\r\n", true) + "c"},
    {"UTF-16 mark only", "\xFF\xFE"},
    {"UTF-16 then UTF-8 mark", Utf16(u"\uFEFFafter mark\n", false)},
};

TEST(LogLineReader, GivesTheWholeBufferLinesForHandMadeInputsAtEveryBlockSize) {
    for (const HandMade& input : kHandMade) {
        const Lines expected = WholeBufferLines(input.bytes);
        for (const std::size_t block : kBlockSizes)
            EXPECT_EQ(StreamedLines(input.bytes, block), expected)
                << input.name << ", block of " << block;
    }
}

TEST(LogLineReader, InsideAFileNoMarkIsLookedFor) {
    for (const std::string& bytes :
         {std::string("\xEF\xBB\xBFx\ny"), std::string("\xFF\xFEx\0y", 5),
          std::string("\xE9t\xE9\r\n\r")}) {
        const Lines expected = WholeBufferLines(bytes, LogLineList::Start::kFromInside);
        for (const std::size_t block : kBlockSizes)
            EXPECT_EQ(StreamedLines(bytes, block, LogLineList::Start::kFromInside), expected);
    }
}

// Random logs built from the pieces that matter at block ends: line ends of every style,
// characters of one to four bytes, bytes that are not UTF-8, marks, long runs of ASCII.
std::string RandomLog(std::mt19937& random) {
    static const std::vector<std::string> pieces = {"a",
                                                    "Kill",
                                                    " ",
                                                    "\r",
                                                    "\n",
                                                    "\r\n",
                                                    "\xC3\xA9",
                                                    "\xE2\x82\xAC",
                                                    "\xF0\x9F\x98\x80",
                                                    "\xE9",
                                                    "\x80",
                                                    "\xC3",
                                                    "\xE2\x82",
                                                    "\xEF\xBB\xBF",
                                                    "\xFF\xFE",
                                                    "0123456789abcdefghij"};
    std::uniform_int_distribution<std::size_t> count(0, 60), piece(0, pieces.size() - 1);
    std::string log;
    for (std::size_t n = count(random); n > 0; --n)
        log += pieces[piece(random)];
    return log;
}

TEST(LogLineReader, GivesTheWholeBufferLinesForRandomInputs) {
    std::mt19937 random(17);
    for (int round = 0; round < 400; ++round) {
        std::string log = RandomLog(random);
        if (round % 4 == 0)
            log = "\xEF\xBB\xBF" + log;
        const Lines expected = WholeBufferLines(log);
        for (const std::size_t block : kBlockSizes)
            ASSERT_EQ(StreamedLines(log, block), expected)
                << "round " << round << ", block " << block;
    }
}

TEST(LogLineReader, GivesTheWholeBufferLinesForRandomUtf16Inputs) {
    std::mt19937 random(1617);
    std::uniform_int_distribution<int> kind(0, 9), length(0, 40);
    for (int round = 0; round < 200; ++round) {
        std::u16string text;
        for (int n = length(random); n > 0; --n) {
            static const char16_t units[] = {u'a',   u'\r',  u'\n',  0xE9, 0x20AC,
                                             0xD83D, 0xDE00, 0xDC00, u'K', 0xFEFF};
            text += units[kind(random)];
        }
        std::string log = Utf16(text, round % 2 == 0);
        if (round % 3 == 0)
            log += "x"; // an odd last byte
        const Lines expected = WholeBufferLines(log);
        for (const std::size_t block : kBlockSizes)
            ASSERT_EQ(StreamedLines(log, block), expected)
                << "round " << round << ", block " << block;
    }
}

// A buffer handed on keeps the bytes of the reader before, which must not leak into the lines of
// the next: one that stopped inside a line, one grown by a line longer than a block, and one
// that ended inside a CR LF and a UTF-8 character.
TEST(LogLineReader, ABufferHandedOnReadsLikeAFreshOne) {
    const std::vector<std::string> logs = {"first\r\nsecond half",
                                           std::string(300, 'x') + "\nshort\r",
                                           "caf\xC3\xA9\r\nna\xC3", "\nafter\r\n\r\nend", ""};
    for (const std::size_t block : {std::size_t{3}, std::size_t{16}, std::size_t{4096}}) {
        ByteBuffer buffer;
        for (std::size_t i = 0; i < logs.size(); ++i) {
            const auto start =
                i == 0 ? LogLineList::Start::kFileStart : LogLineList::Start::kFromInside;
            LogLineReader reader(BytesReader(logs[i]), block, start, std::move(buffer));
            // The first reader stops after one line, leaving the rest in the buffer.
            const Lines lines = i == 0 ? Lines{std::string(*reader.Next())} : StreamedLines(reader);
            const Lines whole = WholeBufferLines(logs[i], start);
            EXPECT_EQ(lines, i == 0 ? Lines{whole[0]} : whole)
                << "log " << i << ", block " << block;
            buffer = reader.TakeBuffer();
        }
    }
}

TEST(LogLineReader, StopsAndSaysSoWhenTheInputCannotBeRead) {
    std::string given = "first\r\nsecond\r\nthird";
    std::size_t calls = 0;
    LogLineReader reader(
        [&](char* into, std::size_t room) -> std::ptrdiff_t {
            if (++calls > 2)
                return -1;
            const std::size_t n = std::min<std::size_t>(room, given.size());
            std::memcpy(into, given.data(), n);
            given.erase(0, n);
            return static_cast<std::ptrdiff_t>(n);
        },
        8);
    // Two blocks of eight bytes hold two whole lines; "third" is never finished.
    const Lines lines = StreamedLines(reader);
    EXPECT_TRUE(reader.Failed());
    EXPECT_EQ(lines, (Lines{"first", "second"}));
    EXPECT_FALSE(reader.Next());
}

TEST(LogLineReader, ReadsARangeOfAFile) {
    char path[] = "/tmp/qla-line-reader-XXXXXX";
    const int fd = ::mkstemp(path);
    ASSERT_GE(fd, 0);
    const std::string bytes = "skipped\r\nfrom here\r\ncaf\xE9\nnot read";
    ASSERT_EQ(::write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    const std::size_t from = 9, length = bytes.find("not") - from;
    LogLineReader reader(FileRangeReader(fd, from, length), 4, LogLineList::Start::kFromInside);
    EXPECT_EQ(StreamedLines(reader), (Lines{"from here", "caf\xC3\xA9"}));
    EXPECT_FALSE(reader.Failed());

    // Asking for more than the file holds is a read error, not a short log.
    LogLineReader past(FileRangeReader(fd, from, bytes.size()), 4, LogLineList::Start::kFromInside);
    StreamedLines(past);
    EXPECT_TRUE(past.Failed());
    ::close(fd);
    std::remove(path);
}

} // namespace
} // namespace qla
