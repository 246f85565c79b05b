// A log's lines decoded chunk by chunk, rewritten whole (a name in one line may decide how a
// later line reads), packed again and its statistics rebuilt.
#include "db/erased_log_rewrite.h"

#include "core/names.h"
#include "db/chunk_packing.h"
#include "db/chunk_reader.h"
#include "db/line_pseudonyms.h"
#include "db/log_reanalysis.h"
#include "db/statistics_rows.h"

#include <QSqlQuery>
#include <QVariant>

#include <array>
#include <map>

namespace qla::db {

namespace {

QVariant Int(std::int64_t value) {
    return QVariant::fromValue<qlonglong>(value);
}

using PlayerCounts = std::array<std::int64_t, 5>;

std::optional<std::map<std::string, PlayerCounts>> ReadPlayerRows(StatsDatabase& database,
                                                                  LogId log, std::string& error) {
    QSqlQuery query(database.Connection());
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT name, kills, deaths, teamkills, voice_chats, text_chats"
                                 " FROM log_players WHERE log_id = ?"));
    query.addBindValue(Int(log));
    if (!query.exec()) {
        error = database.Failure("cannot read the players of log " + std::to_string(log), query);
        return std::nullopt;
    }
    std::map<std::string, PlayerCounts> players;
    while (query.next())
        players[query.value(0).toString().toStdString()] = {
            query.value(1).toLongLong(), query.value(2).toLongLong(), query.value(3).toLongLong(),
            query.value(4).toLongLong(), query.value(5).toLongLong()};
    return players;
}

std::optional<std::string> ReadLines(StatsDatabase& database, const LogEntry& log,
                                     std::string& error) {
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(log.StoredBytes));
    ChunkReader chunks(database);
    if (!chunks.Start(log.Id, error))
        return std::nullopt;
    QByteArray chunk;
    while (chunks.Next(chunk, error))
        bytes.append(chunk.constData(), static_cast<std::size_t>(chunk.size()));
    if (!error.empty())
        return std::nullopt;
    return bytes;
}

bool ReplaceChunks(StatsDatabase& database, LogId log, std::string_view bytes, std::string& error) {
    QSqlQuery query(database.Connection());
    query.prepare(QStringLiteral("DELETE FROM log_chunks WHERE log_id = ?"));
    query.addBindValue(Int(log));
    if (!query.exec()) {
        error = database.Failure("cannot rewrite the lines of log " + std::to_string(log), query);
        return false;
    }
    query.prepare(QStringLiteral("INSERT INTO log_chunks (log_id, seq, lines, bytes, checksum,"
                                 " packing, size) VALUES (?, ?, ?, ?, ?, ?, ?)"));
    std::int64_t seq = 0;
    for (const PackedChunk& chunk : PackChunks(bytes, ChunkKeeping::Lines)) {
        const bool packed = chunk.Packing != nullptr;
        query.bindValue(0, Int(log));
        query.bindValue(1, Int(seq++));
        query.bindValue(2, Int(chunk.Lines));
        query.bindValue(3, packed
                               ? chunk.Packed
                               : QByteArray::fromRawData(chunk.Raw.data(),
                                                         static_cast<qsizetype>(chunk.Raw.size())));
        query.bindValue(4, Int(chunk.Crc));
        query.bindValue(5, packed ? QVariant(QString::fromLatin1(chunk.Packing))
                                  : QVariant(QMetaType(QMetaType::QString)));
        query.bindValue(6, Int(static_cast<std::int64_t>(chunk.Raw.size())));
        if (!query.exec()) {
            error =
                database.Failure("cannot rewrite the lines of log " + std::to_string(log), query);
            return false;
        }
    }
    return true;
}

bool SameTotals(const LogEntry& a, const LogEntry& b) {
    const AnalysisTotals& s = a.Totals;
    const AnalysisTotals& t = b.Totals;
    return a.Lines == b.Lines && s.Kills == t.Kills && s.Deaths == t.Deaths &&
           s.Teamkills == t.Teamkills && s.VoiceChats == t.VoiceChats &&
           s.TextChats == t.TextChats && s.Unknown == t.Unknown;
}

// The players the erase leaves alone, with what they counted before and after.
std::string OtherPlayerChanged(const std::map<std::string, PlayerCounts>& before,
                               const std::map<std::string, PlayerCounts>& after,
                               const ErasedNames& names) {
    for (const auto& [name, counts] : before) {
        if (names.PseudonymOfKey(IdentityKey(name)) != nullptr)
            continue;
        const auto now = after.find(name);
        if (now == after.end() || now->second != counts)
            return name;
    }
    return {};
}

} // namespace

std::optional<std::uint64_t> RewriteErasedLog(StatsDatabase& database, const LogEntry& log,
                                              const ErasedNames& names, std::string& error) {
    const auto bytes = ReadLines(database, log, error);
    if (!bytes)
        return std::nullopt;
    std::string rewritten;
    const std::uint64_t changed =
        PseudonymiseLines(*bytes, names, {log.Language, log.LineRecognition, true, {}}, rewritten);
    if (changed == 0)
        return changed;
    const auto before = ReadPlayerRows(database, log.Id, error);
    if (!before)
        return std::nullopt;
    LogEntry now = log;
    now.StoredBytes = static_cast<std::int64_t>(rewritten.size());
    const std::string damage = RecordDamage(now, database.Path());
    if (!damage.empty()) {
        error = "log " + std::to_string(log.Id) +
                " cannot take the pseudonyms: its lines would grow past what its records allow";
        return std::nullopt;
    }
    if (!ReplaceChunks(database, log.Id, rewritten, error) ||
        !RebuildLogStatistics(database, now, error))
        return std::nullopt;
    const auto after = ReadPlayerRows(database, log.Id, error);
    if (!after)
        return std::nullopt;
    const std::string other = OtherPlayerChanged(*before, *after, names);
    if (!SameTotals(log, now) || !other.empty()) {
        error = "log " + std::to_string(log.Id) + " would read otherwise with the pseudonym (" +
                (other.empty() ? std::string("its totals") : "the counts of " + other) +
                " would change): the erased name is part of how its lines read";
        return std::nullopt;
    }
    return changed;
}

std::optional<bool> StatisticsNameErased(StatsDatabase& database, LogId log,
                                         const ErasedNames& names, std::string& error) {
    const auto digest = ReadDigest(database, log, error, {.Encounters = false});
    if (!digest)
        return std::nullopt;
    const auto erased = [&](std::string_view name) {
        return names.PseudonymOfKey(IdentityKey(name)) != nullptr;
    };
    std::vector<ErasedTextMatch> found;
    const auto holds = [&](std::string_view text) {
        names.FindInText(text, found);
        return !found.empty();
    };
    bool named = false;
    for (const PlayerRecord& player : digest->Players)
        named = named || erased(player.Name);
    for (const auto& [from, to] : digest->Renames)
        named = named || erased(from) || erased(to) || holds(from) || holds(to);
    for (const std::string& cut : digest->CutNames)
        named = named || erased(cut) || holds(cut);
    for (const ChatKind kind : {ChatKind::Voice, ChatKind::Text})
        if (!ForEachChat(
                database, log, kind,
                [&](const ChatRow& row) {
                    named = named || holds(row.Message) || holds(row.Location);
                },
                error))
            return std::nullopt;
    if (!ForEachUnknownLine(
            database, log, [&](std::string_view line) { named = named || holds(line); }, error))
        return std::nullopt;
    return named;
}

} // namespace qla::db
