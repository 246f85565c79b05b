// The streaming and parallel runs against the plain one: generated logs of both languages, both
// encodings and every line-end style, read in blocks as small as a few bytes (with a multi-byte
// character cut by every block end) on one and several threads, must give the whole store of
// opening the log and analysing its lines on one thread.
#include "analysis/analysis.h"
#include "analysis/log_stream.h"

#include "generator.h"
#include "options.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace qla {
namespace {

// The first difference between two stores and their totals, or nothing.
std::string StoreDifference(const AnalysisStore& a, const AnalysisTotals& ta,
                            const AnalysisStore& b, const AnalysisTotals& tb) {
    if (ta.Total != tb.Total || ta.Kills != tb.Kills || ta.Deaths != tb.Deaths ||
        ta.Teamkills != tb.Teamkills || ta.VoiceChats != tb.VoiceChats ||
        ta.TextChats != tb.TextChats || ta.Unknown != tb.Unknown || ta.ByKind != tb.ByKind)
        return "totals differ";
    if (a.Players.size() != b.Players.size())
        return "player counts differ";
    for (std::size_t i = 0; i < a.Players.size(); ++i) {
        const PlayerRecord &p = a.Players[i], &q = b.Players[i];
        if (p.Name != q.Name || p.Kills != q.Kills || p.Deaths != q.Deaths ||
            p.Teamkills != q.Teamkills || p.VoiceChatCount != q.VoiceChatCount ||
            p.TextChatCount != q.TextChatCount)
            return "player " + std::to_string(i) + " differs: " + p.Name + " / " + q.Name;
    }
    if (a.KillEvents.size() != b.KillEvents.size())
        return "event counts differ";
    for (std::size_t i = 0; i < a.KillEvents.size(); ++i) {
        const KillEvent &e = a.KillEvents[i], &f = b.KillEvents[i];
        if (e.Killer != f.Killer || e.Victim != f.Victim || e.Weapon() != f.Weapon())
            return "event " + std::to_string(i) + " differs";
    }
    for (const auto chats : {&AnalysisStore::VoiceChats, &AnalysisStore::TextChats}) {
        if ((a.*chats).size() != (b.*chats).size())
            return "chat counts differ";
        for (std::size_t i = 0; i < (a.*chats).size(); ++i) {
            const ChatEntry &c = (a.*chats)[i], &d = (b.*chats)[i];
            if (c.Player != d.Player || c.Text != d.Text || a.LocationOf(c) != b.LocationOf(d) ||
                c.IsTeam != d.IsTeam)
                return "chat " + std::to_string(i) + " differs: " + std::string(c.Text);
        }
    }
    if (a.UnknownLines != b.UnknownLines)
        return "unknown lines differ";
    if (a.Renames.size() != b.Renames.size())
        return "rename counts differ";
    for (std::size_t i = 0; i < a.Renames.size(); ++i)
        if (a.Renames[i].OldName != b.Renames[i].OldName ||
            a.Renames[i].NewName != b.Renames[i].NewName)
            return "rename " + std::to_string(i) + " differs";
    return {};
}

struct GeneratedLog {
    std::string Name;
    std::string Bytes;
    LogLanguage Language;
};

std::vector<GeneratedLog> GeneratedLogs() {
    std::vector<GeneratedLog> logs;
    const std::pair<loggen::LineEnds, const char*> ends[] = {{loggen::LineEnds::CrLf, "crlf"},
                                                             {loggen::LineEnds::Lf, "lf"},
                                                             {loggen::LineEnds::Cr, "cr"},
                                                             {loggen::LineEnds::Mixed, "mixed"}};
    std::uint64_t seed = 40;
    for (const auto& [lineEnds, endName] : ends)
        for (const bool german : {false, true}) {
            loggen::Options options;
            options.lines = 1500;
            options.players = 40;
            options.hostile = true;
            options.seed = ++seed;
            options.lineEnds = lineEnds;
            options.language = german ? loggen::Language::German : loggen::Language::English;
            // German logs are written in Windows-1252 as the game does; English ones in UTF-8.
            options.encoding = german ? loggen::Encoding::Windows1252 : loggen::Encoding::Utf8;
            std::ostringstream out;
            EXPECT_TRUE(loggen::generateLog(options, out));
            logs.push_back({std::string(german ? "german-" : "english-") + endName, out.str(),
                            german ? LogLanguage::German : LogLanguage::English});
        }
    return logs;
}

// `bytes` with a two-byte character placed across every end of a block of `block` bytes.
std::string CharacterOnEveryBlockEnd(const std::string& bytes, std::size_t block) {
    std::string out;
    for (const char c : bytes) {
        if (out.size() % block == block - 1)
            out += "\xC3\xA9";
        out += c;
    }
    return out;
}

AnalysisTotals PlainRun(AnalysisStore& store, const std::string& bytes, LogLanguage language,
                        Recognition recognition) {
    store.LogLines = LogLineList::FromBytes(bytes);
    return AnalyzeLog(store, language, recognition, ThreadUse{1});
}

StreamedAnalysis StreamedRun(AnalysisStore& store, const std::string& bytes, LogLanguage language,
                             Recognition recognition, unsigned threads, std::size_t block) {
    StreamOptions options;
    options.Threads = threads;
    options.MinBytesEach = 1;
    options.BlockSize = block;
    return AnalyzeStreamedLog(
        store, bytes.size(),
        [&bytes](std::uint64_t offset, std::uint64_t length) {
            return BytesReader(std::string_view(bytes).substr(offset, length));
        },
        language, recognition, options);
}

TEST(StreamedAnalysis, GivesThePlainStoreForEveryBlockSizeAndThreadCount) {
    for (const GeneratedLog& log : GeneratedLogs()) {
        for (const std::size_t block : {2u, 3u, 7u, 64u, 4096u}) {
            const std::string bytes =
                block < 64 ? CharacterOnEveryBlockEnd(log.Bytes, block) : log.Bytes;
            AnalysisStore plain;
            const AnalysisTotals plainTotals =
                PlainRun(plain, bytes, log.Language, Recognition::Classic);
            for (const unsigned threads : {1u, 2u, 5u}) {
                AnalysisStore streamed;
                const StreamedAnalysis run = StreamedRun(streamed, bytes, log.Language,
                                                         Recognition::Classic, threads, block);
                ASSERT_FALSE(run.ReadFailed);
                EXPECT_EQ(run.LineCount, plain.LogLines.size());
                EXPECT_EQ(run.DateText, LogDateText(plain.LogLines[0]));
                ASSERT_EQ(StoreDifference(plain, plainTotals, streamed, run.Totals), "")
                    << log.Name << ", block " << block << ", " << threads << " threads";
            }
        }
    }
}

TEST(StreamedAnalysis, LinesLongerThanABlockAndUtf16LogsGiveThePlainStore) {
    const GeneratedLog log = GeneratedLogs().front();
    // A say line far longer than the block, and the whole log as UTF-16 in both byte orders.
    const std::string longLine = "Bob: " + std::string(5000, 'x') + "\xE2\x82\xAC end\r\n";
    std::string utf16le = "\xFF\xFE", utf16be = "\xFE\xFF";
    for (const char c : log.Bytes.substr(0, 20000)) {
        utf16le += std::string{c, '\0'};
        utf16be += std::string{'\0', c};
    }
    for (const std::string& bytes :
         {log.Bytes.substr(0, 30000) + longLine + log.Bytes.substr(30000), utf16le, utf16be}) {
        AnalysisStore plain;
        const AnalysisTotals plainTotals =
            PlainRun(plain, bytes, LogLanguage::English, Recognition::Classic);
        for (const unsigned threads : {1u, 3u})
            for (const std::size_t block : {5u, 1000u}) {
                AnalysisStore streamed;
                const StreamedAnalysis run = StreamedRun(streamed, bytes, LogLanguage::English,
                                                         Recognition::Classic, threads, block);
                ASSERT_EQ(StoreDifference(plain, plainTotals, streamed, run.Totals), "")
                    << threads << " threads, block " << block;
            }
    }
}

TEST(StreamedAnalysis, FullRecognitionGivesThePlainStoreOnOneThread) {
    for (const GeneratedLog& log : GeneratedLogs()) {
        AnalysisStore plain;
        const AnalysisTotals plainTotals =
            PlainRun(plain, log.Bytes, log.Language, Recognition::Full);
        AnalysisStore streamed;
        const StreamedAnalysis run =
            StreamedRun(streamed, log.Bytes, log.Language, Recognition::Full, 4, 7);
        EXPECT_EQ(StoreDifference(plain, plainTotals, streamed, run.Totals), "") << log.Name;
    }
}

TEST(StreamedAnalysis, ParallelRunOverLinesInMemoryGivesThePlainStore) {
    for (const GeneratedLog& log : GeneratedLogs()) {
        AnalysisStore plain;
        const AnalysisTotals plainTotals =
            PlainRun(plain, log.Bytes, log.Language, Recognition::Classic);
        for (const unsigned threads : {2u, 3u, 8u}) {
            AnalysisStore split;
            split.LogLines = LogLineList::FromBytes(log.Bytes);
            std::vector<std::uint64_t> positions;
            const AnalysisTotals totals =
                AnalyzeLog(split, log.Language, Recognition::Classic, ThreadUse{threads, 1},
                           [&](const AnalysisProgress& p) { positions.push_back(p.Position); });
            EXPECT_EQ(StoreDifference(plain, plainTotals, split, totals), "")
                << log.Name << ", " << threads << " threads";
            ASSERT_FALSE(positions.empty());
            EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end()));
            EXPECT_EQ(positions.back(), split.LogLines.size() - 1);
        }
    }
}

// A progress report that throws (the window's Cancel) stops every range, leaves the caller
// with the exception, and the same lines analyse in full after a reset.
TEST(StreamedAnalysis, AThrowingProgressReportStopsEveryRange) {
    const GeneratedLog log = GeneratedLogs().front();
    std::string bytes;
    for (int copy = 0; copy < 20; ++copy)
        bytes += log.Bytes + "\r\n";
    AnalysisStore plain;
    const AnalysisTotals plainTotals = PlainRun(plain, bytes, log.Language, Recognition::Classic);
    AnalysisStore split;
    split.LogLines = LogLineList::FromBytes(bytes);
    struct Stop {};
    int reports = 0;
    EXPECT_THROW(AnalyzeLog(split, log.Language, Recognition::Classic, ThreadUse{4, 1},
                            [&](const AnalysisProgress&) {
                                ++reports;
                                throw Stop{};
                            }),
                 Stop);
    EXPECT_EQ(reports, 1);
    const AnalysisTotals again =
        AnalyzeLog(split, log.Language, Recognition::Classic, ThreadUse{4, 1});
    EXPECT_EQ(StoreDifference(plain, plainTotals, split, again), "");
}

TEST(StreamedAnalysis, RangesStartAfterALineEndAndNeverInsideCrLf) {
    const std::string bytes = "aaaa\r\nbbbb\rcccc\ndddd\r\neeee";
    const RangeReaders readers = [&bytes](std::uint64_t offset, std::uint64_t length) {
        return BytesReader(std::string_view(bytes).substr(offset, length));
    };
    EXPECT_EQ(RangeStarts(bytes.size(), readers, 1), (std::vector<std::uint64_t>{0}));
    // Near 5 (the LF of the first CR LF), 10 (a lone CR) and 15 (an LF): just after each.
    EXPECT_EQ(RangeStarts(bytes.size(), readers, 5),
              (std::vector<std::uint64_t>{0, 6, 11, 16, 22}));
    // A UTF-16 log is not split: its line ends are two bytes wide.
    const std::string utf16("\xFF\xFE"
                            "a\0\n\0b\0\n\0c\0",
                            12);
    EXPECT_EQ(RangeStarts(
                  utf16.size(),
                  [&utf16](std::uint64_t offset, std::uint64_t length) {
                      return BytesReader(std::string_view(utf16).substr(offset, length));
                  },
                  4),
              (std::vector<std::uint64_t>{0}));
}

TEST(StreamedAnalysis, FileRunKeepsNothingOfTheLogAndNamesTheFile) {
    const GeneratedLog log = GeneratedLogs().front();
    char path[] = "/tmp/qla-streamed-XXXXXX";
    const int fd = ::mkstemp(path);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, log.Bytes.data(), log.Bytes.size()),
              static_cast<ssize_t>(log.Bytes.size()));
    ::close(fd);
    AnalysisStore plain;
    const AnalysisTotals plainTotals =
        PlainRun(plain, log.Bytes, LogLanguage::English, Recognition::Classic);
    AnalysisStore streamed;
    StreamOptions options;
    options.Threads = 2;
    options.MinBytesEach = 1;
    const LogFileAnalysis run =
        AnalyzeLogFile(streamed, path, LogLanguage::English, Recognition::Classic, options);
    EXPECT_EQ(run.Error, "");
    EXPECT_TRUE(streamed.LogFileLoaded);
    EXPECT_TRUE(streamed.LogLines.empty());
    EXPECT_TRUE(streamed.LogFileIdentity.has_value());
    EXPECT_EQ(StoreDifference(plain, plainTotals, streamed, run.Analysis.Totals), "");
    EXPECT_EQ(FirstLogLines(path, 3).size(), 3u);
    std::remove(path);

    AnalysisStore missing;
    EXPECT_EQ(AnalyzeLogFile(missing, path, LogLanguage::English, Recognition::Classic).Error,
              std::string("The file does not exist: ") + path);
    EXPECT_FALSE(missing.LogFileLoaded);
}

} // namespace
} // namespace qla
