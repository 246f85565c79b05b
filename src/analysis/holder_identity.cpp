// Holdings joined in three steps: within a session (renames, colour variants held at the same
// moment), then across sessions by the names that are a person's own, then the user's aliases.
// Every step goes through the records in order, so the same logs give the same persons.
#include "analysis/holder_identity.h"

#include "analysis/merge_players.h"
#include "core/names.h"

#include <algorithm>
#include <map>
#include <numeric>
#include <set>
#include <unordered_map>
#include <unordered_set>

namespace qla {

namespace {

class Joins {
  public:
    explicit Joins(std::size_t count) : parent_(count) {
        std::iota(parent_.begin(), parent_.end(), std::size_t{0});
    }
    std::size_t Root(std::size_t node) {
        while (parent_[node] != node) {
            parent_[node] = parent_[parent_[node]];
            node = parent_[node];
        }
        return node;
    }
    // The earlier record stays the root, so persons keep the order of their first records.
    void Join(std::size_t a, std::size_t b) {
        a = Root(a);
        b = Root(b);
        if (a == b)
            return;
        if (b < a)
            std::swap(a, b);
        parent_[b] = a;
        // The joined set's foes are the foes of both.
        const auto found = foes_.find(b);
        if (found == foes_.end())
            return;
        std::unordered_set<std::size_t> moved = std::move(found->second);
        foes_.erase(found);
        for (const std::size_t foe : moved) {
            auto& theirs = foes_[foe];
            theirs.erase(b);
            if (foe != a) {
                theirs.insert(a);
                foes_[a].insert(foe);
            }
        }
    }
    // Joins unless the two hold records shown to be two people.
    void JoinUnlessFoes(std::size_t a, std::size_t b) {
        a = Root(a);
        b = Root(b);
        if (a == b)
            return;
        if (const auto found = foes_.find(a); found != foes_.end() && found->second.contains(b))
            return;
        Join(a, b);
    }
    void AddFoes(std::size_t a, std::size_t b) {
        a = Root(a);
        b = Root(b);
        if (a == b)
            return;
        foes_[a].insert(b);
        foes_[b].insert(a);
    }

  private:
    std::vector<std::size_t> parent_;
    std::unordered_map<std::size_t, std::unordered_set<std::size_t>> foes_; // by root
};

// Whether a holding that began first could still be held when the later one began: names with
// one key held at the same moment are one holder, one held after the other ended are two.
bool HeldTogether(const NameHolding& first, const NameHolding& later) {
    if (!first.Ended)
        return true;
    if (first.EndLine == 0 || later.FirstLine == 0) // lines not told: the order of records
        return false;
    return later.FirstLine < first.EndLine;
}

struct RecordKeys {
    std::vector<std::string> Key;  // by record; empty: joins no one by itself
    std::vector<std::uint32_t> Id; // by record: a number per distinct key
    std::vector<char> Automatic;   // by record: the model may join it
};

// A session and a key as one number, for the tables of holdings by both.
std::uint64_t SessionKey(std::uint32_t session, std::uint32_t key) {
    return (std::uint64_t{session} << 32) | key;
}

RecordKeys KeysOf(const AnalysisStore& store, const AliasList& aliases) {
    RecordKeys keys;
    keys.Key.resize(store.Players.size());
    keys.Id.assign(store.Players.size(), 0);
    keys.Automatic.assign(store.Players.size(), 0);
    // Holders of one name share its key: each name's key is worked out once.
    std::unordered_map<std::string_view, std::pair<std::string, std::uint32_t>> keyOfName;
    std::unordered_map<std::string, std::uint32_t> idOfKey;
    std::unordered_set<std::string> splits;
    for (const AliasEntry& entry : aliases.Entries())
        if (entry.Kind == AliasKind::Split)
            splits.insert(entry.Name);
    for (const PlayerIndex r : store.PlayerIndexes()) {
        const std::string& name = store.Players[static_cast<std::size_t>(r)].Name;
        if (name == kUnnamedPlayer || splits.contains(name))
            continue;
        keys.Automatic[static_cast<std::size_t>(r)] = 1;
        auto [known, added] = keyOfName.try_emplace(name);
        if (added) {
            known->second.first = IdentityKey(name);
            known->second.second =
                idOfKey.try_emplace(known->second.first, static_cast<std::uint32_t>(idOfKey.size()))
                    .first->second;
        }
        keys.Key[static_cast<std::size_t>(r)] = known->second.first;
        keys.Id[static_cast<std::size_t>(r)] = known->second.second;
    }
    return keys;
}

// One killed the other: holdings of one identity key that are two people (a name written in
// other colours by someone else). Such records are never joined by their key.
void AddFoes(const AnalysisStore& store, const RecordKeys& keys, Joins& joins) {
    std::set<std::pair<PlayerIndex, PlayerIndex>> seen;
    for (const KillEvent& event : RealEntries(store.KillEvents)) {
        const auto killer = static_cast<std::size_t>(event.Killer);
        const auto victim = static_cast<std::size_t>(event.Victim);
        if (killer == victim || keys.Key[killer].empty() || keys.Key[killer] != keys.Key[victim])
            continue;
        if (seen.insert(std::minmax(event.Killer, event.Victim)).second)
            joins.AddFoes(killer, victim);
    }
}

// Step one: the chains of a session's holders.
void JoinWithinSessions(const AnalysisStore& store, const RecordKeys& keys, Joins& joins) {
    std::unordered_map<std::uint64_t, std::vector<PlayerIndex>> byKey;
    for (const PlayerIndex r : store.PlayerIndexes()) {
        const auto at = static_cast<std::size_t>(r);
        if (!keys.Automatic[at])
            continue;
        const NameHolding& holding = store.Holdings[at];
        if (holding.From != 0 && keys.Automatic[static_cast<std::size_t>(holding.From)])
            joins.Join(static_cast<std::size_t>(holding.From), at);
        if (keys.Key[at].empty())
            continue;
        // Records come in the order their holdings began: one that ended before this one began
        // ended before every later one too.
        std::vector<PlayerIndex>& earlier = byKey[SessionKey(holding.Session, keys.Id[at])];
        std::erase_if(earlier, [&](PlayerIndex e) {
            return !HeldTogether(store.Holdings[static_cast<std::size_t>(e)], holding);
        });
        for (const PlayerIndex e : earlier)
            joins.JoinUnlessFoes(static_cast<std::size_t>(e), at);
        earlier.push_back(r);
    }
}

// Each key's use: the chains that use it, and of them those that play it most.
using KeyUses = std::unordered_map<std::string, std::pair<int, int>>;

KeyUses KeyUsesOf(const AnalysisStore& store, const RecordKeys& keys, Joins& chains,
                  const std::vector<std::int64_t>& lines) {
    // Lines of each chain under each key, and the key's latest record: a tie of lines goes to
    // the name the chain took last (a newcomer's chosen name over the connect name).
    std::unordered_map<std::size_t, std::map<std::string, std::pair<std::int64_t, std::size_t>>>
        chainKeys;
    std::vector<std::size_t> chainOrder;
    for (const PlayerIndex r : store.PlayerIndexes()) {
        const auto at = static_cast<std::size_t>(r);
        if (!keys.Automatic[at] || keys.Key[at].empty())
            continue;
        const std::size_t chain = chains.Root(at);
        auto [entry, added] = chainKeys.try_emplace(chain);
        if (added)
            chainOrder.push_back(chain);
        auto& [count, latest] = entry->second[keys.Key[at]];
        count += lines[at];
        latest = at;
    }
    // A name renamed into is used by its renamer's chain, even with no line under it yet.
    for (const RenameEntry& rename : RealEntries(store.Renames)) {
        const auto from = static_cast<std::size_t>(rename.From);
        std::string key = IdentityKey(rename.NewName);
        if (from == 0 || !keys.Automatic[from] || key.empty())
            continue;
        const auto found = chainKeys.find(chains.Root(from));
        if (found != chainKeys.end())
            found->second.try_emplace(std::move(key), std::pair<std::int64_t, std::size_t>{0, 0});
    }
    KeyUses uses;
    for (const std::size_t chain : chainOrder) {
        const auto& perKey = chainKeys[chain];
        const auto most =
            std::max_element(perKey.begin(), perKey.end(),
                             [](const auto& a, const auto& b) { return a.second < b.second; });
        for (const auto& [key, use] : perKey) {
            auto& [using_, mostPlayed] = uses[key];
            ++using_;
            if (key == most->first)
                ++mostPlayed;
        }
    }
    return uses;
}

std::vector<std::string> OwnNameKeysOf(const AnalysisStore& store, const RecordKeys& keys,
                                       Joins& chains, const std::vector<std::int64_t>& lines) {
    std::vector<std::string> own;
    for (const auto& [key, use] : KeyUsesOf(store, keys, chains, lines))
        if (2 * use.second >= use.first && use.second > 0)
            own.push_back(key);
    std::sort(own.begin(), own.end());
    return own;
}

} // namespace

std::vector<std::string> PassingNameKeys(const AnalysisStore& store) {
    const RecordKeys keys = KeysOf(store, AliasList());
    Joins joins(store.Players.size());
    JoinWithinSessions(store, keys, joins);
    std::vector<std::string> passing;
    for (const auto& [key, use] : KeyUsesOf(store, keys, joins, RecordedLinesPerPlayer(store)))
        if (use.first >= 2 && 2 * use.second < use.first)
            passing.push_back(key);
    std::sort(passing.begin(), passing.end());
    return passing;
}

std::vector<std::string> OwnNameKeys(const AnalysisStore& store) {
    const RecordKeys keys = KeysOf(store, AliasList());
    Joins joins(store.Players.size());
    JoinWithinSessions(store, keys, joins);
    return OwnNameKeysOf(store, keys, joins, RecordedLinesPerPlayer(store));
}

namespace {

void JoinByKey(const AnalysisStore& store, const RecordKeys& keys, Joins& joins,
               const std::unordered_set<std::string>* only) {
    std::unordered_map<std::string, std::size_t> firstWithKey;
    const auto use = [&](std::size_t at, const std::string& key) {
        if (!keys.Automatic[at] || key.empty() || (only != nullptr && !only->contains(key)))
            return;
        const auto [first, added] = firstWithKey.try_emplace(key, at);
        if (!added)
            joins.JoinUnlessFoes(first->second, at);
    };
    for (const PlayerIndex r : store.PlayerIndexes())
        use(static_cast<std::size_t>(r), keys.Key[static_cast<std::size_t>(r)]);
    // A name renamed into holds its renamer's key even before he plays under it.
    if (only != nullptr)
        for (const RenameEntry& rename : RealEntries(store.Renames))
            if (rename.From != 0)
                use(static_cast<std::size_t>(rename.From), IdentityKey(rename.NewName));
}

// A person continues under the very name he played first, then under its other colourings.
void JoinByName(const AnalysisStore& store, const RecordKeys& keys, Joins& joins,
                const std::unordered_set<std::string>& own) {
    std::unordered_map<std::string, std::size_t> firstWithName;
    const auto use = [&](std::size_t at, std::string_view name, const std::string& key) {
        if (!keys.Automatic[at] || !own.contains(key))
            return;
        const auto [first, added] = firstWithName.try_emplace(std::string(name), at);
        if (!added)
            joins.JoinUnlessFoes(first->second, at);
    };
    for (const PlayerIndex r : store.PlayerIndexes()) {
        const auto at = static_cast<std::size_t>(r);
        use(at, store.Players[at].Name, keys.Key[at]);
    }
    for (const RenameEntry& rename : RealEntries(store.Renames))
        if (rename.From != 0)
            use(static_cast<std::size_t>(rename.From), rename.NewName, IdentityKey(rename.NewName));
}

// A person holds one name at a time: two chains of a session that were both in play at once are
// two people, whatever names they share. Only chains that share one of the own names matter.
void AddChainsInPlayTogether(const AnalysisStore& store, const RecordKeys& keys, Joins& joins,
                             const std::unordered_set<std::string>& own) {
    struct Span {
        std::uint64_t First = UINT64_MAX, Last = 0;
    };
    std::unordered_map<std::size_t, Span> spans; // chain root -> lines it was in play
    std::map<std::uint64_t, std::vector<std::size_t>> chainsWithKey; // in a fixed order
    for (const PlayerIndex r : store.PlayerIndexes()) {
        const auto at = static_cast<std::size_t>(r);
        if (!keys.Automatic[at])
            continue;
        const NameHolding& holding = store.Holdings[at];
        const std::size_t chain = joins.Root(at);
        Span& span = spans[chain];
        span.First = std::min(span.First, holding.FirstLine);
        span.Last = std::max(span.Last, holding.LastLine);
        if (own.contains(keys.Key[at])) {
            auto& chains = chainsWithKey[SessionKey(holding.Session, keys.Id[at])];
            if (std::find(chains.begin(), chains.end(), chain) == chains.end())
                chains.push_back(chain);
        }
    }
    for (const auto& [sessionKey, chains] : chainsWithKey)
        for (std::size_t i = 0; i < chains.size(); ++i)
            for (std::size_t j = i + 1; j < chains.size(); ++j) {
                const Span& a = spans[chains[i]];
                const Span& b = spans[chains[j]];
                if (a.Last != 0 && b.Last != 0 && a.First < b.Last && b.First < a.Last)
                    joins.AddFoes(chains[i], chains[j]);
            }
}

HolderPersons Persons(const AnalysisStore& store, const AliasList& aliases, bool overTime) {
    const RecordKeys keys = KeysOf(store, aliases);
    Joins joins(store.Players.size());
    std::vector<std::string> ownKeysFound;
    if (overTime) {
        AddFoes(store, keys, joins);
        JoinWithinSessions(store, keys, joins);
        const std::vector<std::string> ownKeys =
            OwnNameKeysOf(store, keys, joins, RecordedLinesPerPlayer(store));
        const std::unordered_set<std::string> own(ownKeys.begin(), ownKeys.end());
        AddChainsInPlayTogether(store, keys, joins, own);
        // Step two: a person continues under his own names, whichever session uses them.
        JoinByName(store, keys, joins, own);
        JoinByKey(store, keys, joins, &own);
        ownKeysFound = ownKeys;
    } else {
        JoinByKey(store, keys, joins, nullptr);
    }
    // Step three: the user's joins, by exact name, over everything.
    std::unordered_map<std::string, std::size_t> firstWithName;
    for (const PlayerIndex r : store.PlayerIndexes())
        firstWithName.try_emplace(store.Players[static_cast<std::size_t>(r)].Name,
                                  static_cast<std::size_t>(r));
    for (const AliasEntry& entry : aliases.Entries()) {
        if (entry.Kind != AliasKind::Join)
            continue;
        const auto a = firstWithName.find(entry.Name), b = firstWithName.find(entry.Other);
        if (a == firstWithName.end() || b == firstWithName.end())
            continue;
        for (const auto& name : {entry.Name, entry.Other})
            for (const PlayerIndex r : store.PlayerIndexes())
                if (store.Players[static_cast<std::size_t>(r)].Name == name)
                    joins.Join(a->second, static_cast<std::size_t>(r));
        joins.Join(a->second, b->second);
    }

    HolderPersons persons;
    persons.OwnKeys = std::move(ownKeysFound);
    persons.PersonOf.assign(store.Players.size(), 0);
    std::unordered_map<std::size_t, PlayerIndex> personOfRoot;
    for (const PlayerIndex r : store.PlayerIndexes()) {
        const auto [at, added] =
            personOfRoot.try_emplace(joins.Root(static_cast<std::size_t>(r)), persons.Count + 1);
        if (added)
            ++persons.Count;
        persons.PersonOf[static_cast<std::size_t>(r)] = at->second;
    }
    return persons;
}

} // namespace

HolderPersons PersonsByIdentityKey(const AnalysisStore& store, const AliasList& aliases) {
    return Persons(store, aliases, false);
}

HolderPersons PersonsOfHolders(const AnalysisStore& store, const AliasList& aliases) {
    return Persons(store, aliases, store.TracksHolders);
}

} // namespace qla
