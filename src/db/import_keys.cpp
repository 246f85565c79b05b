// Filling the import keys of a database written before they were kept.
#include "db/import_keys.h"

#include "db/chunk_compression.h"
#include "db/log_piece.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace qla::db {

void StoredKeys::Add(std::string_view chunk) {
    if (seen_ >= importedBytes_)
        return; // a finished log's stored line end that the file lacks
    const auto part = static_cast<std::size_t>(
        std::min<std::int64_t>(static_cast<std::int64_t>(chunk.size()), importedBytes_ - seen_));
    const std::string_view imported = chunk.substr(0, part);
    if (start_.size() < kFingerprintBytes)
        start_.append(imported.substr(0, kFingerprintBytes - start_.size()));
    crc_ = ExtendCrc(crc_, imported);
    tail_.append(imported.substr(imported.size() - std::min(imported.size(), kTailBytes)));
    if (tail_.size() > kTailBytes)
        tail_.erase(0, tail_.size() - kTailBytes);
    seen_ += static_cast<std::int64_t>(part);
}

bool StoredKeys::FileBytes() const {
    return seen_ == importedBytes_ &&
           static_cast<std::int64_t>(start_.size()) >= fingerprintBytes_ &&
           Fingerprint(std::string_view(start_).substr(
               0, static_cast<std::size_t>(fingerprintBytes_))) == fingerprint_;
}

std::string StoredKeys::HeadHash() const {
    return Fingerprint(HeadBytes(start_));
}

std::string StoredKeys::TailHash() const {
    return Fingerprint(tail_);
}

namespace {

struct StoredLog {
    qlonglong Id = 0;
    std::string Fingerprint;
    std::int64_t FingerprintBytes = 0;
    std::int64_t ImportedBytes = 0;
};

} // namespace

bool FillImportKeys(QSqlDatabase& connection, std::string& error) {
    QSqlQuery query(connection);
    query.setForwardOnly(true);
    std::vector<StoredLog> logs;
    if (!query.exec(QStringLiteral(
            "SELECT id, fingerprint, fingerprint_bytes, imported_bytes FROM logs ORDER BY id"))) {
        error = query.lastError().text().toStdString();
        return false;
    }
    while (query.next())
        logs.push_back({query.value(0).toLongLong(), query.value(1).toString().toStdString(),
                        query.value(2).toLongLong(), query.value(3).toLongLong()});
    QSqlQuery chunks(connection), update(connection);
    chunks.setForwardOnly(true);
    // A database that was brought back to an older version may hold packed chunks already.
    const bool packing =
        connection.record(QStringLiteral("log_chunks")).contains(QStringLiteral("packing"));
    chunks.prepare(QStringLiteral("SELECT seq, bytes, %1 FROM log_chunks WHERE log_id = ?"
                                  " ORDER BY seq")
                       .arg(packing ? QStringLiteral("packing") : QStringLiteral("NULL")));
    for (const StoredLog& log : logs) {
        StoredKeys keys(log.Fingerprint, log.FingerprintBytes, log.ImportedBytes);
        std::vector<std::pair<qlonglong, std::uint32_t>> checksums;
        chunks.addBindValue(log.Id);
        if (!chunks.exec()) {
            error = chunks.lastError().text().toStdString();
            return false;
        }
        while (chunks.next()) {
            QByteArray bytes = chunks.value(1).toByteArray();
            if (const QString packing = chunks.value(2).toString(); !packing.isEmpty())
                bytes = UnpackChunk(bytes, packing.toStdString()).value_or(QByteArray());
            const std::string_view view(bytes.constData(), static_cast<std::size_t>(bytes.size()));
            checksums.emplace_back(chunks.value(0).toLongLong(), ExtendCrc(0, view));
            keys.Add(view);
        }
        chunks.finish();
        update.prepare(
            QStringLiteral("UPDATE log_chunks SET checksum = ? WHERE log_id = ? AND seq = ?"));
        for (const auto& [seq, checksum] : checksums) {
            update.addBindValue(QVariant::fromValue<qlonglong>(checksum));
            update.addBindValue(log.Id);
            update.addBindValue(seq);
            if (!update.exec()) {
                error = update.lastError().text().toStdString();
                return false;
            }
        }
        if (!keys.FileBytes())
            continue; // found by its fingerprint alone, as before
        update.prepare(QStringLiteral(
            "UPDATE logs SET head_hash = ?, tail_hash = ?, content_crc = ? WHERE id = ?"));
        update.addBindValue(QString::fromStdString(keys.HeadHash()));
        update.addBindValue(QString::fromStdString(keys.TailHash()));
        update.addBindValue(QVariant::fromValue<qlonglong>(keys.Crc()));
        update.addBindValue(log.Id);
        if (!update.exec()) {
            error = update.lastError().text().toStdString();
            return false;
        }
    }
    return true;
}

} // namespace qla::db
