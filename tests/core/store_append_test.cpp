// The store's own copies of texts, and appending the store of later lines: the result must be
// the store that recording every line into one store gives.
#include "core/store.h"
#include "core/text_arena.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qla {
namespace {

TEST(TextArena, KeptTextsOutliveTheirSourceAndSurviveAdoptionAndMoves) {
    TextArena arena;
    std::string source = "first text";
    const std::string_view first = arena.Keep(source);
    source.assign("overwritten");
    const std::string longText(100000, 'x'); // longer than a block: a block of its own
    const std::string_view longKept = arena.Keep(longText);
    EXPECT_EQ(arena.Keep(""), std::string_view());

    TextArena other;
    const std::string_view adopted = other.Keep("from the other arena");
    arena.Adopt(std::move(other));
    EXPECT_EQ(other.BytesHeld(), 0u);
    // The arena's free end is still usable after adopting: a new text goes into its last block.
    const std::string_view after = arena.Keep("after adoption");
    TextArena moved = std::move(arena);

    EXPECT_EQ(first, "first text");
    EXPECT_EQ(longKept, longText);
    EXPECT_EQ(adopted, "from the other arena");
    EXPECT_EQ(after, "after adoption");
    EXPECT_GE(moved.BytesHeld(), longText.size());
    moved.Clear();
    EXPECT_EQ(moved.BytesHeld(), 0u);
}

// One "line" of each kind, recorded the way the parsers do.
struct Line {
    std::string Killer, Victim;
    enum Kind { Kill, Suicide, Teamkill, Voice, Text, Other, Rename } What;
};

void Record(AnalysisStore& store, const Line& line) {
    std::string scratch = line.Victim; // the line's text goes away after the call
    switch (line.What) {
    case Line::Kill: {
        // Filed killer first, as the parsers do: the order of first appearance.
        const PlayerIndex killer = store.FindOrAddPlayer(line.Killer);
        store.RecordKill(killer, store.FindOrAddPlayer(line.Victim), 3, "MP40");
        break;
    }
    case Line::Suicide:
        store.RecordSuicide(store.FindOrAddPlayer(line.Killer), 18);
        break;
    case Line::Teamkill: {
        const PlayerIndex killer = store.FindOrAddPlayer(line.Killer);
        store.RecordTeamkill(killer, store.FindOrAddPlayer(line.Victim));
        break;
    }
    case Line::Voice:
        store.RecordVoiceChat(store.FindOrAddPlayer(line.Killer), scratch, "Bunker", true);
        break;
    case Line::Text:
        store.RecordTextChat(store.FindOrAddPlayer(line.Killer), scratch, "", false);
        break;
    case Line::Other:
        store.RecordUnknownLine(scratch);
        break;
    case Line::Rename:
        store.RecordRename(line.Killer, scratch);
        break;
    }
    scratch.assign(scratch.size(), '#');
}

const std::vector<Line> kLines = {
    {"Ann", "Bob", Line::Kill},        {"Bob", "hi all", Line::Voice}, {"Cid", "", Line::Suicide},
    {"x", "a junk line", Line::Other}, {"Dan", "Ann", Line::Teamkill}, {"Eve", "gg", Line::Text},
    {"Bob", "Fay", Line::Kill},        {"Old", "New", Line::Rename},   {"Fay", "Eve", Line::Kill},
    {"Gus", "go go", Line::Voice},     {"Ann", "Gus", Line::Teamkill}, {"y", "junk 2", Line::Other},
};

void ExpectSameStore(const AnalysisStore& a, const AnalysisStore& b) {
    ASSERT_EQ(a.Players.size(), b.Players.size());
    for (std::size_t i = 0; i < a.Players.size(); ++i) {
        EXPECT_EQ(a.Players[i].Name, b.Players[i].Name) << i;
        EXPECT_EQ(a.Players[i].Kills, b.Players[i].Kills) << i;
        EXPECT_EQ(a.Players[i].Deaths, b.Players[i].Deaths) << i;
        EXPECT_EQ(a.Players[i].Teamkills, b.Players[i].Teamkills) << i;
        EXPECT_EQ(a.Players[i].VoiceChatCount, b.Players[i].VoiceChatCount) << i;
        EXPECT_EQ(a.Players[i].TextChatCount, b.Players[i].TextChatCount) << i;
    }
    ASSERT_EQ(a.KillEvents.size(), b.KillEvents.size());
    for (std::size_t i = 0; i < a.KillEvents.size(); ++i) {
        EXPECT_EQ(a.KillEvents[i].Killer, b.KillEvents[i].Killer) << i;
        EXPECT_EQ(a.KillEvents[i].Victim, b.KillEvents[i].Victim) << i;
        EXPECT_EQ(a.KillEvents[i].Weapon(), b.KillEvents[i].Weapon()) << i;
    }
    for (const auto chats : {&AnalysisStore::VoiceChats, &AnalysisStore::TextChats}) {
        ASSERT_EQ((a.*chats).size(), (b.*chats).size());
        for (std::size_t i = 0; i < (a.*chats).size(); ++i) {
            EXPECT_EQ((a.*chats)[i].Player, (b.*chats)[i].Player);
            EXPECT_EQ((a.*chats)[i].Text, (b.*chats)[i].Text);
            EXPECT_EQ(a.LocationOf((a.*chats)[i]), b.LocationOf((b.*chats)[i]));
            EXPECT_EQ((a.*chats)[i].IsTeam, (b.*chats)[i].IsTeam);
        }
    }
    EXPECT_EQ(a.UnknownLines, b.UnknownLines);
    ASSERT_EQ(a.Renames.size(), b.Renames.size());
    for (std::size_t i = 0; i < a.Renames.size(); ++i) {
        EXPECT_EQ(a.Renames[i].OldName, b.Renames[i].OldName);
        EXPECT_EQ(a.Renames[i].NewName, b.Renames[i].NewName);
    }
}

TEST(StoreAppend, EverySplitGivesTheStoreOfOneRun) {
    AnalysisStore whole;
    for (const Line& line : kLines)
        Record(whole, line);
    ASSERT_EQ(whole.Players[1].Name, "Ann");
    ASSERT_EQ(whole.UnknownLines[1], "a junk line");

    // Split into three at every pair of places, the later stores appended in order.
    for (std::size_t a = 0; a <= kLines.size(); ++a)
        for (std::size_t b = a; b <= kLines.size(); ++b) {
            AnalysisStore first, second, third;
            for (std::size_t i = 0; i < kLines.size(); ++i)
                Record(i < a ? first : i < b ? second : third, kLines[i]);
            first.Append(std::move(second));
            first.Append(std::move(third));
            SCOPED_TRACE("split at " + std::to_string(a) + " and " + std::to_string(b));
            ExpectSameStore(first, whole);
            // A name first met in a later part is found under its new index.
            EXPECT_EQ(first.FindPlayer("Gus"), whole.FindPlayer("Gus"));
            // The appended store is left empty, and the texts it held still read right.
            EXPECT_EQ(second.PlayerCount(), 0);
            EXPECT_EQ(second.UnknownLines.size(), 1u);
        }
}

TEST(StoreAppend, ResetDropsTheKeptTexts) {
    AnalysisStore store;
    store.RecordUnknownLine("kept");
    store.Reset();
    EXPECT_EQ(store.UnknownLines.size(), 1u);
    store.RecordUnknownLine("again");
    EXPECT_EQ(store.UnknownLines[1], "again");
}

} // namespace
} // namespace qla
