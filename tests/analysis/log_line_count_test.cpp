// `qla info`'s streaming count against the whole-file open: the same line count and date for
// every mix of line ends, encodings and piece boundaries, and the same refusals; and the open's
// refusal of a log larger than memory.
#include "analysis/analysis.h"
#include "analysis/log_line_count.h"

#include "support/scratch_dir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <string>

#include <sys/sysinfo.h>
#include <unistd.h>

namespace qla {
namespace {

class LogLineCount : public testing::Test {
  protected:
    std::string Write(const std::string& bytes) {
        const std::string path = (dir_ / "log").string();
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
        return path;
    }
    // Counting and opening agree on `bytes`.
    void ExpectAgreement(const std::string& bytes) {
        const std::string path = Write(bytes);
        AnalysisStore store;
        const OpenLogResult opened = OpenLogFile(store, path);
        ASSERT_TRUE(opened.Opened) << opened.Error;
        const LogFileFacts facts = ReadLogFileFacts(path);
        EXPECT_EQ(facts.Error, "");
        EXPECT_EQ(facts.LineCount, opened.LineCount) << testing::PrintToString(bytes.substr(0, 40));
        EXPECT_EQ(facts.DateText, opened.DateText);
    }

    std::filesystem::path dir_ = test::ScratchDir();
};

TEST_F(LogLineCount, AgreesWithOpeningOnLineEndsAndEncodings) {
    for (const std::string& bytes :
         {std::string(), std::string("\r"), std::string("\n"), std::string("\r\n"),
          std::string("a\r\r\n\n"), std::string("a\n\r"), std::string("\xEF\xBB\xBF"),
          std::string("\xEF\xBB\xBFlogfile opened on today\r\nx"),
          std::string("logfile opened on \xE4 day\n"), std::string("\xFF\xFE"),
          std::string("\xFF\xFEl\0o\0g\0\r\0\n\0", 12), std::string("\xFE\xFF\0a\0\r", 6),
          std::string("\xFF\xFE"
                      "a\0\r\0b",
                      7)})
        ExpectAgreement(bytes);
    // Random mixes, in both encodings' worth of bytes.
    std::mt19937 random(7);
    const char alphabet[] = {'a', '\r', '\n', '\0', '\xFF', '\xFE', ' '};
    for (int round = 0; round < 200; ++round) {
        std::string bytes = round % 3 == 0 ? "\xFF\xFE" : round % 3 == 1 ? "\xFE\xFF" : "";
        const int length = static_cast<int>(random() % 40);
        for (int i = 0; i < length; ++i)
            bytes += alphabet[random() % sizeof alphabet];
        ExpectAgreement(bytes);
    }
}

// Longer runs of bytes, which are counted sixteen at a time: line ends at every place of a
// block, CR LF split between two blocks, and runs of CRs and LFs.
TEST_F(LogLineCount, AgreesWithOpeningOnLongRunsOfBytes) {
    std::mt19937 random(11);
    const char alphabet[] = {'a', 'a', 'a', '\r', '\n', '\xC3', ' '};
    for (int round = 0; round < 300; ++round) {
        std::string bytes;
        const int length = static_cast<int>(random() % 300);
        for (int i = 0; i < length; ++i)
            bytes += alphabet[random() % sizeof alphabet];
        ExpectAgreement(bytes);
    }
    // Every byte a line end, for long enough that a byte-wide counter would wrap.
    ExpectAgreement(std::string(10000, '\n'));
    ExpectAgreement(std::string(10000, '\r'));
    for (std::size_t at = 0; at < 40; ++at) {
        std::string bytes(80, 'x');
        bytes.replace(at, 2, "\r\n");
        ExpectAgreement(bytes);
        ExpectAgreement(bytes.substr(0, at + 1));
    }
}

TEST_F(LogLineCount, LineEndsAcrossPieceBoundaries) {
    // The count reads a piece at a time; a CR LF, or a UTF-16 unit, may be cut by a boundary.
    const std::size_t piece = kLineCountPiece;
    std::string cut(piece - 1, 'a');
    ExpectAgreement(cut + "\r\n" + "b");
    ExpectAgreement(cut + "\r\n");
    ExpectAgreement(cut + "\r" + "\r");
    std::string utf16 = "\xFF\xFE";
    while (utf16.size() < piece - 1)
        utf16 += std::string("x\0", 2);
    ExpectAgreement(utf16 + std::string("\r\0\n\0z\0", 6)); // the CR unit straddles the boundary
}

TEST_F(LogLineCount, RefusesWhatOpeningRefuses) {
    const std::string missing = (dir_ / "absent.log").string();
    EXPECT_EQ(ReadLogFileFacts(missing).Error, "The file does not exist: " + missing);
    EXPECT_EQ(ReadLogFileFacts(dir_.string()).Error,
              "This is a folder, not a log file: " + dir_.string());
}

TEST_F(LogLineCount, OpeningRefusesALogLargerThanMemoryAtOnce) {
    // A sparse file just larger than the machine's memory and swap is refused before a byte is
    // read (reading it to find out would take minutes and all of the memory).
    struct sysinfo machine {};
    ASSERT_EQ(::sysinfo(&machine), 0);
    const std::uint64_t memory =
        (static_cast<std::uint64_t>(machine.totalram) + machine.totalswap) * machine.mem_unit;
    const std::string path = (dir_ / "huge.log").string();
    { std::ofstream(path, std::ios::binary) << "logfile opened on now\r\n"; }
    ASSERT_EQ(::truncate(path.c_str(), static_cast<off_t>(memory + 1)), 0);
    AnalysisStore store;
    const OpenLogResult opened = OpenLogFile(store, path);
    EXPECT_FALSE(opened.Opened);
    EXPECT_EQ(opened.Error, "The file is too large to open: " + path);
    EXPECT_FALSE(store.LogFileLoaded);
}

} // namespace
} // namespace qla
