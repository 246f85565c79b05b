// The pages of the statistics site, each built as one text.
#pragma once

#include "core/store.h"
#include "export/dashboard/dashboard_model.h"

#include <string>
#include <vector>

namespace qla {

class KillEventIndex;

std::string OverviewPage(const AnalysisStore& store, const DashboardModel& model,
                         const DashboardSettings& settings, const std::vector<PlayerIndex>& order);
// Page `page` (from 2) of the player table.
std::size_t PlayerListPageCount(const std::vector<PlayerIndex>& order);
std::string PlayerListPage(const AnalysisStore& store, const DashboardModel& model,
                           const DashboardSettings& settings, const std::vector<PlayerIndex>& order,
                           std::size_t page);
std::string PlayerPage(const AnalysisStore& store, const DashboardModel& model,
                       const DashboardSettings& settings, const KillEventIndex& events,
                       PlayerIndex player);
std::string WeaponsPage(const AnalysisStore& store, const DashboardModel& model,
                        const DashboardSettings& settings);
// `voice` chooses the voice or the text chat; `page` counts from 1.
std::string ChatPage(const AnalysisStore& store, const DashboardSettings& settings, bool voice,
                     std::size_t page);
std::size_t ChatPageCount(const AnalysisStore& store, bool voice);
std::string CoveragePage(const DashboardModel& model, const DashboardSettings& settings);

// The site's own style sheet and script.
std::string_view SiteStyleSheet();
std::string_view SiteScript();

} // namespace qla
