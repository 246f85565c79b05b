// The store's own lists as a line source.
#include "stats/statistics.h"

namespace qla {

bool StoreLines::ForEachChat(bool voice, const ChatLineVisitor& visit, std::string&) const {
    for (const ChatEntry& entry : RealEntries(voice ? store_.VoiceChats : store_.TextChats))
        visit({entry.Player, store_.LocationOf(entry), entry.Text, entry.IsTeam});
    return true;
}

std::int64_t StoreLines::UnknownLineCount() const {
    return static_cast<std::int64_t>(store_.UnknownLines.size()) - 1;
}

bool StoreLines::ForEachUnknownLine(const TextLineVisitor& visit, std::string&) const {
    for (const std::string_view line : RealEntries(store_.UnknownLines))
        visit(line);
    return true;
}

} // namespace qla
