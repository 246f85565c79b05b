// Per-player lists of kill event positions, built by one counting pass over the events so that
// a player's event tables read only that player's events.
#include "stats/detail_tables.h"

namespace qla {
namespace {

// Fills `start` (one entry per player plus an end marker) and `events` so that the positions
// of player p are events[start[p] .. start[p+1]), in ascending event order.
template <class PlayerOf>
void BuildLists(const AnalysisStore& store, PlayerOf playerOf, std::vector<std::int32_t>& start,
                std::vector<std::int32_t>& events) {
    const auto players = static_cast<std::size_t>(store.Players.size());
    const auto eventCount = static_cast<std::int32_t>(store.KillEvents.size());
    const auto named = [&](std::int32_t position) {
        const PlayerIndex p = playerOf(store.KillEvents[position]);
        return p >= 1 && static_cast<std::size_t>(p) < players ? p : 0;
    };

    start.assign(players + 1, 0);
    for (std::int32_t position = 1; position < eventCount; ++position)
        if (const PlayerIndex p = named(position); p != 0)
            ++start[static_cast<std::size_t>(p) + 1];
    for (std::size_t p = 1; p <= players; ++p)
        start[p] += start[p - 1];

    events.resize(static_cast<std::size_t>(start[players]));
    std::vector<std::int32_t> next(start.begin(), start.end() - 1);
    for (std::int32_t position = 1; position < eventCount; ++position)
        if (const PlayerIndex p = named(position); p != 0)
            events[static_cast<std::size_t>(next[p]++)] = position;
}

std::span<const std::int32_t> ListOf(const std::vector<std::int32_t>& start,
                                     const std::vector<std::int32_t>& events, PlayerIndex p) {
    if (p < 1 || static_cast<std::size_t>(p) + 1 >= start.size())
        return {};
    const auto first = static_cast<std::size_t>(start[p]);
    const auto last = static_cast<std::size_t>(start[static_cast<std::size_t>(p) + 1]);
    return std::span<const std::int32_t>(events).subspan(first, last - first);
}

} // namespace

KillEventIndex::KillEventIndex(const AnalysisStore& store) {
    BuildLists(
        store, [](const KillEvent& e) { return e.Killer; }, killerStart_, killerEvents_);
    BuildLists(
        store, [](const KillEvent& e) { return e.Victim; }, victimStart_, victimEvents_);
}

std::span<const std::int32_t> KillEventIndex::AsKiller(PlayerIndex player) const {
    return ListOf(killerStart_, killerEvents_, player);
}

std::span<const std::int32_t> KillEventIndex::AsVictim(PlayerIndex player) const {
    return ListOf(victimStart_, victimEvents_, player);
}

} // namespace qla
