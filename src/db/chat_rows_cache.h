// The chats of each log as read before, for a process that fills a store from the database
// again and again (qla watch publishing its site after every batch). A log's chat rows are only
// added to, numbered on, until they are removed to be written again, which the database counts
// (statistics_rewrites.h): while that count stays, the rows kept are the first of the log's
// rows, and only the rows numbered after them are read.
#pragma once

#include "db/statistics_rows.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace qla::db {

class ChatRowsCache {
  public:
    // What is kept is held to about `limitBytes`: a log's rows that do not fit are read every
    // time (a year of logs would otherwise double watch's memory).
    static constexpr std::size_t kDefaultLimitBytes = std::size_t{256} << 20;
    explicit ChatRowsCache(std::size_t limitBytes = kDefaultLimitBytes) : limit_(limitBytes) {}

    // Drops every kept row unless `rewrites` is the count they were read under; nullopt (a
    // database that keeps no count) keeps nothing.
    void Validate(std::optional<std::int64_t> rewrites);
    // Drops the rows of the logs not in `ids` (logs forgotten meanwhile).
    void KeepOnly(const std::vector<LogId>& ids);
    void Clear();

    // Calls `each` for the log's chats of one kind, as ForEachChat, reading and keeping only
    // the rows after those kept.
    bool ForEachChat(StatsDatabase& database, LogId id, ChatKind kind,
                     const std::function<void(const ChatRow&)>& each, std::string& error);

    // The memory the kept rows take, roughly.
    std::size_t Bytes() const { return bytes_; }

  private:
    struct Row {
        std::uint32_t Player = 0;
        std::uint32_t Location = 0; // in Kept::Locations
        std::uint32_t MessageSize = 0;
        bool IsTeam = false;
    };
    // One log's chats of one kind: messages one after the other, places each once.
    struct Kept {
        std::vector<Row> Rows;
        std::string Messages;
        std::vector<std::string> Locations;
        std::unordered_map<std::string, std::uint32_t> LocationIndex;
        std::int64_t LastSeq = 0;
        std::size_t Bytes = 0;

        // False when the row would take the kept bytes past `room`: then the log is dropped.
        bool Add(const ChatRow& row, std::size_t room);
    };
    void Drop(std::map<std::pair<LogId, ChatKind>, Kept>::iterator entry);

    std::size_t limit_;
    std::size_t bytes_ = 0; // of every Kept
    std::optional<std::int64_t> rewrites_;
    std::map<std::pair<LogId, ChatKind>, Kept> kept_;
    std::set<std::pair<LogId, ChatKind>> unkept_; // did not fit: read whole, not tried again
};

} // namespace qla::db
