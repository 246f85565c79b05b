// The German line classifier: its phrases and the shared order of tests.
#include "languages/german/german.h"

#include <gtest/gtest.h>

#include <string>

namespace qla {
namespace {

struct KindCase {
    const char* name;
    std::string line;
    std::string_view kind;
};

class GermanClassifier : public testing::TestWithParam<KindCase> {};

TEST_P(GermanClassifier, GivesKind) {
    EXPECT_EQ(LineKindText(ClassifyGermanLine(GetParam().line)), GetParam().kind)
        << GetParam().line;
}

INSTANTIATE_TEST_SUITE_P(
    Rules, GermanClassifier,
    testing::Values(
        KindCase{"Empty", "", "none"},
        KindCase{"NoPrefix", "Bob^7 wurde getötet von Al - MP40", "none"},
        KindCase{"LowerServer", "[skipnotify]server: Bob wurde getötet von Al", "server"},
        KindCase{"VoiceSay", "[skipnotify]: Bob^7 (Basis): ^2Sanitäter!", "vsay"},
        KindCase{"Getoetet", "[skipnotify]Bob^7 wurde getötet von Al - MP40", "kill"},
        KindCase{"Erstochen", "[skipnotify]Bob^7 wurde erstochen von Al - Messer", "kill"},
        KindCase{"Erledigt", "[skipnotify]Bob^7 wurde erledigt von Al - Panzerfaust", "kill"},
        KindCase{"Gesprengt", "[skipnotify]Bob^7 wurde gesprengt von Al - Granate", "kill"},
        KindCase{"GeroestedSpelling", "[skipnotify]Bob^7 wurde gerösted von Al - Flammenwerfer",
                 "kill"},
        KindCase{"GeroestetSpelling", "[skipnotify]Bob^7 wurde geröstet von Al - Flammenwerfer",
                 "kill"},
        KindCase{"Durchsiebt", "[skipnotify]Bob^7 wurde durchsiebt von Al - MG42", "kill"},
        KindCase{"Ventiliert", "[skipnotify]Bob^7 wurde ventiliert von Al - Venom", "kill"},
        KindCase{"Teamkill", "[skipnotify]Bob^7 STARB DURCH TEAMKAMERAD^7 Al", "tk"},
        KindCase{"ErledigtBeatsTeamkill", "[skipnotify]STARB DURCH TEAMKAMERAD wurde erledigt von",
                 "kill"},
        KindCase{"TeamkillBeatsGesprengt",
                 "[skipnotify]wurde gesprengt von STARB DURCH TEAMKAMERAD", "tk"},
        KindCase{"TeamkillBeatsGeroestet", "[skipnotify]wurde geröstet von STARB DURCH TEAMKAMERAD",
                 "tk"},
        KindCase{"Starb", "[skipnotify]Bob starb.", "died"},
        KindCase{"Ertrunken", "[skipnotify]Bob ist ertrunken.", "died"},
        KindCase{"StuerzteTwoStops", "[skipnotify]Bob stürzte sich zu Tode..", "died"},
        KindCase{"StuerzteOneStop", "[skipnotify]Bob stürzte sich zu Tode.", "none"},
        KindCase{"ToeteteNoStop", "[skipnotify]Bob tötete sich selbst", "died"},
        KindCase{"Granate", "[skipnotify]Bob starb durch seine Granate.", "died"},
        KindCase{"SelbstErledigt", "[skipnotify]Bob hat sich selbst erledigt.", "died"},
        KindCase{"EnglishKillIsNone", "[skipnotify]Bob was killed by Al's MP40", "none"},
        KindCase{"EnglishDiedIsNone", "[skipnotify]Bob died.", "none"},
        KindCase{"EnglishTeamkillIsNone", "[skipnotify]Bob^7 WAS KILLED BY TEAMMATE^7 Al", "none"},
        KindCase{"Pilot", "[skipnotify]Pilot: Ziel erfasst", "lt_say"},
        KindCase{"FireMissionIsSay", "[skipnotify]Fire Mission: go", "say"},
        KindCase{"UpperServer", "[skipnotify]Server: Willkommen", "server"},
        KindCase{"Complaint", "[skipnotify]^1Warnung^7: Beschwerde gegen Sie ingereicht. Bitte",
                 "complaint"},
        KindCase{"EnglishComplaintIsSay", "[skipnotify]^1Warning^7: Complaint filed against you.",
                 "say"},
        KindCase{"Spam", "[skipnotify]^1Spam Protection^7: warten", "spam"},
        KindCase{"TimedOutWithColon", "[skipnotify]Bob^7: timed out", "time out"},
        KindCase{"Say", "[skipnotify]Bob^7: ^2hallo", "say"},
        KindCase{"Disconnected", "[skipnotify]Bob disconnected", "disconnect"},
        KindCase{"DisconnectedTrailingBlank", "[skipnotify]Bob disconnected ", "none"},
        KindCase{"TimedOut", "[skipnotify]Bob timed out", "time out"},
        KindCase{"Rename", "[skipnotify]Bob hat sich umbenannt in Al", "rename"},
        KindCase{"EnglishRenameIsNone", "[skipnotify]Bob renamed to Al", "none"},
        KindCase{"RenameWithColonIsSay", "[skipnotify]Bob hat sich umbenannt in A:l", "say"}),
    [](const testing::TestParamInfo<KindCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace qla
