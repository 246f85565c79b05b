// Likely joins for `qla alias suggest`: players (as merged today) whose names differ only by a
// clan tag or a trailing number, or that a rename joins but a split holds apart; the reasons
// say which, and whether the two ever appear in the same log.
#pragma once

#include "analysis/alias_list.h"
#include "analysis/log_names.h"

#include <string>
#include <vector>

namespace qla {

struct AliasSuggestion {
    std::string Name;  // the first name of one player
    std::string Other; // the first name of the other
    std::vector<std::string> Reasons;
};

// In the order of the players' first appearance. A base name left after removing tags and
// numbers must hold at least three characters to count.
std::vector<AliasSuggestion> SuggestAliases(const std::vector<LogNames>& logs,
                                            const AliasList& aliases);

// The identity key without bracketed clan tags ("[ABC]", "(x)", "{x}", "<x>") and the
// separators left at its ends; the key itself when it has none.
std::string WithoutClanTags(std::string_view key);
// The key without a trailing number (and the separators before it).
std::string WithoutTrailingNumber(std::string_view key);

} // namespace qla
