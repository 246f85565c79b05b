// The store's invariants over generated logs: normal and hostile, English and German, UTF-8 and
// Windows-1252, every line-end style. The hostile logs must really carry their hostile names
// into the store, or the invariants would prove nothing about them.
#include "analysis/analysis.h"
#include "core/text.h"
#include "core/weapons.h"
#include "fuzz_checks.h"
#include "generator.h"
#include "store_invariants.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <algorithm>
#include <sstream>

namespace qla {
namespace {

struct LogCase {
    const char* Name;
    loggen::Language Language;
    loggen::Encoding Encoding;
    loggen::LineEnds LineEnds;
    bool Hostile;
    loggen::Style Style = loggen::Style::Classic;
};

std::string Generate(const LogCase& c, std::uint64_t lines, std::uint64_t seed) {
    loggen::Options options;
    options.lines = lines;
    options.players = 40;
    options.language = c.Language;
    options.encoding = c.Encoding;
    options.lineEnds = c.LineEnds;
    options.hostile = c.Hostile;
    options.style = c.Style;
    options.seed = seed;
    std::ostringstream out;
    EXPECT_TRUE(loggen::generateLog(options, out));
    return out.str();
}

// ctest runs each test in its own process, side by side: every test writes its pages into a
// folder of its own.
std::string OwnScratchFolder() {
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(test->test_suite_name()) + "." + test->name();
    for (char& c : name)
        if (c == '/')
            c = '_';
    const std::filesystem::path folder = std::filesystem::path(testing::TempDir()) / name;
    std::filesystem::create_directories(folder);
    return folder.string();
}

LogLanguage LanguageOf(const LogCase& c) {
    return c.Language == loggen::Language::German ? LogLanguage::German : LogLanguage::English;
}

class StoreInvariants : public testing::TestWithParam<LogCase> {};

constexpr std::uint64_t kLines = 4000;

TEST_P(StoreInvariants, HoldOnGeneratedLogs) {
    const LogCase& c = GetParam();
    for (std::uint64_t seed : {1u, 2u, 3u}) {
        AnalysisStore store;
        store.LogLines = LogLineList::FromBytes(Generate(c, kLines, seed));
        const AnalysisTotals totals = AnalyzeLog(store, LanguageOf(c));
        // Every line of the generator is one line of the log, whatever its line ends.
        EXPECT_EQ(totals.Total, static_cast<std::int64_t>(kLines)) << "seed " << seed;
        for (const std::string& broken : robust::StoreViolations(store, totals))
            ADD_FAILURE() << "seed " << seed << ": " << broken;
        EXPECT_GT(totals.Kills, 0);
        EXPECT_GT(totals.Deaths, totals.Kills + totals.Teamkills);
        EXPECT_GT(totals.Teamkills, 0);
        EXPECT_GT(totals.VoiceChats, 0);
        EXPECT_GT(totals.TextChats, 0);
        EXPECT_GT(totals.Unknown, 0);
    }
}

// Full recognition on logs with every shape the game writes: the same invariants, and every
// line lands with a player of the pool (the long names once each, never cut), none unnamed.
class FullRecognitionLogs : public testing::TestWithParam<LogCase> {};

TEST_P(FullRecognitionLogs, InvariantsHoldAndNamesStayWhole) {
    const LogCase& c = GetParam();
    for (std::uint64_t seed : {1u, 2u}) {
        AnalysisStore store;
        store.LogLines = LogLineList::FromBytes(Generate(c, kLines, seed));
        const AnalysisTotals totals = AnalyzeLog(store, LanguageOf(c), Recognition::Full);
        for (const std::string& broken : robust::StoreViolations(store, totals))
            ADD_FAILURE() << "seed " << seed << ": " << broken;
        EXPECT_GT(totals.Kills, 0);
        EXPECT_GT(totals.Deaths, totals.Kills + totals.Teamkills);
        EXPECT_GT(totals.TextChats, 0);
        if (c.Hostile)
            continue;
        // 40 pool names and the two long names; unknown weapons no longer make players.
        EXPECT_EQ(store.PlayerCount(), 42) << "seed " << seed;
        for (const PlayerRecord& p : store.Players) {
            EXPECT_NE(p.Name, kUnnamedPlayer);
            EXPECT_EQ(p.Name.find(": ^"), std::string::npos) << p.Name;
            EXPECT_EQ(p.Name.find("^7 "), std::string::npos) << p.Name;
        }
        std::int64_t newCauses = 0;
        for (const PlayerRecord& p : store.Players)
            for (WeaponId cause = kFirstFullCause; cause <= kLastFullCause; ++cause)
                newCauses += p.Deaths[cause];
        // The newer wordings are known in English only.
        EXPECT_EQ(newCauses > 0, c.Language == loggen::Language::English);
    }
}

class HostileLogs : public testing::TestWithParam<LogCase> {};

TEST_P(HostileLogs, HostileNamesReachTheStore) {
    const LogCase& c = GetParam();
    AnalysisStore store;
    store.LogLines = LogLineList::FromBytes(Generate(c, kLines, 1));
    AnalyzeLog(store, LanguageOf(c));
    bool unnamed = false, longName = false, markup = false, control = false;
    for (const PlayerRecord& p : store.Players) {
        unnamed = unnamed || p.Name == kUnnamedPlayer;
        longName = longName || CharCount(p.Name) >= 300;
        markup = markup || p.Name.find("<script>") != std::string::npos;
        control = control || std::any_of(p.Name.begin(), p.Name.end(),
                                         [](char ch) { return ch >= 0 && ch < 0x20; });
    }
    EXPECT_TRUE(unnamed && longName && markup && control)
        << unnamed << longName << markup << control;
    std::size_t longest = 0;
    for (std::size_t i = 0; i < store.LogLines.size(); ++i)
        longest = std::max(longest, store.LogLines[i].size());
    EXPECT_EQ(longest, 100000u); // the generator's one huge line
}

// Every page of the site and the single pages stay well-formed on a hostile log, and no "<" of
// the log becomes markup (the same check as the writers' fuzz target).
TEST_P(HostileLogs, PagesStayWellFormed) {
    const LogCase& c = GetParam();
    const char language = c.Language == loggen::Language::German ? '\x40' : '\x00';
    const std::string input = std::string("\xFF") + language + Generate(c, 600, 5);
    EXPECT_EQ(robust::WritersProblem(input, OwnScratchFolder()), "");
}

using L = loggen::Language;
using E = loggen::Encoding;
using N = loggen::LineEnds;

const LogCase kNormalLogs[] = {
    {"english_utf8", L::English, E::Utf8, N::CrLf, false},
    {"english_cp1252", L::English, E::Windows1252, N::CrLf, false},
    {"german_cp1252", L::German, E::Windows1252, N::CrLf, false},
    {"german_utf8", L::German, E::Utf8, N::CrLf, false},
    {"english_mixed", L::English, E::Utf8, N::Mixed, false},
};
const LogCase kFullStyleLogs[] = {
    {"english_full", L::English, E::Utf8, N::CrLf, false, loggen::Style::Full},
    {"german_full", L::German, E::Windows1252, N::CrLf, false, loggen::Style::Full},
    {"english_full_hostile", L::English, E::Utf8, N::CrLf, true, loggen::Style::Full},
    {"german_full_hostile", L::German, E::Utf8, N::Lf, true, loggen::Style::Full},
};
const LogCase kHostileLogs[] = {
    {"english_utf8_hostile", L::English, E::Utf8, N::CrLf, true},
    {"english_cp1252_hostile", L::English, E::Windows1252, N::CrLf, true},
    {"german_cp1252_hostile", L::German, E::Windows1252, N::CrLf, true},
    {"german_utf8_hostile", L::German, E::Utf8, N::CrLf, true},
    {"english_lf_hostile", L::English, E::Utf8, N::Lf, true},
    {"german_cr_hostile", L::German, E::Windows1252, N::Cr, true},
};

std::string CaseName(const testing::TestParamInfo<LogCase>& info) {
    return info.param.Name;
}

INSTANTIATE_TEST_SUITE_P(Normal, StoreInvariants, testing::ValuesIn(kNormalLogs), CaseName);
INSTANTIATE_TEST_SUITE_P(Hostile, StoreInvariants, testing::ValuesIn(kHostileLogs), CaseName);
INSTANTIATE_TEST_SUITE_P(Hostile, HostileLogs, testing::ValuesIn(kHostileLogs), CaseName);
INSTANTIATE_TEST_SUITE_P(FullStyle, FullRecognitionLogs, testing::ValuesIn(kFullStyleLogs),
                         CaseName);

} // namespace
} // namespace qla
