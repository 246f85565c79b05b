// Full recognition of one log line: chat by its shape first, so that no message becomes an
// obituary; then kills, teamkills and deaths of the language's full tables; renames split at
// their phrase whatever the names hold; every other line, the game's and the server's messages
// included, is an other line.
#pragma once

#include "core/store.h"
#include "full_language.h"
#include "obituary_names.h"
#include "parsers/line_kind.h"

#include <string_view>

namespace qla {

class FullRecognizer {
  public:
    explicit FullRecognizer(const FullLanguage& language) : language_(language) {}

    // Recognises the line and records it in the store as its kind asks; returns the kind.
    // `line` must outlive the store's entries (it is a line of store.LogLines).
    LineKind Record(AnalysisStore& store, std::string_view line);

  private:
    bool RecordKill(AnalysisStore& store, std::string_view text);
    bool RecordTeamkill(AnalysisStore& store, std::string_view text);
    bool RecordDeath(AnalysisStore& store, std::string_view text);

    const FullLanguage& language_;
    ObituaryNames names_; // one analysis's cut names, resolved once
};

} // namespace qla
