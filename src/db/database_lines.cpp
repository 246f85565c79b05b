// Streaming the chat and other-line rows of the selected logs.
#include "db/database_lines.h"

#include "db/statistics_rewrites.h"
#include "db/statistics_rows.h"

namespace qla::db {

DatabaseLines::DatabaseLines(StatsDatabase& database, std::vector<LogLines> logs,
                             PlayerOfName playerOf)
    : database_(database), logs_(std::move(logs)) {
    players_.reserve(logs_.size());
    for (const LogLines& log : logs_) {
        std::vector<PlayerIndex>& here = players_.emplace_back();
        here.reserve(log.PlayerNames.size());
        for (const std::string& name : log.PlayerNames)
            here.push_back(playerOf(name));
    }
}

bool DatabaseLines::FilesEverySpeaker() const {
    for (std::size_t i = 0; i < logs_.size(); ++i)
        for (std::size_t place = 0; place < players_[i].size(); ++place)
            if (players_[i][place] == 0 && logs_[i].Speaks[place])
                return false;
    return true;
}

bool DatabaseLines::ForEachChat(bool voice, const ChatLineVisitor& visit,
                                std::string& error) const {
    for (std::size_t i = 0; i < logs_.size(); ++i)
        if (!ForEachChatOfLog(i, voice, visit, error))
            return false;
    return true;
}

bool DatabaseLines::FirstUnknownLines(std::size_t count, std::vector<std::string>& lines,
                                      std::string& error) const {
    lines.clear();
    for (const LogLines& log : logs_) {
        if (lines.size() >= count)
            break;
        if (!db::AddFirstUnknownLines(database_, log.Id, count, lines, error))
            return false;
    }
    return true;
}

std::vector<ChatLogSize> DatabaseLines::ChatLogs() const {
    std::vector<ChatLogSize> sizes;
    sizes.reserve(logs_.size());
    for (const LogLines& log : logs_)
        sizes.push_back({log.Id, log.VoiceChats, log.TextChats});
    return sizes;
}

bool DatabaseLines::ForEachChatOfLog(std::size_t log, bool voice, const ChatLineVisitor& visit,
                                     std::string& error) const {
    const std::vector<PlayerIndex>& here = players_.at(log);
    bool damaged = false;
    const auto each = [&](const ChatRow& row) {
        // Rows number a log's players from 1, in the digest's order.
        const PlayerIndex player =
            row.Player >= 1 && row.Player <= here.size() ? here[row.Player - 1] : 0;
        if (player == 0) {
            damaged = true;
            return;
        }
        visit({player, row.Location, row.Message, row.IsTeam});
    };
    if (!db::ForEachChat(database_, logs_[log].Id, voice ? ChatKind::Voice : ChatKind::Text, each,
                         error))
        return false;
    if (damaged) {
        error = "the database " + database_.Path() + " is damaged: a chat of log " +
                std::to_string(logs_[log].Id) + " names no player of the log";
        return false;
    }
    return true;
}

std::optional<ChatLogStamp> DatabaseLines::StampOfChatLog(std::size_t log, bool voice) const {
    if (!rewrites_) {
        std::string error;
        rewrites_ = StatisticsRewrites(database_, error);
    }
    if (!*rewrites_ || log >= logs_.size())
        return std::nullopt;
    const LogLines& lines = logs_[log];
    ChatLogStamp stamp;
    stamp.Rows = voice ? lines.VoiceChats : lines.TextChats;
    stamp.Rewrites = static_cast<std::uint64_t>(**rewrites_);
    for (std::size_t place = 0; place < players_[log].size() && place < lines.Speaks.size();
         ++place)
        if (lines.Speaks[place])
            stamp.Speakers.push_back(players_[log][place]);
    return stamp;
}

std::int64_t DatabaseLines::UnknownLineCount() const {
    std::int64_t count = 0;
    for (const LogLines& log : logs_)
        count += log.UnknownLines;
    return count;
}

bool DatabaseLines::ForEachUnknownLine(const TextLineVisitor& visit, std::string& error) const {
    for (const LogLines& log : logs_)
        if (!db::ForEachUnknownLine(database_, log.Id, visit, error))
            return false;
    return true;
}

} // namespace qla::db
