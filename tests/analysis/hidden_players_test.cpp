// Joining a database's hidden players into the one left-out record: who is hidden, what the
// store still counts, and the merged names that follow.
#include "analysis/hidden_players.h"

#include "support/record_kill.h"

#include <gtest/gtest.h>

namespace qla {
namespace {

// Al and two spellings of Bob, then Cy; Bob kills Al twice and Cy once, Al kills ^1BOB, and
// ^1BOB and Cy chat; one other line names ^1BOB.
AnalysisStore Played() {
    AnalysisStore store;
    const PlayerIndex al = store.FindOrAddPlayer("Al");
    const PlayerIndex bob = store.FindOrAddPlayer("Bob");
    const PlayerIndex colouredBob = store.FindOrAddPlayer("^1BOB");
    const PlayerIndex cy = store.FindOrAddPlayer("Cy");
    test::RecordKillByName(store, bob, al, "MP40");
    test::RecordKillByName(store, colouredBob, al, "MP40");
    test::RecordKillByName(store, bob, cy, "Luger");
    test::RecordKillByName(store, al, colouredBob, "Knife");
    store.RecordTextChat(colouredBob, "gg", "", false);
    store.RecordTextChat(cy, "hi", "", false);
    store.RecordUnknownLine("^1BOB^7 entered the game");
    store.RecordUnknownLine("Cy^7 entered the game");
    return store;
}

TEST(HidePlayers, JoinsEverySpellingIntoOneLeftOutRecordThatTheEventsStillName) {
    AnalysisStore store = Played();
    HidePlayers(store, {"bob"}, nullptr);

    ASSERT_EQ(store.PlayerCount(), 2);
    EXPECT_EQ(store.Players[1].Name, "Al");
    EXPECT_EQ(store.Players[2].Name, "Cy");
    const PlayerIndex hidden = store.HiddenPlayer();
    ASSERT_EQ(hidden, 3);
    EXPECT_EQ(store.Players[3].Name, kHiddenPlayerName);
    EXPECT_EQ(store.Players[3].Kills[0], 3);
    EXPECT_EQ(store.Players[3].Deaths[0], 1);
    EXPECT_EQ(store.Players[1].Deaths[0], 2); // Al's deaths stay, now by the hidden player
    for (const KillEvent& event : RealEntries(store.KillEvents))
        EXPECT_TRUE(event.Killer == hidden || event.Victim == hidden || event.Killer == 1);
    EXPECT_EQ(store.TextChats[1].Player, hidden);
    EXPECT_EQ(store.TextChats[2].Player, 2);

    EXPECT_FALSE(store.FindPlayer("Bob"));
    EXPECT_FALSE(store.FindPlayer(kHiddenPlayerName));
    EXPECT_EQ(store.FindPlayer("Cy"), 2);
    std::vector<PlayerIndex> listed;
    for (const PlayerIndex p : store.PlayerIndexes())
        listed.push_back(p);
    EXPECT_EQ(listed, (std::vector<PlayerIndex>{1, 2}));

    ASSERT_EQ(store.UnknownLines.size(), 3u);
    EXPECT_EQ(std::string_view(store.UnknownLines[1]), kHiddenLineText);
    EXPECT_EQ(std::string_view(store.UnknownLines[2]), "Cy^7 entered the game");
}

TEST(HidePlayers, ChangesNothingWithoutAHiddenRecord) {
    AnalysisStore store = Played();
    HidePlayers(store, {}, nullptr);
    HidePlayers(store, {"dan"}, nullptr);
    EXPECT_EQ(store.PlayerCount(), 4);
    EXPECT_EQ(store.HiddenPlayer(), 0);
    EXPECT_EQ(store.FindPlayer("Bob"), 2);
    EXPECT_EQ(std::string_view(store.UnknownLines[1]), "^1BOB^7 entered the game");
}

// Once merged, a person holding a hidden name is hidden whole, and the merged names follow the
// records: every name of the hidden person finds the hidden record, the others their own.
TEST(HidePlayers, HidesAMergedPersonByAnyOfHisNames) {
    AnalysisStore store = Played();
    AliasList aliases;
    ASSERT_EQ(aliases.Add("Cy", "Bob"), "");
    MergedNames merged = MergePlayers(store, aliases);
    ASSERT_EQ(store.PlayerCount(), 2); // Al, and Bob with Cy
    HidePlayers(store, {"cy"}, &merged);

    ASSERT_EQ(store.PlayerCount(), 1);
    EXPECT_EQ(store.Players[1].Name, "Al");
    EXPECT_EQ(store.HiddenPlayer(), 2);
    EXPECT_EQ(merged.Find("Al"), 1);
    EXPECT_EQ(merged.Find("Bob"), 2);
    EXPECT_EQ(merged.Find("^1BOB"), 2);
    EXPECT_EQ(merged.NamesOf(1), std::vector<std::string>{"Al"});
    EXPECT_EQ(merged.NamesOf(2), std::vector<std::string>{std::string(kHiddenPlayerName)});
    EXPECT_EQ(store.Players[2].Kills[0], 3);
}

TEST(HidePlayers, TellsTheLinesThatNameAHiddenKey) {
    EXPECT_TRUE(NamesHiddenPlayer("[skipnotify]^1B^2ob^7 entered", {"bob"}));
    EXPECT_TRUE(NamesHiddenPlayer("  BOB ", {"al", "bob"}));
    EXPECT_FALSE(NamesHiddenPlayer("Cy^7 entered", {"bob"}));
    EXPECT_FALSE(NamesHiddenPlayer("Bob", {}));
}

} // namespace
} // namespace qla
