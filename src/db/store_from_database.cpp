// The stored bytes of each log are the bytes of its file up to its last imported line end, so
// laying them end to end and reading them as one log gives the concatenated log exactly; the
// same reader and the same parsers then build the same store.
#include "db/store_from_database.h"

#include "core/file_identity.h"

#include <QSqlQuery>
#include <QVariant>

#include <cstring>

namespace qla::db {

DatabaseStoreResult BuildStoreFromDatabase(StatsDatabase& database, const LogSelection& selection,
                                           AnalysisStore& store) {
    DatabaseStoreResult result;
    // One read transaction, so an import committing meanwhile is seen whole or not at all.
    QSqlQuery query(database.Connection());
    query.setForwardOnly(true);
    if (!database.BeginRead(result.Error))
        return result;
    const auto end = [&] { QSqlQuery(database.Connection()).exec(QStringLiteral("COMMIT")); };
    const auto logs = SelectLogs(database, selection, result.Error);
    if (!logs) {
        end();
        return result;
    }
    std::uint64_t total = 0;
    for (const LogEntry& log : *logs)
        total += static_cast<std::uint64_t>(log.StoredBytes);
    ByteBuffer bytes = ByteBuffer::Uninitialized(total);
    std::uint64_t filled = 0;
    std::vector<LogPart> parts;
    query.prepare(QStringLiteral("SELECT bytes FROM log_chunks WHERE log_id = ? ORDER BY seq"));
    for (const LogEntry& log : *logs) {
        query.addBindValue(QVariant::fromValue<qlonglong>(log.Id));
        if (!query.exec()) {
            result.Error = database.Failure("cannot read log " + std::to_string(log.Id), query);
            end();
            return result;
        }
        while (query.next()) {
            const QByteArray chunk = query.value(0).toByteArray();
            const auto size = static_cast<std::uint64_t>(chunk.size());
            if (filled + size > total) {
                result.Error = "the database " + database.Path() + " is damaged: log " +
                               std::to_string(log.Id) + " holds more bytes than it records";
                end();
                return result;
            }
            std::memcpy(bytes.data() + filled, chunk.constData(), size);
            filled += size;
        }
        parts.push_back(
            LogPart{static_cast<std::uint64_t>(log.Lines), log.Language, log.LineRecognition});
    }
    query.finish();
    end();
    if (filled != total) {
        result.Error = "the database " + database.Path() + " is damaged: a log lacks stored bytes";
        return result;
    }
    store.LogLines = total == 0 ? LogLineList() : LogLineList::FromBuffer(std::move(bytes));
    store.LogFileLoaded = true;
    store.LogFileIdentity = IdentityOfFile(database.Path()); // exports never replace it
    result.Totals = AnalyzeLogParts(store, parts);
    if (!store.LogLines.empty())
        result.DateText = LogDateText(store.LogLines[0]);
    result.LogCount = logs->size();
    result.Ok = true;
    return result;
}

} // namespace qla::db
