// Reading and removing rows of the logs table.
#include "db/log_catalog.h"

#include "db/log_piece.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

#include <algorithm>
#include <set>

namespace qla::db {

namespace {

// %1: the recognition column; a version 1 database has none, and its logs are all classic.
// %2: the import keys, NULL before version 4.
constexpr const char* kLogColumns =
    "SELECT id, path, fingerprint, fingerprint_bytes, file_size, imported_bytes, stored_bytes,"
    " date_header, date_key, language, lines, kills, deaths, teamkills, voice_chats,"
    " text_chats, unknown_lines, first_imported, last_imported, %1, %2 FROM logs";

std::optional<std::string> OptionalText(const QVariant& value) {
    if (value.isNull())
        return std::nullopt;
    return value.toString().toStdString();
}

LogEntry EntryOf(const QSqlQuery& q) {
    LogEntry e;
    e.Id = q.value(0).toLongLong();
    e.Path = q.value(1).toString().toStdString();
    e.Fingerprint = q.value(2).toString().toStdString();
    e.FingerprintBytes = q.value(3).toLongLong();
    e.FileSize = q.value(4).toLongLong();
    e.ImportedBytes = q.value(5).toLongLong();
    e.StoredBytes = q.value(6).toLongLong();
    e.DateHeader = OptionalText(q.value(7));
    e.DateKey = OptionalText(q.value(8));
    e.Language = q.value(9).toString() == QLatin1String("german") ? LogLanguage::German
                                                                  : LogLanguage::English;
    e.Lines = q.value(10).toLongLong();
    e.Totals.Kills = q.value(11).toLongLong();
    e.Totals.Deaths = q.value(12).toLongLong();
    e.Totals.Teamkills = q.value(13).toLongLong();
    e.Totals.VoiceChats = q.value(14).toLongLong();
    e.Totals.TextChats = q.value(15).toLongLong();
    e.Totals.Unknown = q.value(16).toLongLong();
    e.Totals.Total = e.Lines;
    e.FirstImported = q.value(17).toString().toStdString();
    e.LastImported = q.value(18).toString().toStdString();
    e.LineRecognition =
        RecognitionFromText(q.value(19).toString().toStdString()).value_or(Recognition::Classic);
    e.HeadHash = OptionalText(q.value(20));
    e.TailHash = OptionalText(q.value(21));
    if (!q.value(22).isNull())
        e.ContentCrc = static_cast<std::uint32_t>(q.value(22).toLongLong());
    return e;
}

// Reads the logs `where` (with its bound values) chooses, in the order `order` gives.
std::optional<std::vector<LogEntry>> QueryLogs(StatsDatabase& database, const QString& where,
                                               const QVariantList& values, const char* order,
                                               std::string& error) {
    QSqlQuery query(database.Connection());
    query.setForwardOnly(true);
    const QSqlRecord columns = database.Connection().record(QStringLiteral("logs"));
    const QString sql =
        QString::fromLatin1(kLogColumns)
            .arg(columns.contains(QStringLiteral("recognition")) ? QStringLiteral("recognition")
                                                                 : QStringLiteral("'classic'"),
                 columns.contains(QStringLiteral("head_hash"))
                     ? QStringLiteral("head_hash, tail_hash, content_crc")
                     : QStringLiteral("NULL, NULL, NULL")) +
        where + QStringLiteral(" ORDER BY ") + QString::fromLatin1(order);
    query.prepare(sql);
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!query.exec()) {
        error = database.Failure("cannot read the logs of " + database.Path(), query);
        return std::nullopt;
    }
    std::vector<LogEntry> logs;
    while (query.next())
        logs.push_back(EntryOf(query));
    return logs;
}

} // namespace

std::string LanguageName(LogLanguage language) {
    return language == LogLanguage::German ? "german" : "english";
}

std::optional<std::vector<LogEntry>> ListLogs(StatsDatabase& database, std::string& error) {
    return QueryLogs(database, {}, {}, "id", error);
}

std::optional<std::vector<LogEntry>>
ImportCandidates(StatsDatabase& database, const std::string& headHash, std::string& error) {
    return QueryLogs(database, QStringLiteral(" WHERE head_hash = ? OR head_hash IS NULL"),
                     {QString::fromStdString(headHash)}, "id DESC", error);
}

std::optional<LogEntry> LatestLogAt(StatsDatabase& database, const std::string& path,
                                    std::string& error) {
    auto logs = QueryLogs(database, QStringLiteral(" WHERE path = ?"),
                          {QString::fromStdString(path)}, "id DESC", error);
    if (!logs || logs->empty())
        return std::nullopt;
    return logs->front();
}

std::string RecordDamage(const LogEntry& log, const std::string& databasePath) {
    const auto damaged = [&](const std::string& what) {
        return "the database " + databasePath + " is damaged: log " + std::to_string(log.Id) +
               " records " + what;
    };
    if (log.ImportedBytes < 0 || log.ImportedBytes > log.FileSize)
        return damaged(std::to_string(log.ImportedBytes) + " imported bytes of a " +
                       std::to_string(log.FileSize) + "-byte file");
    if (log.FingerprintBytes <= 0 || log.FingerprintBytes > log.FileSize ||
        log.FingerprintBytes > static_cast<std::int64_t>(kFingerprintBytes))
        return damaged("a fingerprint of " + std::to_string(log.FingerprintBytes) + " bytes of a " +
                       std::to_string(log.FileSize) + "-byte file");
    // A UTF-16 log is stored as UTF-8: at most one and a half times its bytes, and a finished
    // log's last line may have gained a line end.
    if (log.StoredBytes < 0 || log.StoredBytes > log.ImportedBytes * 2 + 4)
        return damaged(std::to_string(log.StoredBytes) + " stored bytes for " +
                       std::to_string(log.ImportedBytes) + " imported bytes");
    if (log.Lines < 0 || log.Lines > log.StoredBytes)
        return damaged(std::to_string(log.Lines) + " lines in " + std::to_string(log.StoredBytes) +
                       " stored bytes");
    return {};
}

std::optional<std::vector<LogEntry>> SelectLogs(StatsDatabase& database,
                                                const LogSelection& selection, std::string& error) {
    auto logs = ListLogs(database, error);
    if (!logs)
        return std::nullopt;
    const std::set<LogId> wanted(selection.Ids.begin(), selection.Ids.end());
    for (LogId id : wanted) {
        if (std::none_of(logs->begin(), logs->end(),
                         [&](const LogEntry& e) { return e.Id == id; })) {
            error = "the database " + database.Path() + " holds no log " + std::to_string(id);
            return std::nullopt;
        }
    }
    std::erase_if(*logs, [&](const LogEntry& e) {
        if (!wanted.empty() && !wanted.contains(e.Id))
            return true;
        if ((selection.Since || selection.Until) && !e.DateKey)
            return true;
        return (selection.Since && *e.DateKey < *selection.Since) ||
               (selection.Until && *e.DateKey > *selection.Until);
    });
    return logs;
}

bool ForgetLogs(StatsDatabase& database, const std::vector<LogId>& ids, std::string& error) {
    if (!database.BeginWrite(error))
        return false;
    {
        QSqlQuery query(database.Connection());
        for (LogId id : ids) {
            query.prepare(QStringLiteral("SELECT COUNT(*) FROM logs WHERE id = ?"));
            query.addBindValue(QVariant::fromValue<qlonglong>(id));
            if (!query.exec() || !query.next()) {
                error = database.Failure("cannot read the logs of " + database.Path(), query);
                query.finish();
                database.Rollback();
                return false;
            }
            if (query.value(0).toLongLong() == 0) {
                error = "the database " + database.Path() + " holds no log " + std::to_string(id);
                query.finish();
                database.Rollback();
                return false;
            }
            query.finish();
            for (const char* table : {"log_chunks", "log_players"}) {
                query.prepare(QStringLiteral("DELETE FROM %1 WHERE log_id = ?")
                                  .arg(QString::fromLatin1(table)));
                query.addBindValue(QVariant::fromValue<qlonglong>(id));
                if (!query.exec()) {
                    error = database.Failure("cannot forget log " + std::to_string(id), query);
                    database.Rollback();
                    return false;
                }
            }
            query.prepare(QStringLiteral("DELETE FROM logs WHERE id = ?"));
            query.addBindValue(QVariant::fromValue<qlonglong>(id));
            if (!query.exec()) {
                error = database.Failure("cannot forget log " + std::to_string(id), query);
                database.Rollback();
                return false;
            }
        }
    }
    return database.Commit(error);
}

} // namespace qla::db
