// The history is walked line by line with the analysis' own recording, so that each truth line's
// players are known by the records the analysis filed them under; merging then groups records.
#include "identity_truth.h"

#include "analysis/analysis.h"
#include "analysis/holder_identity.h"
#include "analysis/line_walk.h"
#include "analysis/player_identity.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace qla::identity_truth {

namespace {

struct Item {
    PlayerIndex Record = 0;
    std::int64_t Person = 0;
};

// line -> (role, person) rows of one log's truth file.
std::multimap<std::uint64_t, std::pair<std::string, std::int64_t>>
ReadTruth(const std::string& path) {
    std::multimap<std::uint64_t, std::pair<std::string, std::int64_t>> rows;
    std::ifstream in(path, std::ios::binary);
    for (std::string row; std::getline(in, row);) {
        std::istringstream cells(row);
        std::string line, role, person;
        std::getline(cells, line, '\t');
        std::getline(cells, role, '\t');
        std::getline(cells, person, '\t');
        if (!line.empty() && !person.empty())
            rows.emplace(std::stoull(line), std::pair{role, std::stoll(person)});
    }
    return rows;
}

// The players each line names, as the analysis filed them.
class Attribution {
  public:
    explicit Attribution(AnalysisStore& store) : store_(store) {}

    void Before() {
        kills_ = store_.KillEvents.size();
        voice_ = store_.VoiceChats.size();
        text_ = store_.TextChats.size();
        deaths_.resize(store_.Players.size(), 0);
    }

    PlayerIndex Of(const std::string& role) {
        if ((role == "killer" || role == "victim") && store_.KillEvents.size() > kills_) {
            const KillEvent& event = store_.KillEvents.back();
            return role == "killer" ? event.Killer : event.Victim;
        }
        if (role == "speaker") {
            if (store_.VoiceChats.size() > voice_)
                return store_.VoiceChats.back().Player;
            if (store_.TextChats.size() > text_)
                return store_.TextChats.back().Player;
        }
        if (role == "player")
            return DiedByHimself();
        return 0;
    }

    void After() {
        deaths_.resize(store_.Players.size(), 0);
        if (store_.KillEvents.size() > kills_) {
            const PlayerIndex victim = store_.KillEvents.back().Victim;
            deaths_[static_cast<std::size_t>(victim)] =
                store_.Players[static_cast<std::size_t>(victim)].Deaths[kWeaponTotal];
        }
    }

  private:
    PlayerIndex DiedByHimself() {
        deaths_.resize(store_.Players.size(), 0);
        for (std::size_t r = store_.Players.size(); r-- > 1;)
            if (store_.Players[r].Deaths[kWeaponTotal] != deaths_[r]) {
                deaths_[r] = store_.Players[r].Deaths[kWeaponTotal];
                return static_cast<PlayerIndex>(r);
            }
        return 0;
    }

    AnalysisStore& store_;
    std::size_t kills_ = 0, voice_ = 0, text_ = 0;
    std::vector<std::int64_t> deaths_;
};

std::vector<PlayerIndex> GroupsOf(const AnalysisStore& store, Rule rule) {
    if (rule == Rule::Persons)
        return PersonsOfHolders(store, AliasList()).PersonOf;
    if (rule == Rule::Names)
        return PersonsByIdentityKey(store, AliasList()).PersonOf;
    PlayerIdentity identity{AliasList()};
    for (const PlayerRecord& player : RealEntries(store.Players))
        identity.AddName(player.Name);
    for (const RenameEntry& rename : RealEntries(store.Renames))
        identity.AddRename(rename.OldName, rename.NewName);
    std::vector<PlayerIndex> groups(store.Players.size(), 0);
    for (const PlayerIndex r : store.PlayerIndexes())
        groups[static_cast<std::size_t>(r)] = static_cast<PlayerIndex>(
            identity.PlayerOf(store.Players[static_cast<std::size_t>(r)].Name) + 1);
    return groups;
}

double Pairs(std::int64_t n) {
    return static_cast<double>(n) * static_cast<double>(n - 1) / 2;
}

} // namespace

bool ScoreHistory(const std::string& folder, Rule rule, Score& score, std::string& error) {
    AnalysisStore store;
    store.TracksHolders = true;
    ResetAnalysis(store);
    std::vector<Item> items;
    std::vector<LogPart> parts;
    for (int log = 1;; ++log) {
        char stem[16];
        std::snprintf(stem, sizeof stem, "log%02d", log);
        const std::string path = folder + "/" + stem + ".log";
        if (!std::filesystem::exists(path))
            break;
        AnalysisStore lines;
        const OpenLogResult opened = OpenLogFile(lines, path);
        if (!opened.Opened) {
            error = opened.Error;
            return false;
        }
        const auto truth = ReadTruth(folder + "/" + stem + ".truth.tsv");
        if (log > 1)
            store.StartSession();
        parts.assign(1, LogPart{lines.LogLines.size(), LogLanguage::English});
        LineWalk walk(store, parts);
        Attribution attribution(store);
        for (std::size_t i = 0; i < lines.LogLines.size(); ++i) {
            attribution.Before();
            walk.Line(lines.LogLines[i]);
            const auto [first, last] = truth.equal_range(i + 1);
            for (auto at = first; at != last; ++at) {
                if (at->second.first == "renamer")
                    continue;
                const PlayerIndex record = attribution.Of(at->second.first);
                if (record == 0)
                    ++score.Unattributed;
                else
                    items.push_back({record, at->second.second});
            }
            attribution.After();
        }
    }
    if (items.empty()) {
        error = "no log with a truth file in " + folder;
        return false;
    }
    const std::vector<PlayerIndex> groups = GroupsOf(store, rule);
    std::map<std::pair<PlayerIndex, std::int64_t>, std::int64_t> together;
    std::map<PlayerIndex, std::int64_t> perGroup;
    std::map<std::int64_t, std::int64_t> perPerson;
    for (const Item& item : items) {
        const PlayerIndex group = groups[static_cast<std::size_t>(item.Record)];
        ++together[{group, item.Person}];
        ++perGroup[group];
        ++perPerson[item.Person];
    }
    double both = 0, sameGroup = 0, samePerson = 0;
    std::map<PlayerIndex, int> personsInGroup;
    for (const auto& [key, n] : together) {
        both += Pairs(n);
        ++personsInGroup[key.first];
    }
    for (const auto& [group, n] : perGroup)
        sameGroup += Pairs(n);
    for (const auto& [person, n] : perPerson)
        samePerson += Pairs(n);
    score.Items = static_cast<std::int64_t>(items.size());
    score.Precision = sameGroup > 0 ? both / sameGroup : 1;
    score.Recall = samePerson > 0 ? both / samePerson : 1;
    score.Players = static_cast<std::int64_t>(perGroup.size());
    for (const auto& [group, persons] : personsInGroup) {
        if (persons < 2)
            continue;
        ++score.MixedPlayers;
        std::string detail = "names:";
        std::map<std::string, int> names;
        for (const PlayerIndex r : store.PlayerIndexes())
            if (groups[static_cast<std::size_t>(r)] == group)
                ++names[store.Players[static_cast<std::size_t>(r)].Name];
        for (const auto& [name, holdings] : names)
            detail += " '" + name + "' x" + std::to_string(holdings);
        detail += "; items by person:";
        for (const auto& [key, n] : together)
            if (key.first == group)
                detail += " " + std::to_string(key.second) + ":" + std::to_string(n);
        score.Mixed.push_back(detail);
    }
    return true;
}

} // namespace qla::identity_truth
