// A least-significant-digit radix sort on 16-bit digits: stable, and a digit that every key
// shares (the high halves of a store's few thousand players) costs one counting pass only.
#include "stats/kill_pairs.h"

#include <algorithm>
#include <utility>

namespace qla {

void SortByPair(std::vector<PairEntry>& entries) {
    if (entries.size() < 2)
        return;
    constexpr unsigned kDigitBits = 16;
    constexpr std::uint64_t kDigitMask = (std::uint64_t{1} << kDigitBits) - 1;
    std::vector<PairEntry> sorted(entries.size());
    std::vector<std::size_t> starts(std::size_t{1} << kDigitBits);
    for (unsigned shift = 0; shift < 64; shift += kDigitBits) {
        std::fill(starts.begin(), starts.end(), 0);
        for (const PairEntry& entry : entries)
            ++starts[(entry.Key() >> shift) & kDigitMask];
        if (starts[(entries.front().Key() >> shift) & kDigitMask] == entries.size())
            continue; // one value of this digit: the order stays
        std::size_t next = 0;
        for (std::size_t& start : starts)
            next += std::exchange(start, next);
        for (const PairEntry& entry : entries)
            sorted[starts[(entry.Key() >> shift) & kDigitMask]++] = entry;
        entries.swap(sorted);
    }
}

std::vector<PairEntry> KillEntriesByPair(const AnalysisStore& store, const KeepKillEntry& keep) {
    std::vector<PairEntry> entries;
    entries.reserve(store.KillEvents.size());
    for (std::size_t e = 1; e < store.KillEvents.size(); ++e) {
        const KillEvent& event = store.KillEvents[e];
        if (!BetweenOpponents(event) || (keep && !keep(e, event)))
            continue;
        const auto killer = static_cast<std::uint32_t>(event.Killer);
        const auto victim = static_cast<std::uint32_t>(event.Victim);
        entries.push_back({PairKey(std::min(killer, victim), std::max(killer, victim)),
                           static_cast<std::uint32_t>(e)});
    }
    SortByPair(entries);
    return entries;
}

} // namespace qla
