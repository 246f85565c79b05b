#include "db/kill_order_entries.h"

#include <unordered_map>

namespace qla::db {
namespace {

// The place in `pairs` of each killer, victim and teamkill.
std::unordered_map<std::uint64_t, std::uint32_t> PlacesOf(const std::vector<DigestPair>& pairs) {
    std::unordered_map<std::uint64_t, std::uint32_t> places;
    places.reserve(pairs.size());
    for (std::size_t p = 0; p < pairs.size(); ++p)
        places.emplace(
            KillPairKey(pairs[p].Killer, pairs[p].Victim, pairs[p].FirstWeapon == kEventTeamkill),
            static_cast<std::uint32_t>(p));
    return places;
}

// Ends the log in `order`: known when its kills were all added.
void EndLog(KillOrder& order, bool known) {
    order.LogEnds.push_back(order.Entries.size());
    order.Known.push_back(known);
}

void AddSessions(const StoredKillOrder& stored, std::size_t firstKill, KillOrder& order) {
    for (const std::size_t start : stored.SessionStarts)
        order.SessionStarts.push_back(firstKill + start);
}

} // namespace

void AddLogKillOrder(const LogDigest& digest, const std::optional<StoredKillOrder>& stored,
                     bool byHoldings, std::size_t firstEntry, KillOrder& order) {
    if (!stored) {
        EndLog(order, false);
        return;
    }
    const std::size_t firstKill = order.Entries.size();
    if (byHoldings) {
        for (const std::uint32_t pair : stored->Pairs)
            order.Entries.push_back(static_cast<std::uint32_t>(firstEntry + pair));
    } else {
        // The store filed the pairs of names: each holding pair is the pair of its names.
        const auto places = PlacesOf(digest.Pairs);
        std::vector<std::uint32_t> entryOf;
        entryOf.reserve(digest.HoldingPairs.size());
        // The holdings' names as read: whole holdings, or their names alone.
        const bool namesOnly = digest.Holdings.empty();
        const std::size_t holdings =
            namesOnly ? digest.HoldingNameIds.size() : digest.Holdings.size();
        const auto nameOf = [&](std::uint32_t holding) {
            return namesOnly ? digest.HoldingNameIds[holding] : digest.Holdings[holding].Name;
        };
        for (const DigestPair& pair : digest.HoldingPairs) {
            const bool held = pair.Killer < holdings && pair.Victim < holdings;
            const auto place =
                !held ? places.end()
                      : places.find(KillPairKey(nameOf(pair.Killer), nameOf(pair.Victim),
                                                pair.FirstWeapon == kEventTeamkill));
            if (place == places.end()) {
                order.Entries.resize(firstKill);
                EndLog(order, false);
                return;
            }
            entryOf.push_back(static_cast<std::uint32_t>(firstEntry + place->second));
        }
        for (const std::uint32_t pair : stored->Pairs)
            order.Entries.push_back(entryOf[pair]);
    }
    AddSessions(*stored, firstKill, order);
    EndLog(order, true);
}

void AddReadAgainKillOrder(const AnalysisStore& again, const LogDigest& inContext,
                           const std::optional<StoredKillOrder>& stored, std::size_t firstEntry,
                           KillOrder& order) {
    if (!stored || stored->Pairs.size() + 1 != again.KillEvents.size()) {
        EndLog(order, false);
        return;
    }
    const std::size_t firstKill = order.Entries.size();
    const auto places = PlacesOf(inContext.Pairs);
    for (std::size_t at = 1; at < again.KillEvents.size(); ++at) {
        // The reading's records are the digest's players, in order.
        const KillEvent& event = again.KillEvents[at];
        const auto place = places.find(KillPairKey(static_cast<std::uint32_t>(event.Killer - 1),
                                                   static_cast<std::uint32_t>(event.Victim - 1),
                                                   event.WeaponText == kEventTeamkill));
        if (place == places.end()) {
            order.Entries.resize(firstKill);
            EndLog(order, false);
            return;
        }
        order.Entries.push_back(static_cast<std::uint32_t>(firstEntry + place->second));
    }
    AddSessions(*stored, firstKill, order);
    EndLog(order, true);
}

} // namespace qla::db
