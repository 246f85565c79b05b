// Player and chat tables of the site, as HTML rows and as embedded JSON.
#include "export/dashboard/site_tables.h"

#include "export/data/json_text.h"
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

void AppendEmbeddedJson(std::string& out, std::string_view id, std::string_view json) {
    out += "<script type=\"application/json\" id=\"";
    out += id;
    out += "\">";
    out += json;
    out += "</script>\n";
}

namespace {

void AppendCell(std::string& out, std::int64_t value) {
    out += "<td>";
    out += std::to_string(value);
    out += "</td>";
}

void AppendPlayerLink(std::string& out, const AnalysisStore& store, PlayerIndex player,
                      std::string_view folder) {
    out += "<a href=\"";
    out += folder;
    out += PlayerFileName(player);
    out += "\">";
    AppendColouredName(out, store.Players[player].Name);
    out += "</a>";
}

void AppendSearch(std::string& out, std::string_view table, std::string_view label) {
    // The script shows the box; without the script it would do nothing, so it starts hidden.
    out += "<p class=\"search\" hidden><label>";
    out += label;
    out += " <input type=\"search\" data-table=\"";
    out += table;
    out += "\" autocomplete=\"off\"></label></p>\n";
}

} // namespace

void AppendPlayerTable(std::string& out, const AnalysisStore& store, const DashboardModel& model,
                       const std::vector<PlayerIndex>& order, std::size_t begin, std::size_t end,
                       bool embed) {
    AppendSearch(out, "players", "Find a player:");
    out += "<div class=\"scroll\"><table id=\"players\" class=\"sortable\"";
    if (embed)
        out += " data-rows=\"rows-players\" data-link=\"players/\"";
    out += ">\n<thead><tr><th data-type=\"player\">Player</th>"
           "<th data-type=\"num\" aria-sort=\"descending\">Kills</th>"
           "<th data-type=\"num\">Deaths</th><th data-type=\"num\">K/D</th>"
           "<th data-type=\"num\">Teamkills</th><th data-type=\"num\">Suicides</th></tr></thead>\n"
           "<tbody>\n";
    for (std::size_t k = begin; k < end && k < order.size(); ++k) {
        const PlayerSummary& p = model.Of(order[k]);
        out += "<tr><td>";
        AppendPlayerLink(out, store, p.Index, "players/");
        out += "</td>";
        AppendCell(out, p.Kills);
        AppendCell(out, p.Deaths);
        out += "<td>" + RatioText(p.RatioHundredths, ".") + "</td>";
        AppendCell(out, p.Teamkills);
        AppendCell(out, p.Suicides);
        out += "</tr>\n";
    }
    out += "</tbody>\n</table></div>\n";
    if (!embed)
        return;
    std::string json;
    JsonWriter writer(json);
    writer.BeginArray();
    for (const PlayerIndex index : order) {
        const PlayerSummary& p = model.Of(index);
        writer.BeginArray();
        writer.BeginArray();
        writer.Number(p.Index);
        writer.String(store.Players[index].Name);
        writer.EndArray();
        writer.Number(p.Kills);
        writer.Number(p.Deaths);
        writer.Hundredths(p.RatioHundredths);
        writer.Number(p.Teamkills);
        writer.Number(p.Suicides);
        writer.EndArray();
    }
    writer.EndArray();
    AppendEmbeddedJson(out, "rows-players", json);
}

void AppendChatTable(std::string& out, const AnalysisStore& store,
                     const std::vector<ChatEntry>& chats, std::size_t begin, std::size_t end,
                     bool embed) {
    AppendSearch(out, "chat", "Search the messages:");
    out += "<div class=\"scroll\"><table id=\"chat\" class=\"sortable\"";
    if (embed)
        out += " data-rows=\"rows-chat\" data-link=\"players/\"";
    out += ">\n<thead><tr><th data-type=\"num\" aria-sort=\"ascending\">#</th>"
           "<th data-type=\"player\">Player</th><th data-type=\"text\">Location</th>"
           "<th data-type=\"text\">To</th><th data-type=\"name\">Message</th></tr></thead>\n"
           "<tbody>\n";
    // Entry 0 of the list is the placeholder; message k is chats[k].
    for (std::size_t k = std::max<std::size_t>(begin, 1); k < end && k < chats.size(); ++k) {
        const ChatEntry& entry = chats[k];
        out += "<tr>";
        AppendCell(out, static_cast<std::int64_t>(k));
        out += "<td>";
        AppendPlayerLink(out, store, entry.Player, "players/");
        out += "</td><td>";
        AppendHtmlText(out, store.LocationOf(entry));
        out += entry.IsTeam ? "</td><td>team</td><td>" : "</td><td>all</td><td>";
        AppendColouredName(out, entry.Text);
        out += "</td></tr>\n";
    }
    out += "</tbody>\n</table></div>\n";
    if (!embed)
        return;
    std::string json;
    JsonWriter writer(json);
    writer.BeginArray();
    for (const std::size_t k : EntryIndexes(chats)) {
        const ChatEntry& entry = chats[k];
        writer.BeginArray();
        writer.Number(static_cast<std::int64_t>(k));
        writer.BeginArray();
        writer.Number(entry.Player);
        writer.String(store.Players[entry.Player].Name);
        writer.EndArray();
        writer.String(store.LocationOf(entry));
        writer.String(entry.IsTeam ? "team" : "all");
        writer.String(entry.Text);
        writer.EndArray();
    }
    writer.EndArray();
    AppendEmbeddedJson(out, "rows-chat", json);
}

} // namespace qla
