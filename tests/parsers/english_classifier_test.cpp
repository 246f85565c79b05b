// The English line classifier: every rule and the order in which the rules apply.
#include "languages/english/english.h"

#include <gtest/gtest.h>

#include <string>

namespace qla {
namespace {

struct KindCase {
    const char* name;
    std::string line;
    std::string_view kind;
};

class EnglishClassifier : public testing::TestWithParam<KindCase> {};

TEST_P(EnglishClassifier, GivesKind) {
    EXPECT_EQ(LineKindText(ClassifyLine(GetParam().line)), GetParam().kind) << GetParam().line;
}

INSTANTIATE_TEST_SUITE_P(
    Rules, EnglishClassifier,
    testing::Values(
        KindCase{"Empty", "", "none"}, KindCase{"NoPrefix", "Bob was killed by Al's MP40", "none"},
        KindCase{"PrefixNotAtStart", " [skipnotify]Bob was killed by Al's MP40", "none"},
        KindCase{"PrefixCaseMatters", "[SKIPNOTIFY]Bob died.", "none"},
        KindCase{"PrefixOnly", "[skipnotify]", "none"},
        KindCase{"LowerServer", "[skipnotify]server: map restart", "server"},
        KindCase{"LowerServerBeatsKill", "[skipnotify]server: Bob was killed by Al", "server"},
        KindCase{"VoiceSay", "[skipnotify]: Bob^7 (Base): ^2Medic!", "vsay"},
        KindCase{"VoiceSayBeatsKill", "[skipnotify]: Bob^7: ^2Al was killed by me", "vsay"},
        KindCase{"KilledBy", "[skipnotify]Bob was killed by Al's MP40", "kill"},
        KindCase{"StabbedBy", "[skipnotify]Bob was stabbed by Al's knife", "kill"},
        KindCase{"BlastedBy", "[skipnotify]Bob was blasted by Al's Panzerfaust", "kill"},
        KindCase{"ExplodedBy", "[skipnotify]Bob was exploded by Al's grenade", "kill"},
        KindCase{"CookedBy", "[skipnotify]Bob was cooked by Al's flamethrower", "kill"},
        KindCase{"PerforatedBy", "[skipnotify]Bob was perforated by Al's MG42", "kill"},
        KindCase{"VentilatedBy", "[skipnotify]Bob was ventilated by Al's Venom", "kill"},
        KindCase{"PhraseCaseMatters", "[skipnotify]Bob Was Killed By Al", "none"},
        KindCase{"Teamkill", "[skipnotify]Bob^7 WAS KILLED BY TEAMMATE^7 Al", "tk"},
        KindCase{"StabbedBeatsTeamkill", "[skipnotify]Bob WAS KILLED BY TEAMMATE was stabbed by",
                 "kill"},
        KindCase{"BlastedBeatsTeamkill", "[skipnotify]was blasted by WAS KILLED BY TEAMMATE",
                 "kill"},
        KindCase{"TeamkillBeatsExploded", "[skipnotify]Bob WAS KILLED BY TEAMMATE was exploded by",
                 "tk"},
        KindCase{"TeamkillBeatsVentilated",
                 "[skipnotify]was ventilated by x WAS KILLED BY TEAMMATE", "tk"},
        KindCase{"Died", "[skipnotify]Bob died.", "died"},
        KindCase{"Drowned", "[skipnotify]Bob drowned.", "died"},
        KindCase{"Fell", "[skipnotify]Bob fell to his death.", "died"},
        KindCase{"KilledHimself", "[skipnotify]Bob killed himself.", "died"},
        KindCase{"KilledHimselfNeedsStop", "[skipnotify]Bob killed himself", "none"},
        KindCase{"DoveOnGrenade", "[skipnotify]Bob dove on his own grenade.", "died"},
        KindCase{"Obliterated", "[skipnotify]Bob obliterated himself.", "died"},
        KindCase{"Vaporized", "[skipnotify]Bob vaporized himself.", "died"},
        KindCase{"DiedWithoutStop", "[skipnotify]Bob died", "none"},
        KindCase{"KillBeatsDied", "[skipnotify]Bob died. was killed by Al", "kill"},
        KindCase{"ChatWithKillPhraseIsKill", "[skipnotify]Bob^7: ^2Al was killed by me", "kill"},
        KindCase{"ChatWithDiedIsDied", "[skipnotify]Bob^7: ^2I died.", "died"},
        KindCase{"FireMission", "[skipnotify]Fire Mission: target acquired", "lt_say"},
        KindCase{"FireMissionLater", "[skipnotify]Bob^7: ^2Fire Mission: now", "say"},
        KindCase{"UpperServer", "[skipnotify]Server: welcome", "server"},
        KindCase{"Complaint", "[skipnotify]^1Warning^7: Complaint filed against you. Kicked soon",
                 "complaint"},
        KindCase{"ComplaintNeedsWholeText", "[skipnotify]^1Warning^7: Complaint filed", "say"},
        KindCase{"Spam", "[skipnotify]^1Spam Protection^7: wait", "spam"},
        KindCase{"TimedOutWithColon", "[skipnotify]Bob^7: timed out", "time out"},
        KindCase{"Say", "[skipnotify]Bob^7: ^2hello there", "say"},
        KindCase{"SayWithoutMarker", "[skipnotify]just a colon: here", "say"},
        KindCase{"LocatedSay", "[skipnotify](Bob^7) (Axis Base): ^5hello", "say"},
        KindCase{"Disconnected", "[skipnotify]Bob disconnected", "disconnect"},
        KindCase{"DisconnectedTrailingBlank", "[skipnotify]Bob disconnected ", "none"},
        KindCase{"DisconnectedAlone", "[skipnotify]disconnected", "disconnect"},
        KindCase{"TimedOut", "[skipnotify]Bob timed out", "time out"},
        KindCase{"DisconnectedBeatsTimedOut", "[skipnotify]timed out disconnected", "disconnect"},
        KindCase{"Rename", "[skipnotify]Bob renamed to Al", "rename"},
        KindCase{"TimedOutBeatsRename", "[skipnotify]Bob renamed to timed out", "time out"},
        KindCase{"RenameWithColonIsSay", "[skipnotify]Bob renamed to Al:x", "say"},
        KindCase{"OtherLine", "[skipnotify]Bob entered the game", "none"},
        KindCase{"NonAsciiName", "[skipnotify]J\xC3\xBCrgen was killed by Al's MP40", "kill"}),
    [](const testing::TestParamInfo<KindCase>& info) { return std::string(info.param.name); });

TEST(LineKindText, NamesEveryKind) {
    const std::pair<LineKind, std::string_view> kinds[] = {{LineKind::Kill, "kill"},
                                                           {LineKind::Teamkill, "tk"},
                                                           {LineKind::Died, "died"},
                                                           {LineKind::VoiceSay, "vsay"},
                                                           {LineKind::Say, "say"},
                                                           {LineKind::Rename, "rename"},
                                                           {LineKind::LtSay, "lt_say"},
                                                           {LineKind::Server, "server"},
                                                           {LineKind::Complaint, "complaint"},
                                                           {LineKind::Spam, "spam"},
                                                           {LineKind::TimeOut, "time out"},
                                                           {LineKind::Disconnect, "disconnect"},
                                                           {LineKind::None, "none"}};
    for (const auto& [kind, text] : kinds) {
        EXPECT_EQ(LineKindText(kind), text);
    }
}

} // namespace
} // namespace qla
