// The English obituary phrases, weapon tails and markers.
#include "languages/english/english.h"
#include "parsers/obituary_language.h"

#include <iterator>

namespace qla {

namespace {

// "was killed by": the last 4 characters name the weapon; a Mauser counts as a sniper rifle.
constexpr WeaponTail kKilledByTails[] = {
    {" 9mm", "Luger 9mm", "Luger 9mm", 3},     {"MP40", "MP40", "MP40", 4},
    {"pson", "Thompson", "Thompson", 5},       {"Sten", "Sten", "Sten", 6},
    {"1911", ".45ACP 1911", ".45ACP 1911", 2}, {"ifle", "Sniper Rifle", "Sniper Rifle", 8},
    {"user", "Mauser", "Sniper Rifle", 8},
};

// "was blasted by": the last 8 characters.
constexpr WeaponTail kBlastedByTails[] = {
    {"dynamite", "Dynamite", "Dynamite", 13},
    {"zerfaust", "Panzerfaust", "Panzerfaust", 12},
    {"ort fire", "Airstrike", "Airstrike", 14},
};

constexpr KillLanguage kEnglishKills{
    .Verbs = {"was stabbed by", "was killed by", "was exploded by", "was blasted by",
              "was ventilated by", "was cooked by", "was perforated by"},
    .Weapons =
        {
            {"Knife", "Knife", 1},
            {"", "", kWeaponUnknown, kKilledByTails, std::size(kKilledByTails)},
            {"Grenade", "Grenade", 7},
            {"", "", kWeaponUnknown, kBlastedByTails, std::size(kBlastedByTails)},
            {"Venom", "Venom", 9},
            {"Flamethrower", "Flamethrower", 10},
            {"Crew-served MG42", "Crew-served MG42", 11},
        },
    .Separator = " by ",
    .Marker = "was",
    .DroppedBeforeMarker = 1,
    .KillerSuffix = "'s",
};

// "killed himself" is searched without the full stop the classifier asks for; the one
// character left in front of the cut is a blank that normalising trims.
constexpr SuicideLanguage kEnglishSuicides{
    .Phrases = {"killed himself", "dove on his own grenade.", "obliterated himself.",
                "vaporized himself.", "died.", "drowned.", "fell to his death."},
    .Suffixes = {" killed himself", " dove on his own grenade.", " obliterated himself.",
                 " vaporized himself.", " died.", " drowned.", " fell to his death."},
    .Causes = {16, 17, 18, 19, 20, 21, 22},
};

constexpr TeamkillLanguage kEnglishTeamkills{"WAS KILLED BY", "WAS KILLED BY TEAMMATE^7"};

} // namespace

const KillLanguage& EnglishKillLanguage() {
    return kEnglishKills;
}
const SuicideLanguage& EnglishSuicideLanguage() {
    return kEnglishSuicides;
}

void ParseKillLine(AnalysisStore& store, std::string_view line) {
    ParseKillLineWith(kEnglishKills, store, line);
}

void ParseKillLine(AnalysisStore& store, std::string_view line, const ClassifiedKill& kill) {
    ParseKillLineWith(kEnglishKills, store, line, &kill);
}

void ParseSuicideLine(AnalysisStore& store, std::string_view line) {
    ParseSuicideLineWith(kEnglishSuicides, store, line);
}

void ParseTeamkillLine(AnalysisStore& store, std::string_view line) {
    ParseTeamkillLineWith(kEnglishTeamkills, store, line);
}

} // namespace qla
