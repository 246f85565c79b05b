// Who is who: keys, renames (chains, renames back, to names with events), splits and joins; and
// what merging makes of a store's records, events and chats.
#include "analysis/analysis.h"
#include "analysis/merge_players.h"
#include "analysis/player_identity.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qla {
namespace {

using Players = std::vector<std::vector<std::string>>;

Players Resolve(const std::vector<std::string>& names,
                const std::vector<std::pair<std::string, std::string>>& renames,
                AliasList aliases = {}) {
    PlayerIdentity identity(std::move(aliases));
    for (const std::string& name : names)
        identity.AddName(name);
    for (const auto& [from, to] : renames)
        identity.AddRename(from, to);
    return identity.Players();
}

TEST(PlayerIdentityTest, EqualKeysAreOnePlayerInOrderOfFirstName) {
    EXPECT_EQ(Resolve({"Al", "^1Bob", "Zed", "bob", "BOB "}, {}),
              (Players{{"Al"}, {"^1Bob", "bob", "BOB "}, {"Zed"}}));
}

TEST(PlayerIdentityTest, RenameChainsAndRenamesBackJoinEveryName) {
    // A to B to C, and back to A: one player; D renamed to a name E that had events of its own.
    EXPECT_EQ(Resolve({"A", "C", "D", "E", "X"}, {{"A", "B"}, {"B", "C"}, {"C", "A"}, {"D", "E"}}),
              (Players{{"A", "C", "B"}, {"D", "E"}, {"X"}}));
    // A rename joins whole players: the keys of both names come along.
    EXPECT_EQ(Resolve({"bob", "al", "^2BOB", "AL"}, {{"Bob", "Al"}}),
              (Players{{"bob", "al", "^2BOB", "AL", "Bob", "Al"}}));
}

TEST(PlayerIdentityTest, TheUnnamedPlayerAndEmptyKeysStandForNobody) {
    EXPECT_EQ(
        Resolve({std::string(kUnnamedPlayer), "[ERR]unnamedplayer", "^1 ", "^2 "},
                {{std::string(kUnnamedPlayer), "Bob"}}),
        (Players{
            {std::string(kUnnamedPlayer)}, {"[ERR]unnamedplayer"}, {"^1 "}, {"^2 "}, {"Bob"}}));
}

TEST(PlayerIdentityTest, SplitsHoldNamesApartFromAutomaticJoinsButNotFromTheUsers) {
    AliasList aliases;
    ASSERT_EQ(aliases.Split("bob"), "");
    EXPECT_EQ(Resolve({"Bob", "bob", "BOB", "Al"}, {{"bob", "Al"}}, aliases),
              (Players{{"Bob", "BOB"}, {"bob"}, {"Al"}}));
    ASSERT_EQ(aliases.Add("bob", "Al"), "");
    EXPECT_EQ(Resolve({"Bob", "bob", "BOB", "Al"}, {}, aliases),
              (Players{{"Bob", "BOB"}, {"bob", "Al"}}));
    // Names only the aliases know come last, joined as the aliases say.
    ASSERT_EQ(aliases.Add("Zed", "Al"), "");
    EXPECT_EQ(Resolve({"Bob", "bob"}, {}, aliases), (Players{{"Bob"}, {"bob", "Al", "Zed"}}));
}

AnalysisStore Analyze(const std::vector<std::string>& lines) {
    AnalysisStore store;
    store.LogLines = LogLineList::FromLines(lines);
    store.LogFileLoaded = true;
    AnalyzeLog(store, LogLanguage::English);
    return store;
}

TEST(MergePlayersTest, ByNamesSumsCountersRepointsEventsAndNamesByMostLines) {
    AnalysisStore store = Analyze({
        "[skipnotify]^1Bob^7 was killed by Al^7's MP40", // ^1Bob: 1 line
        "[skipnotify]Al^7 was killed by bob^7's MP40",   // bob: 1 line
        "[skipnotify]bob^7: ^2one",                      // bob: 2 lines
        "[skipnotify]Zed^7 was killed by Al^7's Sten",
        "[skipnotify]Al^7 renamed to Zed", // a store that tracks no holders: names only
        "[skipnotify]^1Bob^7 was killed by BOB^7's MP40", // two names of one key
        "[skipnotify]: Zed^7 (Base): ^2Medic!x",
        "[skipnotify]^1Bob^7 died.",
    });
    ASSERT_EQ(store.PlayerCount(), 5); // ^1Bob, Al, bob, Zed, BOB
    const auto killsBefore = store.KillEvents.size();
    const MergedNames names = MergePlayers(store, {});

    ASSERT_EQ(store.PlayerCount(), 3);
    // ^1Bob: 3 lines (killed, killed by BOB, died); bob 2; BOB 1.
    const PlayerRecord& bob = store.Players[1];
    EXPECT_EQ(bob.Name, "^1Bob");
    EXPECT_EQ(bob.Kills[0], 2);  // bob's and BOB's
    EXPECT_EQ(bob.Deaths[0], 3); // two kills and the suicide
    EXPECT_EQ(bob.TextChatCount, 1);
    const PlayerRecord& al = store.Players[2];
    EXPECT_EQ(al.Name, "Al");
    EXPECT_EQ(al.Kills[0], 2);
    EXPECT_EQ(al.Deaths[0], 1);
    EXPECT_EQ(store.Players[3].Name, "Zed");
    EXPECT_EQ(store.Players[3].VoiceChatCount, 1);

    ASSERT_EQ(store.KillEvents.size(), killsBefore);
    EXPECT_EQ(store.KillEvents[4].Killer, 1);
    EXPECT_EQ(store.KillEvents[4].Victim, 1); // still a kill, the player his own victim
    EXPECT_EQ(store.KillEvents[3].Victim, 3);
    EXPECT_EQ(store.VoiceChats[1].Player, 3);
    EXPECT_EQ(store.TextChats[1].Player, 1);

    EXPECT_EQ(store.FindPlayer("^1Bob"), 1);
    EXPECT_EQ(store.FindPlayer("bob"), std::nullopt); // the store knows display names only
    EXPECT_EQ(names.Find("bob^7"), 1);
    EXPECT_EQ(names.Find("Zed"), 3);
    EXPECT_EQ(names.Find("ZED"), 3); // by key when no stored name matches
    EXPECT_EQ(names.Find("Nobody"), std::nullopt);
    EXPECT_EQ(names.NamesOf(1), (std::vector<std::string>{"^1Bob", "bob", "BOB"}));
}

TEST(MergePlayersTest, ATieKeepsTheFirstSeenNameAndNoJoinLeavesTheStoreAsItWas) {
    AnalysisStore store =
        Analyze({"[skipnotify]bob^7: ^2a", "[skipnotify]Bob^7: ^2b", "[skipnotify]Al^7: ^2c"});
    MergePlayers(store, {});
    ASSERT_EQ(store.PlayerCount(), 2);
    EXPECT_EQ(store.Players[1].Name, "bob");
    EXPECT_EQ(store.Players[1].TextChatCount, 2);

    AnalysisStore plain = Analyze({"[skipnotify]Al^7: ^2c", "[skipnotify]Bo^7: ^2c"});
    const std::vector<PlayerRecord> before = plain.Players;
    MergePlayers(plain, {});
    ASSERT_EQ(plain.Players.size(), before.size());
    for (std::size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(plain.Players[i].Name, before[i].Name);
        EXPECT_EQ(plain.Players[i].TextChatCount, before[i].TextChatCount);
    }
}

} // namespace
} // namespace qla
