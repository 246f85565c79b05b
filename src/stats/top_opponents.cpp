// Player by player, from his own lists of kill events: his opponents tallied in one array the size
// of the players, the first `limit` kept, and only their weapons gathered. Nothing the size of the
// history's pairs is built, so a long history's site does not hold hundreds of thousands of pairs
// at once.
#include "stats/top_opponents.h"

#include "stats/detail_tables.h"
#include "stats/kill_pairs.h" // BetweenOpponents

#include <algorithm>
#include <cstdint>

namespace qla {

namespace {

// An opponent in a player's list.
struct Candidate {
    PlayerIndex Opponent = 0;
    std::int64_t EitherWay = 0;
};

// The most kills either way first, equal ones in the order of the opponents' indexes.
bool Before(const Candidate& a, const Candidate& b) {
    return a.EitherWay != b.EitherWay ? a.EitherWay > b.EitherWay : a.Opponent < b.Opponent;
}

// Calls visit(event, count, opponent, asKiller) for each of the player's kills of and by others.
template <class Visit>
void ForEachMeeting(const AnalysisStore& store, const KillEventIndex& index, PlayerIndex player,
                    Visit visit) {
    for (const bool asKiller : {true, false}) {
        const PlayerEvents events =
            asKiller ? index.KillerEvents(player) : index.VictimEvents(player);
        for (const std::int32_t at : events.Positions) {
            const auto position = static_cast<std::size_t>(at);
            const KillEvent& event = store.KillEvents[position];
            if (BetweenOpponents(event))
                visit(event, static_cast<std::int64_t>(store.KillEventCount(position)),
                      asKiller ? event.Victim : event.Killer, asKiller);
        }
    }
}

} // namespace

std::vector<std::vector<TopOpponent>> TopOpponents(const AnalysisStore& store,
                                                   const KillEventIndex& index, std::size_t limit) {
    // Every record, the hidden player's too: he stays in the others' lists.
    const auto players = std::max<std::size_t>(store.Players.size(), 1);
    const bool weapons = StoreKeepsWeapons(store);
    constexpr std::uint32_t kNone = UINT32_MAX;
    std::vector<std::vector<TopOpponent>> top(players);
    // By opponent, for the player at hand: the counts from his side, and the place in his list.
    std::vector<VersusCounts> tally(players);
    std::vector<char> counted(players, 0);
    std::vector<std::uint32_t> kept(players, kNone);
    std::vector<PlayerIndex> met;
    std::vector<Candidate> list;
    for (std::size_t p = 1; p < players; ++p) {
        const auto player = static_cast<PlayerIndex>(p);
        met.clear();
        ForEachMeeting(
            store, index, player,
            [&](const KillEvent&, std::int64_t count, PlayerIndex opponent, bool asKiller) {
                const auto at = static_cast<std::size_t>(opponent);
                if (!counted[at]) {
                    counted[at] = 1;
                    met.push_back(opponent);
                }
                (asKiller ? tally[at].Kills : tally[at].Deaths) += count;
            });
        list.clear();
        for (const PlayerIndex opponent : met)
            list.push_back({opponent, tally[static_cast<std::size_t>(opponent)].EitherWay()});
        if (list.size() > limit) {
            std::nth_element(list.begin(), list.begin() + static_cast<std::ptrdiff_t>(limit),
                             list.end(), Before);
            list.resize(limit);
        }
        std::sort(list.begin(), list.end(), Before);
        std::vector<TopOpponent>& own = top[p];
        for (const Candidate& candidate : list) {
            kept[static_cast<std::size_t>(candidate.Opponent)] =
                static_cast<std::uint32_t>(own.size());
            own.push_back(
                {candidate.Opponent, tally[static_cast<std::size_t>(candidate.Opponent)], {}});
        }
        if (weapons)
            ForEachMeeting(store, index, player,
                           [&](const KillEvent& event, std::int64_t count, PlayerIndex opponent,
                               bool asKiller) {
                               const std::uint32_t place = kept[static_cast<std::size_t>(opponent)];
                               if (place == kNone || event.WeaponText >= kEventWeaponTexts.size())
                                   return;
                               std::vector<WeaponVersus>& used = own[place].Weapons;
                               auto at = std::find_if(
                                   used.begin(), used.end(), [&](const WeaponVersus& weapon) {
                                       return weapon.WeaponText == event.WeaponText;
                                   });
                               if (at == used.end())
                                   at = used.insert(used.end(), {event.WeaponText, {}});
                               (asKiller ? at->Counts.Kills : at->Counts.Deaths) += count;
                           });
        for (TopOpponent& opponent : own) {
            // In the order of the weapons' texts, as OrderWeapons leaves equal counts.
            std::sort(opponent.Weapons.begin(), opponent.Weapons.end(),
                      [](const WeaponVersus& a, const WeaponVersus& b) {
                          return a.WeaponText < b.WeaponText;
                      });
            OrderWeapons(opponent.Weapons);
            kept[static_cast<std::size_t>(opponent.Opponent)] = kNone;
        }
        for (const PlayerIndex opponent : met) {
            tally[static_cast<std::size_t>(opponent)] = {};
            counted[static_cast<std::size_t>(opponent)] = 0;
        }
    }
    return top;
}

} // namespace qla
