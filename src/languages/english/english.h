// The English log language: its classifier and obituary parsers, over the shared algorithms.
#pragma once

#include "parsers/full_language.h"
#include "parsers/line_kind.h"
#include "parsers/obituary_language.h"

#include <string_view>

namespace qla {

// Between the old and the new name of a rename line.
inline constexpr std::string_view kEnglishRenamePhrase = "renamed to";

LineKind ClassifyLine(std::string_view line);
// The same, also telling which kill phrases it found, for ParseKillLine.
LineKind ClassifyLine(std::string_view line, ClassifiedKill& kill);

void ParseKillLine(AnalysisStore& store, std::string_view line);
// The same for a line the classifier called "kill", reusing what it found.
void ParseKillLine(AnalysisStore& store, std::string_view line, const ClassifiedKill& kill);
void ParseSuicideLine(AnalysisStore& store, std::string_view line);
void ParseTeamkillLine(AnalysisStore& store, std::string_view line);

const KillLanguage& EnglishKillLanguage();
const SuicideLanguage& EnglishSuicideLanguage();

// The English tables of full recognition.
const FullLanguage& EnglishFullLanguage();

} // namespace qla
