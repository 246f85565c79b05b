// The statistics rows in SQL. Texts are stored as bytes (BYTEA), exactly as the log held them.
#include "db/statistics_rows.h"

#include "db/row_batch.h"

#include <QByteArray>
#include <QSqlQuery>
#include <QVariant>

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

} // namespace

std::optional<LogDigest> ReadDigest(StatsDatabase& database, LogId id, std::string& error,
                                    bool withEncounters) {
    QSqlQuery query(database.Connection());
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT digest FROM log_digests WHERE log_id = ?"));
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
    const QByteArray bytes = query.value(0).toByteArray();
    auto digest = DecodeDigest(View(bytes), withEncounters);
    if (!digest)
        error = "the database " + database.Path() + " is damaged: the statistics of log " +
                std::to_string(id) + " cannot be read";
    return digest;
}

bool WriteDigest(StatsDatabase& database, LogId id, const LogDigest& digest, std::string& error) {
    QSqlQuery query(database.Connection());
    query.prepare(QStringLiteral("DELETE FROM log_digests WHERE log_id = ?"));
    query.addBindValue(Int(id));
    if (!query.exec()) {
        error = database.Failure("cannot store the statistics of log " + std::to_string(id), query);
        return false;
    }
    const std::string bytes = EncodeDigest(digest);
    query.prepare(QStringLiteral("INSERT INTO log_digests (log_id, digest) VALUES (?, ?)"));
    query.addBindValue(Int(id));
    query.addBindValue(Bytes(bytes));
    if (!query.exec()) {
        error = database.Failure("cannot store the statistics of log " + std::to_string(id), query);
        return false;
    }
    return true;
}

bool WriteTextRows(StatsDatabase& database, LogId id, const LogDigest& before,
                   const AnalysisStore& piece, std::string& error) {
    const std::string what = "cannot store the chats of log " + std::to_string(id);
    RowBatch chats(database, "log_chats", "log_id, kind, seq, player, team, location, message", 7,
                   what);
    for (const ChatKind kind : {ChatKind::Voice, ChatKind::Text}) {
        const auto& list = kind == ChatKind::Voice ? piece.VoiceChats : piece.TextChats;
        std::int64_t seq = static_cast<std::int64_t>(kind == ChatKind::Voice ? before.VoiceChatRows
                                                                             : before.TextChatRows);
        for (const ChatEntry& chat : RealEntries(list)) {
            const bool added = chats.Add(Int(id)) && chats.Add(static_cast<int>(kind)) &&
                               chats.Add(Int(++seq)) && chats.Add(Int(chat.Player)) &&
                               chats.Add(chat.IsTeam ? 1 : 0) &&
                               chats.Add(Bytes(piece.LocationOf(chat))) &&
                               chats.Add(Bytes(std::string_view(chat.Text)));
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
    RowBatch lines(database, "log_unknown_lines", "log_id, seq, line", 3,
                   "cannot store the other lines of log " + std::to_string(id));
    std::int64_t seq = static_cast<std::int64_t>(before.UnknownLineRows);
    for (const PackedView& line : RealEntries(piece.UnknownLines))
        if (!lines.Add(Int(id)) || !lines.Add(Int(++seq)) ||
            !lines.Add(Bytes(std::string_view(line)))) {
            error = lines.Error();
            return false;
        }
    if (!lines.Flush()) {
        error = lines.Error();
        return false;
    }
    return true;
}

bool ForEachChat(StatsDatabase& database, LogId id, ChatKind kind,
                 const std::function<void(const ChatRow&)>& each, std::string& error) {
    QSqlQuery query(database.Connection());
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT player, team, location, message FROM log_chats"
                                 " WHERE log_id = ? AND kind = ? ORDER BY seq"));
    query.addBindValue(Int(id));
    query.addBindValue(static_cast<int>(kind));
    if (!query.exec()) {
        error = database.Failure("cannot read the chats of log " + std::to_string(id), query);
        return false;
    }
    while (query.next()) {
        const QByteArray location = query.value(2).toByteArray();
        const QByteArray message = query.value(3).toByteArray();
        each(ChatRow{static_cast<std::uint32_t>(query.value(0).toLongLong()),
                     query.value(1).toInt() != 0, View(location), View(message)});
    }
    return true;
}

bool ForEachUnknownLine(StatsDatabase& database, LogId id,
                        const std::function<void(std::string_view)>& each, std::string& error) {
    QSqlQuery query(database.Connection());
    query.setForwardOnly(true);
    query.prepare(
        QStringLiteral("SELECT line FROM log_unknown_lines WHERE log_id = ? ORDER BY seq"));
    query.addBindValue(Int(id));
    if (!query.exec()) {
        error = database.Failure("cannot read the other lines of log " + std::to_string(id), query);
        return false;
    }
    while (query.next()) {
        const QByteArray line = query.value(0).toByteArray();
        each(View(line));
    }
    return true;
}

bool DeleteStatisticsRows(StatsDatabase& database, LogId id, std::string& error,
                          StatisticsRows rows) {
    QSqlQuery query(database.Connection());
    for (const char* table : {"log_digests", "log_chats", "log_unknown_lines", "log_player_weapons",
                              "log_encounters", "log_players"}) {
        if (rows == StatisticsRows::kDerived && std::string_view(table) == "log_players")
            continue;
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
