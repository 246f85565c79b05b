// Per-player lists of kill events, built by one counting pass over the events so that a
// player's event tables read only that player's events.
#include "stats/detail_tables.h"

#include <string_view>

namespace qla {
namespace {

constexpr std::string_view kTeamkillWeapon = "Teamkill";

// Fills `lists` so that the events of player p (as chosen by `playerOf`) are entries
// start[p] .. start[p+1]-1, in ascending event order; `opponentOf` names the other player.
template <class PlayerOf, class OpponentOf>
void BuildLists(const AnalysisStore& store, PlayerOf playerOf, OpponentOf opponentOf,
                std::vector<std::int32_t>& start, std::vector<std::int32_t>& positions,
                std::vector<PlayerIndex>& opponents, std::vector<std::uint8_t>& teamkills,
                std::vector<std::uint32_t>& counts) {
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

    const auto total = static_cast<std::size_t>(start[players]);
    positions.resize(total);
    opponents.resize(total);
    teamkills.resize(total);
    counts.resize(store.KillEventCounts.empty() ? 0 : total);
    std::vector<std::int32_t> next(start.begin(), start.end() - 1);
    for (std::int32_t position = 1; position < eventCount; ++position) {
        const KillEvent& event = store.KillEvents[position];
        if (const PlayerIndex p = named(event); p != 0) {
            const auto at = static_cast<std::size_t>(next[p]++);
            positions[at] = position;
            opponents[at] = opponentOf(event);
            teamkills[at] = event.Weapon() == kTeamkillWeapon ? 1 : 0;
            if (!counts.empty())
                counts[at] = store.KillEventCounts[static_cast<std::size_t>(position)];
        }
    }
}

} // namespace

KillEventIndex::KillEventIndex(const AnalysisStore& store) {
    const auto killer = [](const KillEvent& e) { return e.Killer; };
    const auto victim = [](const KillEvent& e) { return e.Victim; };
    BuildLists(store, killer, victim, killer_.start, killer_.positions, killer_.opponents,
               killer_.teamkills, killer_.counts);
    BuildLists(store, victim, killer, victim_.start, victim_.positions, victim_.opponents,
               victim_.teamkills, victim_.counts);
}

PlayerEvents KillEventIndex::Lists::Of(PlayerIndex p) const {
    if (p < 1 || static_cast<std::size_t>(p) + 1 >= start.size())
        return {};
    const auto first = static_cast<std::size_t>(start[p]);
    const auto count = static_cast<std::size_t>(start[static_cast<std::size_t>(p) + 1]) - first;
    return PlayerEvents{std::span<const std::int32_t>(positions).subspan(first, count),
                        std::span<const PlayerIndex>(opponents).subspan(first, count),
                        std::span<const std::uint8_t>(teamkills).subspan(first, count),
                        counts.empty()
                            ? std::span<const std::uint32_t>()
                            : std::span<const std::uint32_t>(counts).subspan(first, count)};
}

} // namespace qla
