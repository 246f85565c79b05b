// Merging players: the store's own rule for what one record of several players holds. Counters
// add up slot by slot; events and chats keep their order and only change whom they name.
#include "core/store.h"

namespace qla {

namespace {

void AddCounters(PlayerRecord& into, const PlayerRecord& from) {
    for (std::size_t w = 0; w < into.Kills.size(); ++w)
        into.Kills[w] += from.Kills[w];
    for (std::size_t w = 0; w < into.Deaths.size(); ++w)
        into.Deaths[w] += from.Deaths[w];
    into.Teamkills += from.Teamkills;
    into.VoiceChatCount += from.VoiceChatCount;
    into.TextChatCount += from.TextChatCount;
}

} // namespace

void AnalysisStore::MergePlayers(std::span<const PlayerIndex> groupOf,
                                 std::span<const PlayerIndex> nameOf) {
    std::vector<PlayerRecord> merged(nameOf.size());
    for (std::size_t g = 1; g < nameOf.size(); ++g)
        merged[g].Name = Players[static_cast<std::size_t>(nameOf[g])].Name;
    for (const PlayerIndex i : PlayerIndexes())
        AddCounters(merged[static_cast<std::size_t>(groupOf[static_cast<std::size_t>(i)])],
                    Players[static_cast<std::size_t>(i)]);
    const auto group = [&](PlayerIndex i) { return groupOf[static_cast<std::size_t>(i)]; };
    for (KillEvent& event : RealEntries(KillEvents)) {
        event.Killer = group(event.Killer);
        event.Victim = group(event.Victim);
    }
    for (ChatEntry& chat : RealEntries(VoiceChats))
        chat.Player = group(chat.Player);
    for (ChatEntry& chat : RealEntries(TextChats))
        chat.Player = group(chat.Player);

    Players = std::move(merged);
    index_.Clear();
    for (const PlayerIndex g : PlayerIndexes()) {
        const std::string& name = Players[static_cast<std::size_t>(g)].Name;
        index_.Add(name, NameIndex::Hash(name), g);
    }
}

} // namespace qla
