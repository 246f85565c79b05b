// The logs table's columns and how each maps to a LogEntry field.
#include "db/log_columns.h"

#include "db/engine_dialect.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QVariant>

#include <span>

namespace qla::db {

namespace {

QVariant Int(std::int64_t value) {
    return QVariant::fromValue<qlonglong>(value);
}

QVariant Text(const std::string& text) {
    return QString::fromStdString(text);
}

QVariant OptionalText(const std::optional<std::string>& text) {
    return text ? QVariant(ColumnText(*text)) : QVariant(QMetaType::fromType<QString>());
}

std::optional<std::string> ReadOptionalText(const QVariant& value) {
    if (value.isNull())
        return std::nullopt;
    return value.toString().toStdString();
}

struct LogColumn {
    const char* Name;
    const char* Absent; // the value an older version without the column implies
    void (*Read)(LogEntry&, const QVariant&);
    QVariant (*Write)(const LogEntry&);
};

// The id first: an UPDATE binds it last, after every other column.
constexpr LogColumn kColumns[] = {
    {"id", nullptr, [](LogEntry& e, const QVariant& v) { e.Id = v.toLongLong(); },
     [](const LogEntry& e) { return Int(e.Id); }},
    {"path", nullptr, [](LogEntry& e, const QVariant& v) { e.Path = v.toString().toStdString(); },
     [](const LogEntry& e) { return Text(e.Path); }},
    {"fingerprint", nullptr,
     [](LogEntry& e, const QVariant& v) { e.Fingerprint = v.toString().toStdString(); },
     [](const LogEntry& e) { return Text(e.Fingerprint); }},
    {"fingerprint_bytes", nullptr,
     [](LogEntry& e, const QVariant& v) { e.FingerprintBytes = v.toLongLong(); },
     [](const LogEntry& e) { return Int(e.FingerprintBytes); }},
    {"file_size", nullptr, [](LogEntry& e, const QVariant& v) { e.FileSize = v.toLongLong(); },
     [](const LogEntry& e) { return Int(e.FileSize); }},
    {"imported_bytes", nullptr,
     [](LogEntry& e, const QVariant& v) { e.ImportedBytes = v.toLongLong(); },
     [](const LogEntry& e) { return Int(e.ImportedBytes); }},
    {"stored_bytes", nullptr,
     [](LogEntry& e, const QVariant& v) { e.StoredBytes = v.toLongLong(); },
     [](const LogEntry& e) { return Int(e.StoredBytes); }},
    {"date_header", nullptr,
     [](LogEntry& e, const QVariant& v) { e.DateHeader = ReadOptionalText(v); },
     [](const LogEntry& e) { return OptionalText(e.DateHeader); }},
    {"date_key", nullptr, [](LogEntry& e, const QVariant& v) { e.DateKey = ReadOptionalText(v); },
     [](const LogEntry& e) { return OptionalText(e.DateKey); }},
    {"language", nullptr,
     [](LogEntry& e, const QVariant& v) {
         e.Language =
             v.toString() == QLatin1String("german") ? LogLanguage::German : LogLanguage::English;
     },
     [](const LogEntry& e) { return Text(LanguageName(e.Language)); }},
    // Every log of a version 1 database was imported in classic mode.
    {"recognition", "'classic'",
     [](LogEntry& e, const QVariant& v) {
         e.LineRecognition =
             RecognitionFromText(v.toString().toStdString()).value_or(Recognition::Classic);
     },
     [](const LogEntry& e) { return Text(std::string(RecognitionText(e.LineRecognition))); }},
    {"lines", nullptr,
     [](LogEntry& e, const QVariant& v) { e.Lines = e.Totals.Total = v.toLongLong(); },
     [](const LogEntry& e) { return Int(e.Lines); }},
    {"kills", nullptr, [](LogEntry& e, const QVariant& v) { e.Totals.Kills = v.toLongLong(); },
     [](const LogEntry& e) { return Int(e.Totals.Kills); }},
    {"deaths", nullptr, [](LogEntry& e, const QVariant& v) { e.Totals.Deaths = v.toLongLong(); },
     [](const LogEntry& e) { return Int(e.Totals.Deaths); }},
    {"teamkills", nullptr,
     [](LogEntry& e, const QVariant& v) { e.Totals.Teamkills = v.toLongLong(); },
     [](const LogEntry& e) { return Int(e.Totals.Teamkills); }},
    {"voice_chats", nullptr,
     [](LogEntry& e, const QVariant& v) { e.Totals.VoiceChats = v.toLongLong(); },
     [](const LogEntry& e) { return Int(e.Totals.VoiceChats); }},
    {"text_chats", nullptr,
     [](LogEntry& e, const QVariant& v) { e.Totals.TextChats = v.toLongLong(); },
     [](const LogEntry& e) { return Int(e.Totals.TextChats); }},
    {"unknown_lines", nullptr,
     [](LogEntry& e, const QVariant& v) { e.Totals.Unknown = v.toLongLong(); },
     [](const LogEntry& e) { return Int(e.Totals.Unknown); }},
    {"first_imported", nullptr,
     [](LogEntry& e, const QVariant& v) { e.FirstImported = v.toString().toStdString(); },
     [](const LogEntry& e) { return Text(e.FirstImported); }},
    {"last_imported", nullptr,
     [](LogEntry& e, const QVariant& v) { e.LastImported = v.toString().toStdString(); },
     [](const LogEntry& e) { return Text(e.LastImported); }},
    // The import keys came with version 4.
    {"head_hash", "NULL", [](LogEntry& e, const QVariant& v) { e.HeadHash = ReadOptionalText(v); },
     [](const LogEntry& e) { return OptionalText(e.HeadHash); }},
    {"tail_hash", "NULL", [](LogEntry& e, const QVariant& v) { e.TailHash = ReadOptionalText(v); },
     [](const LogEntry& e) { return OptionalText(e.TailHash); }},
    {"content_crc", "NULL",
     [](LogEntry& e, const QVariant& v) {
         e.ContentCrc =
             v.isNull() ? std::nullopt : std::optional(static_cast<std::uint32_t>(v.toLongLong()));
     },
     [](const LogEntry& e) {
         return e.ContentCrc ? Int(*e.ContentCrc) : QVariant(QMetaType::fromType<qlonglong>());
     }},
    // Server tags came with version 8.
    {"server", "NULL", [](LogEntry& e, const QVariant& v) { e.Server = ReadOptionalText(v); },
     [](const LogEntry& e) { return OptionalText(e.Server); }},
};

bool Run(StatsDatabase& database, const QString& sql, const LogEntry& log,
         std::span<const LogColumn> columns, bool idLast, std::string& error) {
    QSqlQuery query(database.Connection());
    query.prepare(sql);
    for (const LogColumn& column : columns)
        query.addBindValue(column.Write(log));
    if (idLast)
        query.addBindValue(Int(log.Id));
    if (query.exec())
        return true;
    error = database.Failure("cannot record the log " + log.Path, query);
    return false;
}

} // namespace

QString SelectLogColumns(StatsDatabase& database) {
    QStringList names;
    for (const LogColumn& column : kColumns)
        names << (column.Absent && !database.HasColumn("logs", column.Name)
                      ? QString::fromLatin1(column.Absent)
                      : QString::fromLatin1(column.Name));
    return QStringLiteral("SELECT ") + names.join(QStringLiteral(", ")) +
           QStringLiteral(" FROM logs");
}

LogEntry LogEntryOfRow(const QSqlQuery& query) {
    LogEntry entry;
    for (int i = 0; i < static_cast<int>(std::size(kColumns)); ++i)
        kColumns[i].Read(entry, query.value(i));
    return entry;
}

bool InsertLog(StatsDatabase& database, const LogEntry& log, std::string& error) {
    QStringList names, marks;
    for (const LogColumn& column : kColumns) {
        names << QString::fromLatin1(column.Name);
        marks << QStringLiteral("?");
    }
    return Run(database,
               QStringLiteral("INSERT INTO logs (%1) VALUES (%2)")
                   .arg(names.join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))),
               log, kColumns, false, error);
}

bool UpdateLog(StatsDatabase& database, const LogEntry& log, std::string& error) {
    const std::span<const LogColumn> changed = std::span(kColumns).subspan(1); // not the id
    QStringList assignments;
    for (const LogColumn& column : changed)
        assignments << QString::fromLatin1(column.Name) + QStringLiteral(" = ?");
    return Run(database,
               QStringLiteral("UPDATE logs SET %1 WHERE id = ?")
                   .arg(assignments.join(QStringLiteral(", "))),
               log, changed, true, error);
}

} // namespace qla::db
