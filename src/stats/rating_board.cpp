#include "stats/rating_board.h"

#include <algorithm>

namespace qla {

std::vector<RatingBoardRow> RatingBoard(const AnalysisStore& store, double minEncounters,
                                        const EntryWeights& weights) {
    const std::vector<SkillRating> fit = FitSkill(EncountersOf(store, weights));
    std::vector<RatingBoardRow> board;
    for (std::size_t p = 0; p < fit.size(); ++p)
        if (fit[p].Encounters >= minEncounters &&
            static_cast<PlayerIndex>(p + 1) != store.HiddenPlayer())
            board.push_back({static_cast<PlayerIndex>(p + 1), fit[p]});
    std::stable_sort(board.begin(), board.end(),
                     [](const RatingBoardRow& a, const RatingBoardRow& b) {
                         return a.Rating.Conservative() > b.Rating.Conservative();
                     });
    return board;
}

} // namespace qla
