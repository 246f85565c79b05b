// The German line classifier: the shared order of tests with the German phrases.
#include "parsers/classifier.h"
#include "languages/german/german.h"

namespace qla {

namespace {

// "wurde gerösted von" and "wurde geröstet von" are both flamethrower kills.
constexpr ClassifierLanguage kGerman{
    .KillPhrases = {"wurde getötet von", "wurde erstochen von", "wurde erledigt von",
                    "wurde gesprengt von", "wurde gerösted von", "wurde geröstet von",
                    "wurde durchsiebt von", "wurde ventiliert von"},
    .KillsBeforeTeamkill = 3,
    .TeamkillPhrase = "STARB DURCH TEAMKAMERAD",
    .DeathPhrases = {"starb.", "ist ertrunken.", "stürzte sich zu Tode..", "tötete sich selbst",
                     "starb durch seine Granate.", "hat sich selbst erledigt."},
    .LtSayPrefix = "[skipnotify]Pilot:",
    .ComplaintPrefix = "[skipnotify]^1Warnung^7: Beschwerde gegen Sie ingereicht.",
    .RenamePhrase = kGermanRenamePhrase,
};

} // namespace

LineKind ClassifyGermanLine(std::string_view line) {
    return ClassifyWith(kGerman, line);
}

LineKind ClassifyGermanLine(std::string_view line, ClassifiedKill& kill) {
    kill.Phrases = &kGerman.KillPhrases;
    return ClassifyWith(kGerman, line, kill.Mask);
}

} // namespace qla
