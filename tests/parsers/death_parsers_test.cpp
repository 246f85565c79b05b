// The English suicide and teamkill parsers.
#include "languages/english/english.h"
#include "languages/german/german.h"
#include "store_view.h"

#include <gtest/gtest.h>

#include <string>

namespace qla {
namespace {

using test::CounterSum;
using test::KillerName;
using test::VictimName;

struct SuicideCase {
    const char* name;
    std::string line;
    std::string player;
    int cause;
};

class EnglishSuicide : public testing::TestWithParam<SuicideCase> {};

TEST_P(EnglishSuicide, CountsTheCause) {
    const SuicideCase& c = GetParam();
    AnalysisStore store;
    ParseSuicideLine(store, c.line);
    ASSERT_EQ(store.PlayerCount(), 1);
    const PlayerRecord& p = store.Players[1];
    EXPECT_EQ(p.Name, c.player);
    EXPECT_EQ(p.Deaths[c.cause], 1);
    EXPECT_EQ(p.Deaths[0], 1);
    EXPECT_EQ(CounterSum(p), 2);
    EXPECT_EQ(store.KillEvents.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, EnglishSuicide,
    testing::Values(SuicideCase{"KilledHimself", "[skipnotify]Bob killed himself.", "Bob", 16},
                    SuicideCase{"Grenade", "[skipnotify]Bob dove on his own grenade.", "Bob", 17},
                    SuicideCase{"Obliterated", "[skipnotify]Bob obliterated himself.", "Bob", 18},
                    SuicideCase{"Vaporized", "[skipnotify]Bob vaporized himself.", "Bob", 19},
                    SuicideCase{"Died", "[skipnotify]Bob died.", "Bob", 20},
                    SuicideCase{"DrownedWithCode", "[skipnotify]Bob^7 drowned.", "Bob", 21},
                    SuicideCase{"Fell", "[skipnotify]Bob fell to his death.", "Bob", 22},
                    SuicideCase{"KilledHimselfBeatsDied", "[skipnotify]Bob died. killed himself.",
                                "Bob died.", 16},
                    SuicideCase{"CutFromTheEndWhereverThePhraseIs",
                                "[skipnotify]Bob died. and more", "Bob died. an", 20},
                    SuicideCase{"NonAsciiName", "[skipnotify]J\xC3\xBCrgen^7 died.",
                                "J\xC3\xBCrgen", 20},
                    SuicideCase{"NothingInFront", "[skipnotify]died.", "[err]unnamedplayer", 20},
                    SuicideCase{"ShorterThanSuffix", "died.", "[err]unnamedplayer", 20}),
    [](const testing::TestParamInfo<SuicideCase>& info) { return std::string(info.param.name); });

TEST(EnglishSuicide, LineWithoutPhraseChangesNothing) {
    AnalysisStore store;
    ParseSuicideLine(store, "[skipnotify]Bob left");
    EXPECT_EQ(store.PlayerCount(), 0);
}

struct TeamkillCase {
    const char* name;
    std::string line;
    std::string killer;
    std::string victim;
};

class EnglishTeamkill : public testing::TestWithParam<TeamkillCase> {};

TEST_P(EnglishTeamkill, CountsTeamkillAndTeamkillDeath) {
    const TeamkillCase& c = GetParam();
    AnalysisStore store;
    ParseTeamkillLine(store, c.line);
    ASSERT_EQ(store.KillEvents.size(), 2u);
    EXPECT_EQ(KillerName(store, 1), c.killer);
    EXPECT_EQ(VictimName(store, 1), c.victim);
    EXPECT_EQ(store.KillEvents[1].Weapon(), "Teamkill");
    const PlayerRecord& killer = store.Players[store.KillEvents[1].Killer];
    const PlayerRecord& victim = store.Players[store.KillEvents[1].Victim];
    EXPECT_EQ(victim.Deaths[23], 1);
    EXPECT_EQ(victim.Deaths[0], 0);
    EXPECT_EQ(killer.Teamkills, 1);
    EXPECT_EQ(killer.Kills[0], 0);
    if (c.killer != c.victim) {
        EXPECT_EQ(CounterSum(victim), 1);
        EXPECT_EQ(CounterSum(killer), 1);
        EXPECT_LT(store.KillEvents[1].Victim, store.KillEvents[1].Killer);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, EnglishTeamkill,
    testing::Values(
        TeamkillCase{"Plain", "[skipnotify]Bob^7 WAS KILLED BY TEAMMATE^7 Al", "Al", "Bob"},
        TeamkillCase{"KillerWithCodes", "[skipnotify]^1Bob^7 WAS KILLED BY TEAMMATE^7 ^2Al^7",
                     "^2Al", "^1Bob"},
        TeamkillCase{"NoKiller", "[skipnotify]Bob^7 WAS KILLED BY TEAMMATE^7", "[err]unnamedplayer",
                     "Bob"},
        TeamkillCase{"ShortRest", "[skipnotify]Bob^7 WAS KILLED BY", "[err]unnamedplayer", "Bob"},
        TeamkillCase{"ShortVictim", "[skipnotify]Bo WAS KILLED BY TEAMMATE^7 Al", "Al",
                     "[err]unnamedplayer"},
        TeamkillCase{"NonAscii",
                     "[skipnotify]J\xC3\xBCrgen^7 WAS KILLED BY TEAMMATE^7 \xC3\x89mile",
                     "\xC3\x89mile", "J\xC3\xBCrgen"},
        TeamkillCase{"SamePlayer", "[skipnotify]Al^7 WAS KILLED BY TEAMMATE^7 Al", "Al", "Al"}),
    [](const testing::TestParamInfo<TeamkillCase>& info) { return std::string(info.param.name); });

TEST(EnglishTeamkill, FirstMarkerDecides) {
    AnalysisStore store;
    ParseTeamkillLine(store, "[skipnotify]Bob^7 WAS KILLED BY TEAMMATE^7 WAS KILLED BY x");
    EXPECT_EQ(VictimName(store, 1), "Bob");
    EXPECT_EQ(KillerName(store, 1), "WAS KILLED BY x");
}

TEST(EnglishTeamkill, LineWithoutMarkerChangesNothing) {
    AnalysisStore store;
    ParseTeamkillLine(store, "[skipnotify]Bob was killed by Al");
    EXPECT_EQ(store.PlayerCount(), 0);
    EXPECT_EQ(store.KillEvents.size(), 1u);
}

} // namespace
} // namespace qla
