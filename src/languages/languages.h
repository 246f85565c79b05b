// The registration of the log languages: what the analysis run calls for each one. A new
// language is a folder beside english/ and german/ and one entry here and in languages.cpp.
#pragma once

#include "core/store.h"
#include "parsers/line_kind.h"

#include <cstdint>
#include <string_view>

namespace qla {

enum class LogLanguage : std::uint8_t { English = 0, German = 1 };

// The classifier reports the kill phrases it found, and the kill parser takes them, so a kill
// line is searched for its phrase once.
struct FullLanguage;

struct LanguageRoutines {
    LineKind (*Classify)(std::string_view line, ClassifiedKill& kill);
    void (*Kill)(AnalysisStore& store, std::string_view line, const ClassifiedKill& kill);
    void (*Suicide)(AnalysisStore& store, std::string_view line);
    void (*Teamkill)(AnalysisStore& store, std::string_view line);
    const FullLanguage& (*Full)(); // the tables of full recognition
    std::string_view RenamePhrase; // between the old and the new name of a rename line
};

const LanguageRoutines& RoutinesOf(LogLanguage language);

} // namespace qla
