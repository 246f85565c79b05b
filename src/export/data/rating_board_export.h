// The skill board as JSON and CSV documents, with the points the text board shows: 1500 the
// middle, 400 points for ten-to-one odds, rounded to whole points.
#pragma once

#include "export/data/csv_text.h"
#include "stats/rating_board.h"

#include <optional>
#include <string>
#include <vector>

namespace qla {

// A document of the JSON view family ("view": "ratings"), ending with a line end.
std::string RatingBoardJson(const AnalysisStore& store, const std::vector<RatingBoardRow>& board,
                            double minEncounters, std::optional<double> halfLifeDays);

// A header row and a row per player, each ended by CR LF as the CSV views end theirs.
std::string RatingBoardCsv(const AnalysisStore& store, const std::vector<RatingBoardRow>& board,
                           const CsvOptions& options);

} // namespace qla
