// The statistics site's histories once players are merged: a merged player's figures in a log
// are the sums of all his names' figures in that log.
#pragma once

#include "analysis/merge_players.h"
#include "core/store.h"
#include "export/dashboard/dashboard_model.h"

#include <vector>

namespace qla {

// `byName` holds the histories of the names as stored (one log's figures of a name at most once
// per log); the result holds one history per merged player of `merged` that has one, named as
// the merged player is, its logs in import order.
std::vector<PlayerHistory> MergedHistories(const std::vector<PlayerHistory>& byName,
                                           const AnalysisStore& merged, const MergedNames& names);

} // namespace qla
