// Merging players: work out the persons (holder_identity.h), choose each one's shown name, then
// let the store regroup its records.
#include "analysis/merge_players.h"

#include "analysis/holder_identity.h"
#include "core/names.h"

#include <algorithm>
#include <future>
#include <iterator>
#include <unordered_map>

namespace qla {

std::optional<PlayerIndex> MergedNames::Find(std::string_view name) const {
    const std::string_view normalised = NormalizeName(name);
    const auto found =
        recordOf_.find(std::string(normalised.empty() ? kUnnamedPlayer : normalised));
    if (found != recordOf_.end())
        return found->second;
    const std::string key = IdentityKey(normalised);
    const auto byKey = key.empty() ? recordOfKey_.end() : recordOfKey_.find(key);
    if (byKey == recordOfKey_.end())
        return std::nullopt;
    return byKey->second;
}

MergedNames::Parts MergedNames::ToParts() const {
    Parts parts;
    parts.RecordOf.assign(recordOf_.begin(), recordOf_.end());
    parts.RecordOfKey.assign(recordOfKey_.begin(), recordOfKey_.end());
    parts.Names = names_;
    return parts;
}

MergedNames MergedNames::FromParts(Parts parts) {
    MergedNames merged;
    merged.recordOf_.insert(std::make_move_iterator(parts.RecordOf.begin()),
                            std::make_move_iterator(parts.RecordOf.end()));
    merged.recordOfKey_.insert(std::make_move_iterator(parts.RecordOfKey.begin()),
                               std::make_move_iterator(parts.RecordOfKey.end()));
    merged.names_ = std::move(parts.Names);
    return merged;
}

std::vector<std::int64_t> RecordedLinesPerPlayer(const AnalysisStore& store) {
    std::vector<std::int64_t> lines(store.Players.size(), 0);
    for (const PlayerIndex i : store.PlayerIndexes()) {
        const PlayerRecord& p = store.Players[static_cast<std::size_t>(i)];
        lines[static_cast<std::size_t>(i)] = p.Kills[kWeaponTotal] + p.Deaths[kWeaponTotal] +
                                             p.Teamkills + p.Deaths[kWeaponTeamkill] +
                                             p.VoiceChatCount + p.TextChatCount;
    }
    // A kill of oneself raised the player's kill and death from one line.
    for (std::size_t e = 1; e < store.KillEvents.size(); ++e)
        if (const KillEvent& event = store.KillEvents[e]; event.Killer == event.Victim)
            lines[static_cast<std::size_t>(event.Killer)] -= store.KillEventCount(e);
    return lines;
}

namespace {

// The distinct names of a store's records, numbered in order of first appearance. The texts are
// copies: the store regroups its records while the names are worked out.
struct RecordNames {
    std::vector<std::uint32_t> IdOf; // by record
    std::vector<std::string> Text;   // by name number
};

RecordNames NamesOfRecords(const AnalysisStore& store) {
    RecordNames names;
    names.IdOf.assign(store.Players.size(), 0);
    std::unordered_map<std::string_view, std::uint32_t> idOfName;
    for (const PlayerIndex r : store.PlayerIndexes()) {
        const std::string& name = store.Players[static_cast<std::size_t>(r)].Name;
        const auto [at, added] =
            idOfName.try_emplace(name, static_cast<std::uint32_t>(names.Text.size()));
        if (added)
            names.Text.push_back(name);
        names.IdOf[static_cast<std::size_t>(r)] = at->second;
    }
    return names;
}

// Each person's names with their lines, in the order the person's records first use them:
// the entries of person g are Entries[Begin[g]] to Entries[Begin[g + 1]]. One flat list; a
// list per person cost an allocation for each of tens of thousands of persons.
struct PersonNames {
    struct Entry {
        std::uint32_t Id = 0;
        std::int64_t Lines = 0;  // the lines of the person's records under the name
        std::int64_t Weight = 0; // the same, each holding a record stands for counted too
    };
    std::vector<std::uint32_t> Begin; // by person, and one past the last
    std::vector<Entry> Entries;
};

// `records` and `holdings` (empty: a store that does not track holders) are the store's as they
// were before it regrouped.
PersonNames NamesOfPersons(IndexRange<PlayerIndex> records, std::span<const NameHolding> holdings,
                           const HolderPersons& persons, const RecordNames& recordNames,
                           const std::vector<std::int64_t>& lines) {
    PersonNames names;
    const auto personCount = static_cast<std::size_t>(persons.Count) + 1;
    std::vector<std::uint32_t> start(personCount + 1, 0);
    for (const PlayerIndex r : records)
        ++start[static_cast<std::size_t>(persons.PersonOf[static_cast<std::size_t>(r)]) + 1];
    for (std::size_t g = 1; g < start.size(); ++g)
        start[g] += start[g - 1];
    // The records by person, in their order: a counting sort.
    std::vector<PlayerIndex> byPerson(start.back());
    {
        std::vector<std::uint32_t> next(start.begin(), start.end() - 1);
        for (const PlayerIndex r : records)
            byPerson[next[static_cast<std::size_t>(
                persons.PersonOf[static_cast<std::size_t>(r)])]++] = r;
    }
    names.Begin.assign(personCount + 1, 0);
    for (std::size_t g = 0; g < personCount; ++g) {
        const std::size_t first = names.Entries.size();
        names.Begin[g] = static_cast<std::uint32_t>(first);
        for (std::uint32_t k = start[g]; k < start[g + 1]; ++k) {
            const auto at = static_cast<std::size_t>(byPerson[k]);
            const std::uint32_t id = recordNames.IdOf[at];
            // A record of a chain stands for several holdings, each counted as one record would.
            const std::int64_t held = holdings.empty() ? 1 : holdings[at].Held;
            const auto kept = std::find_if(
                names.Entries.begin() + static_cast<std::ptrdiff_t>(first), names.Entries.end(),
                [&](const PersonNames::Entry& e) { return e.Id == id; });
            if (kept == names.Entries.end()) {
                names.Entries.push_back({id, lines[at], lines[at] + held});
            } else {
                kept->Lines += lines[at];
                kept->Weight += lines[at] + held;
            }
        }
    }
    names.Begin[personCount] = static_cast<std::uint32_t>(names.Entries.size());
    return names;
}

// What a merged player is called: the name of most lines among its records' names, the first
// seen on a tie; a name another person shows already gets its number: "Carl (2)".
std::vector<std::string> ShownNames(const HolderPersons& persons, const RecordNames& recordNames,
                                    const PersonNames& personNames) {
    // Whether a name is someone's own, worked out for the names that meet in a tie.
    std::vector<signed char> ownName(recordNames.Text.size(), -1);
    const auto own = [&](std::uint32_t id) {
        if (ownName[id] < 0)
            ownName[id] = std::binary_search(persons.OwnKeys.begin(), persons.OwnKeys.end(),
                                             IdentityKey(recordNames.Text[id]))
                              ? 1
                              : 0;
        return ownName[id] == 1;
    };
    const auto personCount = static_cast<std::size_t>(persons.Count) + 1;
    std::vector<std::string> shown(personCount);
    std::vector<int> shownBefore(recordNames.Text.size(), 0); // by name number
    for (std::size_t g = 1; g < personCount; ++g) {
        const auto* first = personNames.Entries.data() + personNames.Begin[g];
        const auto* last = personNames.Entries.data() + personNames.Begin[g + 1];
        // On a tie of lines one's own name wins over a passing one, then the first seen.
        const auto* best = first;
        for (const auto* entry = first; entry != last; ++entry)
            if (entry != best && (entry->Lines > best->Lines || (entry->Lines == best->Lines &&
                                                                 own(entry->Id) && !own(best->Id))))
                best = entry;
        const std::string_view name = recordNames.Text[best->Id];
        const int before = shownBefore[best->Id]++;
        shown[g] = before == 0 ? std::string(name)
                               : std::string(name) + " (" + std::to_string(before + 1) + ")";
    }
    // A numbered name that is some other player's own name gets the next number.
    std::unordered_map<std::string, int> taken;
    for (std::size_t g = 1; g < shown.size(); ++g)
        ++taken[shown[g]];
    for (std::size_t g = 1; g < shown.size(); ++g) {
        if (taken[shown[g]] < 2)
            continue;
        const std::string base = shown[g];
        for (int n = 2; taken[shown[g]] > 1; ++n) {
            --taken[shown[g]];
            shown[g] = base + " (" + std::to_string(n) + ")";
            ++taken[shown[g]];
        }
    }
    return shown;
}

} // namespace

HoldersByName GroupHoldersByName(const AnalysisStore& store) {
    HoldersByName groups;
    groups.GroupOf.assign(store.Players.size(), 0);
    groups.Names.resize(1);
    std::unordered_map<std::string_view, PlayerIndex> groupOfName;
    for (const PlayerIndex r : store.PlayerIndexes()) {
        const std::string& name = store.Players[static_cast<std::size_t>(r)].Name;
        const auto [at, added] =
            groupOfName.try_emplace(name, static_cast<PlayerIndex>(groups.Names.size()));
        if (added)
            groups.Names.push_back(name);
        groups.GroupOf[static_cast<std::size_t>(r)] = at->second;
    }
    return groups;
}

void FileHoldersByName(AnalysisStore& store) {
    if (store.TracksHolders)
        FileHoldersByName(store, GroupHoldersByName(store));
}

void FileHoldersByName(AnalysisStore& store, const HoldersByName& groups) {
    if (store.TracksHolders)
        store.MergePlayers(groups.GroupOf, groups.Names);
}

MergedNames MergePlayers(AnalysisStore& store, const AliasList& aliases) {
    // Each record's lines, then the names' numbers, are worked out on another thread while the
    // persons are: all of them only read the store.
    std::promise<std::vector<std::int64_t>> linesFound;
    const std::shared_future<std::vector<std::int64_t>> lines = linesFound.get_future().share();
    std::future<RecordNames> namesOfRecords = std::async(std::launch::async, [&] {
        try {
            linesFound.set_value(RecordedLinesPerPlayer(store));
        } catch (...) {
            linesFound.set_exception(std::current_exception());
            throw;
        }
        return NamesOfRecords(store);
    });
    const HolderPersons persons = PersonsOfHolders(store, aliases, lines);
    const RecordNames recordNames = namesOfRecords.get();
    // The store regroups its records on another thread while the persons are named; the names
    // read only the holdings, which regrouping leaves alone.
    const IndexRange<PlayerIndex> records = store.PlayerIndexes();
    const std::span<const NameHolding> holdings = store.TracksHolders
                                                      ? std::span<const NameHolding>(store.Holdings)
                                                      : std::span<const NameHolding>{};
    std::future<void> regrouped = std::async(std::launch::async, [&] {
        store.RegroupPlayers(persons.PersonOf, static_cast<std::size_t>(persons.Count) + 1);
    });
    const PersonNames personNames =
        NamesOfPersons(records, holdings, persons, recordNames, lines.get());
    const std::vector<std::string> shown = ShownNames(persons, recordNames, personNames);

    MergedNames merged;
    merged.names_.resize(static_cast<std::size_t>(persons.Count) + 1);
    // A stored name finds the person who played it most (the first on a tie): by name number,
    // that person with his lines. Persons come in order, so a tie keeps the first.
    std::vector<std::pair<PlayerIndex, std::int64_t>> mostOfName(recordNames.Text.size(), {0, -1});
    for (std::size_t g = 1; g < merged.names_.size(); ++g)
        for (std::uint32_t k = personNames.Begin[g]; k < personNames.Begin[g + 1]; ++k) {
            const PersonNames::Entry& entry = personNames.Entries[k];
            merged.names_[g].emplace_back(recordNames.Text[entry.Id]);
            if (auto& most = mostOfName[entry.Id]; most.first == 0 || entry.Weight > most.second)
                most = {static_cast<PlayerIndex>(g), entry.Weight};
        }
    merged.recordOf_.reserve(shown.size() + recordNames.Text.size());
    for (PlayerIndex g = 1; g <= persons.Count; ++g)
        merged.recordOf_.emplace(shown[static_cast<std::size_t>(g)], g);
    // Each stored name once, in the order of the records (a key finds the first such name).
    for (std::uint32_t id = 0; id < recordNames.Text.size(); ++id) {
        const std::string name(recordNames.Text[id]);
        if (const auto shown = merged.recordOf_.find(name); shown != merged.recordOf_.end()) {
            merged.recordOfKey_.emplace(IdentityKey(name), shown->second);
            continue;
        }
        const PlayerIndex most = mostOfName[id].first;
        merged.recordOf_.emplace(name, most);
        merged.recordOfKey_.emplace(IdentityKey(name), most);
    }
    regrouped.get();
    store.NameGroups(shown);
    // A merged record is a person or a name's holders joined: no name is left to pass through.
    store.PassingKeys.clear();
    return merged;
}

} // namespace qla
