// How the store keeps texts small: 12-byte views, each location once (chats hold its position),
// repeated chat texts and unknown lines once, and all of it still right after Append.
#include "core/packed_view.h"
#include "core/store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace qla {
namespace {

TEST(PackedView, ReadsBackTheViewItWasMadeOf) {
    const std::string text = "^5Medic!";
    const PackedView view(text);
    EXPECT_EQ(view.data(), text.data());
    EXPECT_EQ(view.size(), text.size());
    EXPECT_EQ(std::string_view(view), "^5Medic!");
    EXPECT_EQ(view, PackedView(std::string("^5Medic!"))); // equal by content, not by address
    EXPECT_FALSE(view == PackedView(std::string_view(text).substr(0, 4)));
    EXPECT_TRUE(PackedView().empty());
    EXPECT_EQ(PackedView(), std::string_view());
    // Packed into a list, every element still reads back whole.
    std::vector<PackedView> list;
    std::vector<std::string> texts;
    for (int i = 0; i < 100; ++i)
        texts.push_back(std::string(static_cast<std::size_t>(i), 'a') + std::to_string(i));
    for (const std::string& t : texts)
        list.emplace_back(t);
    for (std::size_t i = 0; i < texts.size(); ++i)
        EXPECT_EQ(list[i], texts[i]) << i;
}

TEST(StoreTexts, EachLocationIsKeptOnceAndReadThroughTheStore) {
    AnalysisStore store;
    const PlayerIndex bob = store.FindOrAddPlayer("Bob");
    std::string scratch = "Axis Base"; // the line goes away after each call
    store.RecordVoiceChat(bob, "Medic!", scratch, false);
    scratch = "Bridge";
    store.RecordTextChat(bob, "hi", scratch, true);
    scratch = "Axis Base";
    store.RecordTextChat(bob, "bye", scratch, false);
    store.RecordVoiceChat(bob, "Yes!", "", true);
    scratch.assign(scratch.size(), '#');

    EXPECT_EQ(store.LocationOf(store.VoiceChats[1]), "Axis Base");
    EXPECT_EQ(store.LocationOf(store.TextChats[1]), "Bridge");
    EXPECT_EQ(store.LocationOf(store.TextChats[2]), "Axis Base");
    EXPECT_EQ(store.TextChats[2].Location, store.VoiceChats[1].Location); // one copy
    EXPECT_EQ(store.VoiceChats[2].Location, 0u);
    EXPECT_EQ(store.LocationOf(store.VoiceChats[2]), "");
    EXPECT_EQ(store.LocationOf(store.VoiceChats[0]), ""); // the placeholder
    store.Reset();
    store.RecordVoiceChat(store.FindOrAddPlayer("Bob"), "Medic!", "Hill", false);
    EXPECT_EQ(store.LocationOf(store.VoiceChats[1]), "Hill");
}

TEST(StoreTexts, RepeatedTextsShareOneCopyAndNewOnesStayRight) {
    AnalysisStore store;
    const PlayerIndex bob = store.FindOrAddPlayer("Bob");
    std::string line = "Server: Kicking player for team damage.";
    store.RecordUnknownLine(line);
    store.RecordUnknownLine(line);
    store.RecordVoiceChat(bob, "^2Medic!", "Bunker", false);
    store.RecordVoiceChat(bob, std::string("^2Medic!"), "Bunker", true);
    store.RecordTextChat(bob, "^2Medic!", "", false);
    store.RecordUnknownLine("");
    line.assign(line.size(), '#');

    EXPECT_EQ(store.UnknownLines[1], "Server: Kicking player for team damage.");
    EXPECT_EQ(store.UnknownLines[1].data(), store.UnknownLines[2].data());
    EXPECT_EQ(store.UnknownLines[3], "");
    EXPECT_EQ(store.VoiceChats[1].Text.data(), store.VoiceChats[2].Text.data());
    // Chat texts and unknown lines share one table: a text is a text.
    EXPECT_EQ(store.TextChats[1].Text.data(), store.VoiceChats[1].Text.data());
    EXPECT_TRUE(store.VoiceChats[2].IsTeam);
}

TEST(StoreTexts, ManyDifferentOtherLinesLeaveTheChatTextsKeptOnce) {
    // Thousands of lines that never repeat (joins, kills without the prefix) between the chats:
    // the chats' copies are still shared, and every line keeps its own text.
    AnalysisStore store;
    const PlayerIndex bob = store.FindOrAddPlayer("Bob");
    for (int i = 0; i < 40000; ++i) {
        store.RecordUnknownLine("Player" + std::to_string(i) + "^7 entered the game");
        if (i % 100 == 0)
            store.RecordVoiceChat(bob, "^2Medic!", "Bunker", false);
    }
    for (std::size_t i = 2; i < store.VoiceChats.size(); ++i)
        ASSERT_EQ(store.VoiceChats[i].Text.data(), store.VoiceChats[1].Text.data()) << i;
    EXPECT_EQ(store.UnknownLines[12345], "Player12344^7 entered the game");
}

TEST(StoreTexts, AFewTextsSaidAgainAndAgainAreKeptOnceEach) {
    // The game's voice commands, cycled: after the first round no text is copied again.
    AnalysisStore store;
    const PlayerIndex bob = store.FindOrAddPlayer("Bob");
    std::vector<std::string> commands;
    for (int i = 0; i < 20; ++i)
        commands.push_back("^2command " + std::to_string(i));
    for (int round = 0; round < 50; ++round)
        for (const std::string& command : commands)
            store.RecordVoiceChat(bob, command, "Bunker", false);
    std::vector<const char*> copies;
    for (const ChatEntry& chat : RealEntries(store.VoiceChats))
        copies.push_back(chat.Text.data());
    std::sort(copies.begin(), copies.end());
    EXPECT_EQ(std::unique(copies.begin(), copies.end()) - copies.begin(), 20);
    for (std::size_t i = 1; i < store.VoiceChats.size(); ++i)
        ASSERT_EQ(store.VoiceChats[i].Text, commands[(i - 1) % 20]) << i;
}

TEST(StoreTexts, FarMoreDistinctTextsThanTheTableHoldsAreAllStored) {
    // Texts crowd each other out of the table; each is still stored, a repeat right after its
    // first showing still shares its copy.
    AnalysisStore store;
    constexpr int kTexts = 70000;
    for (int i = 0; i < kTexts; ++i) {
        store.RecordUnknownLine("line " + std::to_string(i));
        store.RecordUnknownLine("line " + std::to_string(i));
    }
    ASSERT_EQ(store.UnknownLines.size(), 2u * kTexts + 1);
    for (int i = 0; i < kTexts; ++i) {
        const std::size_t at = 2 * static_cast<std::size_t>(i) + 1;
        ASSERT_EQ(store.UnknownLines[at], "line " + std::to_string(i));
        ASSERT_EQ(store.UnknownLines[at + 1].data(), store.UnknownLines[at].data());
    }
}

TEST(StoreTexts, PastTheBoundOfKeptLocationsEveryLocationIsStillStored) {
    AnalysisStore store;
    const PlayerIndex bob = store.FindOrAddPlayer("Bob");
    constexpr int kPlaces = 5000;
    for (int i = 0; i < kPlaces; ++i)
        store.RecordVoiceChat(bob, "hi", "place " + std::to_string(i), false);
    store.RecordVoiceChat(bob, "hi", "place 0", false);
    store.RecordVoiceChat(bob, "hi", "place 4999", false);
    for (int i = 0; i < kPlaces; ++i)
        ASSERT_EQ(store.LocationOf(store.VoiceChats[static_cast<std::size_t>(i) + 1]),
                  "place " + std::to_string(i));
    EXPECT_EQ(store.VoiceChats[kPlaces + 1].Location, store.VoiceChats[1].Location);
    EXPECT_EQ(store.LocationOf(store.VoiceChats[kPlaces + 2]), "place 4999");
}

TEST(StoreTexts, AppendFilesTheLaterLocationsUnderThisStoresPositions) {
    AnalysisStore first, later;
    const PlayerIndex ann = first.FindOrAddPlayer("Ann");
    first.RecordVoiceChat(ann, "a", "Hill", false);
    first.RecordVoiceChat(ann, "b", "Bridge", false);
    const PlayerIndex bob = later.FindOrAddPlayer("Bob");
    later.RecordTextChat(bob, "c", "Tower", true); // new here
    later.RecordTextChat(bob, "d", "Bridge", false);
    later.RecordVoiceChat(bob, "e", "", false);
    later.RecordUnknownLine("junk");
    first.Append(std::move(later));

    EXPECT_EQ(first.LocationOf(first.TextChats[1]), "Tower");
    EXPECT_EQ(first.LocationOf(first.TextChats[2]), "Bridge");
    EXPECT_EQ(first.TextChats[2].Location, first.VoiceChats[2].Location);
    EXPECT_EQ(first.LocationOf(first.VoiceChats[3]), "");
    EXPECT_EQ(first.TextChats[1].Text, "c");
    EXPECT_EQ(first.UnknownLines[1], "junk");
    // A location met after the merge joins the same list.
    first.RecordVoiceChat(ann, "f", "Tower", false);
    EXPECT_EQ(first.VoiceChats[4].Location, first.TextChats[1].Location);
}

} // namespace
} // namespace qla
