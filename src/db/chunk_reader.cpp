// Reading checked chunks.
#include "db/chunk_reader.h"

#include "db/block_sums.h"
#include "db/chunk_compression.h"
#include "db/log_piece.h"

#include <QSqlError>
#include <QSqlRecord>
#include <QVariant>

namespace qla::db {

namespace {

bool HasColumn(StatsDatabase& database, const char* column) {
    return database.HasColumn("log_chunks", column);
}

} // namespace

std::string KeepsNoLinesText(LogId log) {
    return "log " + std::to_string(log) + " keeps no lines: it was imported with --no-archive";
}

ChunkReader::ChunkReader(StatsDatabase& database)
    : database_(database), query_(database.Connection()),
      checksums_(HasColumn(database, "checksum")), packing_(HasColumn(database, "packing")),
      sizes_(HasColumn(database, "size")) {
    query_.setForwardOnly(true);
}

bool ChunkReader::Start(LogId log, std::string& error) {
    log_ = log;
    read_ = 0;
    query_.prepare(QStringLiteral("SELECT bytes, %1, seq, %2, %3, lines FROM log_chunks"
                                  " WHERE log_id = ? ORDER BY seq")
                       .arg(checksums_ ? QStringLiteral("checksum") : QStringLiteral("NULL"),
                            packing_ ? QStringLiteral("packing") : QStringLiteral("NULL"),
                            sizes_ ? QStringLiteral("size") : QStringLiteral("NULL")));
    query_.addBindValue(QVariant::fromValue<qlonglong>(log));
    if (query_.exec())
        return true;
    error = database_.Failure("cannot read log " + std::to_string(log), query_);
    return false;
}

bool ChunkReader::Damaged(const std::string& what, std::string& error) {
    error = "the database " + database_.Path() + " is damaged: chunk " +
            query_.value(2).toString().toStdString() + " of log " + std::to_string(log_) + " " +
            what;
    query_.finish();
    return false;
}

bool ChunkReader::NextStored(StoredChunk& chunk, std::string& error) {
    error.clear();
    if (!query_.next()) {
        if (query_.lastError().isValid())
            error = database_.Failure("cannot read log " + std::to_string(log_), query_);
        return false;
    }
    chunk.Bytes = query_.value(0).toByteArray();
    chunk.Seq = query_.value(2).toLongLong();
    chunk.Lines = query_.value(5).toLongLong();
    chunk.Sums = false;
    const QVariant checksum = query_.value(1);
    ++read_;
    if (const QString packing = query_.value(3).toString();
        packing == QLatin1String(kSumsPacking)) {
        chunk.Sums = true;
        chunk.Size = query_.value(4).toLongLong();
        if (static_cast<std::size_t>(chunk.Bytes.size()) != 4 * BlockCount(chunk.Size))
            return Damaged("holds sums that do not fit its size", error);
        // The sums combine to the CRC of the bytes they stand for.
        if (!checksum.isNull() && static_cast<std::uint32_t>(checksum.toLongLong()) !=
                                      CrcOfBlockSums(chunk.Bytes, chunk.Size))
            return Damaged("does not match its checksum", error);
        return true;
    } else if (!packing.isEmpty()) {
        const QVariant size = query_.value(4);
        auto unpacked = UnpackChunk(chunk.Bytes, packing.toStdString(),
                                    size.isNull() ? std::nullopt
                                                  : std::optional<std::int64_t>(size.toLongLong()));
        if (!unpacked)
            return Damaged("cannot be unpacked", error);
        chunk.Bytes = std::move(*unpacked);
    }
    chunk.Size = chunk.Bytes.size();
    if (!checksum.isNull() &&
        static_cast<std::uint32_t>(checksum.toLongLong()) !=
            ExtendCrc(0, std::string_view(chunk.Bytes.constData(),
                                          static_cast<std::size_t>(chunk.Bytes.size()))))
        return Damaged("does not match its checksum", error);
    return true;
}

bool ChunkReader::Next(QByteArray& bytes, std::string& error) {
    StoredChunk chunk;
    if (!NextStored(chunk, error))
        return false;
    if (chunk.Sums) {
        error = KeepsNoLinesText(log_);
        query_.finish();
        return false;
    }
    bytes = std::move(chunk.Bytes);
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

std::optional<bool> KeepsAllLines(StatsDatabase& database, LogId log, std::string& error) {
    if (!HasColumn(database, "packing"))
        return true;
    QSqlQuery query(database.Connection());
    query.setForwardOnly(true);
    query.prepare(
        QStringLiteral("SELECT COUNT(*) FROM log_chunks WHERE log_id = ? AND packing = ?"));
    query.addBindValue(QVariant::fromValue<qlonglong>(log));
    query.addBindValue(QString::fromLatin1(kSumsPacking));
    if (!query.exec() || !query.next()) {
        error = database.Failure("cannot read log " + std::to_string(log), query);
        return std::nullopt;
    }
    return query.value(0).toLongLong() == 0;
}

} // namespace qla::db
