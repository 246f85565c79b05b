// The statistics rows in SQL. Texts are stored as bytes (BYTEA), exactly as the log held them.
#include "db/statistics_rows.h"

#include "db/kept_persons.h"
#include "db/log_blocks.h"
#include "db/log_name_uses.h"
#include "db/row_batch.h"
#include "db/schema.h"
#include "db/sqlite_reader.h"
#include "db/statistics_rewrites.h"
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

// Never a null byte array: an empty text is stored as empty, not as NULL.
QVariant Bytes(std::string_view text) {
    return QByteArray(text.empty() ? "" : text.data(), static_cast<qsizetype>(text.size()));
}

std::string_view View(const QByteArray& bytes) {
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

constexpr std::size_t kUnknownLinesPerBlock = 256;

// The lines of a block, each ended by an LF.
void EachLineOfBlock(std::string_view block, const std::function<void(std::string_view)>& each) {
    while (!block.empty()) {
        const std::size_t end = block.find('\n');
        each(block.substr(0, end));
        block.remove_prefix(end == std::string_view::npos ? block.size() : end + 1);
    }
}

// The log's chains in place of the ones it had; none for a digest without holdings (its chains
// are worked out from the digest when it is read).
bool WriteChains(StatsDatabase& database, LogId id, const EncodedDigest& encoded,
                 std::string& error) {
    const std::string what = "cannot store the statistics of log " + std::to_string(id);
    QSqlQuery query(database.Connection());
    query.prepare(QStringLiteral("DELETE FROM log_chains WHERE log_id = ?"));
    query.addBindValue(Int(id));
    if (!query.exec()) {
        error = database.Failure(what, query);
        return false;
    }
    if (!encoded.HasHoldings)
        return true;
    const bool withUses = database.HasColumn("log_chains", "name_uses");
    query.prepare(withUses ? QStringLiteral("INSERT INTO log_chains (log_id, chains, chats, "
                                            "name_uses) VALUES (?, ?, ?, ?)")
                           : QStringLiteral("INSERT INTO log_chains (log_id, chains, chats) "
                                            "VALUES (?, ?, ?)"));
    query.addBindValue(Int(id));
    query.addBindValue(Bytes(encoded.Chains));
    query.addBindValue(Bytes(encoded.ChainChats));
    if (withUses)
        query.addBindValue(Bytes(encoded.NameUses));
    if (!query.exec()) {
        error = database.Failure(what, query);
        return false;
    }
    return true;
}

} // namespace

namespace {

// `split`: the table has the kills and renames columns.
std::optional<LogDigest> ReadDigestRow(StatsDatabase& database, LogId id, std::string& error,
                                       DigestParts parts, bool split) {
    QSqlQuery query(database.Connection());
    query.setForwardOnly(true);
    // Only the columns asked for are read: a digest's head is a few kilobytes, its kills and
    // renames most of its bytes.
    query.prepare(
        QStringLiteral("SELECT digest, %1, %2 FROM log_digests WHERE log_id = ?")
            .arg(split && (parts.Pairs || parts.Encounters) ? QStringLiteral("kills")
                                                            : QStringLiteral("NULL"),
                 split && parts.Renames ? QStringLiteral("renames") : QStringLiteral("NULL")));
    query.addBindValue(Int(id));
    if (!query.exec()) {
        error = database.Failure("cannot read the statistics of log " + std::to_string(id), query);
        return std::nullopt;
    }
    if (!query.next()) {
        error = "the database " + database.Path() + " is damaged: log " + std::to_string(id) +
                " has no statistics";
        return std::nullopt;
    }
    const QByteArray head = query.value(0).toByteArray();
    const QByteArray kills = query.value(1).toByteArray();
    const QByteArray renames = query.value(2).toByteArray();
    auto digest = DecodeStoredDigest(View(head), View(kills), View(renames), parts);
    query.finish();
    if (digest && parts.Holdings && database.StoredVersion() >= kHoldingsVersion &&
        !ReadHoldings(database, id, *digest, error, parts.HoldingNamesOnly))
        return std::nullopt;
    if (!digest)
        error = "the database " + database.Path() + " is damaged: the statistics of log " +
                std::to_string(id) + " cannot be read";
    return digest;
}

} // namespace

std::optional<LogDigest> ReadDigest(StatsDatabase& database, LogId id, std::string& error,
                                    DigestParts parts) {
    return ReadDigestRow(database, id, error, parts, database.KeepsDigestsSplit());
}

bool ReadHoldings(StatsDatabase& database, LogId id, LogDigest& digest, std::string& error,
                  bool namesOnly) {
    QSqlQuery query(database.Connection());
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT holdings FROM log_holdings WHERE log_id = ?"));
    query.addBindValue(Int(id));
    if (!query.exec()) {
        error = database.Failure("cannot read the statistics of log " + std::to_string(id), query);
        return false;
    }
    // A log imported before holdings were kept has none.
    if (query.next() && !DecodeHoldings(View(query.value(0).toByteArray()), digest, namesOnly)) {
        error = "the database " + database.Path() + " is damaged: the statistics of log " +
                std::to_string(id) + " cannot be read";
        return false;
    }
    return true;
}

bool StoreDigestsAgainWithChains(StatsDatabase& database, std::string& error) {
    const auto logs = ListLogs(database, error);
    if (!logs)
        return false;
    for (const LogEntry& log : *logs) {
        // Every column, whatever the version the database said before (the upgrade has just
        // added the columns the digest's kills and renames go to).
        auto digest = ReadDigestRow(database, log.Id, error, {.Holdings = false}, true);
        if (!digest || !ReadHoldings(database, log.Id, *digest, error) ||
            !WriteDigest(database, log.Id, *digest, error))
            return false;
    }
    return true;
}

std::optional<LogChains> ReadChains(StatsDatabase& database, LogId id, std::size_t players,
                                    bool withChats, std::string& error) {
    if (database.StoredVersion() >= kChainsVersion) {
        QSqlQuery query(database.Connection());
        query.setForwardOnly(true);
        query.prepare(withChats
                          ? QStringLiteral("SELECT chains, chats FROM log_chains WHERE log_id = ?")
                          : QStringLiteral("SELECT chains FROM log_chains WHERE log_id = ?"));
        query.addBindValue(Int(id));
        if (!query.exec()) {
            error =
                database.Failure("cannot read the statistics of log " + std::to_string(id), query);
            return std::nullopt;
        }
        if (query.next()) {
            auto chains = DecodeChains(View(query.value(0).toByteArray()), players);
            if (chains && withChats &&
                !DecodeChainChats(View(query.value(1).toByteArray()), *chains))
                chains.reset();
            if (!chains)
                error = "the database " + database.Path() + " is damaged: the chains of log " +
                        std::to_string(id) + " cannot be read";
            return chains;
        }
    }
    // Stored before chains were kept: from its holdings, as storing it again would keep them.
    const auto digest =
        ReadDigest(database, id, error, {.Encounters = false, .Holdings = true, .Renames = true});
    if (!digest)
        return std::nullopt;
    return ChainsOfDigest(*digest);
}

void EncodeDigestHeadToStore(const LogDigest& digest, EncodedDigest& encoded) {
    encoded.Digest = EncodeStoredDigest(digest);
    encoded.HasHoldings = digest.HasHoldings;
    if (digest.HasHoldings)
        encoded.Holdings = EncodeHoldings(digest);
}

void EncodeDigestChainsToStore(const LogDigest& digest, EncodedDigest& encoded) {
    if (!digest.HasHoldings)
        return;
    const LogChains chains = ChainsOfDigest(digest);
    encoded.Chains = EncodeChains(chains);
    encoded.ChainChats = EncodeChainChats(chains);
    encoded.NameUses = EncodeNameUses(NameUsesOfLog(digest, chains));
}

EncodedDigest EncodeDigestToStore(const LogDigest& digest) {
    EncodedDigest encoded;
    EncodeDigestHeadToStore(digest, encoded);
    EncodeDigestChainsToStore(digest, encoded);
    return encoded;
}

bool WriteDigest(StatsDatabase& database, LogId id, const LogDigest& digest, std::string& error) {
    return WriteEncodedDigest(database, id, EncodeDigestToStore(digest), error);
}

bool WriteEncodedDigest(StatsDatabase& database, LogId id, const EncodedDigest& encoded,
                        std::string& error) {
    if (!ForgetBlocksOf(database, id, error) || !ForgetKeptPersons(database, error))
        return false;
    QSqlQuery query(database.Connection());
    query.prepare(QStringLiteral("DELETE FROM log_digests WHERE log_id = ?"));
    query.addBindValue(Int(id));
    if (!query.exec()) {
        error = database.Failure("cannot store the statistics of log " + std::to_string(id), query);
        return false;
    }
    query.prepare(QStringLiteral(
        "INSERT INTO log_digests (log_id, digest, kills, renames) VALUES (?, ?, ?, ?)"));
    query.addBindValue(Int(id));
    query.addBindValue(Bytes(encoded.Digest.Head));
    query.addBindValue(Bytes(encoded.Digest.Kills));
    query.addBindValue(Bytes(encoded.Digest.Renames));
    if (!query.exec()) {
        error = database.Failure("cannot store the statistics of log " + std::to_string(id), query);
        return false;
    }
    // The holdings apart; a database writes them from version 6 on (a writer upgraded it).
    query.prepare(QStringLiteral("DELETE FROM log_holdings WHERE log_id = ?"));
    query.addBindValue(Int(id));
    if (!query.exec()) {
        error = database.Failure("cannot store the statistics of log " + std::to_string(id), query);
        return false;
    }
    if (!WriteChains(database, id, encoded, error))
        return false;
    if (!encoded.HasHoldings)
        return true;
    query.prepare(QStringLiteral("INSERT INTO log_holdings (log_id, holdings) VALUES (?, ?)"));
    query.addBindValue(Int(id));
    query.addBindValue(Bytes(encoded.Holdings));
    if (!query.exec()) {
        error = database.Failure("cannot store the statistics of log " + std::to_string(id), query);
        return false;
    }
    return true;
}

bool WriteTextRows(StatsDatabase& database, LogId id, const RowsBefore& before,
                   const AnalysisStore& piece, std::string& error,
                   std::span<const PlayerIndex> positionOf) {
    const auto position = [&](PlayerIndex record) {
        return positionOf.empty() ? record : positionOf[static_cast<std::size_t>(record)];
    };
    const std::string what = "cannot store the chats of log " + std::to_string(id);
    RowBatch chats(database, "log_chats", "log_id, kind, seq, player, team, location, message", 7,
                   what);
    for (const ChatKind kind : {ChatKind::Voice, ChatKind::Text}) {
        const auto& list = kind == ChatKind::Voice ? piece.VoiceChats : piece.TextChats;
        std::int64_t seq = static_cast<std::int64_t>(kind == ChatKind::Voice ? before.VoiceChats
                                                                             : before.TextChats);
        for (const ChatEntry& chat : RealEntries(list)) {
            const bool added = chats.Add(id) && chats.Add(static_cast<int>(kind)) &&
                               chats.Add(++seq) && chats.Add(position(chat.Player)) &&
                               chats.Add(chat.IsTeam ? 1 : 0) &&
                               chats.AddBytes(piece.LocationOf(chat)) &&
                               chats.AddBytes(std::string_view(chat.Text));
            if (!added) {
                error = chats.Error();
                return false;
            }
        }
    }
    if (!chats.Flush()) {
        error = chats.Error();
        return false;
    }
    // Lines never hold a line end, so an LF after each keeps them apart.
    RowBatch blocks(database, "log_unknown_lines", "log_id, seq, line_count, lines", 4,
                    "cannot store the other lines of log " + std::to_string(id));
    const auto lines = RealEntries(piece.UnknownLines);
    std::string block;
    for (std::size_t first = 0; first < lines.size(); first += kUnknownLinesPerBlock) {
        const std::size_t count = std::min(kUnknownLinesPerBlock, lines.size() - first);
        block.clear();
        for (std::size_t i = first; i < first + count; ++i) {
            block.append(std::string_view(lines[i]));
            block.push_back('\n');
        }
        const auto seq = static_cast<std::int64_t>(before.UnknownLines + first + 1);
        if (!blocks.Add(id) || !blocks.Add(seq) || !blocks.Add(static_cast<std::int64_t>(count)) ||
            !blocks.AddBytes(block)) {
            error = blocks.Error();
            return false;
        }
    }
    if (!blocks.Flush()) {
        error = blocks.Error();
        return false;
    }
    return true;
}

bool ForEachChat(StatsDatabase& database, LogId id, ChatKind kind,
                 const std::function<void(const ChatRow&)>& each, std::string& error,
                 std::int64_t afterSeq) {
    static constexpr const char* kSelect =
        "SELECT seq, player, team, location, message FROM log_chats"
        " WHERE log_id = ? AND kind = ? AND seq > ? ORDER BY seq";
    if (auto rows = SqliteReader::For(database.Connection(), kSelect,
                                      {id, static_cast<int>(kind), afterSeq})) {
        while (rows->Next())
            each(ChatRow{rows->Number(0), static_cast<std::uint32_t>(rows->Number(1)),
                         rows->Number(2) != 0, rows->Bytes(3), rows->Bytes(4)});
        if (!rows->Error().empty())
            error = "cannot read the chats of log " + std::to_string(id) + ": " + rows->Error();
        return rows->Error().empty();
    }
    QSqlQuery query(database.Connection());
    query.setForwardOnly(true);
    query.prepare(QString::fromLatin1(kSelect));
    query.addBindValue(Int(id));
    query.addBindValue(static_cast<int>(kind));
    query.addBindValue(Int(afterSeq));
    if (!query.exec()) {
        error = database.Failure("cannot read the chats of log " + std::to_string(id), query);
        return false;
    }
    while (query.next()) {
        const QByteArray location = query.value(3).toByteArray();
        const QByteArray message = query.value(4).toByteArray();
        each(ChatRow{query.value(0).toLongLong(),
                     static_cast<std::uint32_t>(query.value(1).toLongLong()),
                     query.value(2).toInt() != 0, View(location), View(message)});
    }
    return true;
}

namespace {

// Calls `each` for the log's blocks of other lines in their order until it returns false.
bool ForEachUnknownBlock(StatsDatabase& database, LogId id,
                         const std::function<bool(std::string_view)>& each, std::string& error) {
    if (auto rows = SqliteReader::For(
            database.Connection(),
            "SELECT lines FROM log_unknown_lines WHERE log_id = ? ORDER BY seq", {id})) {
        while (rows->Next())
            if (!each(rows->Bytes(0)))
                return true;
        if (!rows->Error().empty())
            error =
                "cannot read the other lines of log " + std::to_string(id) + ": " + rows->Error();
        return rows->Error().empty();
    }
    QSqlQuery query(database.Connection());
    query.setForwardOnly(true);
    query.prepare(
        QStringLiteral("SELECT lines FROM log_unknown_lines WHERE log_id = ? ORDER BY seq"));
    query.addBindValue(Int(id));
    if (!query.exec()) {
        error = database.Failure("cannot read the other lines of log " + std::to_string(id), query);
        return false;
    }
    while (query.next()) {
        const QByteArray block = query.value(0).toByteArray();
        if (!each(View(block)))
            return true;
    }
    return true;
}

} // namespace

bool ForEachUnknownLine(StatsDatabase& database, LogId id,
                        const std::function<void(std::string_view)>& each, std::string& error) {
    return ForEachUnknownBlock(
        database, id,
        [&](std::string_view block) {
            EachLineOfBlock(block, each);
            return true;
        },
        error);
}

bool AddFirstUnknownLines(StatsDatabase& database, LogId id, std::size_t count,
                          std::vector<std::string>& lines, std::string& error) {
    if (lines.size() >= count)
        return true;
    return ForEachUnknownBlock(
        database, id,
        [&](std::string_view block) {
            EachLineOfBlock(block, [&](std::string_view line) {
                if (lines.size() < count)
                    lines.emplace_back(line);
            });
            return lines.size() < count;
        },
        error);
}

bool DeleteStatisticsRows(StatsDatabase& database, LogId id, std::string& error) {
    // Counted, so that a reader keeping the log's rows reads them all again.
    if (!CountStatisticsRewrite(database, error) || !ForgetBlocksOf(database, id, error) ||
        !ForgetKeptPersons(database, error))
        return false;
    QSqlQuery query(database.Connection());
    for (const char* table :
         {"log_digests", "log_holdings", "log_chains", "log_chats", "log_unknown_lines",
          "log_player_weapons", "log_encounters", "log_players", "log_kill_orders"}) {
        query.prepare(QStringLiteral("DELETE FROM %1 WHERE log_id = ?").arg(QLatin1String(table)));
        query.addBindValue(Int(id));
        if (!query.exec()) {
            error = database.Failure("cannot remove the statistics of log " + std::to_string(id),
                                     query);
            return false;
        }
    }
    return true;
}

} // namespace qla::db
