// Reading and removing rows of the logs table.
#include "db/log_catalog.h"

#include "db/engine_dialect.h"
#include "db/erased_table.h"
#include "db/kept_persons.h"
#include "db/log_blocks.h"
#include "db/log_columns.h"
#include "db/log_piece.h"
#include "db/meta_rows.h"
#include "db/schema.h"
#include "db/transaction.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

#include <algorithm>
#include <set>
#include <string_view>

namespace qla::db {

namespace {

// Reads the logs `where` (with its bound values) chooses, in the order `order` gives.
std::optional<std::vector<LogEntry>> QueryLogs(StatsDatabase& database, const QString& where,
                                               const QVariantList& values, const char* order,
                                               std::string& error) {
    QSqlQuery query(database.Connection());
    query.setForwardOnly(true);
    const QString sql = SelectLogColumns(database) + where + QStringLiteral(" ORDER BY ") +
                        QString::fromLatin1(order);
    query.prepare(sql);
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!query.exec()) {
        error = database.Failure("cannot read the logs of " + database.Path(), query);
        return std::nullopt;
    }
    std::vector<LogEntry> logs;
    while (query.next())
        logs.push_back(LogEntryOfRow(query));
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

std::optional<Recognition> DefaultRecognition(StatsDatabase& database, std::string& error) {
    std::string failure;
    const std::optional<std::string> value =
        ReadMetaValue(database, kDefaultRecognitionRow, failure);
    if (!failure.empty()) {
        error = failure;
        return std::nullopt;
    }
    if (!value)
        return Recognition::Classic;
    const std::string& text = *value;
    const auto recognition = RecognitionFromText(text);
    if (!recognition)
        error = "the database " + database.Path() + " is damaged: its default recognition is '" +
                text + "'";
    return recognition;
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
    // The choice is made in SQL, by the primary key and the index on date_key: a question about
    // a few logs reads a few rows however many the database holds.
    QStringList conditions;
    QVariantList values;
    const std::set<LogId> wanted(selection.Ids.begin(), selection.Ids.end());
    if (!wanted.empty()) {
        QStringList ids;
        for (const LogId id : wanted)
            ids << QString::number(id); // numbers, written into the statement as they are
        conditions << QStringLiteral("id IN (%1)").arg(ids.join(QLatin1Char(',')));
    }
    if (selection.Since) {
        conditions << QStringLiteral("date_key >= ?");
        values << QString::fromStdString(*selection.Since);
    }
    if (selection.Until) {
        conditions << QStringLiteral("date_key <= ?");
        values << QString::fromStdString(*selection.Until);
    }
    // A server no log is tagged with is a mistake (a typing error), not an empty history. Tags
    // came with version 8: an older database has no tagged log.
    const auto noLogOfServer = [&] {
        error = "the database " + database.Path() + " holds no log of the server '" +
                *selection.Server + "' (qla logs shows each log's server)";
        return std::nullopt;
    };
    if (selection.Server) {
        if (!database.HasColumn("logs", "server"))
            return noLogOfServer();
        conditions << QStringLiteral("server = ?");
        values << ColumnText(*selection.Server);
    }
    const QString where =
        conditions.isEmpty() ? QString()
                             : QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
    auto logs = QueryLogs(database, where, values, "id", error);
    if (logs && logs->empty() && selection.Server) {
        const auto tagged = QueryLogs(database, QStringLiteral(" WHERE server = ?"),
                                      {ColumnText(*selection.Server)}, "id", error);
        if (!tagged)
            return std::nullopt;
        if (tagged->empty()) {
            return noLogOfServer();
        }
    }
    if (!logs || wanted.empty())
        return logs;
    // A listed id the database does not hold is an error, even where the dates leave it out.
    const auto held =
        selection.Since || selection.Until || selection.Server
            ? QueryLogs(database, QStringLiteral(" WHERE ") + conditions.front(), {}, "id", error)
            : logs;
    if (!held)
        return std::nullopt;
    for (const LogId id : wanted)
        if (std::none_of(held->begin(), held->end(),
                         [&](const LogEntry& e) { return e.Id == id; })) {
            error = "the database " + database.Path() + " holds no log " + std::to_string(id);
            return std::nullopt;
        }
    return logs;
}

bool ForgetLogs(StatsDatabase& database, const std::vector<LogId>& ids, std::string& error) {
    Transaction unit(database, Transaction::Kind::Write, error);
    if (!unit.Open())
        return false;
    QSqlQuery query(database.Connection());
    for (LogId id : ids) {
        query.prepare(QStringLiteral("SELECT COUNT(*) FROM logs WHERE id = ?"));
        query.addBindValue(QVariant::fromValue<qlonglong>(id));
        if (!query.exec() || !query.next()) {
            error = database.Failure("cannot read the logs of " + database.Path(), query);
            return false;
        }
        const bool held = query.value(0).toLongLong() > 0;
        query.finish();
        if (!held) {
            error = "the database " + database.Path() + " holds no log " + std::to_string(id);
            return false;
        }
        if (!ForgetBlocksOf(database, id, error) || !ForgetKeptPersons(database, error))
            return false;
        // The log's row last: the other rows refer to it.
        for (const char* table :
             {"log_chunks", "log_players", "log_digests", "log_holdings", "log_chains", "log_chats",
              "log_unknown_lines", "log_player_weapons", "log_encounters", "log_kill_orders",
              "logs"}) {
            query.prepare(QStringLiteral("DELETE FROM %1 WHERE %2 = ?")
                              .arg(QString::fromLatin1(table), table == std::string_view("logs")
                                                                   ? QStringLiteral("id")
                                                                   : QStringLiteral("log_id")));
            query.addBindValue(QVariant::fromValue<qlonglong>(id));
            if (!query.exec()) {
                error = database.Failure("cannot forget log " + std::to_string(id), query);
                return false;
            }
        }
        if (HasErasedTables(database)) {
            query.prepare(QStringLiteral("DELETE FROM erased_logs WHERE log_id = ?"));
            query.addBindValue(QVariant::fromValue<qlonglong>(id));
            if (!query.exec()) {
                error = database.Failure("cannot forget log " + std::to_string(id), query);
                return false;
            }
        }
    }
    return unit.Commit(error) && KeepPersons(database, error);
}

} // namespace qla::db
