// Keeping a log's chat rows between readings.
#include "db/chat_rows_cache.h"

#include <algorithm>
#include <iterator>
#include <limits>

namespace qla::db {

void ChatRowsCache::Validate(std::optional<std::int64_t> rewrites) {
    if (!rewrites || rewrites != rewrites_) {
        kept_.clear();
        unkept_.clear();
        bytes_ = 0;
    }
    rewrites_ = rewrites;
}

void ChatRowsCache::KeepOnly(const std::vector<LogId>& ids) {
    for (auto entry = kept_.begin(); entry != kept_.end();) {
        const auto next = std::next(entry);
        if (std::find(ids.begin(), ids.end(), entry->first.first) == ids.end())
            Drop(entry);
        entry = next;
    }
}

void ChatRowsCache::Clear() {
    kept_.clear();
    unkept_.clear();
    bytes_ = 0;
    rewrites_.reset();
}

void ChatRowsCache::Drop(std::map<std::pair<LogId, ChatKind>, Kept>::iterator entry) {
    bytes_ -= entry->second.Bytes;
    kept_.erase(entry);
}

bool ChatRowsCache::Kept::Add(const ChatRow& row, std::size_t room) {
    if (row.Message.size() > std::numeric_limits<std::uint32_t>::max() ||
        Locations.size() >= std::numeric_limits<std::uint32_t>::max())
        return false;
    const auto [place, added] = LocationIndex.try_emplace(
        std::string(row.Location), static_cast<std::uint32_t>(Locations.size()));
    // A place costs its bytes twice (list and index) and about two words of bookkeeping.
    const std::size_t cost = sizeof(Row) + row.Message.size() +
                             (added ? 2 * (row.Location.size() + sizeof(std::string)) : 0);
    if (Bytes + cost > room)
        return false; // the caller drops the whole log
    if (added)
        Locations.emplace_back(row.Location);
    Rows.push_back(
        {row.Player, place->second, static_cast<std::uint32_t>(row.Message.size()), row.IsTeam});
    Messages.append(row.Message);
    LastSeq = row.Seq;
    Bytes += cost;
    return true;
}

bool ChatRowsCache::ForEachChat(StatsDatabase& database, LogId id, ChatKind kind,
                                const std::function<void(const ChatRow&)>& each,
                                std::string& error) {
    if (!rewrites_ || unkept_.contains({id, kind}))
        return db::ForEachChat(database, id, kind, each, error);
    const auto entry = kept_.try_emplace({id, kind}).first;
    Kept& kept = entry->second;
    std::size_t at = 0;
    std::int64_t seq = 0;
    for (const Row& row : kept.Rows) {
        // The numbers are not kept: rows counted from 1 before the last one kept.
        each(ChatRow{++seq, row.Player, row.IsTeam, kept.Locations[row.Location],
                     std::string_view(kept.Messages).substr(at, row.MessageSize)});
        at += row.MessageSize;
    }
    // What the other logs keep leaves this one the rest of the limit.
    const std::size_t others = bytes_ - kept.Bytes;
    const std::size_t room = limit_ > others ? limit_ - others : 0;
    bool fits = true;
    const bool read = db::ForEachChat(
        database, id, kind,
        [&](const ChatRow& row) {
            each(row);
            fits = fits && kept.Add(row, room);
        },
        error, kept.LastSeq);
    bytes_ = others + kept.Bytes;
    if (!fits)
        unkept_.insert(entry->first);
    if (!read || !fits)
        Drop(entry); // read whole the next time
    return read;
}

} // namespace qla::db
