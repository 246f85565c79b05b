// Maps a section of the player-details page to its table builder.
#include "export/player_sections.h"

namespace qla {

SortTable BuildPlayerSection(const AnalysisStore& store, const KillEventIndex& events,
                             std::size_t section, PlayerIndex player, PlayerDetailOrder order) {
    switch (section) {
    case 0:
        return BuildKillsTable(store, events, player, order);
    case 1:
        return BuildDeathsTable(store, events, player, order);
    case 2:
        return BuildSelfKillsTable(store, player, order);
    case 3:
        return BuildTeamkillsTable(store, events, player, order);
    case 4:
        return BuildTeamdeathsTable(store, events, player, order);
    case 5:
        return BuildUsedWeaponsTable(store, player, order);
    default:
        return SortTable(1);
    }
}

} // namespace qla
