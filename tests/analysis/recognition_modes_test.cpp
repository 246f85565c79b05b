// One line of each shape the game writes, analysed in both recognition modes: full mode gives
// what the line means, classic mode what the original phrase tables make of it (which must not
// change). Each outcome is written from the rules by hand.
#include "analysis/analysis.h"
#include "core/weapons.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qla {
namespace {

AnalysisStore StoreOf(const std::vector<std::string>& lines) {
    AnalysisStore store;
    store.LogLines = LogLineList::FromLines(lines);
    store.LogFileLoaded = true;
    return store;
}

std::string ChatText(const AnalysisStore& store, const char* kind, const ChatEntry& chat) {
    return std::string(kind) + " speaker=" + store.Players[chat.Player].Name +
           " location=" + std::string(store.LocationOf(chat)) + (chat.IsTeam ? " team" : " all") +
           " message=" + std::string(chat.Text);
}

// What the analysis stored for a log of one line, in one short text.
std::string Outcome(const std::string& line, LogLanguage language, Recognition recognition) {
    AnalysisStore store = StoreOf({line});
    const AnalysisTotals totals = AnalyzeLog(store, language, recognition);
    if (totals.Total != 1)
        return "total " + std::to_string(totals.Total);
    if (totals.Kills + totals.Teamkills == 1) {
        const KillEvent& event = store.KillEvents.at(1);
        return std::string(totals.Kills == 1 ? "kill" : "tk") +
               " victim=" + store.Players[event.Victim].Name +
               " killer=" + store.Players[event.Killer].Name +
               " weapon=" + std::string(event.Weapon());
    }
    if (totals.Deaths == 1) {
        const PlayerRecord& player = store.Players.at(1);
        for (WeaponId cause = 1; cause < kDeathSlots; ++cause) {
            if (player.Deaths[cause] == 1)
                return "died player=" + player.Name +
                       " cause=" + std::string(WeaponDisplayName(cause));
        }
        return "died without cause";
    }
    if (totals.VoiceChats == 1)
        return ChatText(store, "vsay", store.VoiceChats.at(1));
    if (totals.TextChats == 1)
        return ChatText(store, "say", store.TextChats.at(1));
    if (totals.Unknown == 1)
        return store.UnknownLines.size() == 2 && store.UnknownLines[1] == line ? "other" : "lost";
    return store.PlayerCount() == 0 ? "rename" : "rename with players";
}

struct ShapeCase {
    const char* name;
    LogLanguage language;
    std::string line;
    std::string full;
    std::string classic;
};

void PrintTo(const ShapeCase& c, std::ostream* os) {
    *os << c.line;
}

class RecognitionModes : public testing::TestWithParam<ShapeCase> {};

TEST_P(RecognitionModes, FullMode) {
    EXPECT_EQ(Outcome(GetParam().line, GetParam().language, Recognition::Full), GetParam().full);
}

TEST_P(RecognitionModes, ClassicMode) {
    EXPECT_EQ(Outcome(GetParam().line, GetParam().language, Recognition::Classic),
              GetParam().classic);
    // The mode left out is the classic one.
    AnalysisStore a = StoreOf({GetParam().line});
    AnalysisStore b = StoreOf({GetParam().line});
    const AnalysisTotals byDefault = AnalyzeLog(a, GetParam().language);
    const AnalysisTotals classic = AnalyzeLog(b, GetParam().language, Recognition::Classic);
    EXPECT_EQ(byDefault.Unknown, classic.Unknown);
    EXPECT_EQ(a.PlayerCount(), b.PlayerCount());
}

constexpr LogLanguage kEn = LogLanguage::English;
constexpr LogLanguage kDe = LogLanguage::German;

INSTANTIATE_TEST_SUITE_P(
    Shapes, RecognitionModes,
    testing::Values(
        // Chat, recognised by shape; the whole message is kept.
        ShapeCase{"PublicText", kEn, "[skipnotify]Bob^7: ^2hello there",
                  "say speaker=Bob location=Unknown all message=hello there",
                  "say speaker=Bob location=Unknown all message=hello there"},
        ShapeCase{"PublicTextNameWithColon", kEn, "[skipnotify]=:DoD:=Bob^7: ^2hi",
                  "say speaker==:DoD:=Bob location=Unknown all message=hi",
                  "say speaker==:DoD:=Bob location=Unknown all message=hi"},
        ShapeCase{"TeamText", kEn, "[skipnotify](Bob^7) (Axis Base): ^5hello",
                  "say speaker=Bob location=Axis Base team message=hello",
                  "say speaker=Bob location=Axis Base team message=hello"},
        ShapeCase{"TeamTextNoBlank", kEn, "[skipnotify](Bob^7) (Axis Base):^5hello",
                  "say speaker=Bob location=Axis Base team message=hello",
                  "say speaker=Bob location=Axis Base team message=hello"},
        ShapeCase{"TeamTextWithoutLocation", kEn, "[skipnotify](Swashy^7): ^5going north",
                  "say speaker=Swashy location=Unknown team message=going north",
                  "say speaker=[err]unnamedplayer location=Swashy^7 team message=going north"},
        ShapeCase{"PrivateText", kEn, "[skipnotify][Name^7]: ^6cover me",
                  "say speaker=Name location=Unknown team message=cover me",
                  "say speaker=[err]unnamedplayer location=Unknown all message=7]: ^6cover me"},
        ShapeCase{"PrivateTextWithLocation", kEn,
                  "[skipnotify][Name^7] (Allied Bunker): ^6follow me",
                  "say speaker=Name location=Allied Bunker team message=follow me",
                  "say speaker=[err]unnamedplayer location=Unknown all message=7] (Allied "
                  "Bunker): ^6follow me"},
        ShapeCase{"PublicVoice", kEn, "[skipnotify]: Name ^3(Axis Base): ^2I need ammo!",
                  "vsay speaker=Name location=Axis Base all message=I need ammo!",
                  "vsay speaker=Name location=Axis Base all message=I need ammo"},
        ShapeCase{"PublicVoiceWhiteName", kEn, "[skipnotify]: Bob^7 (Axis Base): ^2Medic!",
                  "vsay speaker=Bob location=Axis Base all message=Medic!",
                  "vsay speaker=Bob location=Axis Base all message=Medic"},
        ShapeCase{"TeamVoice", kEn, "[skipnotify]: (Bob^7)(Axis Base): ^5Medic!",
                  "vsay speaker=Bob location=Axis Base team message=Medic!",
                  "vsay speaker=Bob location=Axis Base team message=Medic"},
        ShapeCase{"TeamVoiceTwoBlanks", kEn, "[skipnotify]:  Bob^7 (Axis Base): ^5Medic!",
                  "vsay speaker=Bob location=Axis Base team message=Medic!",
                  "vsay speaker=Bob location=Axis Base team message=Medic"},
        ShapeCase{"VoiceNameEndingInParenthesis", kEn, "[skipnotify]: Smile :): ^2hi",
                  "vsay speaker=Smile :) location=Unknown all message=hi",
                  "vsay speaker=Smile :):  location= all message=h"},
        ShapeCase{"TextWithKillPhrase", kEn, "[skipnotify]Swashy^7: ^2lol I was killed by a bug",
                  "say speaker=Swashy location=Unknown all message=lol I was killed by a bug",
                  "kill victim=Swashy^7: ^2lol I killer=a bug weapon=unknown"},
        ShapeCase{"TextWithDeathPhrase", kEn, "[skipnotify]Hans Wurst^7: ^2my whole team died.",
                  "say speaker=Hans Wurst location=Unknown all message=my whole team died.",
                  "died player=Hans Wurst^7: ^2my whole team cause=Died"},
        ShapeCase{"TextWithColonsInMessage", kEn, "[skipnotify]Bob^7: ^2time: 10:30",
                  "say speaker=Bob location=Unknown all message=time: 10:30",
                  "say speaker=Bob location=Unknown all message=time: 10:30"},
        // Obituaries.
        ShapeCase{"Kill", kEn, "[skipnotify]Bob^7 was killed by Al^7's MP40",
                  "kill victim=Bob killer=Al weapon=MP40", "kill victim=Bob killer=Al weapon=MP40"},
        ShapeCase{"KillSupportFire", kEn, "[skipnotify]Bob^7 was blasted by Al^7's support fire",
                  "kill victim=Bob killer=Al weapon=Airstrike",
                  "kill victim=Bob killer=Al weapon=Airstrike"},
        ShapeCase{"KillUnknownWeapon", kEn, "[skipnotify]Bob^7 was killed by Al^7's Colt",
                  "kill victim=Bob killer=Al weapon=unknown",
                  "kill victim=Bob killer=Al^7's Colt weapon=unknown"},
        ShapeCase{"KillerNameWithBy", kEn, "[skipnotify]Bob^7 was killed by Stand by Me^7's MP40",
                  "kill victim=Bob killer=Stand by Me weapon=MP40",
                  "kill victim=Bob killer=Me weapon=MP40"},
        ShapeCase{"KillByArtillery", kEn,
                  "[skipnotify]Bob^7 was shelled by Al^7's artillery support",
                  "kill victim=Bob killer=Al weapon=Airstrike", "other"},
        ShapeCase{"Teamkill", kEn, "[skipnotify]Bob^7 WAS KILLED BY TEAMMATE^7 Al",
                  "tk victim=Bob killer=Al weapon=Teamkill",
                  "tk victim=Bob killer=Al weapon=Teamkill"},
        ShapeCase{"Died", kEn, "[skipnotify]Bob^7 died.", "died player=Bob cause=Died",
                  "died player=Bob cause=Died"},
        ShapeCase{"KilledHimself", kEn, "[skipnotify]Bob^7 killed himself.",
                  "died player=Bob cause=Killed himself", "died player=Bob cause=Killed himself"},
        ShapeCase{"Dynamited", kEn, "[skipnotify]Bob^7 dynamited himself to pieces.",
                  "died player=Bob cause=Dynamited himself", "other"},
        ShapeCase{"Crushed", kEn, "[skipnotify]Bob^7 was crushed.",
                  "died player=Bob cause=Was crushed", "other"},
        ShapeCase{"WorldDeath", kEn, "[skipnotify]Bob^7 was killed.",
                  "died player=Bob cause=Was killed", "other"},
        ShapeCase{"Machinegun", kEn, "[skipnotify]Bob^7 was riddled by machinegun fire",
                  "died player=Bob cause=Riddled by machinegun fire", "other"},
        ShapeCase{"KilledHerself", kEn, "[skipnotify]Alice^7 killed herself.",
                  "died player=Alice cause=Killed herself", "other"},
        ShapeCase{"HerOwnGrenade", kEn, "[skipnotify]Alice^7 dove on her own grenade.",
                  "died player=Alice cause=Dove on her own grenade", "other"},
        ShapeCase{"FireForEffect", kEn, "[skipnotify]Bob^7 fired-for-effect on himself.",
                  "died player=Bob cause=Fired-for-effect on himself", "other"},
        ShapeCase{"SlitThroat", kEn, "[skipnotify]Bob^7 slit his own throat.",
                  "died player=Bob cause=Slit his own throat", "other"},
        // Renames and the game's own messages.
        ShapeCase{"Rename", kEn, "[skipnotify]Bob^7 renamed to Al", "rename", "rename"},
        ShapeCase{"RenameToNameWithColon", kEn, "[skipnotify]Bob^7 renamed to =:DoD:=Bob", "rename",
                  "say speaker=[err]unnamedplayer location=Unknown all message=renamed to "
                  "=:DoD:=Bob"},
        ShapeCase{"PilotMessage", kEn, "[skipnotify]Pilot: ^3Aborting, can't see target.", "other",
                  "say speaker=[err]unnamedplayer location=Unknown all message= ^3Aborting, "
                  "can't see target."},
        ShapeCase{"ClientWarning", kEn,
                  "[skipnotify]WARNING: CG_ReadNextSnapshot: way out of range, 2130 vs 2131",
                  "other",
                  "say speaker=[err]unnamedplayer location=Unknown all message=G: "
                  "CG_ReadNextSnapshot: way out of range, 2130 vs 2131"},
        ShapeCase{"Complaint", kEn, "[skipnotify]^1Warning^7: Complaint filed against you.",
                  "other", "other"},
        ShapeCase{"SpamNotice", kEn, "[skipnotify]^1Spam Protection^7: ^3slow down", "other",
                  "other"},
        ShapeCase{"VoicePrefixWithoutShape", kEn, "[skipnotify]: nothing here", "other",
                  "vsay speaker=[err]unnamedplayer location= team message=othing her"},
        ShapeCase{"EngineLine", kEn, "Hunk reset, 56.3 MB free", "other", "other"},

        // German: the chat shapes are the same; the obituary wording is the game's German.
        ShapeCase{"GermanTeamTextWithoutLocation", kDe, "[skipnotify](Swashy^7): ^5nach Norden",
                  "say speaker=Swashy location=Unknown team message=nach Norden",
                  "say speaker=[err]unnamedplayer location=Swashy^7 team message=nach Norden"},
        ShapeCase{"GermanVoice", kDe, "[skipnotify]: Hans ^3(Achsenbasis): ^2Sanitäter!",
                  "vsay speaker=Hans location=Achsenbasis all message=Sanitäter!",
                  "vsay speaker=Hans location=Achsenbasis all message=Sanitäter"},
        ShapeCase{"GermanTextWithKillPhrase", kDe,
                  "[skipnotify]Hans Wurst^7: ^2ich wurde getötet von einem Bug",
                  "say speaker=Hans Wurst location=Unknown all message=ich wurde getötet von "
                  "einem Bug",
                  "kill victim=Hans Wurst^7: ^2i killer=einem Bug weapon=unknown"},
        ShapeCase{"GermanTextWithDeathPhrase", kDe, "[skipnotify]Hans^7: ^2ich starb.",
                  "say speaker=Hans location=Unknown all message=ich starb.",
                  "died player=Hans^7: ^2ich cause=Died"},
        ShapeCase{"GermanKill", kDe, "[skipnotify]Bob^7 wurde getötet von Al - MP40",
                  "kill victim=Bob killer=Al weapon=MP40", "kill victim=Bob killer=Al weapon=MP40"},
        ShapeCase{"GermanKillPanzerfaust", kDe,
                  "[skipnotify]Bob^7 wurde erledigt von Al^7 - Panzerfaust",
                  "kill victim=Bob killer=Al weapon=Panzerfaust",
                  "kill victim=Bob killer=Al weapon=Panzerfaust"},
        ShapeCase{"GermanTeamkill", kDe, "[skipnotify]Bob^7 STARB DURCH TEAMKAMERAD^7 Al",
                  "tk victim=Bob killer=Al weapon=Teamkill",
                  "tk victim=Bob killer=Al weapon=Teamkill"},
        ShapeCase{"GermanObliterated", kDe, "[skipnotify]Bob hat sich selbst erledigt.",
                  "died player=Bob cause=Obliterated himself",
                  "died player=Bob cause=Obliterated himself"},
        ShapeCase{"GermanFallOneStop", kDe, "[skipnotify]Bob stürzte sich zu Tode.",
                  "died player=Bob cause=Fell to his death", "other"},
        ShapeCase{"GermanFallTwoStops", kDe, "[skipnotify]Bob stürzte sich zu Tode..",
                  "died player=Bob cause=Fell to his death",
                  "died player=Bob cause=Fell to his death"},
        ShapeCase{"GermanRenameToNameWithColon", kDe,
                  "[skipnotify]Bob^7 hat sich umbenannt in =:DoD:=Bob", "rename",
                  "say speaker=[err]unnamedplayer location=Unknown all message=hat sich "
                  "umbenannt in =:DoD:=Bob"},
        ShapeCase{"GermanPilot", kDe, "[skipnotify]Pilot: ^3Ziel nicht sichtbar.", "other",
                  "other"}),
    [](const testing::TestParamInfo<ShapeCase>& info) { return std::string(info.param.name); });

// The game cuts obituary names to 29 characters and writes "^7" after them; chat lines carry
// the whole name. The name below has 33 characters.
const std::string kLongName = "LongNameOfThirtyThreeCharacters!!";
const std::string kCutName = kLongName.substr(0, 29);

TEST(CutObituaryNames, FullModeFilesTheCutNameUnderTheChatName) {
    const std::vector<std::string> lines = {
        "[skipnotify]" + kLongName + "^7: ^2hi all",
        "[skipnotify]" + kCutName + "^7 was killed by Al^7's MP40",
        "[skipnotify]Al^7 was killed by " + kCutName + "^7's Thompson",
        "[skipnotify]" + kCutName + "^7 died.",
        "[skipnotify]" + kCutName + "^7 WAS KILLED BY TEAMMATE^7 Al",
    };
    AnalysisStore full = StoreOf(lines);
    AnalyzeLog(full, LogLanguage::English, Recognition::Full);
    ASSERT_EQ(full.PlayerCount(), 2);
    const PlayerRecord& player = full.Players[1];
    EXPECT_EQ(player.Name, kLongName);
    EXPECT_EQ(player.TextChatCount, 1);
    EXPECT_EQ(player.Kills[0], 1);
    EXPECT_EQ(player.Deaths[0], 2); // the kill and the death; the teamkill counts apart
    EXPECT_EQ(player.Deaths[kWeaponTeamkill], 1);

    AnalysisStore classic = StoreOf(lines);
    AnalyzeLog(classic, LogLanguage::English, Recognition::Classic);
    EXPECT_EQ(classic.PlayerCount(), 3); // the long name, the cut name and Al
}

TEST(CutObituaryNames, AmbiguousOrUnknownStartsStayAsWritten) {
    const std::string otherLong = kCutName + "Else";
    AnalysisStore store = StoreOf({
        "[skipnotify]" + kCutName + "^7 died.", // no chat name known yet
        "[skipnotify]" + kLongName + "^7: ^2hi",
        "[skipnotify]" + kCutName + "^7 died.", // now one name starts with it
        "[skipnotify]" + otherLong + "^7: ^2me too",
        "[skipnotify]" + kCutName + "^7 died.", // two names start with it: ambiguous
        "[skipnotify]Short^7: ^2x",
        "[skipnotify]Sho^7 died.", // short names are never cut, so never matched
    });
    AnalyzeLog(store, LogLanguage::English, Recognition::Full);
    const auto cut = store.FindPlayer(kCutName);
    const auto whole = store.FindPlayer(kLongName);
    ASSERT_TRUE(cut && whole);
    EXPECT_EQ(store.Players[*cut].Deaths[0], 2);
    EXPECT_EQ(store.Players[*whole].Deaths[0], 1);
    ASSERT_TRUE(store.FindPlayer("Sho"));
    EXPECT_EQ(store.Players[*store.FindPlayer("Short")].Deaths[0], 0);
}

TEST(FullRecognition, TotalsCountEveryLineOnce) {
    AnalysisStore store = StoreOf({
        "[skipnotify]Bob^7 was shelled by Al^7's artillery support",
        "[skipnotify]Bob^7 was crushed.",
        "[skipnotify]Bob^7 WAS KILLED BY TEAMMATE^7 Al",
        "[skipnotify]: Bob^7 (Base): ^2Medic!",
        "[skipnotify][Al^7]: ^6psst",
        "[skipnotify]Bob^7 renamed to B:o:b",
        "[skipnotify]Pilot: ^3Aborting, can't see target.",
        "engine line",
    });
    const AnalysisTotals t = AnalyzeLog(store, LogLanguage::English, Recognition::Full);
    EXPECT_EQ((std::vector<std::int64_t>{t.Kills, t.Deaths, t.Teamkills, t.VoiceChats, t.TextChats,
                                         t.Unknown, t.Total}),
              (std::vector<std::int64_t>{1, 3, 1, 1, 1, 2, 8}));
    EXPECT_EQ(store.UnknownLines.size(), 3u);
    // Every death is counted in the victim's total; the teamkill death only under its code.
    const PlayerRecord& bob = store.Players[*store.FindPlayer("Bob")];
    EXPECT_EQ(bob.Deaths[0], 2);
    EXPECT_EQ(bob.Deaths[14], 1);
    EXPECT_EQ(bob.Deaths[25], 1);
    EXPECT_EQ(bob.Deaths[kWeaponTeamkill], 1);
}

} // namespace
} // namespace qla
