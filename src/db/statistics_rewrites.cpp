// The count of rewritten statistics in qla_meta.
#include "db/statistics_rewrites.h"

#include "db/meta_rows.h"

#include <charconv>

namespace qla::db {

std::optional<std::int64_t> StatisticsRewrites(StatsDatabase& database, std::string& error) {
    const std::optional<std::string> value = ReadMetaValue(database, kStatisticsRewritesRow, error);
    if (!value)
        return std::nullopt;
    std::int64_t count = 0;
    const auto [end, failed] = std::from_chars(value->data(), value->data() + value->size(), count);
    if (failed != std::errc() || end != value->data() + value->size())
        return std::nullopt;
    return count;
}

bool CountStatisticsRewrite(StatsDatabase& database, std::string& error) {
    std::string failure;
    const auto count = StatisticsRewrites(database, failure);
    if (!failure.empty()) {
        error = failure;
        return false;
    }
    // A database whose row is missing or unreadable gets it back, counting on from 1.
    return WriteMetaValue(database, kStatisticsRewritesRow, std::to_string(count.value_or(0) + 1),
                          error);
}

} // namespace qla::db
