// Every stored player's name prepared once for the many pages of a site: the text a name is
// sorted by and its HTML form. A page then copies them instead of converting names per row.
#pragma once

#include "core/store.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qla {

struct PlayerNameTexts {
    explicit PlayerNameTexts(const AnalysisStore& store);

    // HTML of the player's name; "" for an index without a record, as for an empty name.
    std::string_view HtmlOf(PlayerIndex player) const {
        return player >= 0 && static_cast<std::size_t>(player) < Html.size()
                   ? std::string_view(Html[player])
                   : std::string_view();
    }

    std::vector<std::string> SortKeys;     // StripColourCodes(Name), by player index
    std::vector<std::uint32_t> SortPlaces; // NameSortPlaces(SortKeys)
    std::vector<std::string> Html;         // ColourToHtml(Name, HtmlEscaping::Escape)
};

} // namespace qla
