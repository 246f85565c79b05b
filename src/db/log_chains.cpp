// Folding a log's holdings into chains: the chains are worked out by the same code that merges
// persons (ChainStartsOf), on a store of the log's holdings alone, so a stored log gives the
// chains that reading its holdings would give.
#include "db/log_chains.h"

#include "analysis/holder_identity.h"
#include "core/key_index.h"

#include <algorithm>
#include <set>
#include <unordered_map>

namespace qla::db {
namespace {

// The holdings and their kills as the chains see them: a log stored without holdings counts
// each name as one holding, as reading it does.
struct HoldingsView {
    std::vector<DigestHolding> Own; // only for a log without holdings
    const std::vector<DigestHolding>* Holdings = nullptr;
    const std::vector<DigestPair>* Pairs = nullptr;
};

HoldingsView ViewOf(const LogDigest& digest) {
    HoldingsView view;
    if (digest.HasHoldings) {
        view.Holdings = &digest.Holdings;
        view.Pairs = &digest.HoldingPairs;
        return view;
    }
    for (std::size_t n = 0; n < digest.Players.size(); ++n)
        view.Own.push_back({static_cast<std::uint32_t>(n), NameHolding{}, digest.Players[n]});
    view.Holdings = &view.Own;
    view.Pairs = &digest.Pairs;
    return view;
}

std::vector<PlayerIndex> ChainStarts(const LogDigest& digest, const HoldingsView& view) {
    AnalysisStore holders;
    holders.TracksHolders = true;
    holders.Reset();
    // Room at once: grown by doubling, the 440-byte records were copied at every step.
    holders.Players.reserve(view.Holdings->size() + 1);
    holders.Holdings.reserve(view.Holdings->size() + 1);
    holders.KillEvents.reserve(view.Pairs->size());
    for (const DigestHolding& h : *view.Holdings)
        holders.AddHolding(digest.Players[h.Name].Name, h.Holding);
    for (const DigestPair& p : *view.Pairs)
        holders.KillEvents.push_back({static_cast<PlayerIndex>(p.Killer + 1),
                                      static_cast<PlayerIndex>(p.Victim + 1), p.FirstWeapon});
    return ChainStartsOf(holders);
}

// The records by chain and name (`byName`) or one per holding; false when a kill between two
// holdings would fall inside one record (it would read as a kill of oneself).
bool Fold(const LogDigest& digest, const HoldingsView& view, const std::vector<PlayerIndex>& starts,
          bool byName, LogChains& chains) {
    chains = LogChains();
    const std::vector<DigestHolding>& holdings = *view.Holdings;
    std::vector<std::uint32_t> recordOf(holdings.size());
    std::unordered_map<std::uint64_t, std::uint32_t> recordOfChainName;
    recordOfChainName.reserve(holdings.size());
    chains.Records.reserve(holdings.size()); // room never touched costs no memory
    for (std::size_t k = 0; k < holdings.size(); ++k) {
        const DigestHolding& h = holdings[k];
        const auto start = static_cast<std::uint64_t>(starts[k + 1]);
        const std::uint64_t key = byName ? (start << 32) | h.Name : k + 1;
        const auto [at, added] =
            recordOfChainName.try_emplace(key, static_cast<std::uint32_t>(chains.Records.size()));
        recordOf[k] = at->second;
        if (added) {
            DigestHolding record = h;
            const std::uint32_t first = recordOf[start - 1];
            record.Holding.From = first == at->second ? 0 : static_cast<std::int32_t>(first + 1);
            record.Holding.Held = 1;
            record.Holding.Latest = static_cast<std::uint32_t>(k + 1);
            chains.Records.push_back(std::move(record));
            continue;
        }
        DigestHolding& record = chains.Records[at->second];
        record.Holding.LastLine = std::max(record.Holding.LastLine, h.Holding.LastLine);
        record.Holding.EndLine = h.Holding.EndLine;
        record.Holding.Ended = h.Holding.Ended;
        record.Holding.RenamedAway = h.Holding.RenamedAway;
        ++record.Holding.Held;
        record.Holding.Latest = static_cast<std::uint32_t>(k + 1);
        AddPlayerCounters(record.Counters, h.Counters);
    }
    // A log's pairs come in the order of their first kills: a record's pair keeps the first's
    // place and event text (a teamkill apart from the kills).
    KeyIndex pairAt(view.Pairs->size());
    chains.Pairs.reserve(view.Pairs->size());
    const std::vector<DigestPair>& pairs = *view.Pairs;
    const auto pairKey = [&](std::size_t k) {
        return KillPairKey(recordOf[pairs[k].Killer], recordOf[pairs[k].Victim],
                           pairs[k].FirstWeapon == kEventTeamkill);
    };
    for (std::size_t k = 0; k < pairs.size(); ++k) {
        PrefetchAhead(pairAt, k, pairs.size(), pairKey);
        const DigestPair& p = pairs[k];
        const std::uint32_t killer = recordOf[p.Killer], victim = recordOf[p.Victim];
        if (p.Killer != p.Victim && killer == victim)
            return false;
        const auto [at, added] =
            pairAt.TryEmplace(pairKey(k), static_cast<std::uint32_t>(chains.Pairs.size()));
        if (added)
            chains.Pairs.push_back({killer, victim, p.FirstWeapon, p.Count, p.FirstEvent});
        else
            chains.Pairs[at].Count += p.Count;
    }
    chains.FirstOfName.assign(digest.Players.size(), 0);
    for (std::size_t k = 0; k < holdings.size(); ++k)
        if (chains.FirstOfName[holdings[k].Name] == 0)
            chains.FirstOfName[holdings[k].Name] = recordOf[k] + 1;
    // A chat is filed under its name's first record unless told otherwise.
    for (DigestChatHolding chat : digest.ChatHoldings) {
        const std::uint32_t record = recordOf[chat.Holding];
        if (chains.FirstOfName[holdings[chat.Holding].Name] == record + 1)
            continue;
        chat.Holding = record;
        chains.ChatRecords.push_back(chat);
    }
    std::set<std::pair<std::uint32_t, std::string_view>> renamed;
    for (std::size_t k = 0; k < digest.Renames.size() && k < digest.RenameHoldings.size(); ++k) {
        const auto [from, line] = digest.RenameHoldings[k];
        if (from == 0)
            continue;
        const auto& [oldName, newName] = digest.Renames[k];
        if (renamed.insert({recordOf[from - 1], newName}).second)
            chains.Renames.push_back({recordOf[from - 1], line, oldName, newName});
    }
    return true;
}

} // namespace

LogChains ChainsOfDigest(const LogDigest& digest) {
    const HoldingsView view = ViewOf(digest);
    const std::vector<PlayerIndex> starts = ChainStarts(digest, view);
    LogChains chains;
    if (!Fold(digest, view, starts, true, chains))
        Fold(digest, view, starts, false, chains);
    return chains;
}

} // namespace qla::db
