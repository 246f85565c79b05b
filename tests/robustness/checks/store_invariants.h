// Rules every analysed store keeps, whatever the log held. Shared by the robustness tests and
// the analysis fuzz target, so a fuzz finding and its regression test check the same thing.
#pragma once

#include "analysis/analysis.h"

#include <string>
#include <vector>

namespace qla::robust {

// One message per broken rule; empty when the store and the totals agree.
std::vector<std::string> StoreViolations(const AnalysisStore& store, const AnalysisTotals& totals);

} // namespace qla::robust
