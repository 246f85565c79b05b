// Per-player detail tables and the weapon table. Event tables use a per-player index of the
// kill events built once, so writing every player's tables costs O(events) in total.
#pragma once

#include "stats/sort_table.h"

#include <cstdint>
#include <span>
#include <vector>

namespace qla {

// Positions in KillEvents per player, as killer and as victim, in event order. Build it from
// the store the tables are built from, after the analysis, and rebuild it when the store changes.
class KillEventIndex {
  public:
    explicit KillEventIndex(const AnalysisStore& store);
    std::span<const std::int32_t> AsKiller(PlayerIndex player) const;
    std::span<const std::int32_t> AsVictim(PlayerIndex player) const;

  private:
    std::vector<std::int32_t> killerStart_, killerEvents_, victimStart_, victimEvents_;
};

// DetailOrderKey: 0 item names, 1 numbers, 2 appearance (event position or WeaponId).
SortTable BuildKillsTable(const AnalysisStore& store, const KillEventIndex& index,
                          PlayerIndex player, int detailOrderKey);
SortTable BuildDeathsTable(const AnalysisStore& store, const KillEventIndex& index,
                           PlayerIndex player, int detailOrderKey);
SortTable BuildTeamkillsTable(const AnalysisStore& store, const KillEventIndex& index,
                              PlayerIndex player, int detailOrderKey);
SortTable BuildTeamdeathsTable(const AnalysisStore& store, const KillEventIndex& index,
                               PlayerIndex player, int detailOrderKey);
SortTable BuildSelfKillsTable(const AnalysisStore& store, PlayerIndex player, int detailOrderKey);
SortTable BuildUsedWeaponsTable(const AnalysisStore& store, PlayerIndex player, int detailOrderKey);

// WeaponOrderKey: 0 name, 1 kills, 2 share, 3 most kills by, 4 most deaths by, 5 standard.
// Always 15 rows; with no kills at all every share is "0".
SortTable BuildWeaponTable(const AnalysisStore& store, int weaponOrderKey);

} // namespace qla
