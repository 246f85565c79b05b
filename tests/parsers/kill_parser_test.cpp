// The English kill-line parser: weapon phrases and tails, the cuts, and what it counts.
#include "core/weapons.h"
#include "languages/english/english.h"
#include "languages/german/german.h"
#include "parsers/obituary_language.h"
#include "store_view.h"

#include "kill_case.h"

#include <gtest/gtest.h>

#include <string>

namespace qla {
namespace {

using test::KillerName;
using test::VictimName;

using test::KillCase;

class EnglishKill : public testing::TestWithParam<KillCase> {};

TEST_P(EnglishKill, StoresAndCounts) {
    test::ExpectKillStored(GetParam(), [](AnalysisStore& store, std::string_view line) {
        ParseKillLine(store, line);
    });
}

INSTANTIATE_TEST_SUITE_P(
    Lines, EnglishKill,
    testing::Values(
        KillCase{"Mp40", "[skipnotify]Bob was killed by Al's MP40", "Al", "Bob", "MP40", 4},
        KillCase{"LugerWithCodes", "[skipnotify]Bob^7 was killed by Al^7's Luger 9mm", "Al", "Bob",
                 "Luger 9mm", 3},
        KillCase{"Thompson", "[skipnotify]Bob was killed by Al's Thompson", "Al", "Bob", "Thompson",
                 5},
        KillCase{"Sten", "[skipnotify]Bob was killed by Al's Sten", "Al", "Bob", "Sten", 6},
        KillCase{"Colt1911", "[skipnotify]Bob was killed by Al's .45ACP 1911", "Al", "Bob",
                 ".45ACP 1911", 2},
        KillCase{"SniperRifle", "[skipnotify]Bob was killed by Al's Sniper Rifle", "Al", "Bob",
                 "Sniper Rifle", 8},
        KillCase{"Mauser", "[skipnotify]Bob was killed by Al's Mauser", "Al", "Bob", "Sniper Rifle",
                 8},
        KillCase{"UnknownWeaponStaysInKiller", "[skipnotify]Bob was killed by Al's Colt",
                 "Al's Colt", "Bob", "unknown", 15},
        KillCase{"KnifeCutByLength", "[skipnotify]Bob was stabbed by Al's KNIFE", "Al", "Bob",
                 "Knife", 1},
        KillCase{"Grenade", "[skipnotify]Bob was exploded by Al's grenade", "Al", "Bob", "Grenade",
                 7},
        KillCase{"Dynamite", "[skipnotify]Bob was blasted by Al's dynamite", "Al", "Bob",
                 "Dynamite", 13},
        KillCase{"Panzerfaust", "[skipnotify]Bob was blasted by Al's Panzerfaust", "Al", "Bob",
                 "Panzerfaust", 12},
        KillCase{"SupportFire", "[skipnotify]Bob was blasted by Al's support fire", "Al", "Bob",
                 "Airstrike", 14},
        KillCase{"ArtilleryFire", "[skipnotify]Bob was blasted by Al's artillery support fire",
                 "Al's artillery", "Bob", "Airstrike", 14},
        KillCase{"BlastedUnknown", "[skipnotify]Bob was blasted by Al's mortar", "Al's mortar",
                 "Bob", "unknown", 15},
        KillCase{"Venom", "[skipnotify]Bob was ventilated by Al's Venom", "Al", "Bob", "Venom", 9},
        KillCase{"Flamethrower", "[skipnotify]Bob was cooked by Al's flamethrower", "Al", "Bob",
                 "Flamethrower", 10},
        KillCase{"Mg42", "[skipnotify]Bob was perforated by Al's crew-served MG42", "Al", "Bob",
                 "Crew-served MG42", 11},
        KillCase{"KillerWithBy", "[skipnotify]Bob was killed by Stand by Me's MP40", "Me", "Bob",
                 "MP40", 4},
        KillCase{"VictimWithWas", "[skipnotify]Swashy was killed by Al's MP40", "Al", "Swashy",
                 "MP40", 4},
        KillCase{"InnerCodesStay", "[skipnotify]^1Red^7Bob^7 was killed by ^4Al^7's MP40", "^4Al",
                 "^1Red^7Bob", "MP40", 4},
        KillCase{"NonAsciiNames", "[skipnotify]J\xC3\xBCrgen was killed by Al\xC3\xA9's MP40",
                 "Al\xC3\xA9", "J\xC3\xBCrgen", "MP40", 4},
        KillCase{"NonAsciiBeforeWeapon", "[skipnotify]Bob was killed by Zo\xC3\xAB's Sten",
                 "Zo\xC3\xAB", "Bob", "Sten", 6},
        KillCase{"WithoutPrefix", "Bob was killed by Al's MP40", "Al", "Bob", "MP40", 4},
        KillCase{"StabbedBeatsKilled", "[skipnotify]Bob was killed by Al was stabbed by Cy's knife",
                 "Cy", "Bob was killed by Al", "Knife", 1},
        KillCase{"NothingBeforeWas", "[skipnotify]was killed by Al's MP40", "Al",
                 "[err]unnamedplayer", "MP40", 4},
        KillCase{"NoKiller", "[skipnotify]Bob was killed by 's MP40", "[err]unnamedplayer", "Bob",
                 "MP40", 4},
        KillCase{"SelfKill", "[skipnotify]Al was killed by Al's MP40", "Al", "Al", "MP40", 4},
        KillCase{"NoPhraseCutsThree", "[skipnotify]Bob got owned by Alfred", "Alf",
                 "[err]unnamedplayer", "", 15}),
    [](const testing::TestParamInfo<KillCase>& info) { return std::string(info.param.name); });

TEST(EnglishKillClamping, LinesShorterThanTheirCuts) {
    // Each of these would need a negative or oversized cut; all are stored, none stops the run.
    const std::string lines[] = {
        "[skipnotify]was killed byMP40", "[skipnotify]MP40",          "[skipnotify]", "",
        "[skipnotify]was stabbed by",    "x was blasted by ort fire",
    };
    AnalysisStore store;
    for (const std::string& line : lines) {
        ParseKillLine(store, line);
    }
    ASSERT_EQ(store.KillEvents.size(), std::size(lines) + 1);
    for (std::size_t i = 1; i < store.KillEvents.size(); ++i) {
        EXPECT_EQ(KillerName(store, i), "[err]unnamedplayer") << lines[i - 1];
    }
    // Only the last line leaves a victim name: "x" in front of "was".
    EXPECT_EQ(VictimName(store, 6), "x");
    EXPECT_EQ(store.PlayerCount(), 2);
    EXPECT_EQ(store.Players[1].Kills[0], 6);
    EXPECT_EQ(store.Players[1].Deaths[0], 5);
}

TEST(EnglishKill, TwoNewPlayersThenKnownOnes) {
    AnalysisStore store;
    ParseKillLine(store, "[skipnotify]Bob was killed by Al's MP40");
    ParseKillLine(store, "[skipnotify]  Al^7^3   was killed by Bob^7's Sten");
    ASSERT_EQ(store.PlayerCount(), 2);
    EXPECT_EQ(store.Players[1].Name, "Bob");
    EXPECT_EQ(store.Players[2].Name, "Al");
    EXPECT_EQ(store.KillEvents[2].Killer, 1);
    EXPECT_EQ(store.KillEvents[2].Victim, 2);
    EXPECT_EQ(store.Players[1].Kills[6], 1);
    EXPECT_EQ(store.Players[1].Deaths[4], 1);
}

TEST(KillTables, RecordedWeaponsMapToTheirIds) {
    for (const KillLanguage* language : {&EnglishKillLanguage(), &GermanKillLanguage()}) {
        for (std::size_t v = 0; v < language->Verbs.size(); ++v) {
            const VerbWeapon& weapon = language->Weapons[v];
            if (weapon.Tails == nullptr) {
                EXPECT_EQ(WeaponIdFromName(weapon.Recorded), weapon.Id) << weapon.Recorded;
                EXPECT_EQ(WeaponDisplayName(weapon.Id), weapon.Recorded);
                continue;
            }
            for (std::size_t t = 0; t < weapon.TailCount; ++t) {
                const WeaponTail& tail = weapon.Tails[t];
                EXPECT_EQ(WeaponIdFromName(tail.Recorded), tail.Id) << tail.Recorded;
                EXPECT_EQ(tail.Ending.size(), weapon.Tails[0].Ending.size()) << tail.Ending;
            }
        }
    }
    EXPECT_EQ(WeaponIdFromName(kUnknownWeapon), kWeaponUnknown);
}

} // namespace
} // namespace qla
