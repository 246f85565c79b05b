// The German kill, suicide and teamkill parsers, and German logs in both encodings.
#include "analysis/analysis.h"
#include "languages/german/german.h"
#include "store_view.h"

#include "kill_case.h"

#include <gtest/gtest.h>

#include <string>

namespace qla {
namespace {

using test::CounterSum;
using test::KillerName;
using test::VictimName;

using test::KillCase;

class GermanKill : public testing::TestWithParam<KillCase> {};

TEST_P(GermanKill, StoresAndCounts) {
    test::ExpectKillStored(GetParam(), [](AnalysisStore& store, std::string_view line) {
        ParseGermanKillLine(store, line);
    });
}

INSTANTIATE_TEST_SUITE_P(
    Lines, GermanKill,
    testing::Values(
        KillCase{"Mp40", "[skipnotify]Bob^7 wurde getötet von Al - MP40", "Al", "Bob", "MP40", 4},
        KillCase{"Luger", "[skipnotify]Bob^7 wurde getötet von Al^7 - Luger 9mm", "Al", "Bob",
                 "Luger 9mm", 3},
        KillCase{"Thompson", "[skipnotify]Bob^7 wurde getötet von Al - Thompson", "Al", "Bob",
                 "Thompson", 5},
        KillCase{"Sten", "[skipnotify]Bob^7 wurde getötet von Al - Sten", "Al", "Bob", "Sten", 6},
        KillCase{"Colt", "[skipnotify]Bob^7 wurde getötet von Al - .45ACP 1911", "Al", "Bob",
                 ".45ACP 1911", 2},
        // "Scharfschützengewehr" is cut by the 15 characters of " - Sniper Rifle".
        KillCase{"Gewehr", "[skipnotify]Bob^7 wurde getötet von Al - Scharfschützengewehr",
                 "Al - Schar", "Bob", "Sniper Rifle", 8},
        KillCase{"GewehrExactLength", "[skipnotify]Bob^7 wurde getötet von Al - Präzisgewehr", "Al",
                 "Bob", "Sniper Rifle", 8},
        KillCase{"Mauser", "[skipnotify]Bob^7 wurde getötet von Al - Mauser", "Al", "Bob",
                 "Sniper Rifle", 8},
        KillCase{"EnglishRifleTailUnknown", "[skipnotify]Bob^7 wurde getötet von Al - Rifle",
                 "Al - Rifle", "Bob", "unknown", 15},
        KillCase{"Messer", "[skipnotify]Bob^7 wurde erstochen von Al - Messer", "Al", "Bob",
                 "Knife", 1},
        KillCase{"Granate", "[skipnotify]Bob^7 wurde gesprengt von Al - Granate", "Al", "Bob",
                 "Grenade", 7},
        // The cut is by the length of "Dynamite", one more than "dynamit".
        KillCase{"Dynamit", "[skipnotify]Bob^7 wurde erledigt von Alf - dynamit", "Al", "Bob",
                 "Dynamite", 13},
        KillCase{"CapitalDynamitIsUnknown", "[skipnotify]Bob^7 wurde erledigt von Al - Dynamit",
                 "Al - Dynamit", "Bob", "unknown", 15},
        KillCase{"Panzerfaust", "[skipnotify]Bob^7 wurde erledigt von Al - Panzerfaust", "Al",
                 "Bob", "Panzerfaust", 12},
        KillCase{"Luftangriff", "[skipnotify]Bob^7 wurde erledigt von Al - Luftangriff", "Al",
                 "Bob", "Airstrike", 14},
        KillCase{"EnglishBlastTailUnknown", "[skipnotify]Bob^7 wurde erledigt von Al - dynamite",
                 "Al - dynamite", "Bob", "unknown", 15},
        KillCase{"Venom", "[skipnotify]Bob^7 wurde ventiliert von Al - Venom", "Al", "Bob", "Venom",
                 9},
        KillCase{"Geroestet", "[skipnotify]Bob^7 wurde geröstet von Al - Flammenwerfer", "Al",
                 "Bob", "Flamethrower", 10},
        KillCase{"Geroested", "[skipnotify]Bob^7 wurde gerösted von Al - Flammenwerfer", "Al",
                 "Bob", "Flamethrower", 10},
        KillCase{"Mg42", "[skipnotify]Bob^7 wurde durchsiebt von Al - Crew-served MG42", "Al",
                 "Bob", "Crew-served MG42", 11},
        KillCase{"ErstochenBeatsGetoetet",
                 "[skipnotify]Bob^7 wurde getötet von Cy^7 wurde erstochen von Al - Messer", "Al",
                 "Bob^7 wurde getötet von Cy", "Knife", 1},
        KillCase{"KillerWithVon", "[skipnotify]Bob^7 wurde getötet von Graf von Zahl - MP40",
                 "Zahl", "Bob", "MP40", 4},
        KillCase{"VictimWithWurde", "[skipnotify]Wurdeman^7 wurde getötet von Al - MP40", "Al",
                 "Wurdeman", "MP40", 4},
        KillCase{"ThreeDroppedWithoutCode", "[skipnotify]Bobby wurde getötet von Al - MP40", "Al",
                 "Bob", "MP40", 4},
        KillCase{"UmlautNames", "[skipnotify]Jürgen^7 wurde getötet von Björn - MP40", "Björn",
                 "Jürgen", "MP40", 4},
        KillCase{"NothingBeforeWurde", "[skipnotify]wurde getötet von Al - MP40", "Al",
                 "[err]unnamedplayer", "MP40", 4}),
    [](const testing::TestParamInfo<KillCase>& info) { return std::string(info.param.name); });

struct SuicideCase {
    const char* name;
    std::string line;
    std::string player;
    int cause;
};

class GermanSuicide : public testing::TestWithParam<SuicideCase> {};

TEST_P(GermanSuicide, CountsTheCause) {
    const SuicideCase& c = GetParam();
    AnalysisStore store;
    ParseGermanSuicideLine(store, c.line);
    ASSERT_EQ(store.PlayerCount(), 1);
    EXPECT_EQ(store.Players[1].Name, c.player);
    EXPECT_EQ(store.Players[1].Deaths[c.cause], 1);
    EXPECT_EQ(store.Players[1].Deaths[0], 1);
    EXPECT_EQ(store.Players[1].Deaths[19], 0);
    EXPECT_EQ(CounterSum(store.Players[1]), 2);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, GermanSuicide,
    testing::Values(
        SuicideCase{"Toetete", "[skipnotify]Bob tötete sich selbst", "Bob", 16},
        SuicideCase{"Granate", "[skipnotify]Bob starb durch seine Granate.", "Bob", 17},
        SuicideCase{"SelbstErledigtIs18", "[skipnotify]Bob hat sich selbst erledigt.", "Bob", 18},
        SuicideCase{"Starb", "[skipnotify]Bob^7 starb.", "Bob", 20},
        SuicideCase{"Ertrunken", "[skipnotify]Bob ist ertrunken.", "Bob", 21},
        SuicideCase{"StuerzteTwoStops", "[skipnotify]Bob stürzte sich zu Tode..", "Bob", 22},
        SuicideCase{"UmlautName", "[skipnotify]Jürgen^7 tötete sich selbst", "Jürgen", 16},
        SuicideCase{"NothingInFront", "[skipnotify]starb.", "[err]unnamedplayer", 20}),
    [](const testing::TestParamInfo<SuicideCase>& info) { return std::string(info.param.name); });

TEST(GermanTeamkill, TwentyFiveCharactersBeforeKiller) {
    const std::pair<std::string, std::pair<std::string, std::string>> cases[] = {
        {"[skipnotify]Bob^7 STARB DURCH TEAMKAMERAD^7 Al", {"Al", "Bob"}},
        {"[skipnotify]Bob^7 STARB DURCH TEAMKAMERAD^7Al", {"Al", "Bob"}},
        {"[skipnotify]Bob^7 STARB DURCH TEAMKAMERAD^7 Björn^7", {"Björn", "Bob"}},
        {"[skipnotify]Bob^7 STARB DURCH TEAMKAMERAD^7", {"[err]unnamedplayer", "Bob"}},
        {"[skipnotify]Bo STARB DURCH TEAMKAMERAD", {"[err]unnamedplayer", "[err]unnamedplayer"}},
    };
    for (const auto& [line, names] : cases) {
        AnalysisStore store;
        ParseGermanTeamkillLine(store, line);
        ASSERT_EQ(store.KillEvents.size(), 2u) << line;
        EXPECT_EQ(KillerName(store, 1), names.first) << line;
        EXPECT_EQ(VictimName(store, 1), names.second) << line;
        EXPECT_EQ(store.KillEvents[1].Weapon(), "Teamkill");
        const PlayerRecord& victim = store.Players[store.KillEvents[1].Victim];
        EXPECT_EQ(victim.Deaths[23], 1);
        EXPECT_EQ(victim.Deaths[0], 0);
        EXPECT_EQ(store.Players[store.KillEvents[1].Killer].Teamkills, 1);
    }
}

// The same German log, once in Windows-1252 and once in UTF-8.
std::string GermanLog(bool utf8) {
    const std::string lines[] = {
        "logfile opened on Sa 01.03.2003",
        "[skipnotify]J\xFCrgen^7 wurde get\xF6tet von Bj\xF6rn - MP40",
        "[skipnotify]Bob^7 wurde ger\xF6sted von J\xFCrgen - Flammenwerfer",
        "[skipnotify]Bob^7 wurde ger\xF6stet von J\xFCrgen - Flammenwerfer",
        "[skipnotify]Bj\xF6rn st\xFCrzte sich zu Tode..",
        "[skipnotify]Bj\xF6rn t\xF6tete sich selbst",
        "[skipnotify]Bob^7 STARB DURCH TEAMKAMERAD^7 J\xFCrgen",
        "[skipnotify]: J\xFCrgen^7 (Br\xFC"
        "cke): ^2Sanit\xE4ter!x",
        "[skipnotify](Bj\xF6rn^7) (Stra\xDF"
        "e): ^5gr\xFC\xDF"
        "e",
        "[skipnotify]Bob hat sich umbenannt in B\xF6"
        "b",
        "[skipnotify]Bob ist ertrunken.",
    };
    std::string bytes;
    for (const std::string& line : lines) {
        if (utf8) {
            for (unsigned char c : line) {
                if (c < 0x80) {
                    bytes += static_cast<char>(c);
                } else {
                    bytes += static_cast<char>(0xC0 | (c >> 6));
                    bytes += static_cast<char>(0x80 | (c & 0x3F));
                }
            }
        } else {
            bytes += line;
        }
        bytes += "\r\n";
    }
    return bytes;
}

std::string Describe(const AnalysisStore& store, const AnalysisTotals& t) {
    std::string out = std::to_string(t.Kills) + " " + std::to_string(t.Deaths) + " " +
                      std::to_string(t.Teamkills) + " " + std::to_string(t.VoiceChats) + " " +
                      std::to_string(t.TextChats) + " " + std::to_string(t.Unknown) + " " +
                      std::to_string(t.Total) + "\n";
    for (std::size_t i = 1; i < store.Players.size(); ++i) {
        const PlayerRecord& p = store.Players[i];
        out += p.Name + " k" + std::to_string(p.Kills[0]) + " d" + std::to_string(p.Deaths[0]) +
               " tk" + std::to_string(p.Teamkills) + "\n";
    }
    for (std::size_t i = 1; i < store.KillEvents.size(); ++i) {
        out += KillerName(store, i) + ">" + VictimName(store, i) + ":" +
               std::string(store.KillEvents[i].Weapon()) + "\n";
    }
    for (const auto* chats : {&store.VoiceChats, &store.TextChats}) {
        for (std::size_t i = 1; i < chats->size(); ++i) {
            const ChatEntry& c = (*chats)[i];
            out += store.Players[c.Player].Name + "|" + std::string(store.LocationOf(c)) + "|" +
                   std::string(c.Text) + "\n";
        }
    }
    return out;
}

TEST(GermanLog, BothEncodingsGiveIdenticalResults) {
    AnalysisStore windows;
    windows.LogLines = LogLineList::FromBytes(GermanLog(false));
    const std::string fromWindows = Describe(windows, AnalyzeLog(windows, LogLanguage::German));
    AnalysisStore utf8;
    utf8.LogLines = LogLineList::FromBytes(GermanLog(true));
    const std::string fromUtf8 = Describe(utf8, AnalyzeLog(utf8, LogLanguage::German));
    EXPECT_EQ(fromWindows, fromUtf8);
    EXPECT_EQ(fromUtf8, "3 7 1 1 1 1 11\n"
                        "Jürgen k2 d1 tk1\n"
                        "Björn k1 d2 tk0\n"
                        "Bob k0 d3 tk0\n"
                        "Björn>Jürgen:MP40\n"
                        "Jürgen>Bob:Flamethrower\n"
                        "Jürgen>Bob:Flamethrower\n"
                        "Jürgen>Bob:Teamkill\n"
                        "Jürgen|Brücke|Sanitäter!\n"
                        "Björn|Straße|grüße\n");
}

} // namespace
} // namespace qla
