// The long tables of the site (all players, voice and text chat): the first rows as HTML on the
// first page, the rest on numbered pages for readers without the script, and every row as JSON
// in the first page for the script, which pages, sorts and searches them in the browser.
#pragma once

#include "core/store.h"
#include "export/dashboard/dashboard_model.h"
#include "export/dashboard/site_html.h"

#include <string>
#include <vector>

namespace qla {

inline constexpr std::size_t kPlayerRowsPerPage = 100;
inline constexpr std::size_t kChatRowsPerPage = 500;

// Players by kills, most first; ties in order of appearance.
std::vector<PlayerIndex> PlayersByKills(const DashboardModel& model);

// The table of players [begin, end) of `order`, with `embed` adding the JSON of every row.
void AppendPlayerTable(std::string& out, const AnalysisStore& store, const DashboardModel& model,
                       const std::vector<PlayerIndex>& order, std::size_t begin, std::size_t end,
                       bool embed);
void AppendChatTable(std::string& out, const AnalysisStore& store,
                     const std::vector<ChatEntry>& chats, std::size_t begin, std::size_t end,
                     bool embed);

// JSON text embedded in an HTML page: the JSON writer already escapes "<", so the text cannot
// end its <script> element.
void AppendEmbeddedJson(std::string& out, std::string_view id, std::string_view json);

} // namespace qla
