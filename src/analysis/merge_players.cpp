// Merging players: resolve identities over the store's names and renames, choose each player's
// display name, then let the store regroup its records.
#include "analysis/merge_players.h"

#include "analysis/player_identity.h"
#include "core/names.h"

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

MergedNames MergePlayers(AnalysisStore& store, const AliasList& aliases) {
    PlayerIdentity identity(aliases);
    for (const PlayerRecord& player : RealEntries(store.Players))
        identity.AddName(player.Name);
    for (const RenameEntry& rename : RealEntries(store.Renames))
        identity.AddRename(rename.OldName, rename.NewName);

    const std::vector<std::int64_t> lines = RecordedLinesPerPlayer(store);
    std::vector<PlayerIndex> groupOf(store.Players.size(), 0);
    std::vector<PlayerIndex> nameOf(1, 0);
    std::unordered_map<std::size_t, PlayerIndex> groupOfRoot;
    MergedNames merged;
    merged.names_.emplace_back();
    for (const PlayerIndex i : store.PlayerIndexes()) {
        const std::string& name = store.Players[static_cast<std::size_t>(i)].Name;
        const auto [at, added] = groupOfRoot.try_emplace(identity.PlayerOf(name),
                                                         static_cast<PlayerIndex>(nameOf.size()));
        const PlayerIndex group = at->second;
        if (added) {
            nameOf.push_back(i);
            merged.names_.emplace_back();
        } else if (lines[static_cast<std::size_t>(i)] >
                   lines[static_cast<std::size_t>(nameOf[static_cast<std::size_t>(group)])]) {
            nameOf[static_cast<std::size_t>(group)] =
                i; // strictly more: the first seen keeps a tie
        }
        groupOf[static_cast<std::size_t>(i)] = group;
        merged.recordOf_.emplace(name, group);
        merged.recordOfKey_.emplace(IdentityKey(name), group);
        merged.names_[static_cast<std::size_t>(group)].push_back(name);
    }
    store.MergePlayers(groupOf, nameOf);
    return merged;
}

} // namespace qla
