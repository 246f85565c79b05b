// The analysis store's reset and its player look-up through a hash index. The index gives the
// same result as a linear search from record 1, including the creation order of new records.
#include "core/store.h"

#include "core/names.h"

namespace qla {

void AnalysisStore::Reset() {
    Players.assign(1, PlayerRecord{});
    KillEvents.assign(1, KillEvent{});
    VoiceChats.assign(1, ChatEntry{});
    TextChats.assign(1, ChatEntry{});
    OtherLines.assign(1, std::string_view{});
    index_.Clear();
}

PlayerIndex AnalysisStore::FindOrAddPlayer(std::string_view rawName) {
    std::string_view name = NormalizeName(rawName);
    if (name.empty())
        name = kUnnamedPlayer;
    const std::uint64_t hash = NameIndex::Hash(name);
    if (const PlayerIndex found = index_.Find(name, hash); found != 0)
        return found;
    const auto index = static_cast<PlayerIndex>(Players.size());
    PlayerRecord record;
    record.Name.assign(name);
    Players.push_back(std::move(record));
    index_.Add(name, hash, index);
    return index;
}

std::optional<PlayerIndex> AnalysisStore::FindPlayer(std::string_view name) const {
    if (const PlayerIndex found = index_.Find(name, NameIndex::Hash(name)); found != 0)
        return found;
    return std::nullopt;
}

} // namespace qla
