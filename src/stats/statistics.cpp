// The store's own lists as a line source.
#include "stats/statistics.h"

namespace qla {

bool LineSource::FirstUnknownLines(std::size_t count, std::vector<std::string>& lines,
                                   std::string& error) const {
    lines.clear();
    return ForEachUnknownLine(
        [&](std::string_view line) {
            if (lines.size() < count)
                lines.emplace_back(line);
        },
        error);
}

bool LineSource::ForEachChatOfLog(std::size_t log, bool, const ChatLineVisitor&,
                                  std::string& error) const {
    error = "the chats of log " + std::to_string(log) + " are not told apart";
    return false;
}

bool StoreLines::ForEachChat(bool voice, const ChatLineVisitor& visit, std::string&) const {
    for (const ChatEntry& entry : RealEntries(voice ? store_.VoiceChats : store_.TextChats))
        visit({entry.Player, store_.LocationOf(entry), entry.Text, entry.IsTeam});
    return true;
}

std::int64_t StoreLines::UnknownLineCount() const {
    return static_cast<std::int64_t>(store_.UnknownLines.size()) - 1;
}

bool StoreLines::FirstUnknownLines(std::size_t count, std::vector<std::string>& lines,
                                   std::string&) const {
    lines.clear();
    for (const std::string_view line : RealEntries(store_.UnknownLines)) {
        if (lines.size() == count)
            break;
        lines.emplace_back(line);
    }
    return true;
}

bool StoreLines::ForEachUnknownLine(const TextLineVisitor& visit, std::string&) const {
    for (const std::string_view line : RealEntries(store_.UnknownLines))
        visit(line);
    return true;
}

} // namespace qla
