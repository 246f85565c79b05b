// Single hostile lines analysed on their own: a 100,000-character line, NUL and control bytes,
// invalid UTF-8. Each expectation follows from the line forms by hand; every store must also
// keep its invariants.
#include "analysis/analysis.h"
#include "store_invariants.h"

#include <gtest/gtest.h>

#include <vector>

namespace qla {
namespace {

using namespace std::string_literals;

struct EdgeCase {
    const char* Name;
    LogLanguage Language;
    std::string Bytes; // the whole file
    AnalysisTotals Totals;
    std::vector<std::string> Players;   // in order of first appearance
    std::string Killer, Victim, Weapon; // of the first kill event, if any
    std::string ChatText;               // of the first text chat, if any
};

AnalysisTotals Kinds(std::int64_t kills, std::int64_t deaths, std::int64_t teamkills,
                     std::int64_t textChats, std::int64_t unknown, std::int64_t total) {
    return {kills, deaths, teamkills, 0, textChats, unknown, total};
}

const std::string kHugeVictim(100000 - 40, 'N'); // 12 for the prefix, 28 for the tail

std::vector<EdgeCase> Cases() {
    return {
        {"HugeKillLine",
         LogLanguage::English,
         "[skipnotify]" + kHugeVictim + "^7 was killed by Al^7's MP40",
         Kinds(1, 1, 0, 0, 0, 1),
         {kHugeVictim, "Al"},
         "Al",
         kHugeVictim,
         "MP40",
         ""},
        {"HugeChatLine",
         LogLanguage::English,
         "[skipnotify]Bob^7: ^2" + std::string(100000, 'x'),
         Kinds(0, 0, 0, 1, 0, 1),
         {"Bob"},
         "",
         "",
         "",
         std::string(100000, 'x')},
        {"HugeOtherLine",
         LogLanguage::German,
         std::string(100000, 'z') + "\r\n",
         Kinds(0, 0, 0, 0, 1, 1),
         {},
         "",
         "",
         "",
         ""},
        {"NulBytesInNames",
         LogLanguage::English,
         "[skipnotify]\0\0\0 was killed by \0's MP40\r\n"s,
         Kinds(1, 1, 0, 0, 0, 1),
         {"\0\0\0"s, "\0"s},
         "\0"s,
         "\0\0\0"s,
         "MP40",
         ""},
        {"ControlBytesInChat",
         LogLanguage::English,
         "[skipnotify]Bob\x01\x02\x03^7: ^2\x07\x08\x1b[2J\x7f\r\n",
         Kinds(0, 0, 0, 1, 0, 1),
         {"Bob\x01\x02\x03"},
         "",
         "",
         "",
         "\x07\x08\x1b[2J\x7f"},
        // Not UTF-8, so the whole line is read as Windows-1252: ÿ þ À ¯.
        {"InvalidUtf8Kill",
         LogLanguage::English,
         "[skipnotify]Bad\xff\xfe^7 was killed by Worse\xc0\xaf^7's Sten\r\n",
         Kinds(1, 1, 0, 0, 0, 1),
         {"Bad\xC3\xBF\xC3\xBE", "Worse\xC3\x80\xC2\xAF"},
         "Worse\xC3\x80\xC2\xAF",
         "Bad\xC3\xBF\xC3\xBE",
         "Sten",
         ""},
        {"Windows1252GermanKill",
         LogLanguage::German,
         "[skipnotify]K\xf6nig^7 wurde get\xf6tet von Al - MP40\r\n",
         Kinds(1, 1, 0, 0, 0, 1),
         {"K\xC3\xB6nig", "Al"},
         "Al",
         "K\xC3\xB6nig",
         "MP40",
         ""},
        // One bad byte costs only its own line the UTF-8 reading.
        {"OneBadLineAmongUtf8",
         LogLanguage::English,
         "[skipnotify]J\xC3\xB6rg^7 died.\r\n[skipnotify]Half\xc3^7 drowned.\r\n",
         Kinds(0, 2, 0, 0, 0, 2),
         {"J\xC3\xB6rg", "Half\xC3\x83"},
         "",
         "",
         "",
         ""},
        // Nothing before the verb phrase: the names are empty and filed under the placeholder
        // name.
        {"NothingBeforeTheVerb",
         LogLanguage::English,
         "[skipnotify]was killed by\r\n",
         Kinds(1, 1, 0, 0, 0, 1),
         {std::string(kUnnamedPlayer)},
         std::string(kUnnamedPlayer),
         std::string(kUnnamedPlayer),
         "unknown",
         ""},
    };
}

class EdgeLines : public testing::TestWithParam<EdgeCase> {};

TEST_P(EdgeLines, AnalyseAsTheLineFormsSay) {
    const EdgeCase& c = GetParam();
    AnalysisStore store;
    store.LogLines = LogLineList::FromBytes(c.Bytes);
    const AnalysisTotals t = AnalyzeLog(store, c.Language);
    EXPECT_EQ(std::vector<std::int64_t>(
                  {t.Kills, t.Deaths, t.Teamkills, t.VoiceChats, t.TextChats, t.Unknown, t.Total}),
              std::vector<std::int64_t>({c.Totals.Kills, c.Totals.Deaths, c.Totals.Teamkills,
                                         c.Totals.VoiceChats, c.Totals.TextChats, c.Totals.Unknown,
                                         c.Totals.Total}));
    std::vector<std::string> names;
    for (PlayerIndex i = 1; i <= store.PlayerCount(); ++i)
        names.push_back(store.Players[static_cast<std::size_t>(i)].Name);
    EXPECT_EQ(names, c.Players);
    if (!c.Weapon.empty()) {
        ASSERT_GE(store.KillEvents.size(), 2u);
        const KillEvent& event = store.KillEvents[1];
        EXPECT_EQ(store.Players[static_cast<std::size_t>(event.Killer)].Name, c.Killer);
        EXPECT_EQ(store.Players[static_cast<std::size_t>(event.Victim)].Name, c.Victim);
        EXPECT_EQ(event.Weapon(), c.Weapon);
    }
    if (!c.ChatText.empty()) {
        ASSERT_GE(store.TextChats.size(), 2u);
        EXPECT_EQ(store.TextChats[1].Text, c.ChatText);
    }
    if (c.Totals.Unknown > 0) {
        ASSERT_GE(store.UnknownLines.size(), 2u);
        EXPECT_EQ(store.UnknownLines[1], store.LogLines[0]);
    }
    for (const std::string& broken : robust::StoreViolations(store, t))
        ADD_FAILURE() << broken;
}

INSTANTIATE_TEST_SUITE_P(Lines, EdgeLines, testing::ValuesIn(Cases()),
                         [](const testing::TestParamInfo<EdgeCase>& info) {
                             return std::string(info.param.Name);
                         });

} // namespace
} // namespace qla
