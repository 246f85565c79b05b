// Maps a section of the player-details page to its table builder.
#include "export/player_sections.h"

namespace qla {

SortTable BuildPlayerSection(const AnalysisStore& store, const KillEventIndex& events,
                             std::size_t section, PlayerIndex player, int detailOrderKey) {
    switch (section) {
    case 0:
        return BuildKillsTable(store, events, player, detailOrderKey);
    case 1:
        return BuildDeathsTable(store, events, player, detailOrderKey);
    case 2:
        return BuildSelfKillsTable(store, player, detailOrderKey);
    case 3:
        return BuildTeamkillsTable(store, events, player, detailOrderKey);
    case 4:
        return BuildTeamdeathsTable(store, events, player, detailOrderKey);
    case 5:
        return BuildUsedWeaponsTable(store, player, detailOrderKey);
    default:
        return SortTable(1);
    }
}

} // namespace qla
