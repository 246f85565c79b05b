// Each log language's routines, by the language's number.
#include "languages/languages.h"

#include "languages/english/english.h"
#include "languages/german/german.h"

namespace qla {

namespace {

constexpr LanguageRoutines kEnglishRoutines{ClassifyLine,        ParseKillLine,
                                            ParseSuicideLine,    ParseTeamkillLine,
                                            EnglishFullLanguage, kEnglishRenamePhrase};
constexpr LanguageRoutines kGermanRoutines{ClassifyGermanLine,     ParseGermanKillLine,
                                           ParseGermanSuicideLine, ParseGermanTeamkillLine,
                                           GermanFullLanguage,     kGermanRenamePhrase};

} // namespace

const LanguageRoutines& RoutinesOf(LogLanguage language) {
    return language == LogLanguage::German ? kGermanRoutines : kEnglishRoutines;
}

} // namespace qla
