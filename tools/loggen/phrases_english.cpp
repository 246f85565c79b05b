// The English wording of the game's console log.
#include "phrases.h"

namespace loggen {

const Phrases& englishPhrases() {
    static const Phrases phrases{
        .possessive = "'s ",
        .kills =
            {
                {"was stabbed by", "knife", 30},
                {"was killed by", "Luger 9mm", 60},
                {"was killed by", "MP40", 140},
                {"was killed by", "Thompson", 120},
                {"was killed by", "Sten", 50},
                {"was killed by", ".45ACP 1911", 50},
                {"was killed by", "sniper rifle", 40},
                {"was killed by", "Mauser", 40},
                // Weapons the game names but the analyzer does not know. Rare: the analyzer files
                // each such kill under a player named after killer and weapon.
                {"was killed by", "Colt", 2, true},
                {"was killed by", "FG42", 2, true},
                {"was killed by", "", 2},
                {"was exploded by", "grenade", 60},
                {"was blasted by", "dynamite", 20},
                {"was blasted by", "Panzerfaust", 50},
                {"was blasted by", "support fire", 20},
                {"was blasted by", "mortar", 2, true},
                {"was ventilated by", "Venom", 30},
                {"was cooked by", "flamethrower", 30},
                {"was perforated by", "crew-served MG42", 30},
            },
        .suicideTails = {"killed himself.", "dove on his own grenade.", "obliterated himself.",
                         "vaporized himself.", "died.", "drowned.", "fell to his death."},
        .teamkill = "WAS KILLED BY TEAMMATE^7",
        .renamed = "renamed to",
        .entered = "entered the game",
        .fireMission = "Fire Mission: ",
        .complaint = "^1Warning^7: Complaint filed against you.",
        .fireMissionTexts = {"Artillery on the way to grid C4.", "Target acquired, firing now!",
                             "Airstrike denied, battery reloading.",
                             "Smoke marked at the east bridge."},
        .voiceTexts = {"Medic!", "I need ammo!", "Follow me!", "Affirmative!", "Negative!",
                       "Enemy weakened!", "Hi!", "Thanks!", "Great shot!", "Cover me!", "Incoming!",
                       "Fire in the hole!", "Need backup!", "Sorry!"},
        .chatTexts = {"hello there", "gg", "need a medic at the bridge", "lol",
                      "who has the documents?", "nice shot!", "brb", "^3go go go", "thx m8",
                      "wtf, spawn killing again", "déjà vu", "100% accuracy, haha",
                      "<-- that guy camps", "gl & hf"},
        .locations = {"Axis Base", "Allied Spawn", "Bunker", "Town Square", "East Bridge",
                      "Radar Hut", "Church Tower", "Docks"},
        .lowerServerTexts = {"Map will restart in 10 seconds", "Warmup ends now",
                             "Teams have been shuffled"},
        .upperServerTexts = {"Timelimit hit.", "Allies captured the flag.",
                             "Kicking player for team damage."},
        .spamTexts = {"You are muted for 10 seconds.", "Too many chat messages."},
        .unprefixedLines = {"----- Client Initialization -----", "Sound memory manager started",
                            "Loading map qv_harbour ...", "Hunk reset, 56.3 MB free",
                            "^3WARNING: unknown setting 'cl_fancy'",
                            "Connecting to 10.0.0.7:27960 ...", "Game version 1.42 linux-i386",
                            "Shaders compiled: 1204", "------------------------------------"},
    };
    return phrases;
}

const Phrases& phrasesFor(Language language) {
    return language == Language::German ? germanPhrases() : englishPhrases();
}

} // namespace loggen
