// Merging players: work out the persons (holder_identity.h), choose each one's shown name, then
// let the store regroup its records.
#include "analysis/merge_players.h"

#include "analysis/holder_identity.h"
#include "core/names.h"

#include <algorithm>
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

// The distinct names of a store's records, numbered in order of first appearance.
struct RecordNames {
    std::vector<std::uint32_t> IdOf;    // by record
    std::vector<std::string_view> Text; // by name number
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

// What a merged player is called: the name of most lines among its records' names, the first
// seen on a tie; a name another person shows already gets its number: "Carl (2)".
std::vector<std::string> ShownNames(const AnalysisStore& store, const HolderPersons& persons,
                                    const RecordNames& recordNames,
                                    const std::vector<std::int64_t>& lines) {
    // By person: its names' numbers with their lines, in order of first appearance.
    std::vector<std::vector<std::pair<std::uint32_t, std::int64_t>>> namesOf(
        static_cast<std::size_t>(persons.Count) + 1);
    for (const PlayerIndex r : store.PlayerIndexes()) {
        const auto at = static_cast<std::size_t>(r);
        auto& names = namesOf[static_cast<std::size_t>(persons.PersonOf[at])];
        const std::uint32_t id = recordNames.IdOf[at];
        auto found = std::find_if(names.begin(), names.end(),
                                  [&](const auto& entry) { return entry.first == id; });
        if (found == names.end())
            names.emplace_back(id, lines[at]);
        else
            found->second += lines[at];
    }
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
    std::vector<std::string> shown(namesOf.size());
    std::unordered_map<std::string, int> shownBefore;
    for (std::size_t g = 1; g < namesOf.size(); ++g) {
        const auto& names = namesOf[g];
        // On a tie of lines one's own name wins over a passing one, then the first seen.
        const auto* best = &names.front();
        for (const auto& entry : names)
            if (&entry != best &&
                (entry.second > best->second ||
                 (entry.second == best->second && own(entry.first) && !own(best->first))))
                best = &entry;
        const std::string_view name = recordNames.Text[best->first];
        const int before = shownBefore[std::string(name)]++;
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
    const std::vector<std::int64_t> lines = RecordedLinesPerPlayer(store);
    const HolderPersons persons = PersonsOfHolders(store, aliases, lines);
    const RecordNames recordNames = NamesOfRecords(store);
    const std::vector<std::string> shown = ShownNames(store, persons, recordNames, lines);

    MergedNames merged;
    merged.names_.resize(static_cast<std::size_t>(persons.Count) + 1);
    // A stored name finds the person who played it most (the first on a tie): by name number,
    // the persons that played it with their lines.
    std::vector<std::vector<std::pair<PlayerIndex, std::int64_t>>> linesOfName(
        recordNames.Text.size());
    std::vector<std::vector<std::uint32_t>> namesOfPerson(merged.names_.size());
    for (const PlayerIndex r : store.PlayerIndexes()) {
        const auto at = static_cast<std::size_t>(r);
        const PlayerIndex person = persons.PersonOf[at];
        const std::uint32_t id = recordNames.IdOf[at];
        auto& names = namesOfPerson[static_cast<std::size_t>(person)];
        if (std::find(names.begin(), names.end(), id) == names.end())
            names.push_back(id);
        // A record of a chain stands for several holdings, each counted as one record would.
        const std::int64_t held = store.TracksHolders ? store.Holdings[at].Held : 1;
        auto& byPerson = linesOfName[id];
        auto found = std::find_if(byPerson.begin(), byPerson.end(),
                                  [&](const auto& entry) { return entry.first == person; });
        if (found == byPerson.end())
            byPerson.emplace_back(person, lines[at] + held);
        else
            found->second += lines[at] + held;
    }
    for (std::size_t g = 1; g < namesOfPerson.size(); ++g)
        for (const std::uint32_t id : namesOfPerson[g])
            merged.names_[g].emplace_back(recordNames.Text[id]);
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
        const auto& byPerson = linesOfName[id];
        auto best = byPerson.front();
        for (const auto& entry : byPerson)
            if (entry.second > best.second ||
                (entry.second == best.second && entry.first < best.first))
                best = entry;
        merged.recordOf_.emplace(name, best.first);
        merged.recordOfKey_.emplace(IdentityKey(name), best.first);
    }
    store.MergePlayers(persons.PersonOf, shown);
    // A merged record is a person or a name's holders joined: no name is left to pass through.
    store.PassingKeys.clear();
    return merged;
}

} // namespace qla
