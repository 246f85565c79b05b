// Voice chat, text chat and unknown lines.
#include "parsers/parsers.h"
#include "store_view.h"

#include <gtest/gtest.h>

#include <string>

namespace qla {
namespace {

struct ChatCase {
    const char* name;
    std::string line;
    std::string player;
    std::string location;
    std::string text;
    bool isTeam;
};

void ExpectEntry(const AnalysisStore& store, const ChatEntry& entry, const ChatCase& c) {
    EXPECT_EQ(store.Players[entry.Player].Name, c.player);
    EXPECT_EQ(store.LocationOf(entry), c.location);
    EXPECT_EQ(entry.Text, c.text);
    EXPECT_EQ(entry.IsTeam, c.isTeam);
}

class VoiceChat : public testing::TestWithParam<ChatCase> {};

TEST_P(VoiceChat, StoresEntry) {
    AnalysisStore store;
    ParseVoiceChatLine(store, GetParam().line);
    ASSERT_EQ(store.VoiceChats.size(), 2u);
    ExpectEntry(store, store.VoiceChats[1], GetParam());
    EXPECT_EQ(store.Players[store.VoiceChats[1].Player].VoiceChatCount, 1);
    EXPECT_EQ(test::CounterSum(store.Players[store.VoiceChats[1].Player]), 1);
    EXPECT_EQ(store.TextChats.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, VoiceChat,
    testing::Values(ChatCase{"Global", "[skipnotify]: Bob^7 (Axis Base): ^2Medic!x", "Bob",
                             "Axis Base", "Medic!", false},
                    ChatCase{"Team", "[skipnotify]:  Bob^7 (Axis Base): ^5Medic!x", "Bob",
                             "Axis Base", "Medic!", true},
                    ChatCase{"AnyOtherCodeIsTeam", "[skipnotify]:  Bob^7 (Hill): ^3Yes!x", "Bob",
                             "Hill", "Yes!", true},
                    ChatCase{"NoCodeIsTeam", "[skipnotify]:  Bob^7 (Hill): Yes sir!x", "Bob",
                             "Hill", "s sir!", true},
                    ChatCase{"ColouredName", "[skipnotify]: ^1Red^7Bob^7 (Bridge): ^2Hi!x",
                             "^1Red^7Bob", "Bridge", "Hi!", false},
                    ChatCase{"NameWithBrackets", "[skipnotify]: (Bob)^7 (Bridge): ^2Hi!x", "(Bob)",
                             "Bridge", "Hi!", false},
                    // A message holding "):" moves every cut; the line is still stored.
                    ChatCase{"MessageWithCloser", "[skipnotify]: Bob^7 (Base): ^2a): bx", "ob",
                             "Base): ^2a", "", true},
                    ChatCase{"NoCloserAfterName", "[skipnotify]: Bob^7: ^2Hi!x",
                             "[err]unnamedplayer", "", "ob^7: ^2Hi!", true},
                    ChatCase{"NoCloser", "[skipnotify]: Bob says hix", "[err]unnamedplayer", "",
                             "ob says hi", true},
                    ChatCase{"NonAscii",
                             "[skipnotify]: J\xC3\xBCrgen^7 (Stra\xC3\x9F"
                             "e): ^2Gr\xC3\xBC\xC3\x9F"
                             "e\xC3\xA9",
                             "J\xC3\xBCrgen",
                             "Stra\xC3\x9F"
                             "e",
                             "Gr\xC3\xBC\xC3\x9F"
                             "e",
                             false},
                    ChatCase{"PrefixOnly", "[skipnotify]:", "[err]unnamedplayer", "", "", true}),
    [](const testing::TestParamInfo<ChatCase>& info) { return std::string(info.param.name); });

class TextChat : public testing::TestWithParam<ChatCase> {};

TEST_P(TextChat, StoresEntry) {
    AnalysisStore store;
    ParseTextChatLine(store, GetParam().line);
    ASSERT_EQ(store.TextChats.size(), 2u);
    ExpectEntry(store, store.TextChats[1], GetParam());
    EXPECT_EQ(store.Players[store.TextChats[1].Player].TextChatCount, 1);
    EXPECT_EQ(test::CounterSum(store.Players[store.TextChats[1].Player]), 1);
    EXPECT_EQ(store.VoiceChats.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, TextChat,
    testing::Values(ChatCase{"Plain", "[skipnotify]Bob^7: ^2hello there", "Bob", "Unknown",
                             "hello there", false},
                    ChatCase{"PlainColouredName", "[skipnotify]^1Bob^7: ^2hi ^3you", "^1Bob",
                             "Unknown", "hi ^3you", false},
                    ChatCase{"PlainFirstMarkerDecides", "[skipnotify]Bob^7: ^2a^7: ^2b", "Bob",
                             "Unknown", "a^7: ^2b", false},
                    ChatCase{"PlainWithoutMarker", "[skipnotify]just a colon: here",
                             "[err]unnamedplayer", "Unknown", " colon: here", false},
                    ChatCase{"PlainShortLine", "[skipnotify]a:", "[err]unnamedplayer", "Unknown",
                             "", false},
                    ChatCase{"Located", "[skipnotify](Bob^7) (Axis Base): ^5hello", "Bob",
                             "Axis Base", "hello", true},
                    ChatCase{"LocatedNoBlank", "[skipnotify](Bob^7) (Axis Base):^5hello", "Bob",
                             "Axis Base", "hello", true},
                    ChatCase{"LocatedMessageHoldsMarker", "[skipnotify](Bob^7) (Base):^5see): ^5x",
                             "Bob", "Base", "see): ^5x", true},
                    ChatCase{"LocatedNonAscii",
                             "[skipnotify](J\xC3\xBCrgen^7) (Br\xC3\xBC"
                             "cke): ^5s\xC3\xBC\xC3\x9F",
                             "J\xC3\xBCrgen",
                             "Br\xC3\xBC"
                             "cke",
                             "s\xC3\xBC\xC3\x9F", true},
                    ChatCase{"LocatedWithoutNameMarker", "[skipnotify](Bob) (Base): ^5hi",
                             "[err]unnamedplayer", "Bob) (Base", "hi", true},
                    ChatCase{"ParenButNoLocatedMarker", "[skipnotify](Bob^7) (Base): ^2hi",
                             "[err]unnamedplayer", "Unknown", ") (Base): ^2hi", false}),
    [](const testing::TestParamInfo<ChatCase>& info) { return std::string(info.param.name); });

TEST(OtherLine, KeptWholeWithPrefix) {
    AnalysisStore store;
    store.RecordUnknownLine("[skipnotify]server: restart");
    store.RecordUnknownLine("");
    ASSERT_EQ(store.UnknownLines.size(), 3u);
    EXPECT_EQ(store.UnknownLines[1], "[skipnotify]server: restart");
    EXPECT_EQ(store.UnknownLines[2], "");
    EXPECT_EQ(store.PlayerCount(), 0);
}

TEST(Chat, SpeakersShareRecordsAcrossChatKinds) {
    AnalysisStore store;
    ParseTextChatLine(store, "[skipnotify]Bob^7: ^2one");
    ParseVoiceChatLine(store, "[skipnotify]: Bob^7 (Base): ^2two!");
    ParseTextChatLine(store, "[skipnotify](Bob^7) (Base): ^5three");
    ASSERT_EQ(store.PlayerCount(), 1);
    EXPECT_EQ(store.Players[1].TextChatCount, 2);
    EXPECT_EQ(store.Players[1].VoiceChatCount, 1);
}

} // namespace
} // namespace qla
