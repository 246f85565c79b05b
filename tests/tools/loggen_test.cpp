// qla-loggen: determinism, line counts, encodings, player names and its command line.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "loggen_test_support.h"
#include "run_loggen.h"

using namespace loggen_test;

namespace {

const std::vector<std::string> kHostileMixed = {
    "--lines", "3000", "--players", "40", "--hostile", "--seed", "99", "--line-ends", "mixed"};

} // namespace

TEST(LogGen, SameSeedGivesSameBytes) {
    const std::string first = generate(kHostileMixed);
    EXPECT_EQ(first, generate(kHostileMixed));
    EXPECT_GT(first.size(), 100000u);
}

TEST(LogGen, OtherSeedGivesOtherLog) {
    auto args = kHostileMixed;
    args[6] = "100";
    EXPECT_NE(generate(kHostileMixed), generate(args));
}

TEST(LogGen, EveryLineEndStyleWritesTheRequestedLines) {
    const std::vector<std::string> base = {"--lines", "4000", "--hostile", "--seed", "7"};
    std::vector<std::string> reference;
    for (const char* style : {"crlf", "lf", "cr", "mixed"}) {
        auto args = base;
        args.insert(args.end(), {"--line-ends", style});
        const std::string bytes = generate(args);
        const auto lines = splitTerminatedLines(bytes);
        EXPECT_EQ(lines.size(), 4000u) << style;
        // An LF-only file reads with one empty piece after its final LF.
        EXPECT_EQ(readerLineCount(bytes), std::string(style) == "lf" ? 4001u : 4000u) << style;
        // The style changes the terminators, never the text of the lines.
        if (reference.empty())
            reference = lines;
        EXPECT_EQ(lines, reference) << style;
    }
}

TEST(LogGen, LineEndStylesUseOnlyTheirTerminators) {
    struct Ends {
        std::size_t crlf = 0, cr = 0, lf = 0;
    };
    auto count = [](const std::string& bytes) {
        Ends ends;
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            if (bytes.compare(i, 2, "\r\n") == 0) {
                ++ends.crlf;
                ++i;
            } else if (bytes[i] == '\r') {
                ++ends.cr;
            } else if (bytes[i] == '\n') {
                ++ends.lf;
            }
        }
        return ends;
    };
    const Ends crlf = count(generate({"--lines", "500", "--line-ends", "crlf"}));
    EXPECT_EQ(crlf.crlf, 500u);
    EXPECT_EQ(crlf.cr + crlf.lf, 0u);
    const Ends lf = count(generate({"--lines", "500", "--line-ends", "lf"}));
    EXPECT_EQ(lf.lf, 500u);
    EXPECT_EQ(lf.cr + lf.crlf, 0u);
    const Ends cr = count(generate({"--lines", "500", "--line-ends", "cr"}));
    EXPECT_EQ(cr.cr, 500u);
    EXPECT_EQ(cr.lf + cr.crlf, 0u);
    const std::string mixedBytes = generate({"--lines", "500", "--line-ends", "mixed"});
    const Ends mixed = count(mixedBytes);
    EXPECT_GT(mixed.crlf, 50u);
    EXPECT_GT(mixed.cr, 50u);
    EXPECT_GT(mixed.lf, 50u);
    EXPECT_TRUE(endsWith(mixedBytes, "\r\n"));
}

TEST(LogGen, ZeroAndOneLine) {
    EXPECT_EQ(generate({"--lines", "0"}), "");
    const std::string one = generate({"--lines", "1", "--line-ends", "lf"});
    EXPECT_TRUE(startsWith(one, "logfile opened on ")) << one;
    EXPECT_EQ(splitTerminatedLines(one).size(), 1u);
}

TEST(LogGen, GermanDefaultsToWindows1252) {
    const std::string log = generate({"--lines", "2000", "--language", "german"});
    EXPECT_NE(log.find("wurde get\xF6tet von"), std::string::npos);
    EXPECT_EQ(log.find("\xC3\xB6"), std::string::npos) << "UTF-8 o-umlaut in a Windows-1252 log";
}

TEST(LogGen, EnglishCanBeWrittenInWindows1252) {
    const std::string log = generate({"--lines", "3000", "--encoding", "windows-1252"});
    EXPECT_NE(log.find("d\xE9j\xE0 vu"), std::string::npos);
}

TEST(LogGen, GermanInBothEncodingsHoldsTheSameText) {
    const std::vector<std::string> base = {"--lines", "3000", "--language", "german"};
    auto utf8Args = base;
    utf8Args.insert(utf8Args.end(), {"--encoding", "utf-8"});
    const std::string utf8 = generate(utf8Args);
    EXPECT_NE(utf8.find("wurde get\xC3\xB6tet von"), std::string::npos);
    // The German text uses Latin-1 letters only, whose Windows-1252 byte is the code point.
    std::string widened;
    for (unsigned char c : generate(base)) {
        if (c < 0x80) {
            widened += static_cast<char>(c);
        } else {
            widened += static_cast<char>(0xC0 | (c >> 6));
            widened += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    EXPECT_EQ(widened, utf8);
}

TEST(LogGen, PlayersOptionGivesThatManyDistinctNames) {
    for (const char* players : {"7", "1000"}) {
        const std::string log = generate({"--lines", "60000", "--players", players});
        std::set<std::string> victims;
        for (const std::string& line : splitTerminatedLines(log)) {
            const std::size_t verb = line.find("^7 was killed by ");
            if (startsWith(line, "[skipnotify]") && verb != std::string::npos)
                victims.insert(line.substr(12, verb - 12));
        }
        EXPECT_EQ(victims.size(), std::stoul(players));
    }
}

// --code-run puts three kills by players behind rows of colour codes at a quarter, a half and
// three quarters of the log; every other line is the one the same seed writes without it.
TEST(LogGen, CodeRunLinesStandAtTheirPlacesAndChangeNothingElse) {
    const std::vector<std::string> base = {"--lines", "400", "--seed", "3"};
    auto withRuns = base;
    withRuns.insert(withRuns.end(), {"--code-run", "250"});
    const std::vector<std::string> plain = splitTerminatedLines(generate(base));
    const std::vector<std::string> coded = splitTerminatedLines(generate(withRuns));
    ASSERT_EQ(plain.size(), 400u);
    ASSERT_EQ(coded.size(), 400u);
    std::string codes;
    for (int i = 0; i < 250; ++i)
        codes += "^" + std::string(1, "1234567890bqdun#*"[i % 17]);
    for (std::size_t i = 0; i < plain.size(); ++i) {
        const int which = i == 100 ? 1 : i == 200 ? 2 : i == 300 ? 3 : 0;
        if (which == 0) {
            EXPECT_EQ(coded[i], plain[i]) << "line " << i;
            continue;
        }
        EXPECT_EQ(coded[i], "[skipnotify]Al^7 was killed by " + codes + "Coder" +
                                std::to_string(which) + "^7's MP40");
    }
}

// Each unknown-weapon kill makes the analyzer create a player "<killer>'s <weapon>", so only a
// few killers may use such weapons or a long log would hold far more players than asked for.
TEST(LogGen, FewKillersUseUnknownWeapons) {
    const std::string log = generate({"--lines", "100000", "--players", "500"});
    std::set<std::string> killers;
    for (const std::string& line : splitTerminatedLines(log)) {
        const std::size_t by = line.rfind(" by ");
        if (by == std::string::npos)
            continue;
        for (const char* tail : {"^7's Colt", "^7's FG42", "^7's mortar"})
            if (endsWith(line, tail))
                killers.insert(line.substr(by + 4, line.size() - by - 4 - std::strlen(tail)));
    }
    EXPECT_GE(killers.size(), 1u);
    EXPECT_LE(killers.size(), 3u);
}

TEST(LogGen, OutputOptionWritesTheSameBytesAsStandardOutput) {
    const auto path = std::filesystem::temp_directory_path() / "loggen_test_output.log";
    const std::vector<std::string> args = {"--lines", "300", "--seed", "5"};
    auto withOutput = args;
    withOutput.insert(withOutput.end(), {"--output", path.string()});
    EXPECT_EQ(generate(withOutput), "");
    std::ifstream file(path, std::ios::binary);
    std::stringstream written;
    written << file.rdbuf();
    EXPECT_EQ(written.str(), generate(args));
    std::filesystem::remove(path);
}

TEST(LogGen, UsageErrorsExitWithTwo) {
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"--frobnicate"},
                                               {"--lines", "many"},
                                               {"--lines"},
                                               {"--players", "0"},
                                               {"--language", "french"},
                                               {"--encoding", "latin1"},
                                               {"--line-ends", "crcr"},
                                               {"--recognition", "modern"},
                                               {"stray"}}) {
        std::ostringstream out, err;
        EXPECT_EQ(loggen::runLogGen(args, out, err), 2) << args[0];
        EXPECT_NE(err.str().find("usage: qla-loggen"), std::string::npos);
        EXPECT_EQ(out.str(), "");
    }
}

TEST(LogGen, UnwritableOutputExitsWithOne) {
    std::ostringstream out, err;
    EXPECT_EQ(loggen::runLogGen({"--output", "/nonexistent-dir/x.log"}, out, err), 1);
    EXPECT_NE(err.str().find("cannot open '/nonexistent-dir/x.log'"), std::string::npos);
}

namespace {

// The full style writes each of its own shapes, and the classic style stays as it was.
TEST(LogGenFullStyle, WritesEveryShapeOfTheGame) {
    const std::string log = generate({"--lines", "4000", "--recognition", "full", "--seed", "4"});
    int privateChat = 0, teamNoLocation = 0, newDeath = 0, shelled = 0, pilot = 0, colonRename = 0,
        cutName = 0, wholeName = 0, voiceWithExtra = 0;
    for (const std::string& line : splitTerminatedLines(log)) {
        privateChat += startsWith(line, "[skipnotify][") && contains(line, "^7]") ? 1 : 0;
        teamNoLocation += startsWith(line, "[skipnotify](") && contains(line, "^7): ^5") ? 1 : 0;
        newDeath += endsWith(line, " slit his own throat.") || endsWith(line, " was crushed.");
        shelled += contains(line, " was shelled by ") ? 1 : 0;
        pilot += startsWith(line, "[skipnotify]Pilot: ") ? 1 : 0;
        colonRename += contains(line, " renamed to =:DoD:=Bob") ? 1 : 0;
        cutName += contains(line, "=HQ= Sergeant Longname the Th^7 ") ? 1 : 0;
        wholeName += contains(line, "=HQ= Sergeant Longname the Third^7: ^2") ? 1 : 0;
        voiceWithExtra += startsWith(line, "[skipnotify]:") && endsWith(line, " ") ? 1 : 0;
    }
    EXPECT_GT(privateChat, 0);
    EXPECT_GT(teamNoLocation, 0);
    EXPECT_GT(newDeath, 0);
    EXPECT_GT(shelled, 0);
    EXPECT_GT(pilot, 0);
    EXPECT_GT(colonRename, 0);
    EXPECT_GT(cutName, 0);
    EXPECT_GT(wholeName, 0);
    EXPECT_EQ(voiceWithExtra, 0); // the game ends a voice line with its message
}

TEST(LogGenFullStyle, ClassicIsTheDefaultStyle) {
    for (const char* language : {"english", "german"}) {
        const std::string byDefault = generate({"--lines", "3000", "--language", language});
        EXPECT_EQ(generate({"--lines", "3000", "--language", language, "--recognition", "classic"}),
                  byDefault);
        EXPECT_NE(generate({"--lines", "3000", "--language", language, "--recognition", "full"}),
                  byDefault);
        EXPECT_FALSE(contains(byDefault, " was shelled by "));
        EXPECT_FALSE(contains(byDefault, "^7]: ^6")); // no private chat
    }
}

} // namespace
