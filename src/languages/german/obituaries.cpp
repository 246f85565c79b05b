// The German obituary phrases, weapon tails and markers. The German game writes " - Weapon"
// after the killer and "^7 " before "wurde", hence the other suffix and the 3 dropped characters.
#include "languages/german/german.h"
#include "parsers/obituary_language.h"

#include <iterator>

namespace qla {

namespace {

// "wurde getötet von": as in English, except that the rifle ends in "wehr". The cut is still
// by the length of "Sniper Rifle", whatever the German weapon word.
constexpr WeaponTail kGetoetetVonTails[] = {
    {" 9mm", "Luger 9mm", "Luger 9mm", 3},     {"MP40", "MP40", "MP40", 4},
    {"pson", "Thompson", "Thompson", 5},       {"Sten", "Sten", "Sten", 6},
    {"1911", ".45ACP 1911", ".45ACP 1911", 2}, {"wehr", "Sniper Rifle", "Sniper Rifle", 8},
    {"user", "Mauser", "Sniper Rifle", 8},
};

// "wurde erledigt von": the last 7 characters (the English table looks at 8).
constexpr WeaponTail kErledigtVonTails[] = {
    {"dynamit", "Dynamite", "Dynamite", 13},
    {"erfaust", "Panzerfaust", "Panzerfaust", 12},
    {"angriff", "Airstrike", "Airstrike", 14},
};

// Both spellings of the flamethrower phrase occur; each counts as a flamethrower kill.
constexpr KillLanguage kGermanKills{
    .Verbs = {"wurde erstochen von", "wurde getötet von", "wurde gesprengt von",
              "wurde erledigt von", "wurde ventiliert von", "wurde geröstet von",
              "wurde gerösted von", "wurde durchsiebt von"},
    .Weapons =
        {
            {"Knife", "Knife", 1},
            {"", "", kWeaponUnknown, kGetoetetVonTails, std::size(kGetoetetVonTails)},
            {"Grenade", "Grenade", 7},
            {"", "", kWeaponUnknown, kErledigtVonTails, std::size(kErledigtVonTails)},
            {"Venom", "Venom", 9},
            {"Flamethrower", "Flamethrower", 10},
            {"Flamethrower", "Flamethrower", 10},
            {"Crew-served MG42", "Crew-served MG42", 11},
        },
    .Separator = " von ",
    .Marker = "wurde",
    .DroppedBeforeMarker = 3,
    .KillerSuffix = " -",
};

// One German phrase stands for both "obliterated" and "vaporized", so cause 19 never occurs.
constexpr SuicideLanguage kGermanSuicides{
    .Phrases = {"tötete sich selbst", "starb durch seine Granate.", "hat sich selbst erledigt.",
                "starb.", "ist ertrunken.", "stürzte sich zu Tode."},
    .Suffixes = {" tötete sich selbst", " starb durch seine Granate.", " hat sich selbst erledigt.",
                 " starb.", " ist ertrunken.", " stürzte sich zu Tode."},
    .Causes = {16, 17, 18, 20, 21, 22},
};

constexpr TeamkillLanguage kGermanTeamkills{"STARB DURCH TEAMKAMERAD", "STARB DURCH TEAMKAMERAD^7"};

} // namespace

const KillLanguage& GermanKillLanguage() {
    return kGermanKills;
}
const SuicideLanguage& GermanSuicideLanguage() {
    return kGermanSuicides;
}

void ParseGermanKillLine(AnalysisStore& store, std::string_view line) {
    ParseKillLineWith(kGermanKills, store, line);
}

void ParseGermanKillLine(AnalysisStore& store, std::string_view line, const ClassifiedKill& kill) {
    ParseKillLineWith(kGermanKills, store, line, &kill);
}

void ParseGermanSuicideLine(AnalysisStore& store, std::string_view line) {
    ParseSuicideLineWith(kGermanSuicides, store, line);
}

void ParseGermanTeamkillLine(AnalysisStore& store, std::string_view line) {
    ParseTeamkillLineWith(kGermanTeamkills, store, line);
}

} // namespace qla
