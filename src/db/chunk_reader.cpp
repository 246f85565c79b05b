// Reading checked chunks.
#include "db/chunk_reader.h"

#include "db/log_piece.h"

#include <QSqlError>
#include <QSqlRecord>
#include <QVariant>

namespace qla::db {

ChunkReader::ChunkReader(StatsDatabase& database)
    : database_(database), query_(database.Connection()),
      checksums_(database.Connection()
                     .record(QStringLiteral("log_chunks"))
                     .contains(QStringLiteral("checksum"))) {
    query_.setForwardOnly(true);
}

bool ChunkReader::Start(LogId log, std::string& error) {
    log_ = log;
    read_ = 0;
    query_.prepare(checksums_ ? QStringLiteral("SELECT bytes, checksum, seq FROM log_chunks"
                                               " WHERE log_id = ? ORDER BY seq")
                              : QStringLiteral("SELECT bytes, NULL, seq FROM log_chunks"
                                               " WHERE log_id = ? ORDER BY seq"));
    query_.addBindValue(QVariant::fromValue<qlonglong>(log));
    if (query_.exec())
        return true;
    error = database_.Failure("cannot read log " + std::to_string(log), query_);
    return false;
}

bool ChunkReader::Next(QByteArray& bytes, std::string& error) {
    error.clear();
    if (!query_.next()) {
        if (query_.lastError().isValid())
            error = database_.Failure("cannot read log " + std::to_string(log_), query_);
        return false;
    }
    bytes = query_.value(0).toByteArray();
    const QVariant checksum = query_.value(1);
    ++read_;
    if (!checksum.isNull() &&
        static_cast<std::uint32_t>(checksum.toLongLong()) !=
            ExtendCrc(
                0, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())))) {
        error = "the database " + database_.Path() + " is damaged: chunk " +
                query_.value(2).toString().toStdString() + " of log " + std::to_string(log_) +
                " does not match its checksum";
        query_.finish();
        return false;
    }
    return true;
}

std::optional<std::int64_t> StoredChunkBytes(StatsDatabase& database, LogId log,
                                             std::string& error) {
    QSqlQuery query(database.Connection());
    query.setForwardOnly(true);
    query.prepare(
        QStringLiteral("SELECT COALESCE(SUM(LENGTH(bytes)), 0) FROM log_chunks WHERE log_id = ?"));
    query.addBindValue(QVariant::fromValue<qlonglong>(log));
    if (!query.exec() || !query.next()) {
        error = database.Failure("cannot read log " + std::to_string(log), query);
        return std::nullopt;
    }
    return query.value(0).toLongLong();
}

} // namespace qla::db
