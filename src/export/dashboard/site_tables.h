// The site's player tables: a page of rows as HTML in each numbered page, for readers without the
// script, and every row once in a rows file that the script loads when the reader first sorts or
// searches, to page, sort and search all of them; and the links to players every page makes.
#pragma once

#include "core/store.h"
#include "export/dashboard/dashboard_model.h"
#include "export/dashboard/site_html.h"
#include "export/dashboard/site_layout.h"

#include <string>
#include <string_view>
#include <vector>

namespace qla {

// The overview shows the first players of the list; each later page holds more, since a site
// of many players has thousands of them.
inline constexpr std::size_t kOverviewPlayerRows = 100;
inline constexpr std::size_t kListPlayerRows = 1000;

// The rows files, beside the pages.
inline constexpr std::string_view kPlayerRowsFile = "players-rows.js";

// Players by kills, most first; ties in order of appearance.
std::vector<PlayerIndex> PlayersByKills(const DashboardModel& model);

// Where a table stands: the site's layout, the way from its page to the root and the page's
// folder from the root ("players/3/"; empty at the root), whose pages it links by name alone.
struct TablePlace {
    const SiteLayout& Layout;
    std::string_view Root;
    std::string_view Folder = {};
};

// The table of players [begin, end) of `order`. The row of a player without a page of his own is
// where links to him lead (id "p<index>").
void AppendPlayerTable(std::string& out, const AnalysisStore& store, const DashboardModel& model,
                       const TablePlace& place, const std::vector<PlayerIndex>& order,
                       std::size_t begin, std::size_t end);
// A link to the player's page, or to his row in the player list, showing his name.
void AppendPlayerLink(std::string& out, const AnalysisStore& store, const TablePlace& place,
                      PlayerIndex player);

// The rows file: one call qlaRows(table, rows, lookups) of the site's script. A player is
// [address, name], or [id, name, list page] when his row in the player list stands for his page;
// the rows are [player, kills, deaths, ratio, teamkills, suicides, rating] in `order`.
std::string PlayerRowsScript(const AnalysisStore& store, const SiteLayout& layout,
                             const DashboardModel& model, const std::vector<PlayerIndex>& order);

} // namespace qla
