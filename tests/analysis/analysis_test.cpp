// The analysis run: totals, their order against the parsers, progress, and the language switch.
#include "analysis/analysis.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace qla {
namespace {

AnalysisStore StoreOf(const std::vector<std::string>& lines) {
    AnalysisStore store;
    store.LogLines = LogLineList::FromLines(lines);
    store.LogFileLoaded = true;
    return store;
}

std::vector<std::int64_t> AsList(const AnalysisTotals& t) {
    return {t.Kills, t.Deaths, t.Teamkills, t.VoiceChats, t.TextChats, t.Unknown, t.Total};
}

TEST(AnalyzeLog, CountsTheExampleLog) {
    AnalysisStore store = StoreOf({
        "[skipnotify]Bob was killed by Al's MP40",
        "[skipnotify]Bob^7 WAS KILLED BY TEAMMATE^7 Al",
        "[skipnotify]Bob^7: ^2hello there",
        "engine output without prefix",
        "another engine line",
    });
    const AnalysisTotals totals = AnalyzeLog(store, LogLanguage::English);
    EXPECT_EQ(AsList(totals), (std::vector<std::int64_t>{1, 2, 1, 0, 1, 2, 5}));
    EXPECT_EQ(store.PlayerCount(), 2);
    EXPECT_EQ(store.KillEvents.size(), 3u);
    EXPECT_EQ(store.TextChats.size(), 2u);
    ASSERT_EQ(store.UnknownLines.size(), 3u);
    EXPECT_EQ(store.UnknownLines[1], "engine output without prefix");
    EXPECT_EQ(store.UnknownLines[2], "another engine line");
}

TEST(AnalyzeLog, EveryKindRaisesItsTotals) {
    AnalysisStore store = StoreOf({
        "[skipnotify]Bob died.",
        "[skipnotify]: Bob^7 (Base): ^2Medic!x",
        "[skipnotify]Bob renamed to Al",
        "[skipnotify]server: restart",
        "[skipnotify]Fire Mission: go",
        "[skipnotify]^1Spam Protection^7: wait",
        "[skipnotify]Bob timed out",
        "[skipnotify]Bob disconnected",
        "",
    });
    const AnalysisTotals totals = AnalyzeLog(store, LogLanguage::English);
    EXPECT_EQ(AsList(totals), (std::vector<std::int64_t>{0, 1, 0, 1, 0, 6, 9}));
    // The rename is neither stored nor kept as an unknown line.
    EXPECT_EQ(store.UnknownLines.size(), 7u);
    EXPECT_EQ(store.VoiceChats.size(), 2u);
}

TEST(AnalyzeLog, SecondRunStartsFromZero) {
    AnalysisStore store = StoreOf({"[skipnotify]Bob was killed by Al's MP40", "x"});
    const AnalysisTotals first = AnalyzeLog(store, LogLanguage::English);
    const AnalysisTotals second = AnalyzeLog(store, LogLanguage::English);
    EXPECT_EQ(AsList(first), AsList(second));
    EXPECT_EQ(store.PlayerCount(), 2);
    EXPECT_EQ(store.KillEvents.size(), 2u);
    EXPECT_EQ(store.Players[1].Deaths[0], 1);
}

TEST(AnalyzeLog, EnglishLogAnalysedAsGerman) {
    AnalysisStore store = StoreOf({
        "[skipnotify]Bob was killed by Al's MP40",
        "[skipnotify]Bob died.",
        "[skipnotify]Bob^7 WAS KILLED BY TEAMMATE^7 Al",
        "[skipnotify]Bob^7: ^2I was killed by Al",
        "[skipnotify]Bob renamed to Al",
    });
    const AnalysisTotals totals = AnalyzeLog(store, LogLanguage::German);
    // Without a German phrase the obituaries are unknown; with a colon they read as chat, and
    // the English rename phrase means nothing in German.
    EXPECT_EQ(AsList(totals), (std::vector<std::int64_t>{0, 0, 0, 0, 1, 4, 5}));
    EXPECT_EQ(store.KillEvents.size(), 1u);
    EXPECT_EQ(store.UnknownLines.size(), 5u);
}

TEST(AnalyzeLog, GermanLogUsesGermanParsers) {
    AnalysisStore store = StoreOf({
        "[skipnotify]Bob^7 wurde get\xC3\xB6tet von Al - MP40",
        "[skipnotify]Bob hat sich selbst erledigt.",
        "[skipnotify]Bob^7 STARB DURCH TEAMKAMERAD^7 Al",
        "[skipnotify]Bob hat sich umbenannt in Al",
    });
    const AnalysisTotals totals = AnalyzeLog(store, LogLanguage::German);
    EXPECT_EQ(AsList(totals), (std::vector<std::int64_t>{1, 3, 1, 0, 0, 0, 4}));
    ASSERT_EQ(store.PlayerCount(), 2);
    EXPECT_EQ(store.Players[1].Name, "Bob");
    EXPECT_EQ(store.Players[1].Deaths[18], 1);
    EXPECT_EQ(store.Players[1].Deaths[23], 1);
    EXPECT_EQ(store.Players[2].Teamkills, 1);
}

TEST(AnalyzeLog, ProgressEveryStrideAndAfterTheLastLine) {
    std::vector<std::string> lines(kProgressStride * 2 + 5, "[skipnotify]Bob died.");
    AnalysisStore store = StoreOf(lines);
    std::vector<std::uint64_t> positions;
    std::vector<std::int64_t> totalsSeen;
    AnalyzeLog(store, LogLanguage::English, [&](const AnalysisProgress& p) {
        positions.push_back(p.Position);
        EXPECT_EQ(p.UpperBound, lines.size() - 1);
        ASSERT_NE(p.Totals, nullptr);
        totalsSeen.push_back(p.Totals->Total);
    });
    EXPECT_EQ(positions, (std::vector<std::uint64_t>{kProgressStride - 1, 2 * kProgressStride - 1,
                                                     lines.size() - 1}));
    EXPECT_EQ(totalsSeen, (std::vector<std::int64_t>{static_cast<std::int64_t>(kProgressStride),
                                                     static_cast<std::int64_t>(2 * kProgressStride),
                                                     static_cast<std::int64_t>(lines.size())}));
}

TEST(AnalyzeLog, ProgressOnceForOneLine) {
    AnalysisStore store = StoreOf({""});
    int calls = 0;
    AnalyzeLog(store, LogLanguage::English, [&](const AnalysisProgress& p) {
        ++calls;
        EXPECT_EQ(p.Position, 0u);
        EXPECT_EQ(p.UpperBound, 0u);
    });
    EXPECT_EQ(calls, 1);
}

// Lines glued from log fragments at random, so that cuts meet every short and odd shape.
TEST(AnalyzeLog, MalformedLinesKeepTheStoreSound) {
    const std::string pieces[] = {"[skipnotify]",
                                  ":",
                                  "(",
                                  ")",
                                  "):",
                                  "): ^5",
                                  "^7) (",
                                  "^7: ^2",
                                  "^2",
                                  "^7",
                                  "^",
                                  " ",
                                  "was",
                                  " by ",
                                  "was killed by",
                                  "was blasted by",
                                  "WAS KILLED BY TEAMMATE^7",
                                  "died.",
                                  "killed himself",
                                  "wurde",
                                  " von ",
                                  "wurde getötet von",
                                  "wurde erledigt von",
                                  " - ",
                                  "STARB DURCH TEAMKAMERAD^7",
                                  "starb.",
                                  "stürzte sich zu Tode..",
                                  "tötete sich selbst",
                                  "'s",
                                  "MP40",
                                  "ort fire",
                                  "angriff",
                                  "J\xC3\xBC",
                                  "\xF6",
                                  "x"};
    std::mt19937 random(7);
    std::string bytes;
    const int lineCount = 20000;
    for (int i = 0; i < lineCount; ++i) {
        bytes += random() % 2 ? "[skipnotify]" : "";
        for (unsigned n = random() % 7; n > 0; --n) {
            bytes += pieces[random() % std::size(pieces)];
        }
        bytes += "\r\n";
    }
    AnalysisStore store;
    store.LogLines = LogLineList::FromBytes(bytes);
    ASSERT_EQ(store.LogLines.size(), static_cast<std::size_t>(lineCount));
    for (LogLanguage language : {LogLanguage::English, LogLanguage::German}) {
        const AnalysisTotals totals = AnalyzeLog(store, language);
        EXPECT_EQ(totals.Total, lineCount);
        // Every death line reached a record: kills and suicides in Deaths(0), teamkills apart.
        std::int64_t deaths = 0;
        for (std::size_t i = 1; i < store.Players.size(); ++i) {
            deaths += store.Players[i].Deaths[0];
        }
        EXPECT_EQ(deaths, totals.Deaths - totals.Teamkills);
        const auto valid = [&](PlayerIndex p) { return p >= 1 && p <= store.PlayerCount(); };
        for (std::size_t i = 1; i < store.KillEvents.size(); ++i) {
            EXPECT_TRUE(valid(store.KillEvents[i].Killer));
            EXPECT_TRUE(valid(store.KillEvents[i].Victim));
        }
        for (const auto* chats : {&store.VoiceChats, &store.TextChats}) {
            for (std::size_t i = 1; i < chats->size(); ++i) {
                EXPECT_TRUE(valid((*chats)[i].Player));
            }
        }
        for (std::size_t i = 1; i < store.Players.size(); ++i) {
            EXPECT_FALSE(store.Players[i].Name.empty());
        }
        EXPECT_EQ(static_cast<std::int64_t>(store.KillEvents.size()) - 1,
                  totals.Kills + totals.Teamkills);
        EXPECT_EQ(static_cast<std::int64_t>(store.UnknownLines.size()) - 1, totals.Unknown);
        EXPECT_EQ(static_cast<std::int64_t>(store.VoiceChats.size()) - 1, totals.VoiceChats);
        EXPECT_EQ(static_cast<std::int64_t>(store.TextChats.size()) - 1, totals.TextChats);
    }
}

TEST(ResetAnalysis, EmptiesAllButTheLines) {
    AnalysisStore store = StoreOf({"[skipnotify]Bob was killed by Al's MP40", "other"});
    AnalyzeLog(store, LogLanguage::English);
    ResetAnalysis(store);
    EXPECT_EQ(store.PlayerCount(), 0);
    EXPECT_EQ(store.KillEvents.size(), 1u);
    EXPECT_EQ(store.VoiceChats.size(), 1u);
    EXPECT_EQ(store.TextChats.size(), 1u);
    EXPECT_EQ(store.UnknownLines.size(), 1u);
    EXPECT_EQ(store.LogLines.size(), 2u);
    EXPECT_FALSE(store.FindPlayer("Al").has_value());
}

TEST(TotalsOfPlayer, SumsTheSixValues) {
    AnalysisStore store;
    const PlayerIndex player = store.FindOrAddPlayer("Al");
    const PlayerIndex mate = store.FindOrAddPlayer("Bo");
    for (int i = 0; i < 3; ++i)
        store.RecordKill(player, mate, 4, "MP40");
    for (int i = 0; i < 5; ++i)
        store.RecordSuicide(player, kFirstSuicideCause);
    // Teamkill deaths are not in Deaths(0) and not in the sum.
    store.RecordTeamkill(mate, player);
    store.RecordTeamkill(mate, player);
    store.RecordTeamkill(player, mate);
    for (int i = 0; i < 7; ++i)
        store.RecordVoiceChat(player, "Medic!", "base", false);
    for (int i = 0; i < 11; ++i)
        store.RecordTextChat(player, "gg", "Unknown", false);
    const PlayerTotals totals = TotalsOfPlayer(store.Players[player]);
    EXPECT_EQ(totals.Kills, 3);
    EXPECT_EQ(totals.Deaths, 5);
    EXPECT_EQ(totals.Teamkills, 1);
    EXPECT_EQ(totals.VoiceChats, 7);
    EXPECT_EQ(totals.TextChats, 11);
    EXPECT_EQ(totals.Unknown, 0);
    EXPECT_EQ(totals.Total, 27);
}

} // namespace
} // namespace qla
