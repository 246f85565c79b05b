// Keeping a log's chat rows between readings.
#include "db/chat_rows_cache.h"

#include <algorithm>
#include <limits>

namespace qla::db {

void ChatRowsCache::Validate(std::optional<std::int64_t> rewrites) {
    if (!rewrites || rewrites != rewrites_)
        kept_.clear();
    rewrites_ = rewrites;
}

void ChatRowsCache::KeepOnly(const std::vector<LogId>& ids) {
    std::erase_if(kept_, [&](const auto& entry) {
        return std::find(ids.begin(), ids.end(), entry.first.first) == ids.end();
    });
}

void ChatRowsCache::Clear() {
    kept_.clear();
    rewrites_.reset();
}

void ChatRowsCache::Kept::Add(const ChatRow& row) {
    const auto [place, added] = LocationIndex.try_emplace(
        std::string(row.Location), static_cast<std::uint32_t>(Locations.size()));
    if (added)
        Locations.emplace_back(row.Location);
    Rows.push_back(
        {row.Player, place->second, static_cast<std::uint32_t>(row.Message.size()), row.IsTeam});
    Messages.append(row.Message);
    LastSeq = row.Seq;
}

bool ChatRowsCache::ForEachChat(StatsDatabase& database, LogId id, ChatKind kind,
                                const std::function<void(const ChatRow&)>& each,
                                std::string& error) {
    if (!rewrites_)
        return db::ForEachChat(database, id, kind, each, error);
    Kept& kept = kept_[{id, kind}];
    std::size_t at = 0;
    std::int64_t seq = 0;
    for (const Row& row : kept.Rows) {
        // The numbers are not kept: rows counted from 1 before the last one kept.
        each(ChatRow{++seq, row.Player, row.IsTeam, kept.Locations[row.Location],
                     std::string_view(kept.Messages).substr(at, row.MessageSize)});
        at += row.MessageSize;
    }
    bool fits = true;
    const bool read = db::ForEachChat(
        database, id, kind,
        [&](const ChatRow& row) {
            each(row);
            // A place or message past what a row keeps (never in a real log) is read again.
            fits = fits && row.Message.size() <= std::numeric_limits<std::uint32_t>::max() &&
                   kept.Locations.size() < std::numeric_limits<std::uint32_t>::max();
            if (fits)
                kept.Add(row);
        },
        error, kept.LastSeq);
    if (!read || !fits)
        kept_.erase({id, kind});
    return read;
}

std::size_t ChatRowsCache::Bytes() const {
    std::size_t bytes = 0;
    for (const auto& [key, kept] : kept_) {
        bytes += kept.Rows.capacity() * sizeof(Row) + kept.Messages.capacity();
        for (const std::string& location : kept.Locations)
            bytes += location.capacity() + sizeof(std::string) * 2 + sizeof(std::uint32_t);
    }
    return bytes;
}

} // namespace qla::db
