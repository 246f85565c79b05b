// Merging a store's players into groups: the counters of each group are its members' sums and
// every event names the group, whether the groups come in the order of their first members (the
// records are merged where they stand) or not (a hidden group last).
#include "core/store.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qla {
namespace {

// Five players with kills among them, a suicide, a teamkill and chats.
AnalysisStore FivePlayers() {
    AnalysisStore store;
    std::vector<PlayerIndex> p;
    for (const char* name : {"Anna", "Bert", "Carl", "Dora", "Emil"})
        p.push_back(store.FindOrAddPlayer(name));
    store.RecordKill(p[0], p[1], 3, "MP40");
    store.RecordKill(p[2], p[3], 3, "MP40");
    store.RecordKill(p[3], p[0], 5, "Thompson");
    store.RecordKill(p[4], p[2], 3, "MP40");
    store.RecordSuicide(p[1], 18);
    store.RecordTeamkill(p[2], p[4]);
    store.RecordVoiceChat(p[4], "Medic!", "", false);
    store.RecordTextChat(p[1], "hello", "", true);
    store.RecordTextChat(p[3], "gg", "", false);
    return store;
}

// What merging must give, worked out slot by slot from the unmerged records.
std::vector<PlayerRecord> Sums(const AnalysisStore& store, const std::vector<PlayerIndex>& groupOf,
                               const std::vector<std::string>& names) {
    std::vector<PlayerRecord> sums(names.size());
    for (std::size_t g = 1; g < names.size(); ++g)
        sums[g].Name = names[g];
    for (std::size_t r = 1; r < store.Players.size(); ++r) {
        const PlayerRecord& from = store.Players[r];
        PlayerRecord& into = sums[static_cast<std::size_t>(groupOf[r])];
        for (std::size_t w = 0; w < from.Kills.size(); ++w)
            into.Kills[w] += from.Kills[w];
        for (std::size_t w = 0; w < from.Deaths.size(); ++w)
            into.Deaths[w] += from.Deaths[w];
        into.Teamkills += from.Teamkills;
        into.VoiceChatCount += from.VoiceChatCount;
        into.TextChatCount += from.TextChatCount;
    }
    return sums;
}

void ExpectMerged(const std::vector<PlayerIndex>& groupOf, const std::vector<std::string>& names) {
    SCOPED_TRACE(::testing::PrintToString(groupOf));
    AnalysisStore store = FivePlayers();
    const AnalysisStore before = FivePlayers();
    const std::vector<PlayerRecord> expected = Sums(before, groupOf, names);
    store.MergePlayers(groupOf, names);

    ASSERT_EQ(store.Players.size(), names.size());
    for (std::size_t g = 1; g < names.size(); ++g) {
        const PlayerRecord& got = store.Players[g];
        EXPECT_EQ(got.Name, expected[g].Name);
        EXPECT_EQ(got.Kills, expected[g].Kills) << g;
        EXPECT_EQ(got.Deaths, expected[g].Deaths) << g;
        EXPECT_EQ(got.Teamkills, expected[g].Teamkills) << g;
        EXPECT_EQ(got.VoiceChatCount, expected[g].VoiceChatCount) << g;
        EXPECT_EQ(got.TextChatCount, expected[g].TextChatCount) << g;
        EXPECT_EQ(store.FindPlayer(names[g]), static_cast<PlayerIndex>(g));
    }
    ASSERT_EQ(store.KillEvents.size(), before.KillEvents.size());
    for (std::size_t e = 1; e < store.KillEvents.size(); ++e) {
        const KillEvent& was = before.KillEvents[e];
        EXPECT_EQ(store.KillEvents[e].Killer, groupOf[static_cast<std::size_t>(was.Killer)]);
        EXPECT_EQ(store.KillEvents[e].Victim, groupOf[static_cast<std::size_t>(was.Victim)]);
        EXPECT_EQ(store.KillEvents[e].WeaponText, was.WeaponText);
    }
    for (std::size_t c = 1; c < store.TextChats.size(); ++c)
        EXPECT_EQ(store.TextChats[c].Player,
                  groupOf[static_cast<std::size_t>(before.TextChats[c].Player)]);
    for (std::size_t c = 1; c < store.VoiceChats.size(); ++c)
        EXPECT_EQ(store.VoiceChats[c].Player,
                  groupOf[static_cast<std::size_t>(before.VoiceChats[c].Player)]);
    EXPECT_EQ(store.Players[0].Kills, PlayerRecord{}.Kills);
}

TEST(StoreMerge, EachGroupHoldsItsMembersSumsInOrderOrNot) {
    // In the order of first members: every record alone, a group whose first member moves down
    // past records merged before it, and all in one.
    ExpectMerged({0, 1, 2, 3, 4, 5}, {"", "Anna", "Bert", "Carl", "Dora", "Emil"});
    ExpectMerged({0, 1, 1, 2, 1, 3}, {"", "A+B+D", "Carl", "Emil"});
    ExpectMerged({0, 1, 2, 1, 3, 2}, {"", "A+C", "B+E", "Dora"});
    ExpectMerged({0, 1, 1, 1, 1, 1}, {"", "Everyone"});
    // Not in that order: a group numbered before its first member's turn, and a group with no
    // member at all (both kept as given).
    ExpectMerged({0, 3, 1, 3, 2, 1}, {"", "B+E", "Dora", "A+C"});
    ExpectMerged({0, 1, 2, 1, 2, 2}, {"", "A+C", "B+D+E", "Nobody"});
}

} // namespace
} // namespace qla
