// Per-player lists of kill events, built by one counting pass over the events so that a
// player's event tables read only that player's events.
#include "stats/detail_tables.h"

namespace qla {
namespace {

// Fills the lists so that the events of player p (as chosen by `playerOf`) are entries
// start[p] .. start[p+1]-1, in ascending event order.
template <class PlayerOf>
void BuildLists(const AnalysisStore& store, PlayerOf playerOf, std::vector<std::int32_t>& start,
                std::vector<std::int32_t>& positions) {
    const auto players = static_cast<std::size_t>(store.Players.size());
    const auto eventCount = static_cast<std::int32_t>(store.KillEvents.size());
    const auto named = [&](const KillEvent& event) {
        const PlayerIndex p = playerOf(event);
        return p >= 1 && static_cast<std::size_t>(p) < players ? p : 0;
    };

    start.assign(players + 1, 0);
    for (const KillEvent& event : RealEntries(store.KillEvents))
        if (const PlayerIndex p = named(event); p != 0)
            ++start[static_cast<std::size_t>(p) + 1];
    for (std::size_t p = 1; p <= players; ++p)
        start[p] += start[p - 1];

    positions.resize(static_cast<std::size_t>(start[players]));
    std::vector<std::int32_t> next(start.begin(), start.end() - 1);
    for (std::int32_t position = 1; position < eventCount; ++position)
        if (const PlayerIndex p = named(store.KillEvents[position]); p != 0)
            positions[static_cast<std::size_t>(next[p]++)] = position;
}

} // namespace

KillEventIndex::KillEventIndex(const AnalysisStore& store) {
    BuildLists(store, [](const KillEvent& e) { return e.Killer; }, killer_.start, killer_.positions);
    BuildLists(store, [](const KillEvent& e) { return e.Victim; }, victim_.start, victim_.positions);
}

PlayerEvents KillEventIndex::Lists::Of(PlayerIndex p) const {
    if (p < 1 || static_cast<std::size_t>(p) + 1 >= start.size())
        return {};
    const auto first = static_cast<std::size_t>(start[p]);
    const auto count = static_cast<std::size_t>(start[static_cast<std::size_t>(p) + 1]) - first;
    return PlayerEvents{std::span<const std::int32_t>(positions).subspan(first, count)};
}

} // namespace qla
