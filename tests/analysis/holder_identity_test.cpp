// Identity over time: a name belongs to one person at a time, renames carry a person on, the
// connect name every newcomer passes through joins no one, and aliases override it all.
#include "analysis/alias_suggestions.h"
#include "analysis/analysis.h"
#include "analysis/holder_identity.h"
#include "analysis/log_names.h"
#include "analysis/merge_players.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace qla {
namespace {

constexpr const char* kHeader = "logfile opened on Mon Mar  2 20:00:00 2009";

std::string Kill(const std::string& killer, const std::string& victim) {
    return "[skipnotify]" + victim + "^7 was killed by " + killer + "^7's MP40";
}
std::string Say(const std::string& name) {
    return "[skipnotify]" + name + "^7: ^2hi";
}
std::string Rename(const std::string& from, const std::string& to) {
    return "[skipnotify]" + from + "^7 renamed to " + to;
}

AnalysisStore Tracked(const std::vector<std::string>& lines) {
    AnalysisStore store;
    store.TracksHolders = true;
    store.LogLines = LogLineList::FromLines(lines);
    store.LogFileLoaded = true;
    AnalyzeLog(store, LogLanguage::English);
    return store;
}

// Shown name -> (kills, deaths, text chats) after merging.
std::map<std::string, std::vector<std::int64_t>> Merged(AnalysisStore&& store,
                                                        const AliasList& aliases = {}) {
    MergePlayers(store, aliases);
    std::map<std::string, std::vector<std::int64_t>> players;
    for (const PlayerRecord& p : RealEntries(store.Players))
        players[p.Name] = {p.Kills[0], p.Deaths[0], p.TextChatCount};
    return players;
}

using Counts = std::map<std::string, std::vector<std::int64_t>>;

TEST(HolderIdentityTest, ANameFreedByARenameAndTakenLaterIsAnotherPerson) {
    AnalysisStore store = Tracked({
        Say("Carl"),
        Kill("Carl", "Vic"),
        Rename("Carl", "Eve"), // Carl's holder goes on as Eve
        Kill("Eve", "Vic"),
        Say("Carl"), // whoever writes as Carl now is someone else
        Kill("Vic", "Carl"),
        Say("Eve"),
    });
    // Records by holding: Carl, Vic, Eve, Carl again.
    ASSERT_EQ(store.PlayerCount(), 4);
    EXPECT_EQ(store.Holdings[3].From, 1);
    EXPECT_TRUE(store.Holdings[1].RenamedAway);
    EXPECT_EQ(store.Holdings[1].EndLine, 3u);
    EXPECT_EQ(store.Holdings[4].From, 0);

    // Carl + Eve: 2 kills, 2 chats; the second Carl: 1 chat, 1 death. Carl's 3 lines against
    // Eve's 2 name the first person; the second shows "Carl (2)".
    EXPECT_EQ(Merged(std::move(store)),
              (Counts{{"Carl", {2, 0, 2}}, {"Vic", {1, 2, 0}}, {"Carl (2)", {0, 1, 1}}}));
}

TEST(HolderIdentityTest, NewcomersPassingThroughTheConnectNameStayApart) {
    // In one log: two newcomers connect as Player, one after the other, and rename away.
    const std::vector<std::string> oneLog = {
        kHeader,       Kill("Player", "Zed"),    Rename("Player", "Anna"), Kill("Anna", "Zed"),
        Say("Player"), Rename("Player", "Bert"), Kill("Zed", "Bert"),      Say("Anna"),
    };
    EXPECT_EQ(Merged(Tracked(oneLog)),
              (Counts{{"Anna", {2, 0, 1}}, {"Zed", {1, 2, 0}}, {"Bert", {0, 1, 1}}}));
    // In two sessions of one file; Anna comes back under her own name.
    const std::vector<std::string> twoSessions = {
        kHeader,
        Kill("Player", "Zed"),
        Rename("Player", "Anna"),
        Kill("Anna", "Zed"),
        kHeader,
        Say("Player"),
        Rename("Player", "Bert"),
        Kill("Zed", "Bert"),
        Kill("Anna", "Zed"),
    };
    AnalysisStore two = Tracked(twoSessions);
    EXPECT_EQ(two.SessionCount(), 2u);
    // The connect name is nobody's own: it joins no one, while Anna is her own name.
    const std::vector<std::string> own = OwnNameKeys(two);
    EXPECT_NE(std::find(own.begin(), own.end(), "anna"), own.end());
    EXPECT_EQ(std::find(own.begin(), own.end(), "player"), own.end());
    EXPECT_EQ(Merged(std::move(two)),
              (Counts{{"Anna", {3, 0, 0}}, {"Zed", {1, 3, 0}}, {"Bert", {0, 1, 1}}}));
}

TEST(HolderIdentityTest, ARenameBackAndColourVariantsHeldAtOnceAreOnePerson) {
    AnalysisStore store = Tracked({
        Kill("Anna", "Zed"),
        Rename("Anna", "xXx"),
        Kill("xXx", "Zed"),
        Rename("xXx", "Anna"), // back
        Kill("Anna", "Zed"),
        Say("^1Bob"),
        Kill("bob", "Zed"), // the same key at the same moment: one holder
        Say("BOB "),
    });
    EXPECT_EQ(Merged(std::move(store)),
              (Counts{{"Anna", {3, 0, 0}}, {"Zed", {0, 4, 0}}, {"^1Bob", {1, 0, 2}}}));
}

TEST(HolderIdentityTest, TwoHoldersOfOneKeyWhoKillEachOtherAreTwoPeople) {
    AnalysisStore store = Tracked({
        Kill("^1Bob", "Zed"),
        Kill("^1Bob", "^4Bob"), // one cannot kill oneself by a kill line
        Say("^4Bob"),
    });
    // By names alone they are one.
    EXPECT_EQ(PersonsByIdentityKey(store, {}).Count, 2);
    EXPECT_EQ(Merged(std::move(store)),
              (Counts{{"^1Bob", {2, 0, 0}}, {"Zed", {0, 1, 0}}, {"^4Bob", {0, 1, 1}}}));
}

TEST(HolderIdentityTest, AliasesOverrideTheModel) {
    const std::vector<std::string> lines = {
        kHeader, Kill("Anna", "Zed"), kHeader, Kill("Bert", "Zed"), Kill("Anna", "Zed"),
    };
    AliasList join;
    ASSERT_EQ(join.Add("Anna", "Bert"), "");
    EXPECT_EQ(Merged(Tracked(lines), join), (Counts{{"Anna", {3, 0, 0}}, {"Zed", {0, 3, 0}}}));
    // A split name stands apart from every automatic join, across sessions too.
    AliasList split;
    ASSERT_EQ(split.Split("Anna"), "");
    const HolderPersons persons = PersonsOfHolders(Tracked(lines), split);
    EXPECT_EQ(persons.Count, 4); // each Anna apart, Bert, and the two Zeds joined
}

TEST(HolderIdentityTest, ADisconnectFreesTheNameAndTheOwnerStillContinuesUnderIt) {
    AnalysisStore store = Tracked({
        Kill("Anna", "Zed"), "[skipnotify]Anna^7 disconnected",
        Kill("Zed", "Anna"), // a new holding; Anna's own name joins it to her
    });
    ASSERT_EQ(store.PlayerCount(), 3); // Zed, Anna, Anna again
    EXPECT_TRUE(store.Holdings[2].Ended);
    EXPECT_FALSE(store.Holdings[2].RenamedAway);
    EXPECT_EQ(Merged(std::move(store)), (Counts{{"Anna", {1, 1, 0}}, {"Zed", {1, 1, 0}}}));
}

TEST(HolderIdentityTest, AStoreFiledByNameAgainCountsAsAClassicRun) {
    const std::vector<std::string> lines = {
        Say("Carl"), Rename("Carl", "Eve"), Say("Carl"), Kill("Eve", "Carl"), kHeader, Say("Eve"),
    };
    AnalysisStore tracked = Tracked(lines);
    AnalysisStore classic;
    classic.LogLines = LogLineList::FromLines(lines);
    AnalyzeLog(classic, LogLanguage::English);
    FileHoldersByName(tracked);
    ASSERT_EQ(tracked.PlayerCount(), classic.PlayerCount());
    for (std::size_t p = 1; p < classic.Players.size(); ++p) {
        EXPECT_EQ(tracked.Players[p].Name, classic.Players[p].Name);
        EXPECT_EQ(tracked.Players[p].Kills, classic.Players[p].Kills);
        EXPECT_EQ(tracked.Players[p].Deaths, classic.Players[p].Deaths);
        EXPECT_EQ(tracked.Players[p].TextChatCount, classic.Players[p].TextChatCount);
    }
    EXPECT_EQ(tracked.KillEvents[1].Killer, classic.KillEvents[1].Killer);
    EXPECT_EQ(tracked.TextChats[3].Player, classic.TextChats[3].Player);
    EXPECT_FALSE(tracked.TracksHolders);
}

TEST(HolderIdentityTest, TrackingSwitchedOnAfterRecordsKeepsOneHoldingPerRecord) {
    AnalysisStore store;
    store.FindOrAddPlayer("Al");
    store.TracksHolders = true; // no reset: the holdings catch up with the records
    store.FindOrAddPlayer("Bo");
    ASSERT_EQ(store.Holdings.size(), store.Players.size());
    EXPECT_EQ(store.FindOrAddPlayer("Bo"), 2);
}

TEST(HolderIdentityTest, AliasCommandsSeeNoRenameThroughAPassingName) {
    AnalysisStore store = Tracked({
        Say("Player"),
        Rename("Player", "Anna1"),
        Kill("Anna1", "Zed"),
        Say("Player"),
        Rename("Player", "Anna2"),
        Kill("Anna2", "Zed"),
        Rename("Zed", "Zeddy"),
    });
    const LogNames names = NamesOfStore(store, 4);
    // Each name once, its holders' lines summed; the renames from the connect name left out,
    // Zed's kept with the line it stands on.
    EXPECT_EQ(names.Names, (std::vector<std::string>{"Player", "Zed", "Anna1", "Anna2"}));
    EXPECT_EQ(names.Lines, (std::vector<std::int64_t>{2, 2, 1, 1}));
    EXPECT_EQ(names.Renames, (std::vector<std::pair<std::string, std::string>>{{"Zed", "Zeddy"}}));
    EXPECT_EQ(names.RenameLines, (std::vector<std::uint64_t>{7}));
    const std::vector<AliasSuggestion> suggestions = SuggestAliases({names}, {});
    ASSERT_EQ(suggestions.size(), 1u);
    EXPECT_EQ(suggestions[0].Name, "Anna1");
    EXPECT_EQ(suggestions[0].Other, "Anna2");
}

// The connect name of two newcomers in one session, and again in a second: the names many
// people pass through, found alike from one store of both sessions and from the sessions' key
// uses added up, and kept when the store is filed by name.
TEST(HolderIdentityTest, PassingNamesOfAHistoryAreTheSumsOfItsLogs) {
    const std::vector<std::string> first = {
        kHeader,       Kill("Player", "Zed"),    Rename("Player", "Anna"), Kill("Anna", "Zed"),
        Say("Player"), Rename("Player", "Bert"), Kill("Zed", "Bert"),
    };
    const std::vector<std::string> second = {
        kHeader, Say("Player"), Rename("Player", "Cleo"), Kill("Cleo", "Zed"), Kill("Anna", "Zed"),
    };
    std::vector<std::string> both = first;
    both.insert(both.end(), second.begin(), second.end());
    const std::vector<std::string> expected{"player"};
    EXPECT_EQ(PassingNameKeys(Tracked(both)), expected);

    // One newcomer in the second log alone passes through it, but the connect name is not his
    // own name there either: one chain is not "many".
    EXPECT_TRUE(PassingNameKeys(Tracked(second)).empty());
    KeyUseSums sums;
    sums.Add(NameKeyUses(Tracked(first)));
    sums.Add(NameKeyUses(Tracked(second)));
    EXPECT_EQ(sums.PassingKeys(), expected);

    // Filed by name: the classic records, the passing names kept for the rating.
    AnalysisStore store = Tracked(both);
    FileByNameKeepingPassingKeys(store);
    EXPECT_FALSE(store.TracksHolders);
    EXPECT_EQ(store.PassingKeys, expected);
    EXPECT_TRUE(store.FindPlayer("Player").has_value());
    EXPECT_EQ(store.PlayerCount(), 5); // Player, Zed, Anna, Bert, Cleo
    // Merged into persons, no record is a passing name any more.
    MergePlayers(store, {});
    EXPECT_TRUE(store.PassingKeys.empty());
}

} // namespace
} // namespace qla
