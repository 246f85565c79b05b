// The German log language: its classifier and obituary parsers, over the shared algorithms.
#pragma once

#include "parsers/full_language.h"
#include "parsers/line_kind.h"
#include "parsers/obituary_language.h"

#include <string_view>

namespace qla {

// Between the old and the new name of a rename line.
inline constexpr std::string_view kGermanRenamePhrase = "hat sich umbenannt in";

LineKind ClassifyGermanLine(std::string_view line);
// The same, also telling which kill phrases it found, for ParseGermanKillLine.
LineKind ClassifyGermanLine(std::string_view line, ClassifiedKill& kill);

void ParseGermanKillLine(AnalysisStore& store, std::string_view line);
// The same for a line the classifier called "kill", reusing what it found.
void ParseGermanKillLine(AnalysisStore& store, std::string_view line, const ClassifiedKill& kill);
void ParseGermanSuicideLine(AnalysisStore& store, std::string_view line);
void ParseGermanTeamkillLine(AnalysisStore& store, std::string_view line);

const KillLanguage& GermanKillLanguage();
const SuicideLanguage& GermanSuicideLanguage();

// The German tables of full recognition.
const FullLanguage& GermanFullLanguage();

} // namespace qla
