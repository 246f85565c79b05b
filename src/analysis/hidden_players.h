// Hiding players: a statistics database's hidden names are left out of every list of players,
// while their kills and deaths still count for the others, as one player named "a hidden player".
#pragma once

#include "analysis/merge_players.h"
#include "core/store.h"

#include <string>
#include <string_view>
#include <vector>

namespace qla {

inline constexpr std::string_view kHiddenPlayerName = "a hidden player";
// What a line no statistic counts shows in place of its text when it names a hidden player.
inline constexpr std::string_view kHiddenLineText = "(a line that names a hidden player)";

// True when the text, its colour codes, case and blanks aside as IdentityKey folds them, holds
// one of the hidden keys. Errs on the side of hiding: a short key hides every line holding it.
bool NamesHiddenPlayer(std::string_view text, const std::vector<std::string>& hiddenKeys);

// Joins every record one of whose names has an identity key of `hiddenKeys` (a merged record:
// any of the names it holds) into one last record named kHiddenPlayerName, which the store then
// leaves out of its players (AnalysisStore::HideLastPlayer), and shows the lines no statistic
// counts that name a hidden player as kHiddenLineText (their number stays). The other records keep
// their order; `merged`, when given, follows, and finds the hidden record for every hidden name.
// Nothing changes when no record is hidden. The last step before a store is shown: a hidden store
// is never merged or appended to again.
void HidePlayers(AnalysisStore& store, const std::vector<std::string>& hiddenKeys,
                 MergedNames* merged);

} // namespace qla
