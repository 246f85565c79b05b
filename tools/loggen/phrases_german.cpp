// The German wording of the game's console log (UTF-8 here; the sink re-encodes it).
#include "phrases.h"

namespace loggen {

// The analyzer cuts a fixed number of characters per weapon off the killer's end, taken from
// the English weapon name. German weapon words are chosen between that length and three
// characters longer, so the " - " suffix comes off cleanly and killers keep their names.
const Phrases& germanPhrases() {
    static const Phrases phrases{
        .possessive = " - ",
        .kills =
            {
                {"wurde erstochen von", "Messer", 30},
                {"wurde getötet von", "Luger 9mm", 60},
                {"wurde getötet von", "MP40", 140},
                {"wurde getötet von", "Thompson", 120},
                {"wurde getötet von", "Sten", 50},
                {"wurde getötet von", ".45ACP 1911", 50},
                {"wurde getötet von", "Snipergewehr", 40},
                {"wurde getötet von", "Mauser", 40},
                {"wurde getötet von", "Colt", 2, true},
                {"wurde getötet von", "Schrotflinte", 2, true},
                {"wurde getötet von", "", 2},
                {"wurde gesprengt von", "Granate", 60},
                {"wurde erledigt von", "Zeitdynamit", 20},
                {"wurde erledigt von", "Panzerfaust", 50},
                {"wurde erledigt von", "Luftangriff", 20},
                {"wurde erledigt von", "Mörser", 2, true},
                {"wurde ventiliert von", "Venom", 30},
                // Game versions differ in the spelling of the flamethrower phrase.
                {"wurde gerösted von", "Flammenwerfer", 20},
                {"wurde geröstet von", "Flammenwerfer", 20},
                {"wurde durchsiebt von", "stationäres MG42", 30},
            },
        .suicideTails = {"tötete sich selbst", "starb durch seine Granate.",
                         "hat sich selbst erledigt.", "starb.", "ist ertrunken.",
                         "stürzte sich zu Tode.."},
        .teamkill = "STARB DURCH TEAMKAMERAD^7",
        .renamed = "hat sich umbenannt in",
        .entered = "hat das Spiel betreten",
        .fireMission = "Pilot: ",
        .complaint = "^1Warnung^7: Beschwerde gegen Sie ingereicht.",
        .fireMissionTexts = {"Luftangriff unterwegs zu Planquadrat C4.", "Ziel erfasst, Feuer!",
                             "Artillerie lädt nach.", "Rauch an der Ostbrücke markiert."},
        .voiceTexts = {"Sanitäter!", "Brauche Munition!", "Folgt mir!", "Jawohl!", "Negativ!",
                       "Feind geschwächt!", "Hallo!", "Danke!", "Guter Schuss!", "Deckt mich!",
                       "Achtung!", "Granate!", "Brauche Verstärkung!", "Entschuldigung!"},
        .chatTexts = {"hallo zusammen", "gg", "brauche einen Sanitäter an der Brücke", "lol",
                      "wer hat die Dokumente?", "schöner Schuss!", "bin gleich zurück",
                      "^3los los los", "Grüße an alle", "Spawnkilling schon wieder, ärgerlich",
                      "Größe zählt nicht", "100% Treffer, haha", "<-- der campt",
                      "viel Glück & Spaß"},
        .locations = {"Achsenbasis", "Alliierter Spawn", "Bunker", "Marktplatz", "Ostbrücke",
                      "Radarhütte", "Kirchturm", "Hafen"},
        .lowerServerTexts = {"Karte startet in 10 Sekunden neu", "Aufwärmphase endet",
                             "Teams wurden gemischt"},
        .upperServerTexts = {"Zeitlimit erreicht.", "Alliierte haben die Flagge erobert.",
                             "Spieler wegen Teamschaden gekickt."},
        .spamTexts = {"Sie sind für 10 Sekunden stumm.", "Zu viele Nachrichten."},
        .unprefixedLines = {"----- Client Initialization -----", "Sound memory manager started",
                            "Lade Karte qv_hafen ...", "Hunk reset, 56.3 MB free",
                            "^3WARNUNG: unbekannte Einstellung 'cl_fancy'",
                            "Verbinde mit 10.0.0.7:27960 ...", "Game version 1.42 linux-i386",
                            "Shaders compiled: 1204", "------------------------------------"},
    };
    return phrases;
}

} // namespace loggen
