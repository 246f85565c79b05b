// Merging players: work out the persons (holder_identity.h), choose each one's shown name, then
// let the store regroup its records.
#include "analysis/merge_players.h"

#include "analysis/holder_identity.h"
#include "core/names.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <unordered_map>
#include <unordered_set>

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

// What a merged player is called: the name of most lines among its records' names, the first
// seen on a tie; a name another person shows already gets its number: "Carl (2)".
std::vector<std::string> ShownNames(const AnalysisStore& store, const HolderPersons& persons,
                                    const std::vector<std::int64_t>& lines) {
    std::vector<std::vector<std::pair<std::string, std::int64_t>>> namesOf(
        static_cast<std::size_t>(persons.Count) + 1);
    for (const PlayerIndex r : store.PlayerIndexes()) {
        auto& names =
            namesOf[static_cast<std::size_t>(persons.PersonOf[static_cast<std::size_t>(r)])];
        const std::string& name = store.Players[static_cast<std::size_t>(r)].Name;
        auto at = std::find_if(names.begin(), names.end(),
                               [&](const auto& entry) { return entry.first == name; });
        if (at == names.end())
            names.emplace_back(name, lines[static_cast<std::size_t>(r)]);
        else
            at->second += lines[static_cast<std::size_t>(r)];
    }
    std::vector<std::string> shown(namesOf.size());
    std::map<std::string, int> shownBefore;
    for (std::size_t g = 1; g < namesOf.size(); ++g) {
        const auto& names = namesOf[g];
        // On a tie of lines one's own name wins over a passing one, then the first seen.
        const auto own = [&](const std::string& name) {
            return std::binary_search(persons.OwnKeys.begin(), persons.OwnKeys.end(),
                                      IdentityKey(name));
        };
        const auto* best = &names.front();
        for (const auto& entry : names)
            if (entry.second > best->second ||
                (entry.second == best->second && own(entry.first) && !own(best->first)))
                best = &entry;
        const int before = shownBefore[best->first]++;
        shown[g] =
            before == 0 ? best->first : best->first + " (" + std::to_string(before + 1) + ")";
    }
    // A numbered name that is some other player's own name gets the next number.
    std::map<std::string, int> taken;
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

void FileHoldersByName(AnalysisStore& store) {
    if (!store.TracksHolders)
        return;
    std::unordered_map<std::string_view, PlayerIndex> groupOfName;
    std::vector<PlayerIndex> groupOf(store.Players.size(), 0);
    std::vector<std::string> names(1);
    for (const PlayerIndex r : store.PlayerIndexes()) {
        const std::string& name = store.Players[static_cast<std::size_t>(r)].Name;
        const auto [at, added] =
            groupOfName.try_emplace(name, static_cast<PlayerIndex>(names.size()));
        if (added)
            names.push_back(name);
        groupOf[static_cast<std::size_t>(r)] = at->second;
    }
    store.MergePlayers(groupOf, names);
}

MergedNames MergePlayers(AnalysisStore& store, const AliasList& aliases) {
    const HolderPersons persons = PersonsOfHolders(store, aliases);
    const std::vector<std::int64_t> lines = RecordedLinesPerPlayer(store);
    const std::vector<std::string> shown = ShownNames(store, persons, lines);

    MergedNames merged;
    merged.names_.resize(static_cast<std::size_t>(persons.Count) + 1);
    // A stored name finds the person who played it most (the first on a tie).
    std::unordered_map<std::string_view, std::map<PlayerIndex, std::int64_t>> linesOfName;
    for (const PlayerIndex r : store.PlayerIndexes()) {
        const PlayerIndex person = persons.PersonOf[static_cast<std::size_t>(r)];
        const std::string& name = store.Players[static_cast<std::size_t>(r)].Name;
        auto& names = merged.names_[static_cast<std::size_t>(person)];
        if (std::find(names.begin(), names.end(), name) == names.end())
            names.push_back(name);
        // A record of a chain stands for several holdings, each counted as one record would.
        const std::int64_t held =
            store.TracksHolders ? store.Holdings[static_cast<std::size_t>(r)].Held : 1;
        linesOfName[name][person] += lines[static_cast<std::size_t>(r)] + held;
    }
    for (PlayerIndex g = 1; g <= persons.Count; ++g)
        merged.recordOf_.emplace(shown[static_cast<std::size_t>(g)], g);
    // Each stored name once, in the order of the records (a key finds the first such name).
    std::unordered_set<std::string_view> done;
    for (const PlayerIndex r : store.PlayerIndexes()) {
        const std::string& name = store.Players[static_cast<std::size_t>(r)].Name;
        if (!done.insert(name).second)
            continue;
        if (const auto shown = merged.recordOf_.find(name); shown != merged.recordOf_.end()) {
            merged.recordOfKey_.emplace(IdentityKey(name), shown->second);
            continue;
        }
        const auto& byPerson = linesOfName[name];
        PlayerIndex best = byPerson.begin()->first;
        for (const auto& [person, count] : byPerson)
            if (count > byPerson.at(best) || (count == byPerson.at(best) && person < best))
                best = person;
        merged.recordOf_.emplace(name, best);
        merged.recordOfKey_.emplace(IdentityKey(name), best);
    }
    store.MergePlayers(persons.PersonOf, shown);
    return merged;
}

} // namespace qla
