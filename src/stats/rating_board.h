// The skill board: every player's fitted rating, ranked by its conservative value, for those with
// enough encounters that one lucky evening does not top it.
#pragma once

#include "stats/skill_rating.h"

#include <vector>

namespace qla {

struct RatingBoardRow {
    PlayerIndex Player = 0;
    SkillRating Rating;
};

// The players with at least `minEncounters` kills either way, the best conservative value first;
// equal ones in the order the players appeared.
// With `weights`, older kills weigh less (EncountersOf); a player's encounters are weighed too.
std::vector<RatingBoardRow> RatingBoard(const AnalysisStore& store, double minEncounters,
                                        const EntryWeights& weights = {});

} // namespace qla
