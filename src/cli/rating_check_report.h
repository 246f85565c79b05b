// The figures of qla rating-check as text (tab-separated tables) or as one JSON object.
#pragma once

#include "stats/rating_check.h"

#include <ostream>

namespace qla::cli {

void WriteRatingCheckText(const RatingCheckResult& result, std::ostream& out);
void WriteRatingCheckJson(const RatingCheckResult& result, std::ostream& out);

} // namespace qla::cli
