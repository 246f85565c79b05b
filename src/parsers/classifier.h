// The line classifier shared by every log language: the order of the tests is fixed, the phrases
// come from a language table in the language's folder (src/languages).
#pragma once

#include "core/phrase_set.h"
#include "line_kind.h"

#include <cstdint>
#include <string_view>

namespace qla {

inline constexpr std::string_view kSkipNotify = "[skipnotify]";

struct ClassifierLanguage {
    // Kill phrases; the first KillsBeforeTeamkill of them are tested before the teamkill phrase,
    // the rest after it. Every kill phrase gives "kill", so only that split matters.
    PhraseSet KillPhrases;
    std::size_t KillsBeforeTeamkill;
    std::string_view TeamkillPhrase;
    PhraseSet DeathPhrases;
    std::string_view LtSayPrefix;     // whole prefix, "[skipnotify]" included
    std::string_view ComplaintPrefix; // whole prefix, "[skipnotify]" included
    std::string_view RenamePhrase;
};

LineKind ClassifyWith(const ClassifierLanguage& language, std::string_view line);

// The same, also setting `killPhrases` to the mask of language.KillPhrases found in the line
// (meaningful when the result is "kill"), so that the kill parser need not search again.
LineKind ClassifyWith(const ClassifierLanguage& language, std::string_view line,
                      std::uint32_t& killPhrases);

} // namespace qla
