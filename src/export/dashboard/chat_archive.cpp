// Which logs the chat archive holds, in what order, and where their pages live.
#include "export/dashboard/chat_archive.h"

#include <algorithm>

namespace qla {
namespace {

// True when the ends step through the store's chats without going back, the last at its end.
bool CoversChats(const std::vector<SiteLog>& logs, const AnalysisStore& store) {
    if (logs.empty())
        return false;
    std::size_t voice = 1, text = 1;
    for (const SiteLog& log : logs) {
        if (log.VoiceChatsEnd < voice || log.TextChatsEnd < text)
            return false;
        voice = log.VoiceChatsEnd;
        text = log.TextChatsEnd;
    }
    return voice == store.VoiceChats.size() && text == store.TextChats.size();
}

// True when the source's logs are the settings' logs, in the same order.
bool StreamsLogs(const std::vector<ChatLogSize>& sizes, const std::vector<SiteLog>& logs) {
    if (sizes.empty() || sizes.size() != logs.size())
        return false;
    for (std::size_t i = 0; i < logs.size(); ++i)
        if (sizes[i].Id != logs[i].Id)
            return false;
    return true;
}

// `streamed`: StreamsLogs(sizes, settings.Logs).
std::vector<ArchivedLog> LogsOf(const AnalysisStore& store, const std::vector<ChatLogSize>& sizes,
                                const DashboardSettings& settings, bool streamed) {
    std::vector<ArchivedLog> logs;
    if (streamed) {
        for (std::size_t i = 0; i < sizes.size(); ++i) {
            const SiteLog& log = settings.Logs[i];
            logs.push_back(
                {log.Id, log.Name, log.Date, 0, sizes[i].VoiceChats, 0, sizes[i].TextChats, i});
        }
    } else if (CoversChats(settings.Logs, store)) {
        std::size_t voice = 1, text = 1;
        for (const SiteLog& log : settings.Logs) {
            logs.push_back(
                {log.Id, log.Name, log.Date, voice, log.VoiceChatsEnd, text, log.TextChatsEnd});
            voice = log.VoiceChatsEnd;
            text = log.TextChatsEnd;
        }
    } else {
        logs.push_back({1, settings.SourceName, settings.LogDate, 1, store.VoiceChats.size(), 1,
                        store.TextChats.size()});
        return logs;
    }
    // Dated logs first, by date; the order filed breaks ties and orders the undated.
    std::stable_sort(logs.begin(), logs.end(), [](const ArchivedLog& a, const ArchivedLog& b) {
        if (a.Date.empty() != b.Date.empty())
            return b.Date.empty();
        return a.Date < b.Date;
    });
    return logs;
}

std::int64_t LargestId(const std::vector<ArchivedLog>& logs) {
    std::int64_t largest = 1;
    for (const ArchivedLog& log : logs)
        largest = std::max(largest, log.Id);
    return largest;
}

} // namespace

ChatArchive::ChatArchive(const AnalysisStore& store, const LineSource& lines,
                         const DashboardSettings& settings, std::size_t perFolder)
    : ChatArchive(store, lines, lines.ChatLogs(), settings, perFolder) {}

ChatArchive::ChatArchive(const AnalysisStore& store, const LineSource& lines,
                         const std::vector<ChatLogSize>& sizes, const DashboardSettings& settings,
                         std::size_t perFolder)
    : store_(store), lines_(lines), streamed_(StreamsLogs(sizes, settings.Logs)),
      logs_(LogsOf(store, sizes, settings, streamed_)),
      voice_("voice", "log-", static_cast<std::size_t>(LargestId(logs_)), perFolder),
      text_("text", "log-", static_cast<std::size_t>(LargestId(logs_)), perFolder) {}

std::string ChatArchive::PagePath(bool voice, const ArchivedLog& log) const {
    return (voice ? voice_ : text_).Path(static_cast<std::size_t>(log.Id));
}

bool ChatArchive::ForEachMessage(const ArchivedLog& log, bool voice, const ChatLineVisitor& visit,
                                 std::string& error) const {
    if (streamed_)
        return lines_.ForEachChatOfLog(log.SourceLog, voice, visit, error);
    const std::vector<ChatEntry>& chats = voice ? store_.VoiceChats : store_.TextChats;
    for (std::size_t k = log.Begin(voice); k < log.End(voice); ++k) {
        const ChatEntry& entry = chats[k];
        visit({entry.Player, store_.LocationOf(entry), entry.Text, entry.IsTeam});
    }
    return true;
}

std::optional<ChatLogStamp> ChatArchive::StampOf(const ArchivedLog& log, bool voice) const {
    if (!streamed_)
        return std::nullopt;
    return lines_.StampOfChatLog(log.SourceLog, voice);
}

std::string ArchivedLogTitle(const ArchivedLog& log) {
    if (!log.Date.empty())
        return log.Date;
    return log.Name.empty() ? std::string("no date") : "no date, " + log.Name;
}

} // namespace qla
