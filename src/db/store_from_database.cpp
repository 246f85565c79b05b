// The stored bytes of each log are the bytes of its file up to its last imported line end, so
// laying them end to end and reading them as one log gives the concatenated log exactly; the
// same reader and the same parsers then build the same store.
#include "db/store_from_database.h"

#include "analysis/holder_identity.h"
#include "analysis/log_stream.h"
#include "core/file_identity.h"
#include "db/chunk_reader.h"
#include "db/schema.h"
#include "db/store_from_statistics.h"
#include "db/transaction.h"

#include <QSqlQuery>
#include <QVariant>

#include <cstring>

namespace qla::db {

namespace {

// Every byte of the log's chunks, checked against the size the log records.
std::optional<ByteBuffer> StoredBytesOf(StatsDatabase& database, const LogEntry& log,
                                        std::string& error) {
    error = RecordDamage(log, database.Path());
    const auto held = error.empty() ? StoredChunkBytes(database, log.Id, error) : std::nullopt;
    if (!held)
        return std::nullopt;
    if (*held != log.StoredBytes) {
        error = "the database " + database.Path() + " is damaged: log " + std::to_string(log.Id) +
                " holds " + std::to_string(*held) + " stored bytes but records " +
                std::to_string(log.StoredBytes);
        return std::nullopt;
    }
    ByteBuffer bytes = ByteBuffer::Uninitialized(static_cast<std::uint64_t>(*held));
    std::uint64_t filled = 0;
    ChunkReader chunks(database);
    QByteArray chunk;
    if (!chunks.Start(log.Id, error))
        return std::nullopt;
    while (chunks.Next(chunk, error)) {
        const auto size = static_cast<std::uint64_t>(chunk.size());
        if (filled + size > bytes.size()) {
            error = "the log " + std::to_string(log.Id) + " of " + database.Path() +
                    " changed while it was read";
            return std::nullopt;
        }
        std::memcpy(bytes.data() + filled, chunk.constData(), size);
        filled += size;
    }
    if (!error.empty())
        return std::nullopt;
    return bytes;
}

} // namespace

DatabaseStoreResult BuildStoreFromDatabase(StatsDatabase& database, const LogSelection& selection,
                                           AnalysisStore& store) {
    return BuildStoreFromDatabase(database, selection, store, StoreParts{});
}

DatabaseStoreResult BuildStoreFromDatabase(StatsDatabase& database, const LogSelection& selection,
                                           AnalysisStore& store, StoreParts parts) {
    DatabaseStoreResult result;
    // One read transaction, so an import committing meanwhile is seen whole or not at all.
    const Transaction unit(database, Transaction::Kind::Read, result.Error);
    if (!unit.Open())
        return result;
    return BuildStoreInTransaction(database, selection, store, parts);
}

DatabaseStoreResult BuildStoreInTransaction(StatsDatabase& database, const LogSelection& selection,
                                            AnalysisStore& store, StoreParts parts) {
    if (database.StoredVersion() < kStatisticsVersion) {
        store.HoldersChained = false; // the lines give holdings
        // The passing names of a reading by name for a rating, as a log read alone finds them.
        const bool findsPassing = parts.PassingNames && !store.TracksHolders;
        store.TracksHolders = store.TracksHolders || findsPassing;
        DatabaseStoreResult read = AnalyzeStoredLines(database, selection, store);
        if (findsPassing)
            FileByNameKeepingPassingKeys(store);
        return read;
    }
    return BuildStoreFromStatistics(database, selection, store, parts);
}

std::optional<AnalysisTotals> AnalyzeStoredLog(StatsDatabase& database, const LogEntry& log,
                                               std::vector<std::string> knownNames,
                                               AnalysisStore& store, std::string& error) {
    const std::optional<ByteBuffer> bytes = StoredBytesOf(database, log, error);
    if (!bytes)
        return std::nullopt;
    const std::string_view view(bytes->data(), bytes->size());
    StreamOptions options;
    options.KnownPlayers = std::move(knownNames);
    const StreamedAnalysis analysed = AnalyzeStreamedLog(
        store, view.size(),
        [view](std::uint64_t offset, std::uint64_t length) {
            return BytesReader(view.substr(offset, length));
        },
        log.Language, log.LineRecognition, options);
    return analysed.Totals;
}

DatabaseStoreResult AnalyzeStoredLines(StatsDatabase& database, const LogSelection& selection,
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
