// A player's opponents page: the ten players he met most, with the kills either way, the main
// weapons of those kills and the chance the skill rating gives him against each. One page per
// player, beside his own page, which links to it.
#include "core/names.h"
#include "export/dashboard/site_html.h"
#include "export/dashboard/site_pages.h"
#include "export/dashboard/site_tables.h"

#include <algorithm>
#include <cstdio>

namespace qla {
namespace {

constexpr std::string_view kOpponentsFolder = "opponents";

// The weapons shown in a row: the most used first.
constexpr std::size_t kMainWeapons = 3;

// "MP40 12:5, Thompson 3:1": kills:deaths by each of the main weapons.
std::string MainWeapons(const std::vector<WeaponVersus>& weapons) {
    std::string text;
    for (std::size_t i = 0; i < weapons.size() && i < kMainWeapons; ++i) {
        if (i > 0)
            text += ", ";
        text += kEventWeaponTexts[weapons[i].WeaponText];
        text += " " + std::to_string(weapons[i].Counts.Kills) + ":" +
                std::to_string(weapons[i].Counts.Deaths);
    }
    return text;
}

// 0.5734 -> "57.3"; empty without a rating for one of them.
std::string ChanceText(const std::vector<SkillRating>& fit, PlayerIndex player,
                       PlayerIndex opponent) {
    const VersusChance chance = ChanceOf(fit, player, opponent);
    if (!chance.PlayerWins)
        return "";
    char text[16];
    std::snprintf(text, sizeof text, "%.1f", *chance.PlayerWins * 100.0);
    return text;
}

} // namespace

std::string OpponentsPagePath(const SiteLayout& layout, PlayerIndex player) {
    // His own page's path (only those have one) in the opponents' folder in place of the
    // players': as deep, and no folder holds more pages than the players' folders hold.
    const std::string own = layout.PlayerHref(player);
    return std::string(kOpponentsFolder) + own.substr(own.find('/'));
}

std::string OpponentsPage(const SiteParts& site, const std::vector<TopOpponent>& opponents,
                          PlayerIndex player) {
    const AnalysisStore& store = site.Store;
    const std::string path = OpponentsPagePath(site.Layout, player);
    const std::string root = RootFrom(static_cast<int>(std::count(path.begin(), path.end(), '/')));
    const std::string_view folder = std::string_view(path).substr(0, path.rfind('/') + 1);
    const TablePlace place{site.Layout, root, folder};
    const std::string& name = store.Players[static_cast<std::size_t>(player)].Name;
    std::string out;
    out.reserve(4096);
    const std::string title = StripColourCodes(name) + ": top opponents";
    AppendPageStart(out, {title, site.Settings.GameTitle, "", root});
    out += "<p class=\"player\">";
    AppendPlayerLink(out, store, place, player);
    out += "</p>\n<p>The ten players met most, by kills either way (teamkills left out); equal "
           "ones in the order they first appeared. The chance is the one the skill rating gives "
           "this player of winning an encounter with each.</p>\n";
    if (opponents.empty()) {
        out += "<p>No opponents.</p>\n";
        AppendPageEnd(out);
        return out;
    }
    const bool weapons = StoreKeepsWeapons(store);
    if (!weapons)
        out += "<p>The stored statistics this site was read from keep one weapon per pair of "
               "players and log, so no weapons are shown.</p>\n";
    out += "<div class=\"scroll\"><table id=\"top-opponents\" class=\"sortable\">\n<thead><tr>"
           "<th data-type=\"player\">Opponent</th>"
           "<th data-type=\"num\" aria-sort=\"descending\">Encounters</th>"
           "<th data-type=\"num\">Killed</th><th data-type=\"num\">Killed by</th>";
    if (weapons)
        out += "<th data-type=\"text\">Main weapons (kills:deaths)</th>";
    out += "<th data-type=\"num\">Chance to win (%)</th></tr></thead>\n<tbody>\n";
    for (const TopOpponent& row : opponents) {
        out += "<tr><td>";
        AppendPlayerLink(out, store, place, row.Opponent);
        out += "</td><td>" + std::to_string(row.Counts.EitherWay()) + "</td><td>" +
               std::to_string(row.Counts.Kills) + "</td><td>" + std::to_string(row.Counts.Deaths) +
               "</td>";
        if (weapons) {
            out += "<td>";
            AppendHtmlText(out, MainWeapons(row.Weapons));
            out += "</td>";
        }
        out += "<td>" + ChanceText(site.Model.Fit, player, row.Opponent) + "</td></tr>\n";
    }
    out += "</tbody>\n</table></div>\n";
    AppendPageEnd(out);
    return out;
}

} // namespace qla
