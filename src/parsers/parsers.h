// Event parsers: each takes one classified line, "[skipnotify]" prefix included, and updates the
// store. Malformed lines never stop an analysis: every cut is clamped to the text.
#pragma once

#include "core/store.h"
#include "parsers/line_kind.h"

#include <string_view>

namespace qla {

// Each language's classifier and obituary parsers are declared in its folder under
// src/languages. The chat parsers are shared by every language; an unknown line is kept by the
// analysis run itself (AnalysisStore::RecordUnknownLine).
//
// Shared by every language. Text and Location of the stored entries are views into `line`,
// which must live as long as the store's entries (it is a line of store.LogLines).
void ParseVoiceChatLine(AnalysisStore& store, std::string_view line);
void ParseTextChatLine(AnalysisStore& store, std::string_view line);

} // namespace qla
