// The pages of the statistics site, each built as one text.
#pragma once

#include "core/store.h"
#include "export/dashboard/chat_archive.h"
#include "export/dashboard/dashboard_model.h"
#include "export/dashboard/site_layout.h"
#include "stats/top_opponents.h"

#include <string>
#include <vector>

namespace qla {

class KillEventIndex;

// The pages' parts the site writes once: the model, its settings and where each page lives.
struct SiteParts {
    const AnalysisStore& Store;
    const DashboardModel& Model;
    const DashboardSettings& Settings;
    const SiteLayout& Layout;
    const ChatArchive& Chats;
};

std::string OverviewPage(const SiteParts& site, const std::vector<PlayerIndex>& order);
// Page `page` (from 2) of the player table; the overview is page 1.
std::string PlayerListPage(const SiteParts& site, const std::vector<PlayerIndex>& order,
                           std::size_t page);
std::string PlayerPage(const SiteParts& site, const KillEventIndex& events, PlayerIndex player);
// A player's top opponents (TopOpponents) on a page of its own: his page's path with the folder
// "opponents" in place of "players".
std::string OpponentsPagePath(const SiteLayout& layout, PlayerIndex player);
std::string OpponentsPage(const SiteParts& site, const std::vector<TopOpponent>& opponents,
                          PlayerIndex player);
std::string WeaponsPage(const SiteParts& site);
std::string CoveragePage(const DashboardModel& model, const DashboardSettings& settings);

} // namespace qla
