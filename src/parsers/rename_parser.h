// Rename lines: "[skipnotify]Old^7 renamed to New" (German "... hat sich umbenannt in ...").
// Every recognition mode splits them here, with its language's phrase.
#pragma once

#include "core/store.h"

#include <optional>
#include <string_view>

namespace qla {

// Both names normalised as the store normalises names; views into the line.
struct RenameNames {
    std::string_view OldName;
    std::string_view NewName;
};

// Splits the line (with or without "[skipnotify]") at `phrase`. A line that holds the phrase
// other than exactly once, or where either name comes out empty, cannot be split: nullopt.
std::optional<RenameNames> SplitRenameLine(std::string_view line, std::string_view phrase);

// Records the rename of a line that can be split; any other line changes nothing.
void ParseRenameLine(AnalysisStore& store, std::string_view line, std::string_view phrase);

} // namespace qla
