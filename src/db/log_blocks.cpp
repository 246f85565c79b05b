// Building, reading and removing the sums of runs of logs.
#include "db/log_blocks.h"

#include "db/digest_packing.h"
#include "db/schema.h"
#include "db/stats_database.h"
#include "db/store_from_statistics.h"

#include <QByteArray>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>

namespace qla::db {
namespace {

QVariant Int(std::int64_t value) {
    return QVariant::fromValue<qlonglong>(value);
}

std::optional<std::vector<LogId>> LogIds(StatsDatabase& database, std::string& error) {
    QSqlQuery query(database.Connection());
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT id FROM logs ORDER BY id"))) {
        error = database.Failure("cannot read the logs of " + database.Path(), query);
        return std::nullopt;
    }
    std::vector<LogId> ids;
    while (query.next())
        ids.push_back(query.value(0).toLongLong());
    return ids;
}

bool Remove(StatsDatabase& database, const LogBlock& block, std::string& error) {
    QSqlQuery query(database.Connection());
    query.prepare(QStringLiteral("DELETE FROM log_blocks WHERE first_log = ? AND logs = ?"));
    query.addBindValue(Int(block.First));
    query.addBindValue(Int(static_cast<std::int64_t>(block.Logs)));
    if (!query.exec()) {
        error = database.Failure("cannot store the sums of the logs", query);
        return false;
    }
    return true;
}

bool Insert(StatsDatabase& database, const LogBlock& block, const LogDigest& sum,
            std::string& error) {
    const std::string head = EncodeStoredDigest(sum).Head;
    QSqlQuery query(database.Connection());
    query.prepare(QStringLiteral(
        "INSERT INTO log_blocks (first_log, last_log, logs, digest) VALUES (?, ?, ?, ?)"));
    query.addBindValue(Int(block.First));
    query.addBindValue(Int(block.Last));
    query.addBindValue(Int(static_cast<std::int64_t>(block.Logs)));
    query.addBindValue(QByteArray(head.data(), static_cast<qsizetype>(head.size())));
    if (!query.exec()) {
        error = database.Failure("cannot store the sums of the logs", query);
        return false;
    }
    return true;
}

} // namespace

std::optional<LogDigest> SumOfLogs(StatsDatabase& database, std::vector<LogId> ids, bool logByLog,
                                   std::string& error) {
    AnalysisStore store;
    StoreParts parts = CountersOnly();
    parts.Kills = logByLog; // a reader of the kills files no sums
    const DatabaseStoreResult read =
        BuildStoreFromStatistics(database, LogsWithIds(std::move(ids)), store, parts);
    if (!read.Ok) {
        error = read.Error;
        return std::nullopt;
    }
    return DigestOfStore(store, read.Totals);
}

bool SameSums(const LogDigest& a, const LogDigest& b) {
    const auto same = [](const PlayerRecord& x, const PlayerRecord& y) {
        return x.Name == y.Name && x.Kills == y.Kills && x.Deaths == y.Deaths &&
               x.Teamkills == y.Teamkills && x.VoiceChatCount == y.VoiceChatCount &&
               x.TextChatCount == y.TextChatCount;
    };
    return std::equal(a.Players.begin(), a.Players.end(), b.Players.begin(), b.Players.end(),
                      same) &&
           a.Totals.Kills == b.Totals.Kills && a.Totals.Deaths == b.Totals.Deaths &&
           a.Totals.Teamkills == b.Totals.Teamkills && a.Totals.VoiceChats == b.Totals.VoiceChats &&
           a.Totals.TextChats == b.Totals.TextChats && a.Totals.Unknown == b.Totals.Unknown &&
           a.Totals.Total == b.Totals.Total && a.Totals.ByKind == b.Totals.ByKind &&
           a.CutNames == b.CutNames;
}

std::vector<LogBlock> BlocksOfLogs(const std::vector<LogId>& ids) {
    std::vector<LogBlock> blocks;
    for (std::size_t size = kLogsPerBlock; size <= ids.size(); size *= kLogsPerBlock)
        for (std::size_t start = 0; start + size <= ids.size(); start += size)
            blocks.push_back({ids[start], ids[start + size - 1], size});
    return blocks;
}

std::optional<std::vector<LogBlock>> ReadLogBlocks(StatsDatabase& database, std::string& error) {
    std::vector<LogBlock> blocks;
    if (database.StoredVersion() < kBlocksVersion)
        return blocks;
    QSqlQuery query(database.Connection());
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral(
            "SELECT first_log, last_log, logs FROM log_blocks ORDER BY logs DESC, first_log"))) {
        error = database.Failure("cannot read the sums of the logs of " + database.Path(), query);
        return std::nullopt;
    }
    while (query.next())
        blocks.push_back({query.value(0).toLongLong(), query.value(1).toLongLong(),
                          static_cast<std::size_t>(query.value(2).toLongLong())});
    return blocks;
}

std::optional<LogDigest> ReadBlockSum(StatsDatabase& database, const LogBlock& block,
                                      std::string& error) {
    QSqlQuery query(database.Connection());
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT digest FROM log_blocks WHERE first_log = ? AND logs = ?"));
    query.addBindValue(Int(block.First));
    query.addBindValue(Int(static_cast<std::int64_t>(block.Logs)));
    if (!query.exec()) {
        error = database.Failure("cannot read the sums of the logs of " + database.Path(), query);
        return std::nullopt;
    }
    std::optional<LogDigest> sum;
    if (query.next()) {
        const QByteArray head = query.value(0).toByteArray();
        sum = DecodeDigestHead({head.constData(), static_cast<std::size_t>(head.size())});
    }
    if (!sum)
        error = "the database " + database.Path() + " is damaged: the sum of logs " +
                std::to_string(block.First) + " to " + std::to_string(block.Last) +
                " cannot be read";
    return sum;
}

bool ForgetBlocksOf(StatsDatabase& database, LogId id, std::string& error) {
    database.NoteStatisticsChanged();
    if (database.StoredVersion() < kBlocksVersion)
        return true;
    QSqlQuery query(database.Connection());
    query.prepare(QStringLiteral("DELETE FROM log_blocks WHERE first_log <= ? AND last_log >= ?"));
    query.addBindValue(Int(id));
    query.addBindValue(Int(id));
    if (!query.exec()) {
        error = database.Failure("cannot store the sums of the logs", query);
        return false;
    }
    return true;
}

bool RefreshLogBlocks(StatsDatabase& database, std::string& error) {
    if (database.StoredVersion() < kBlocksVersion)
        return true;
    const auto ids = LogIds(database, error);
    const auto stored = ReadLogBlocks(database, error);
    if (!ids || !stored)
        return false;
    const std::vector<LogBlock> wanted = BlocksOfLogs(*ids);
    for (const LogBlock& block : *stored)
        if (std::find(wanted.begin(), wanted.end(), block) == wanted.end() &&
            !Remove(database, block, error))
            return false;
    for (const LogBlock& block : wanted) {
        if (std::find(stored->begin(), stored->end(), block) != stored->end())
            continue;
        const auto first = std::find(ids->begin(), ids->end(), block.First);
        const auto sum = SumOfLogs(
            database, std::vector<LogId>(first, first + static_cast<std::ptrdiff_t>(block.Logs)),
            false, error);
        if (!sum || !Insert(database, block, *sum, error))
            return false;
    }
    return true;
}

} // namespace qla::db
