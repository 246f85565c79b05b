// The kill entries sorted by pair give every pair's kills; each player keeps his first `limit`
// opponents, and only the pairs kept gather their weapons: a long history meets hundreds of
// thousands of pairs.
#include "stats/top_opponents.h"

#include "stats/kill_pairs.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace qla {

namespace {

// A pair of players in index order; the counts are from the first's side.
struct PairKills {
    PlayerIndex First = 0, Second = 0;
    VersusCounts Counts;
};

// An opponent in a player's list, the pair's place beside him.
struct Candidate {
    PlayerIndex Opponent = 0;
    std::int64_t EitherWay = 0;
    std::uint32_t Pair = 0;
};

// The most kills either way first, equal ones in the order of the opponents' indexes.
bool Before(const Candidate& a, const Candidate& b) {
    return a.EitherWay != b.EitherWay ? a.EitherWay > b.EitherWay : a.Opponent < b.Opponent;
}

// Cuts a list to its first `limit` opponents, in order.
void KeepFirst(std::vector<Candidate>& list, std::size_t limit) {
    if (list.size() > limit) {
        std::nth_element(list.begin(), list.begin() + static_cast<std::ptrdiff_t>(limit),
                         list.end(), Before);
        list.resize(limit);
    }
    std::sort(list.begin(), list.end(), Before);
}

} // namespace

std::vector<std::vector<TopOpponent>> TopOpponents(const AnalysisStore& store, std::size_t limit) {
    // Every record, the hidden player's too: he stays in the others' lists.
    const auto players = std::max<std::size_t>(store.Players.size(), 1);
    const bool weapons = StoreKeepsWeapons(store);
    constexpr std::uint32_t kNone = UINT32_MAX;
    const std::vector<PairEntry> entries =
        KillEntriesByPair(store, [players](std::size_t, const KillEvent& event) {
            return static_cast<std::size_t>(std::max(event.Killer, event.Victim)) < players;
        });
    // Each pair's kills, and where its entries start (one more for the end).
    std::vector<PairKills> pairs;
    std::vector<std::size_t> pairStart;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (i == 0 || entries[i].Key != entries[i - 1].Key) {
            pairs.push_back({static_cast<PlayerIndex>(LowerOf(entries[i].Key)),
                             static_cast<PlayerIndex>(HigherOf(entries[i].Key)),
                             {}});
            pairStart.push_back(i);
        }
        const KillEvent& event = store.KillEvents[entries[i].Entry];
        const auto kills = static_cast<std::int64_t>(store.KillEventCount(entries[i].Entry));
        (event.Killer == pairs.back().First ? pairs.back().Counts.Kills
                                            : pairs.back().Counts.Deaths) += kills;
    }
    pairStart.push_back(entries.size());

    // Each player's first opponents, the lists kept short as they fill.
    std::vector<std::vector<Candidate>> lists(players);
    for (std::size_t p = 0; p < pairs.size(); ++p) {
        const PairKills& pair = pairs[p];
        const std::int64_t eitherWay = pair.Counts.EitherWay();
        for (const auto& [player, opponent] :
             {std::pair(pair.First, pair.Second), std::pair(pair.Second, pair.First)}) {
            std::vector<Candidate>& list = lists[static_cast<std::size_t>(player)];
            list.push_back({opponent, eitherWay, static_cast<std::uint32_t>(p)});
            if (list.size() >= 4 * limit + 16)
                KeepFirst(list, limit);
        }
    }
    // The weapons of the kept pairs only, from the first player's side.
    std::vector<std::uint32_t> keptAt(pairs.size(), kNone);
    std::vector<std::vector<WeaponVersus>> keptWeapons;
    for (std::vector<Candidate>& list : lists) {
        KeepFirst(list, limit);
        for (const Candidate& candidate : list)
            if (weapons && keptAt[candidate.Pair] == kNone) {
                keptAt[candidate.Pair] = static_cast<std::uint32_t>(keptWeapons.size());
                keptWeapons.emplace_back();
            }
    }
    for (std::size_t p = 0; p < pairs.size(); ++p) {
        if (keptAt[p] == kNone)
            continue;
        std::vector<WeaponVersus>& kept = keptWeapons[keptAt[p]];
        for (std::size_t i = pairStart[p]; i < pairStart[p + 1]; ++i) {
            const KillEvent& event = store.KillEvents[entries[i].Entry];
            if (event.WeaponText >= kEventWeaponTexts.size())
                continue;
            auto at = std::find_if(kept.begin(), kept.end(), [&](const WeaponVersus& weapon) {
                return weapon.WeaponText == event.WeaponText;
            });
            if (at == kept.end())
                at = kept.insert(kept.end(), {event.WeaponText, {}});
            const auto kills = static_cast<std::int64_t>(store.KillEventCount(entries[i].Entry));
            (event.Killer == pairs[p].First ? at->Counts.Kills : at->Counts.Deaths) += kills;
        }
    }
    // In the order of the weapons' texts, as OrderWeapons leaves equal counts.
    for (std::vector<WeaponVersus>& kept : keptWeapons)
        std::sort(kept.begin(), kept.end(), [](const WeaponVersus& a, const WeaponVersus& b) {
            return a.WeaponText < b.WeaponText;
        });
    std::vector<std::vector<TopOpponent>> top(players);
    for (std::size_t player = 0; player < players; ++player)
        for (const Candidate& candidate : lists[player]) {
            const PairKills& pair = pairs[candidate.Pair];
            const bool swap = pair.First != static_cast<PlayerIndex>(player);
            TopOpponent summary;
            summary.Opponent = candidate.Opponent;
            summary.Counts = pair.Counts;
            if (swap)
                std::swap(summary.Counts.Kills, summary.Counts.Deaths);
            if (keptAt[candidate.Pair] != kNone)
                for (WeaponVersus weapon : keptWeapons[keptAt[candidate.Pair]]) {
                    if (weapon.Counts.EitherWay() == 0)
                        continue;
                    if (swap)
                        std::swap(weapon.Counts.Kills, weapon.Counts.Deaths);
                    summary.Weapons.push_back(weapon);
                }
            OrderWeapons(summary.Weapons);
            top[player].push_back(std::move(summary));
        }
    return top;
}

} // namespace qla
