// Holdings joined in three steps: within a session (renames, colour variants held at the same
// moment), then across sessions by the names that are a person's own, then the user's aliases.
// Every step goes through the records in order, so the same logs give the same persons.
#include "analysis/holder_identity.h"

#include "analysis/disjoint_sets.h"
#include "analysis/merge_players.h"
#include "core/key_index.h"
#include "core/names.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <set>
#include <unordered_map>
#include <unordered_set>

namespace qla {

namespace {

// The lines a chain of holdings was in play (0: lines not told).
struct Span {
    std::uint64_t First = UINT64_MAX, Last = 0;
    bool InPlayWith(const Span& other) const {
        return Last != 0 && other.Last != 0 && First < other.Last && other.First < Last;
    }
};

// The records' persons as they are joined, with the sets shown to be two people (foes). Each
// set keeps the records it was shown to be apart from; a join keeps both lists (the shorter
// appended to the longer), and a test looks up the roots of the shorter list.
class Joins {
  public:
    explicit Joins(std::size_t count) : sets_(count), foes_(count) {}
    std::size_t Root(std::size_t node) { return sets_.Root(node); }
    void Join(std::size_t a, std::size_t b) {
        const auto joined = sets_.Join(a, b);
        if (!joined)
            return;
        const auto [kept, gone] = *joined;
        std::vector<std::uint32_t>& keptFoes = foes_[kept];
        std::vector<std::uint32_t>& goneFoes = foes_[gone];
        if (goneFoes.size() > keptFoes.size())
            keptFoes.swap(goneFoes);
        keptFoes.insert(keptFoes.end(), goneFoes.begin(), goneFoes.end());
        std::vector<std::uint32_t>().swap(goneFoes);
    }
    // Joins unless the two hold records shown to be two people.
    void JoinUnlessFoes(std::size_t a, std::size_t b) {
        a = Root(a);
        b = Root(b);
        if (a == b || Foes(a, b))
            return;
        Join(a, b);
    }
    void AddFoes(std::size_t a, std::size_t b) {
        a = Root(a);
        b = Root(b);
        if (a == b)
            return;
        foes_[a].push_back(static_cast<std::uint32_t>(b));
        foes_[b].push_back(static_cast<std::uint32_t>(a));
    }
    // The same for many pairs of roots at once, each list given its room first: tens of
    // thousands of pairs grew their lists one allocation at a time.
    void AddFoesOfRoots(const std::vector<std::pair<std::uint32_t, std::uint32_t>>& pairs) {
        std::vector<std::uint32_t> adding(foes_.size(), 0);
        for (const auto& [a, b] : pairs) {
            ++adding[a];
            ++adding[b];
        }
        for (std::size_t root = 0; root < adding.size(); ++root)
            if (adding[root] != 0)
                foes_[root].reserve(foes_[root].size() + adding[root]);
        for (const auto& [a, b] : pairs)
            AddFoes(a, b);
    }

  private:
    // Whether the sets of roots a and b were shown to be apart: the relation is kept on both
    // sides, so the shorter list tells. Sets only grow, and foes stay foes: two roots once found
    // apart are remembered, as the same two are often tried again.
    bool Foes(std::size_t a, std::size_t b) {
        if (foes_[a].size() > foes_[b].size())
            std::swap(a, b);
        // Most sets were never shown apart from anyone: no table to look into then.
        if (foes_[a].empty())
            return false;
        const std::uint64_t pair = (std::uint64_t{std::min(a, b)} << 32) | std::max(a, b);
        if (rootsApart_.Contains(pair))
            return true;
        for (const std::uint32_t foe : foes_[a])
            if (Root(foe) == b) {
                rootsApart_.TryEmplace(pair, 0);
                return true;
            }
        return false;
    }

    DisjointSets sets_;
    std::vector<std::vector<std::uint32_t>> foes_; // by root: records of the sets apart from it
    KeyIndex rootsApart_; // two roots, the lower first (the positions unused)
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

// Keys as numbers: each distinct key once, its text beside it.
struct RecordKeys {
    std::vector<std::uint32_t> Id;       // by record: its key's number
    std::vector<char> Automatic;         // by record: the model may join it
    std::vector<std::string> Text;       // by key number; the empty key joins no one by itself
    std::vector<std::uint32_t> RenameId; // by rename: the key of the name renamed into
    // The exact names as numbers, by record and by rename (the name renamed into).
    std::vector<std::uint32_t> NameId, RenameNameId;
    std::uint32_t NameCount = 0;
    bool Empty(std::size_t record) const { return Text[Id[record]].empty(); }
};

// A session and a key as one number, for the tables of holdings by both.
std::uint64_t SessionKey(std::uint32_t session, std::uint32_t key) {
    return (std::uint64_t{session} << 32) | key;
}

RecordKeys KeysOf(const AnalysisStore& store, const AliasList& aliases) {
    RecordKeys keys;
    keys.Id.assign(store.Players.size(), 0);
    keys.Automatic.assign(store.Players.size(), 0);
    keys.NameId.assign(store.Players.size(), 0);
    keys.Text.emplace_back(); // number 0: the empty key
    // Holders of one name share its key: each name's number and key are worked out once.
    struct NameIds {
        std::uint32_t Name = 0, Key = 0;
    };
    std::unordered_map<std::string_view, NameIds> idsOfName;
    std::unordered_map<std::string, std::uint32_t> idOfKey{{std::string(), 0}};
    const auto idsOf = [&](std::string_view name) {
        const auto [known, added] = idsOfName.try_emplace(name);
        if (added) {
            std::string key = IdentityKey(name);
            const auto [id, isNew] =
                idOfKey.try_emplace(key, static_cast<std::uint32_t>(keys.Text.size()));
            if (isNew)
                keys.Text.push_back(std::move(key));
            known->second = {keys.NameCount++, id->second};
        }
        return known->second;
    };
    std::unordered_set<std::string> splits;
    for (const AliasEntry& entry : aliases.Entries())
        if (entry.Kind == AliasKind::Split)
            splits.insert(entry.Name);
    for (const PlayerIndex r : store.PlayerIndexes()) {
        const std::string& name = store.Players[static_cast<std::size_t>(r)].Name;
        if (name == kUnnamedPlayer || splits.contains(name))
            continue;
        const NameIds ids = idsOf(name);
        keys.Automatic[static_cast<std::size_t>(r)] = 1;
        keys.Id[static_cast<std::size_t>(r)] = ids.Key;
        keys.NameId[static_cast<std::size_t>(r)] = ids.Name;
    }
    keys.RenameId.assign(store.Renames.size(), 0);
    keys.RenameNameId.assign(store.Renames.size(), 0);
    for (std::size_t k = 1; k < store.Renames.size(); ++k)
        if (store.Renames[k].From > 0) {
            const NameIds ids = idsOf(store.Renames[k].NewName);
            keys.RenameId[k] = ids.Key;
            keys.RenameNameId[k] = ids.Name;
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
        if (killer == victim || keys.Empty(killer) || keys.Id[killer] != keys.Id[victim])
            continue;
        if (seen.insert(std::minmax(event.Killer, event.Victim)).second)
            joins.AddFoes(killer, victim);
    }
}

// Step one: the chains of a session's holders. A store of chains has them worked out already:
// each record names its chain's first record.
void JoinWithinSessions(const AnalysisStore& store, const RecordKeys& keys, Joins& joins) {
    std::unordered_map<std::uint64_t, std::vector<PlayerIndex>> byKey;
    for (const PlayerIndex r : store.PlayerIndexes()) {
        const auto at = static_cast<std::size_t>(r);
        if (!keys.Automatic[at])
            continue;
        const NameHolding& holding = store.Holdings[at];
        if (holding.From != 0 && keys.Automatic[static_cast<std::size_t>(holding.From)])
            joins.Join(static_cast<std::size_t>(holding.From), at);
        if (keys.Empty(at) || store.HoldersChained)
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

// The first step as the persons and the stored chains both take it: the kills between names of
// one key first, then the joins within each session.
void JoinChains(const AnalysisStore& store, const RecordKeys& keys, Joins& joins) {
    AddFoes(store, keys, joins);
    JoinWithinSessions(store, keys, joins);
}

// Each key's use, by key number: the chains that use it, and of them those that play it most.
using KeyUses = std::vector<std::pair<int, int>>;

KeyUses KeyUsesOf(const AnalysisStore& store, const RecordKeys& keys, Joins& chains,
                  const std::vector<std::int64_t>& lines) {
    // Lines of each chain under each key, and the key's latest record: a tie of lines goes to
    // the name the chain took last (a newcomer's chosen name over the connect name).
    struct KeyUse {
        std::uint32_t Id;
        std::uint32_t Latest;
        std::int64_t Lines;
    };
    // The uses grouped by chain, each chain's in the order met: counted first, then placed (a
    // list per chain cost an allocation for each of tens of thousands of chains).
    const auto recordUses = [&](std::size_t at) { return keys.Automatic[at] && !keys.Empty(at); };
    // A name renamed into is used by its renamer's chain, even with no line under it yet: the
    // renamer's record, or 0.
    const auto renamer = [&](std::size_t k) -> std::size_t {
        const auto from = static_cast<std::size_t>(std::max(store.Renames[k].From, 0));
        return from != 0 && keys.Automatic[from] && keys.RenameId[k] != 0 ? from : 0;
    };
    std::vector<std::uint32_t> usesOfChain(store.Players.size() + 1, 0);
    for (const PlayerIndex r : store.PlayerIndexes())
        if (recordUses(static_cast<std::size_t>(r)))
            ++usesOfChain[chains.Root(static_cast<std::size_t>(r)) + 1];
    // Only a chain with a use of its own takes a rename's name.
    for (std::size_t k = 1; k < store.Renames.size(); ++k)
        if (const std::size_t from = renamer(k);
            from != 0 && usesOfChain[chains.Root(from) + 1] != 0)
            ++usesOfChain[chains.Root(from) + 1];
    for (std::size_t chain = 1; chain < usesOfChain.size(); ++chain)
        usesOfChain[chain] += usesOfChain[chain - 1];
    std::vector<KeyUse> byChain(usesOfChain.back());
    {
        std::vector<std::uint32_t> next(usesOfChain.begin(), usesOfChain.end() - 1);
        for (const PlayerIndex r : store.PlayerIndexes()) {
            const auto at = static_cast<std::size_t>(r);
            // A record of a chain stands for several holdings; the latest of them counts.
            const std::uint32_t latest = store.Holdings[at].Latest;
            if (recordUses(at))
                byChain[next[chains.Root(at)]++] = {
                    keys.Id[at], latest != 0 ? latest : static_cast<std::uint32_t>(at), lines[at]};
        }
        for (std::size_t k = 1; k < store.Renames.size(); ++k) {
            const std::size_t from = renamer(k);
            if (from == 0)
                continue;
            const std::size_t chain = chains.Root(from);
            if (usesOfChain[chain + 1] != usesOfChain[chain])
                byChain[next[chain]++] = {keys.RenameId[k], 0, 0};
        }
    }
    KeyUses uses(keys.Text.size(), {0, 0});
    std::vector<KeyUse> perKey; // a chain's uses, each key once, in the order first met
    for (std::size_t chain = 0; chain + 1 < usesOfChain.size(); ++chain) {
        if (usesOfChain[chain] == usesOfChain[chain + 1])
            continue;
        perKey.clear();
        for (std::uint32_t u = usesOfChain[chain]; u < usesOfChain[chain + 1]; ++u) {
            const KeyUse& use = byChain[u];
            const auto same = std::find_if(perKey.begin(), perKey.end(),
                                           [&](const KeyUse& kept) { return kept.Id == use.Id; });
            if (same == perKey.end()) {
                perKey.push_back(use);
            } else {
                same->Lines += use.Lines;
                same->Latest = std::max(same->Latest, use.Latest);
            }
        }
        const auto most =
            std::max_element(perKey.begin(), perKey.end(), [](const auto& a, const auto& b) {
                return std::pair(a.Lines, a.Latest) < std::pair(b.Lines, b.Latest);
            });
        for (const KeyUse& use : perKey) {
            ++uses[use.Id].first;
            if (use.Id == most->Id)
                ++uses[use.Id].second;
        }
    }
    return uses;
}

// A key is a person's own name when it is the most played name of at least half of the chains
// that use it; it only passes when at least two chains use it and fewer than half play it most.
bool IsOwn(const std::pair<int, int>& use) {
    return use.second > 0 && 2 * use.second >= use.first;
}
bool IsPassing(const std::pair<int, int>& use) {
    return use.first >= 2 && 2 * use.second < use.first;
}

// By key number, whether the key is an own name; `texts` receives the own keys, sorted.
std::vector<char> OwnKeysOf(const AnalysisStore& store, const RecordKeys& keys, Joins& chains,
                            const std::vector<std::int64_t>& lines,
                            std::vector<std::string>& texts) {
    const KeyUses uses = KeyUsesOf(store, keys, chains, lines);
    std::vector<char> own(keys.Text.size(), 0);
    for (std::size_t id = 1; id < uses.size(); ++id)
        if (IsOwn(uses[id])) {
            own[id] = 1;
            texts.push_back(keys.Text[id]);
        }
    std::sort(texts.begin(), texts.end());
    return own;
}

} // namespace

std::vector<PlayerIndex> ChainStartsOf(const AnalysisStore& store) {
    const RecordKeys keys = KeysOf(store, AliasList());
    Joins joins(store.Players.size());
    JoinChains(store, keys, joins);
    std::vector<PlayerIndex> starts(store.Players.size(), 0);
    std::unordered_map<std::size_t, PlayerIndex> startOfRoot;
    for (const PlayerIndex r : store.PlayerIndexes())
        starts[static_cast<std::size_t>(r)] =
            startOfRoot.try_emplace(joins.Root(static_cast<std::size_t>(r)), r).first->second;
    return starts;
}

std::vector<NameKeyUse> NameKeyUses(const AnalysisStore& store) {
    const RecordKeys keys = KeysOf(store, AliasList());
    Joins joins(store.Players.size());
    // The chains as the persons and a stored log's chains take them: a log and a database
    // holding it find the same names.
    JoinChains(store, keys, joins);
    const KeyUses uses = KeyUsesOf(store, keys, joins, RecordedLinesPerPlayer(store));
    std::vector<NameKeyUse> named;
    for (std::size_t id = 1; id < uses.size(); ++id)
        if (uses[id].first > 0)
            named.push_back({keys.Text[id], uses[id].first, uses[id].second});
    std::sort(named.begin(), named.end(),
              [](const NameKeyUse& a, const NameKeyUse& b) { return a.Key < b.Key; });
    return named;
}

void KeyUseSums::Add(const std::vector<NameKeyUse>& uses) {
    for (const NameKeyUse& use : uses) {
        auto& [chains, mostPlayed] = sums_[use.Key];
        chains += use.Chains;
        mostPlayed += use.MostPlayed;
    }
}

std::vector<std::string> KeyUseSums::PassingKeys() const {
    std::vector<std::string> passing;
    for (const auto& [key, use] : sums_) // a map: in order
        if (IsPassing(use))
            passing.push_back(key);
    return passing;
}

std::vector<std::string> PassingNameKeys(const AnalysisStore& store) {
    KeyUseSums sums;
    sums.Add(NameKeyUses(store));
    return sums.PassingKeys();
}

void FileByNameKeepingPassingKeys(AnalysisStore& store) {
    if (!store.TracksHolders)
        return;
    store.PassingKeys = PassingNameKeys(store);
    FileHoldersByName(store);
}

std::vector<std::string> OwnNameKeys(const AnalysisStore& store) {
    const RecordKeys keys = KeysOf(store, AliasList());
    Joins joins(store.Players.size());
    JoinChains(store, keys, joins);
    std::vector<std::string> own;
    OwnKeysOf(store, keys, joins, RecordedLinesPerPlayer(store), own);
    return own;
}

namespace {

// `own`: by key number, whether the key joins people across sessions; empty: every key does.
void JoinByKey(const AnalysisStore& store, const RecordKeys& keys, Joins& joins,
               const std::vector<char>& own) {
    std::vector<std::size_t> firstWithKey(keys.Text.size(), 0);
    const auto use = [&](std::size_t at, std::uint32_t id) {
        if (!keys.Automatic[at] || id == 0 || (!own.empty() && !own[id]))
            return;
        if (firstWithKey[id] == 0)
            firstWithKey[id] = at;
        else
            joins.JoinUnlessFoes(firstWithKey[id], at);
    };
    for (const PlayerIndex r : store.PlayerIndexes())
        use(static_cast<std::size_t>(r), keys.Id[static_cast<std::size_t>(r)]);
    // A name renamed into holds its renamer's key even before he plays under it.
    if (!own.empty())
        for (std::size_t k = 1; k < store.Renames.size(); ++k)
            if (store.Renames[k].From > 0)
                use(static_cast<std::size_t>(store.Renames[k].From), keys.RenameId[k]);
}

// A person continues under the very name he played first, then under its other colourings.
void JoinByName(const AnalysisStore& store, const RecordKeys& keys, Joins& joins,
                const std::vector<char>& own) {
    constexpr std::size_t kNone = SIZE_MAX;
    std::vector<std::size_t> firstWithName(keys.NameCount, kNone); // by name number
    const auto use = [&](std::size_t at, std::uint32_t name, std::uint32_t id) {
        if (!keys.Automatic[at] || !own[id])
            return;
        std::size_t& first = firstWithName[name];
        if (first == kNone)
            first = at;
        else
            joins.JoinUnlessFoes(first, at);
    };
    for (const PlayerIndex r : store.PlayerIndexes()) {
        const auto at = static_cast<std::size_t>(r);
        use(at, keys.NameId[at], keys.Id[at]);
    }
    for (std::size_t k = 1; k < store.Renames.size(); ++k)
        if (store.Renames[k].From > 0)
            use(static_cast<std::size_t>(store.Renames[k].From), keys.RenameNameId[k],
                keys.RenameId[k]);
}

// A person holds one name at a time: two chains of a session that were both in play at once are
// two people, whatever names they share. Only chains that share one of the own names matter.
void AddChainsInPlayTogether(const AnalysisStore& store, const RecordKeys& keys, Joins& joins,
                             const std::vector<char>& own) {
    std::vector<Span> spans(store.Players.size()); // by chain root: the lines it was in play
    // Each chain once under each session and own key it used: sorted, a group per key.
    std::vector<std::pair<std::uint64_t, std::size_t>> chainsWithKey;
    for (const PlayerIndex r : store.PlayerIndexes()) {
        const auto at = static_cast<std::size_t>(r);
        if (!keys.Automatic[at])
            continue;
        const NameHolding& holding = store.Holdings[at];
        const std::size_t chain = joins.Root(at);
        Span& span = spans[chain];
        span.First = std::min(span.First, holding.FirstLine);
        span.Last = std::max(span.Last, holding.LastLine);
        if (own[keys.Id[at]])
            chainsWithKey.emplace_back(SessionKey(holding.Session, keys.Id[at]), chain);
    }
    std::sort(chainsWithKey.begin(), chainsWithKey.end());
    chainsWithKey.erase(std::unique(chainsWithKey.begin(), chainsWithKey.end()),
                        chainsWithKey.end());
    // Within a group, by the line each chain came into play: a chain is in play with the later
    // ones that came before it left, and with no others.
    std::vector<std::size_t> group;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> foes;
    for (std::size_t begin = 0; begin < chainsWithKey.size();) {
        std::size_t end = begin;
        group.clear();
        for (; end < chainsWithKey.size() && chainsWithKey[end].first == chainsWithKey[begin].first;
             ++end)
            if (spans[chainsWithKey[end].second].Last != 0)
                group.push_back(chainsWithKey[end].second);
        std::sort(group.begin(), group.end(), [&](std::size_t a, std::size_t b) {
            return std::pair(spans[a].First, a) < std::pair(spans[b].First, b);
        });
        for (std::size_t i = 0; i < group.size(); ++i) {
            const Span& span = spans[group[i]];
            for (std::size_t j = i + 1; j < group.size() && spans[group[j]].First < span.Last; ++j)
                if (span.InPlayWith(spans[group[j]]))
                    foes.emplace_back(static_cast<std::uint32_t>(group[i]),
                                      static_cast<std::uint32_t>(group[j]));
        }
        begin = end;
    }
    joins.AddFoesOfRoots(foes);
}

// `lines` gives each record's lines when the persons are worked out over time, and only then.
HolderPersons Persons(const AnalysisStore& store, const AliasList& aliases, bool overTime,
                      const std::function<const std::vector<std::int64_t>&()>& lines) {
    const RecordKeys keys = KeysOf(store, aliases);
    Joins joins(store.Players.size());
    std::vector<std::string> ownKeysFound;
    if (overTime) {
        JoinChains(store, keys, joins);
        const std::vector<char> own = OwnKeysOf(store, keys, joins, lines(), ownKeysFound);
        AddChainsInPlayTogether(store, keys, joins, own);
        // Step two: a person continues under his own names, whichever session uses them.
        JoinByName(store, keys, joins, own);
        JoinByKey(store, keys, joins, own);
    } else {
        JoinByKey(store, keys, joins, {});
    }
    // Step three: the user's joins, by exact name, over everything.
    std::unordered_map<std::string_view, std::vector<std::size_t>> recordsOfName;
    const bool userJoins = std::ranges::any_of(
        aliases.Entries(), [](const AliasEntry& entry) { return entry.Kind == AliasKind::Join; });
    for (const PlayerIndex r : store.PlayerIndexes()) {
        if (!userJoins)
            break;
        recordsOfName[store.Players[static_cast<std::size_t>(r)].Name].push_back(
            static_cast<std::size_t>(r));
    }
    for (const AliasEntry& entry : aliases.Entries()) {
        if (entry.Kind != AliasKind::Join)
            continue;
        const auto a = recordsOfName.find(entry.Name), b = recordsOfName.find(entry.Other);
        if (a == recordsOfName.end() || b == recordsOfName.end())
            continue;
        const std::size_t first = a->second.front();
        for (const auto* records : {&a->second, &b->second})
            for (const std::size_t r : *records)
                joins.Join(first, r);
    }

    HolderPersons persons;
    persons.OwnKeys = std::move(ownKeysFound);
    persons.PersonOf.assign(store.Players.size(), 0);
    std::vector<PlayerIndex> personOfRoot(store.Players.size(), 0);
    for (const PlayerIndex r : store.PlayerIndexes()) {
        PlayerIndex& person = personOfRoot[joins.Root(static_cast<std::size_t>(r))];
        if (person == 0)
            person = ++persons.Count;
        persons.PersonOf[static_cast<std::size_t>(r)] = person;
    }
    return persons;
}

} // namespace

HolderPersons PersonsByIdentityKey(const AnalysisStore& store, const AliasList& aliases) {
    return Persons(store, aliases, false, {});
}

HolderPersons PersonsOfHolders(const AnalysisStore& store, const AliasList& aliases,
                               const std::shared_future<std::vector<std::int64_t>>& lines) {
    return Persons(store, aliases, store.TracksHolders,
                   [&lines]() -> const std::vector<std::int64_t>& { return lines.get(); });
}

HolderPersons PersonsOfHolders(const AnalysisStore& store, const AliasList& aliases) {
    std::vector<std::int64_t> lines;
    return Persons(store, aliases, store.TracksHolders, [&]() -> const std::vector<std::int64_t>& {
        lines = RecordedLinesPerPlayer(store);
        return lines;
    });
}

} // namespace qla
