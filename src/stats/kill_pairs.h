// The kill entries of a store grouped by the two players they are between, for the tables of
// pairs (the rating's encounters, the site's top opponents). A long history holds a million
// entries over half a million pairs: one stable radix sort of the entries by their pair costs a
// few passes over them, where a table looked up once per entry misses the cache nearly every
// time.
#pragma once

#include "core/store.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace qla {

// The pair of players a and b (a < b) as one number.
inline std::uint64_t PairKey(std::uint32_t a, std::uint32_t b) {
    return (std::uint64_t{a} << 32) | b;
}
inline std::uint32_t LowerOf(std::uint64_t key) {
    return static_cast<std::uint32_t>(key >> 32);
}
inline std::uint32_t HigherOf(std::uint64_t key) {
    return static_cast<std::uint32_t>(key & 0xffffffffU);
}

// 12 bytes, not 16: a hundred logs' million entries and the sort's copy of them were the
// largest part of the statistics site's peak. The pair is kept as two halves, each aligned.
struct PairEntry {
    PairEntry() = default;
    PairEntry(std::uint64_t key, std::uint32_t entry)
        : Lower(LowerOf(key)), Higher(HigherOf(key)), Entry(entry) {}
    // The pair: the lower player in the high half, the higher in the low.
    std::uint64_t Key() const { return PairKey(Lower, Higher); }

    std::uint32_t Lower = 0, Higher = 0;
    std::uint32_t Entry = 0; // the entry's index in the store's KillEvents
};
static_assert(sizeof(PairEntry) == 12);

// A kill between two different players; teamkills and kills of oneself are no meeting of
// opponents.
inline bool BetweenOpponents(const KillEvent& event) {
    return event.Killer != event.Victim && event.WeaponText != kEventTeamkill && event.Killer > 0 &&
           event.Victim > 0;
}

// Sorts the entries by pair, keeping each pair's entries in the order they were given.
void SortByPair(std::vector<PairEntry>& entries);

// The store's kill entries between two different players (teamkills, kills of oneself and
// entries `keep` refuses left out), keyed by the players' indexes in the store, sorted by pair.
using KeepKillEntry = std::function<bool(std::size_t entry, const KillEvent& event)>;
std::vector<PairEntry> KillEntriesByPair(const AnalysisStore& store,
                                         const KeepKillEntry& keep = {});

} // namespace qla
