// The stored bytes of each log are the bytes of its file up to its last imported line end, so
// laying them end to end and reading them as one log gives the concatenated log exactly; the
// same reader and the same parsers then build the same store.
#include "db/store_from_database.h"

#include "core/file_identity.h"
#include "db/chunk_reader.h"
#include "db/transaction.h"

#include <QSqlQuery>
#include <QVariant>

#include <cstring>

namespace qla::db {

DatabaseStoreResult BuildStoreFromDatabase(StatsDatabase& database, const LogSelection& selection,
                                           AnalysisStore& store) {
    DatabaseStoreResult result;
    // One read transaction, so an import committing meanwhile is seen whole or not at all.
    const Transaction unit(database, Transaction::Kind::Read, result.Error);
    if (!unit.Open())
        return result;
    return BuildStoreInTransaction(database, selection, store);
}

DatabaseStoreResult BuildStoreInTransaction(StatsDatabase& database, const LogSelection& selection,
                                            AnalysisStore& store) {
    DatabaseStoreResult result;
    const auto logs = SelectLogs(database, selection, result.Error);
    if (!logs)
        return result;
    std::uint64_t total = 0;
    for (const LogEntry& log : *logs) {
        // Damaged records must not size the buffer: each log's bytes are counted first.
        result.Error = RecordDamage(log, database.Path());
        const auto held =
            result.Error.empty() ? StoredChunkBytes(database, log.Id, result.Error) : std::nullopt;
        if (!held)
            return result;
        if (*held != log.StoredBytes) {
            result.Error = "the database " + database.Path() + " is damaged: log " +
                           std::to_string(log.Id) + " holds " + std::to_string(*held) +
                           " stored bytes but records " + std::to_string(log.StoredBytes);
            return result;
        }
        total += static_cast<std::uint64_t>(log.StoredBytes);
    }
    ByteBuffer bytes = ByteBuffer::Uninitialized(total);
    std::uint64_t filled = 0;
    std::vector<LogPart> parts;
    ChunkReader chunks(database);
    QByteArray chunk;
    for (const LogEntry& log : *logs) {
        if (!chunks.Start(log.Id, result.Error))
            return result;
        while (chunks.Next(chunk, result.Error)) {
            // The sizes were counted in this transaction's snapshot; the guard keeps a caller
            // without one from writing past the buffer.
            const auto size = static_cast<std::uint64_t>(chunk.size());
            if (filled + size > total) {
                result.Error = "the log " + std::to_string(log.Id) + " of " + database.Path() +
                               " changed while it was read";
                return result;
            }
            std::memcpy(bytes.data() + filled, chunk.constData(), size);
            filled += size;
        }
        if (!result.Error.empty())
            return result;
        parts.push_back(
            LogPart{static_cast<std::uint64_t>(log.Lines), log.Language, log.LineRecognition});
    }
    chunks.Finish();
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
