// One player's detail page as a site writes many of them: with the event index and the
// converted names built once for all its pages, and the player's events counted once for both
// of the player's pages.
#pragma once

#include "core/store.h"
#include "export/export_types.h"
#include "export/sink.h"
#include "stats/orders.h"

#include <string_view>

namespace qla {

class KillEventIndex;
struct PlayerNameTexts;
struct PlayerEventRows;

// `player` is a stored player's index; any other value fails before a file is created. When
// `counted` is given and counts this player, its sections are not counted again.
ExportResult WritePlayerPage(const AnalysisStore& store, const KillEventIndex& events,
                             const PlayerNameTexts& names, Sink& sink,
                             const PlayerDetailSections& sections, PlayerDetailOrder order,
                             bool ascending, PlayerIndex player, bool linksFlag,
                             std::string_view gameTitle, const PlayerEventRows* counted = nullptr);

} // namespace qla
