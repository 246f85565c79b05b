// Names converted once per site.
#include "export/player_name_texts.h"

#include "core/names.h"
#include "export/colour_html.h"
#include "stats/opponent_rows.h"

namespace qla {

PlayerNameTexts::PlayerNameTexts(const AnalysisStore& store)
    : SortKeys(NameSortKeys(store)), SortPlaces(NameSortPlaces(SortKeys)),
      Html(store.Players.size()) {
    for (const PlayerIndex p : store.PlayerIndexes())
        Html[p] = ColourToHtml(store.Players[p].Name, HtmlEscaping::Escape);
}

} // namespace qla
