// Names of logs and the list of players over several logs.
#include "analysis/log_names.h"

#include "analysis/holder_identity.h"
#include "analysis/merge_players.h"
#include "analysis/player_identity.h"
#include "core/names.h"

#include <unordered_map>
#include <utility>

namespace qla {

LogNames NamesOfStore(const AnalysisStore& store, std::int64_t number) {
    LogNames names;
    names.Number = number;
    const std::vector<std::int64_t> lines = RecordedLinesPerPlayer(store);
    std::unordered_map<std::string_view, std::size_t> placeOf; // holders of a name are one name
    for (const PlayerIndex i : store.PlayerIndexes()) {
        const std::string& name = store.Players[static_cast<std::size_t>(i)].Name;
        const auto [at, added] = placeOf.try_emplace(name, names.Names.size());
        if (added) {
            names.Names.push_back(name);
            names.Lines.push_back(0);
        }
        names.Lines[at->second] += lines[static_cast<std::size_t>(i)];
    }
    const std::vector<std::string> passing =
        store.TracksHolders ? PassingNameKeys(store) : std::vector<std::string>{};
    for (const RenameEntry& rename : RealEntries(store.Renames)) {
        if (KeyListed(passing, rename.OldName) || KeyListed(passing, rename.NewName))
            continue;
        names.Renames.emplace_back(rename.OldName, rename.NewName);
        names.RenameLines.push_back(rename.Line);
    }
    return names;
}

std::vector<ListedPlayer> ListPlayers(const std::vector<LogNames>& logs, const AliasList& aliases) {
    PlayerIdentity identity(aliases);
    std::unordered_map<std::string, std::int64_t> lines;
    for (const LogNames& log : logs) {
        for (std::size_t i = 0; i < log.Names.size(); ++i) {
            identity.AddName(log.Names[i]);
            lines[log.Names[i]] += i < log.Lines.size() ? log.Lines[i] : 0;
        }
    }
    for (const LogNames& log : logs)
        for (const auto& [from, to] : log.Renames)
            identity.AddRename(from, to);

    std::vector<ListedPlayer> players;
    for (std::vector<std::string>& names : identity.Players()) {
        ListedPlayer player;
        std::int64_t most = -1;
        for (const std::string& name : names) {
            const auto found = lines.find(name);
            const std::int64_t count = found == lines.end() ? 0 : found->second;
            if (count > most) {
                most = count;
                player.DisplayName = name;
            }
        }
        player.Names = std::move(names);
        players.push_back(std::move(player));
    }
    return players;
}

} // namespace qla
