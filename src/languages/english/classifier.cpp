// The English line classifier: the shared order of tests with the English phrases.
#include "parsers/classifier.h"
#include "languages/english/english.h"

namespace qla {

namespace {

constexpr ClassifierLanguage kEnglish{
    .KillPhrases = {"was killed by", "was stabbed by", "was blasted by", "was exploded by",
                    "was cooked by", "was perforated by", "was ventilated by"},
    .KillsBeforeTeamkill = 3,
    .TeamkillPhrase = "WAS KILLED BY TEAMMATE",
    .DeathPhrases = {"died.", "drowned.", "fell to his death.", "killed himself.",
                     "dove on his own grenade.", "obliterated himself.", "vaporized himself."},
    .LtSayPrefix = "[skipnotify]Fire Mission:",
    .ComplaintPrefix = "[skipnotify]^1Warning^7: Complaint filed against you.",
    .RenamePhrase = kEnglishRenamePhrase,
};

} // namespace

LineKind ClassifyLine(std::string_view line) {
    return ClassifyWith(kEnglish, line);
}

LineKind ClassifyLine(std::string_view line, ClassifiedKill& kill) {
    kill.Phrases = &kEnglish.KillPhrases;
    return ClassifyWith(kEnglish, line, kill.Mask);
}

} // namespace qla
