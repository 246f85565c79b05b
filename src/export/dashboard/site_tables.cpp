// Player and chat tables of the site as HTML rows. Cells leave out their end tags, which HTML
// allows: with tens of thousands of rows they are much of a page.
#include "export/dashboard/site_tables.h"

#include "stats/sort_table.h"

#include <algorithm>
#include <numeric>

namespace qla {

std::vector<PlayerIndex> PlayersByKills(const DashboardModel& model) {
    std::vector<PlayerIndex> order(model.Players.size());
    std::iota(order.begin(), order.end(), 1);
    std::stable_sort(order.begin(), order.end(), [&](PlayerIndex a, PlayerIndex b) {
        return model.Of(a).Kills > model.Of(b).Kills;
    });
    return order;
}

namespace {

void AppendCell(std::string& out, std::int64_t value) {
    out += "<td>";
    out += std::to_string(value);
}

void AppendSearch(std::string& out, std::string_view table, std::string_view label) {
    // The script shows the box; without the script it would do nothing, so it starts hidden.
    out += "<p class=\"search\" hidden><label>";
    out += label;
    out += " <input type=\"search\" data-table=\"";
    out += table;
    out += "\" autocomplete=\"off\"></label></p>\n";
}

// The script builds the links of the rows it loads from the layout's series.
void AppendTableStart(std::string& out, const TablePlace& place, std::string_view id,
                      std::string_view rowsFile) {
    out += "<div class=\"scroll\"><table id=\"";
    out += id;
    out += "\" class=\"sortable\" data-rows=\"";
    out += place.Root;
    out += rowsFile;
    out += "\" data-root=\"";
    out += place.Root;
    out += "\" data-players=\"";
    out += "players";
    out += "\" data-list=\"";
    out += place.Layout.ListPages().ScriptForm();
    out += "\">\n";
}

} // namespace

void AppendPlayerLink(std::string& out, const AnalysisStore& store, const TablePlace& place,
                      PlayerIndex player) {
    const std::string href = place.Layout.PlayerHref(player);
    out += "<a href=\"";
    // The way from the page's folder: up to the folder both paths share, then down. A player's
    // page links thousands of others, most of them in a folder beside his own.
    const std::string_view folder = place.Folder;
    std::size_t shared = 0;
    for (std::size_t end = folder.find('/'); end != std::string_view::npos;
         end = folder.find('/', end + 1)) {
        if (href.compare(0, end + 1, folder.substr(0, end + 1)) != 0)
            break;
        shared = end + 1;
    }
    if (!folder.empty()) {
        for (std::size_t at = shared; at < folder.size(); ++at)
            if (folder[at] == '/')
                out += "../";
        out.append(href, shared);
    } else {
        out += place.Root;
        out += href;
    }
    out += "\">";
    AppendShownName(out, store.Players[player].Name);
    out += "</a>";
}

void AppendPlayerTable(std::string& out, const AnalysisStore& store, const DashboardModel& model,
                       const TablePlace& place, const std::vector<PlayerIndex>& order,
                       std::size_t begin, std::size_t end) {
    AppendSearch(out, "players", "Find a player:");
    AppendTableStart(out, place, "players", kPlayerRowsFile);
    out += "<thead><tr><th data-type=\"player\">Player</th>"
           "<th data-type=\"num\" aria-sort=\"descending\">Kills</th>"
           "<th data-type=\"num\">Deaths</th><th data-type=\"num\">K/D</th>"
           "<th data-type=\"num\">Teamkills</th><th data-type=\"num\">Suicides</th>"
           "<th data-type=\"num\" title=\"Skill rating: 1500 the middle, 400 points for ten-to-one "
           "odds\">Rating</th></tr></thead>\n"
           "<tbody>\n";
    for (std::size_t k = begin; k < end && k < order.size(); ++k) {
        const PlayerSummary& p = model.Of(order[k]);
        if (p.OwnPage) {
            out += "<tr><td>";
            AppendPlayerLink(out, store, place, p.Index);
        } else {
            // His row is his page: links to him lead here.
            out += "<tr id=\"p";
            out += std::to_string(p.Index);
            out += "\"><td>";
            AppendShownName(out, store.Players[p.Index].Name);
        }
        AppendCell(out, p.Kills);
        AppendCell(out, p.Deaths);
        out += "<td>";
        out += RatioText(p.RatioHundredths, ".");
        AppendCell(out, p.Teamkills);
        AppendCell(out, p.Suicides);
        AppendCell(out, p.Rating);
        out += "</tr>\n";
    }
    out += "</tbody>\n</table></div>\n";
}

} // namespace qla
