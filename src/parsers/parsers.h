// Event parsers: each takes one classified line, "[skipnotify]" prefix included, and updates the
// store. Malformed lines never stop an analysis: every cut is clamped to the text.
#pragma once

#include "core/line_kind.h"
#include "core/store.h"

#include <string_view>

namespace qla {

void ParseKillLine(AnalysisStore& store, std::string_view line);
// The same for a line the classifier called "kill", reusing what it found.
void ParseKillLine(AnalysisStore& store, std::string_view line, const ClassifiedKill& kill);
void ParseSuicideLine(AnalysisStore& store, std::string_view line);
void ParseTeamkillLine(AnalysisStore& store, std::string_view line);

LineKind ClassifyGermanLine(std::string_view line);
LineKind ClassifyGermanLine(std::string_view line, ClassifiedKill& kill);
void ParseGermanKillLine(AnalysisStore& store, std::string_view line);
void ParseGermanKillLine(AnalysisStore& store, std::string_view line, const ClassifiedKill& kill);
void ParseGermanSuicideLine(AnalysisStore& store, std::string_view line);
void ParseGermanTeamkillLine(AnalysisStore& store, std::string_view line);

// Shared by both languages. Text and Location of the stored entries are views into `line`,
// which must live as long as the store's entries (it is a line of store.LogLines).
void ParseVoiceChatLine(AnalysisStore& store, std::string_view line);
void ParseTextChatLine(AnalysisStore& store, std::string_view line);
void RecordOtherLine(AnalysisStore& store, std::string_view line);

} // namespace qla
