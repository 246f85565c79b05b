// The store's player look-up and reset, and the weapon table.
#include "core/store.h"
#include "core/weapons.h"

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

namespace qla {
namespace {

TEST(StoreTest, ResetLeavesOnlyPlaceholders) {
    AnalysisStore store;
    const PlayerIndex bob = store.FindOrAddPlayer("Bob");
    store.RecordKill(bob, bob, 4, "MP40");
    store.Reset();
    EXPECT_EQ(store.Players.size(), 1u);
    EXPECT_EQ(store.Players[0].Name, "");
    EXPECT_EQ(store.KillEvents.size(), 1u);
    EXPECT_EQ(store.VoiceChats.size(), 1u);
    EXPECT_EQ(store.TextChats.size(), 1u);
    EXPECT_EQ(store.UnknownLines.size(), 1u);
    EXPECT_EQ(store.PlayerCount(), 0);
    EXPECT_FALSE(store.FindPlayer("Bob"));
    EXPECT_EQ(store.FindOrAddPlayer("Bob"), 1); // indexes start again at 1
}

TEST(StoreTest, FindOrAddPlayerKeepsCreationOrder) {
    AnalysisStore store;
    EXPECT_EQ(store.FindOrAddPlayer("Al"), 1);
    EXPECT_EQ(store.FindOrAddPlayer("Bob"), 2);
    EXPECT_EQ(store.FindOrAddPlayer("Al"), 1);
    EXPECT_EQ(store.FindOrAddPlayer("  Bob^7 "), 2);
    EXPECT_EQ(store.FindOrAddPlayer("bob"), 3); // case matters
    EXPECT_EQ(store.PlayerCount(), 3);
    const auto& bob = store.Players[2];
    EXPECT_EQ(bob.Name, "Bob");
    EXPECT_EQ(bob.Kills[0] + bob.Deaths[23] + bob.Teamkills + bob.TextChatCount, 0);
}

TEST(StoreTest, EmptyNamesAreFiledUnderOneRecord) {
    AnalysisStore store;
    const PlayerIndex spaces = store.FindOrAddPlayer("   ");
    EXPECT_EQ(store.FindOrAddPlayer("^7"), spaces);
    EXPECT_EQ(store.FindOrAddPlayer(""), spaces);
    EXPECT_EQ(store.Players[spaces].Name, "[err]unnamedplayer");
    EXPECT_EQ(store.FindOrAddPlayer("[err]unnamedplayer"), spaces);
}

TEST(StoreTest, FindPlayerIsExactAndNeverCreates) {
    AnalysisStore store;
    store.FindOrAddPlayer("^1Zed");
    EXPECT_EQ(store.FindPlayer("^1Zed"), 1);
    EXPECT_FALSE(store.FindPlayer("Zed"));
    EXPECT_FALSE(store.FindPlayer("^1Zed^7"));
    EXPECT_EQ(store.PlayerCount(), 1);
}

TEST(StoreTest, ManyPlayersKeepTheirIndexes) {
    AnalysisStore store;
    for (int i = 1; i <= 40000; ++i)
        ASSERT_EQ(store.FindOrAddPlayer("p" + std::to_string(i)), i);
    EXPECT_EQ(store.FindOrAddPlayer("p32768"), 32768); // past the largest 16-bit index
    EXPECT_EQ(store.PlayerCount(), 40000);
}

TEST(WeaponTableTest, NameToCode) {
    struct Case {
        std::string_view name;
        WeaponId id;
    };
    const Case cases[] = {
        {"Crew-served MG42", 11},
        {".45ACP 1911", 2},
        {"Sniper Rifle", 8},
        {"Total", 0},
        {"tOTAL", 0},
        {"unknown", 15},
        {"", 15},
        {" Knife", 15},
        {"Mauser", 15},
        {"Teamkill", 23},
        {"Died", 20},
        {"^1Knife", 15},
        {"KNIFE", 1},
        {"Airstrike", 14},
        {"Fell to his death", 22},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WeaponIdFromName(c.name), c.id) << c.name;
}

TEST(WeaponTableTest, CodeToNameAndBack) {
    EXPECT_EQ(WeaponDisplayName(15), "Unknown");
    EXPECT_EQ(WeaponDisplayName(kDeathSlots), "Unknown");
    EXPECT_EQ(WeaponDisplayName(24), "Dynamited himself");
    EXPECT_EQ(WeaponDisplayName(kLastFullCause), "Slit his own throat");
    EXPECT_EQ(WeaponDisplayName(-1), "Unknown");
    EXPECT_EQ(WeaponDisplayName(0), "Total");
    for (WeaponId id = 0; id < kDeathSlots; ++id) {
        if (id != 15) {
            EXPECT_EQ(WeaponIdFromName(WeaponDisplayName(id)), id) << id;
        }
    }
}

TEST(StoreTest, KillEventsShowTheTextRecordedWithThem) {
    AnalysisStore store;
    const PlayerIndex a = store.FindOrAddPlayer("A"), b = store.FindOrAddPlayer("B");
    store.RecordKill(a, b, 4, "MP40");
    store.RecordKill(a, b, kWeaponUnknown, kUnknownWeapon);
    store.RecordKill(a, b, kWeaponUnknown, ""); // a line whose phrase the parser was not given
    store.RecordKill(a, b, 3, "MP40");          // the text wins over a code that disagrees
    store.RecordTeamkill(b, a);
    store.RecordKill(b, a, 14, "Airstrike");
    std::vector<std::string_view> shown;
    for (const KillEvent& event : RealEntries(store.KillEvents))
        shown.push_back(event.Weapon());
    EXPECT_EQ(shown, (std::vector<std::string_view>{"MP40", "unknown", "", "MP40", "Teamkill",
                                                    "Airstrike"}));
    EXPECT_EQ(store.KillEvents[0].Weapon(), "");
}

TEST(WeaponTable, EventTextsOfWeaponsAreTheirDisplayNamesAtTheirOwnCodes) {
    for (WeaponId w = 1; w < kWeaponUnknown; ++w) {
        EXPECT_EQ(kEventWeaponTexts[static_cast<std::size_t>(w)], WeaponDisplayName(w)) << w;
        EXPECT_EQ(EventWeaponOf(w, WeaponDisplayName(w)), w);
        EXPECT_EQ(EventWeaponOf(kWeaponUnknown, WeaponDisplayName(w)), w); // found by its text
    }
    EXPECT_EQ(kEventWeaponTexts[kEventTeamkill], WeaponDisplayName(kWeaponTeamkill));
    EXPECT_EQ(EventWeaponOf(kWeaponTeamkill, "Teamkill"), kEventTeamkill);
    EXPECT_EQ(kEventWeaponTexts[EventWeaponOf(kWeaponUnknown, "no such text")], kUnknownWeapon);
}

} // namespace
} // namespace qla
