// The chats and other lines of the selected logs, streamed from their rows as a writer asks for
// them, so that the chat and junk views of a long history never hold it whole. The store the
// writer reads beside them was built from the same logs without those texts.
#pragma once

#include "db/log_catalog.h"
#include "db/stats_database.h"
#include "stats/statistics.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qla::db {

// One selected log as its rows name players: by place in its digest.
struct LogLines {
    LogId Id = 0;
    std::vector<std::string> PlayerNames; // the digest's players, in order
    std::vector<bool> Speaks;             // whether the player has a chat in the log
    std::int64_t UnknownLines = 0;
    std::size_t VoiceChats = 0, TextChats = 0; // its messages of each kind
};

// Files a name as the store holds it (after a merge, the merged record); 0 when it holds none.
using PlayerOfName = std::function<PlayerIndex(std::string_view name)>;

class DatabaseLines final : public LineSource {
  public:
    DatabaseLines(StatsDatabase& database, std::vector<LogLines> logs, PlayerOfName playerOf);

    // Whether every speaker of every log is a player of the store. The store files a speaker it
    // lacks only while it reads the chats (a damaged digest): then the chats are read into it.
    bool FilesEverySpeaker() const;

    bool ForEachChat(bool voice, const ChatLineVisitor& visit, std::string& error) const override;
    std::int64_t UnknownLineCount() const override;
    bool ForEachUnknownLine(const TextLineVisitor& visit, std::string& error) const override;
    bool FirstUnknownLines(std::size_t count, std::vector<std::string>& lines,
                           std::string& error) const override;
    std::vector<ChatLogSize> ChatLogs() const override;
    bool ForEachChatOfLog(std::size_t log, bool voice, const ChatLineVisitor& visit,
                          std::string& error) const override;
    std::optional<ChatLogStamp> StampOfChatLog(std::size_t log, bool voice) const override;

  private:
    StatsDatabase& database_;
    std::vector<LogLines> logs_;
    std::vector<std::vector<PlayerIndex>> players_; // by log, by place from 0
    // The database's count of rewrites, read at the first stamp; nullopt inside: none kept.
    mutable std::optional<std::optional<std::int64_t>> rewrites_;
};

} // namespace qla::db
