// The long tables of the site (all players, voice and text chat): a page of rows as HTML in each
// numbered page, for readers without the script, and every row once in a rows file that the
// script loads when the reader first sorts or searches, to page, sort and search all of them.
#pragma once

#include "core/store.h"
#include "export/dashboard/dashboard_model.h"
#include "export/dashboard/site_html.h"

#include <string>
#include <string_view>
#include <vector>

namespace qla {

inline constexpr std::size_t kPlayerRowsPerPage = 100;
inline constexpr std::size_t kChatRowsPerPage = 1000;

// The rows files, beside the pages.
inline constexpr std::string_view kPlayerRowsFile = "players-rows.js";
inline std::string_view ChatRowsFile(bool voice) {
    return voice ? "voice-rows.js" : "text-rows.js";
}

// Players by kills, most first; ties in order of appearance.
std::vector<PlayerIndex> PlayersByKills(const DashboardModel& model);

// The table of players [begin, end) of `order`.
void AppendPlayerTable(std::string& out, const AnalysisStore& store, const DashboardModel& model,
                       const std::vector<PlayerIndex>& order, std::size_t begin, std::size_t end);
// The messages [begin, end) of `chats`, whose rows file is `rowsFile`.
void AppendChatTable(std::string& out, const AnalysisStore& store,
                     const std::vector<ChatEntry>& chats, std::size_t begin, std::size_t end,
                     std::string_view rowsFile);

// The rows files: one call qlaRows(table, rows, lookups) of the site's script. The player table's
// rows are [[id, name], kills, deaths, ratio, teamkills, suicides] in `order`; a message's row is
// [number, speaker, location, to, text], where speaker, location and "to" are indexes into
// the lookup lists of those columns, since they repeat from message to message.
std::string PlayerRowsScript(const AnalysisStore& store, const DashboardModel& model,
                             const std::vector<PlayerIndex>& order);
std::string ChatRowsScript(const AnalysisStore& store, const std::vector<ChatEntry>& chats);

} // namespace qla
