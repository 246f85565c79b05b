// Reading checked chunks.
#include "db/chunk_reader.h"

#include "db/log_piece.h"

#include <QSqlError>
#include <QSqlRecord>
#include <QVariant>

namespace qla::db {

namespace {

bool HasColumn(StatsDatabase& database, const char* column) {
    return database.Connection()
        .record(QStringLiteral("log_chunks"))
        .contains(QString::fromLatin1(column));
}

} // namespace

ChunkReader::ChunkReader(StatsDatabase& database)
    : database_(database), query_(database.Connection()),
      checksums_(HasColumn(database, "checksum")), packing_(HasColumn(database, "packing")) {
    query_.setForwardOnly(true);
}

bool ChunkReader::Start(LogId log, std::string& error) {
    log_ = log;
    read_ = 0;
    query_.prepare(QStringLiteral("SELECT bytes, %1, seq, %2 FROM log_chunks"
                                  " WHERE log_id = ? ORDER BY seq")
                       .arg(checksums_ ? QStringLiteral("checksum") : QStringLiteral("NULL"),
                            packing_ ? QStringLiteral("packing") : QStringLiteral("NULL")));
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
    if (const QString packing = query_.value(3).toString(); !packing.isEmpty()) {
        bytes = packing == QLatin1String(kZlibPacking) ? qUncompress(bytes) : QByteArray();
        if (bytes.isEmpty()) {
            error = "the database " + database_.Path() + " is damaged: chunk " +
                    query_.value(2).toString().toStdString() + " of log " + std::to_string(log_) +
                    " cannot be unpacked";
            query_.finish();
            return false;
        }
    }
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
    query.prepare(HasColumn(database, "size")
                      ? QStringLiteral("SELECT COALESCE(SUM(COALESCE(size, LENGTH(bytes))), 0)"
                                       " FROM log_chunks WHERE log_id = ?")
                      : QStringLiteral("SELECT COALESCE(SUM(LENGTH(bytes)), 0) FROM log_chunks"
                                       " WHERE log_id = ?"));
    query.addBindValue(QVariant::fromValue<qlonglong>(log));
    if (!query.exec() || !query.next()) {
        error = database.Failure("cannot read log " + std::to_string(log), query);
        return std::nullopt;
    }
    return query.value(0).toLongLong();
}

} // namespace qla::db
