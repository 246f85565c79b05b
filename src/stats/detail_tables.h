// Per-player detail tables and the weapon table. Event tables use a per-player index of the
// kill events built once, so writing every player's tables costs O(events) in total.
#pragma once

#include "stats/orders.h"
#include "stats/sort_table.h"

#include <cstdint>
#include <span>
#include <vector>

namespace qla {

// One player's kill events on one side, in event order: the position in KillEvents, the other
// player of the event and whether it was a teamkill, side by side. The event tables read only
// these lists, not KillEvents itself, whose entries lie scattered over memory.
struct PlayerEvents {
    // The player's events in event order; the opponent, whether it is a teamkill and the kills
    // it stands for are the store's (KillEvents, KillEventCount), not copied per side: on a long
    // history the copies were two thirds of the index.
    std::span<const std::int32_t> Positions;
};

// Positions in KillEvents per player, as killer and as victim, in event order. Build it from
// the store the tables are built from, after the analysis, and rebuild it when the store changes.
class KillEventIndex {
  public:
    explicit KillEventIndex(const AnalysisStore& store);
    std::span<const std::int32_t> AsKiller(PlayerIndex player) const {
        return KillerEvents(player).Positions;
    }
    std::span<const std::int32_t> AsVictim(PlayerIndex player) const {
        return VictimEvents(player).Positions;
    }
    PlayerEvents KillerEvents(PlayerIndex player) const { return killer_.Of(player); }
    PlayerEvents VictimEvents(PlayerIndex player) const { return victim_.Of(player); }

  private:
    struct Lists {
        std::vector<std::int32_t> start; // player p's entries are [start[p], start[p+1])
        std::vector<std::int32_t> positions;
        PlayerEvents Of(PlayerIndex player) const;
    };
    Lists killer_, victim_;
};

// Sorted by `order`: appearance means the first event position, or the WeaponId.
SortTable BuildKillsTable(const AnalysisStore& store, const KillEventIndex& index,
                          PlayerIndex player, PlayerDetailOrder order);
SortTable BuildDeathsTable(const AnalysisStore& store, const KillEventIndex& index,
                           PlayerIndex player, PlayerDetailOrder order);
SortTable BuildTeamkillsTable(const AnalysisStore& store, const KillEventIndex& index,
                              PlayerIndex player, PlayerDetailOrder order);
SortTable BuildTeamdeathsTable(const AnalysisStore& store, const KillEventIndex& index,
                               PlayerIndex player, PlayerDetailOrder order);
SortTable BuildSelfKillsTable(const AnalysisStore& store, PlayerIndex player,
                              PlayerDetailOrder order);
SortTable BuildUsedWeaponsTable(const AnalysisStore& store, PlayerIndex player,
                                PlayerDetailOrder order);

// Always 15 rows; with no kills at all every share is "0".
SortTable BuildWeaponTable(const AnalysisStore& store, WeaponOrder order);

} // namespace qla
