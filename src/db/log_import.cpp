// One import: find the stored log the file continues, read what follows its last imported line
// end, store the whole new lines and the counts they add, and commit once.
#include "db/log_import.h"

#include "analysis/merge_players.h"

#include "db/chunk_packing.h"
#include "db/chunk_reader.h"
#include "db/engine_dialect.h"
#include "db/erased_table.h"
#include "db/file_relation.h"
#include "db/import_refusal.h"
#include "db/line_pseudonyms.h"
#include "db/log_columns.h"
#include "db/log_date.h"
#include "db/log_piece.h"
#include "db/log_statistics.h"
#include "db/statistics_rows.h"
#include "db/transaction.h"

#include "analysis/language_guess.h"
#include "analysis/log_stream.h"
#include "core/utf16_log.h"

#include <QDateTime>
#include <QFileInfo>
#include <QSqlQuery>
#include <QVariant>

#include <cstring>
#include <fstream>
#include <future>

namespace qla::db {

namespace {

QVariant Int(std::int64_t value) {
    return QVariant::fromValue<qlonglong>(value);
}

std::string Now() {
    return QDateTime::currentDateTimeUtc().toString(Qt::ISODate).toStdString();
}

// The file's size and its first bytes (up to the fingerprint's length); false when unreadable.
bool ReadStart(const std::string& localPath, std::string& prefix, std::int64_t& size) {
    std::ifstream in(localPath, std::ios::binary | std::ios::ate);
    if (!in.is_open())
        return false;
    size = static_cast<std::int64_t>(in.tellg());
    if (size < 0)
        return false;
    prefix.resize(static_cast<std::size_t>(std::min<std::int64_t>(size, kFingerprintBytes)));
    in.seekg(0);
    in.read(prefix.data(), static_cast<std::streamsize>(prefix.size()));
    return in.gcount() == static_cast<std::streamsize>(prefix.size());
}

class ImportWriter {
  public:
    ImportWriter(StatsDatabase& database, ImportResult& result)
        : database_(database), result_(result), query_(database.Connection()) {}

    bool Fail(const std::string& what) {
        result_.Error = database_.Failure(what, query_);
        result_.Outcome = ImportOutcome::Failed;
        return false;
    }

    bool Exec(const char* sql, std::initializer_list<QVariant> values, const std::string& what) {
        query_.prepare(QString::fromLatin1(sql));
        for (const QVariant& value : values)
            query_.addBindValue(value);
        return query_.exec() || Fail(what);
    }

    std::optional<std::int64_t> Number(const char* sql, std::initializer_list<QVariant> values) {
        if (!Exec(sql, values, "cannot read the database " + database_.Path()))
            return std::nullopt;
        if (!query_.next()) {
            Fail("cannot read the database " + database_.Path());
            return std::nullopt;
        }
        const std::int64_t value = query_.value(0).toLongLong();
        query_.finish();
        return value;
    }

    std::optional<LogId> NewLogId() {
        const auto id = Number("SELECT value FROM qla_meta WHERE name = 'next_log_id'", {});
        if (!id || !Exec("UPDATE qla_meta SET value = ? WHERE name = 'next_log_id'",
                         {QString::number(*id + 1)}, "cannot number the new log"))
            return std::nullopt;
        return *id;
    }

    bool Chunks(LogId id, const std::vector<PackedChunk>& chunks, std::size_t storedBytes,
                const ImportProgressCallback& progress) {
        const auto first =
            Number("SELECT COALESCE(MAX(seq), -1) + 1 FROM log_chunks WHERE log_id = ?", {Int(id)});
        if (!first)
            return false;
        query_.prepare(QStringLiteral("INSERT INTO log_chunks (log_id, seq, lines, bytes, checksum,"
                                      " packing, size) VALUES (?, ?, ?, ?, ?, ?, ?)"));
        std::int64_t seq = *first;
        std::size_t done = 0;
        for (const PackedChunk& chunk : chunks) {
            const bool packed = chunk.Packing != nullptr;
            query_.bindValue(0, Int(id));
            query_.bindValue(1, Int(seq++));
            query_.bindValue(2, Int(chunk.Lines));
            query_.bindValue(
                3, packed ? chunk.Packed
                          : QByteArray::fromRawData(chunk.Raw.data(),
                                                    static_cast<qsizetype>(chunk.Raw.size())));
            query_.bindValue(4, Int(chunk.Crc));
            query_.bindValue(5, packed ? QVariant(QString::fromLatin1(chunk.Packing))
                                       : QVariant(QMetaType(QMetaType::QString)));
            query_.bindValue(6, Int(static_cast<std::int64_t>(chunk.Raw.size())));
            if (!query_.exec())
                return Fail("cannot store the lines of log " + std::to_string(id));
            done += chunk.Raw.size();
            if (progress)
                progress(0.5 + 0.5 * static_cast<double>(done) / static_cast<double>(storedBytes));
        }
        return true;
    }

  private:
    StatsDatabase& database_;
    ImportResult& result_;
    QSqlQuery query_;
};

// What the new lines add, counted the way the analysis counts them.
struct PieceCounts {
    AnalysisTotals Totals;
    std::optional<std::string> DateHeader;
    AnalysisStore Store;
};

// The language a new log's first lines are written in.
LogLanguage GuessLanguage(std::string_view stored) {
    std::vector<std::string> first;
    LogLineReader reader(BytesReader(stored), kDefaultLineBlock, LogLineList::Start::kFileStart);
    while (first.size() < kLinesJudged) {
        const auto line = reader.Next();
        if (!line)
            break;
        first.emplace_back(*line);
    }
    return LikelyLogLanguage(WeighLogLanguages(LogLineList::FromLines(first)));
}

// The piece is analysed as it is read, on every core, without a copy or a table of its lines.
// The players of the log's earlier lines (`before`) are filed first.
void CountPiece(std::string_view stored, bool atFileStart, LogLanguage language,
                Recognition recognition, const LogDigest& before, PieceCounts& out,
                const ImportProgressCallback& progress) {
    if (stored.empty())
        return;
    const LogLineList::Start start =
        atFileStart ? LogLineList::Start::kFileStart : LogLineList::Start::kFromInside;
    StreamOptions options;
    // A log whose earlier lines were read by a qla that kept no holdings goes on without them.
    out.Store.TracksHolders = atFileStart || before.HasHoldings;
    if (out.Store.TracksHolders) {
        options.KnownPlayers = before.HoldingNames();
        options.KnownHoldings = before.HoldingStates();
        for (const auto& [name, holding] : before.RenamedInto)
            options.KnownRenamedInto.emplace_back(name, static_cast<std::int32_t>(holding) + 1);
        options.LinesBefore = static_cast<std::uint64_t>(before.Totals.Total);
    } else {
        options.KnownPlayers = before.Names();
    }
    if (progress)
        options.Progress = [&](double share) { progress(0.5 * share); };
    const StreamedAnalysis analysed = AnalyzeStreamedLog(
        out.Store, stored.size(),
        [stored](std::uint64_t offset, std::uint64_t length) {
            return BytesReader(stored.substr(offset, length));
        },
        language, recognition, options, start);
    out.Totals = analysed.Totals;
    if (atFileStart)
        out.DateHeader = analysed.DateText;
}

ImportResult& Failed(ImportResult& result) {
    result.Outcome = ImportOutcome::Failed;
    if (result.Error.empty())
        result.Error = "the import was not written";
    return result;
}

// Imports one log inside the caller's write transaction. Writes only for the outcomes Added,
// Grew and Replaced; after Failed the caller must roll back.
// `erased`: the database's erased players, whose names the new lines are stored without.
ImportResult ImportInTransaction(StatsDatabase& database, const std::string& pathAsGiven,
                                 const std::string& localPath, const ImportOptions& options,
                                 const ErasedNames& erased,
                                 const ImportProgressCallback& progress) {
    ImportResult result;
    std::string prefix, rest;
    std::int64_t size = 0;
    if (!ReadStart(localPath, prefix, size)) {
        result.Error = "the log cannot be read: " + pathAsGiven;
        return Failed(result);
    }
    if (size == 0) {
        result.Outcome = ImportOutcome::Empty;
        return result;
    }
    const auto match =
        FindImportedLog(database, {pathAsGiven, localPath, size, prefix}, erased, result.Error);
    if (!match)
        return Failed(result);
    if (match->Copied) {
        result.Outcome = ImportOutcome::Copy;
        result.Id = match->Copied->Id;
        result.CopiedPath = match->Copied->Path;
        result.UncomparedBytes = match->UncomparedBytes;
        return result;
    }
    const std::optional<LogEntry>& known = match->Continued;
    std::int64_t start = 0;
    LogLanguage language = options.Language;
    Recognition recognition = Recognition::Classic;
    if (options.LineRecognition) {
        recognition = *options.LineRecognition;
    } else if (!known) {
        const auto fallback = DefaultRecognition(database, result.Error);
        if (!fallback)
            return Failed(result);
        recognition = *fallback;
    }
    if (known) {
        result.Id = known->Id;
        language = known->Language;
        recognition = known->LineRecognition;
        // A log keeps the mode it was imported in: asked for another, the report says so.
        if (options.LineRecognition && *options.LineRecognition != recognition)
            result.KeptRecognition = recognition;
        start = known->ImportedBytes;
        if (size == known->FileSize && (start == size || !options.Finished)) {
            result.Outcome = ImportOutcome::Unchanged;
            result.HeldBackBytes = static_cast<std::uint64_t>(size - start);
            if (options.Server && options.Server != known->Server) {
                LogEntry tagged = *known;
                tagged.Server = options.Server;
                if (!UpdateLog(database, tagged, result.Error))
                    return Failed(result);
                result.Retagged = true;
            }
            return result;
        }
        result.Outcome = ImportOutcome::Grew;
    } else {
        // A log that continues no stored log is new; where a log of the same path was imported
        // before, that file was rotated or replaced.
        result.Outcome = ImportOutcome::Added;
        const auto previous = LatestLogAt(database, pathAsGiven, result.Error);
        if (!result.Error.empty())
            return Failed(result);
        if (previous) {
            result.Outcome = ImportOutcome::Replaced;
            result.PreviousId = previous->Id;
        }
    }

    if (!ReadFileRange(localPath, start, size, rest)) {
        result.Error = "the log cannot be read: " + pathAsGiven;
        return Failed(result);
    }
    // A UTF-16 log is stored as the UTF-8 it reads as; its offsets stay those of the file.
    const Utf16Order utf16 = Utf16OrderOf(prefix);
    const std::size_t complete = options.Finished ? rest.size()
                                 : utf16 == Utf16Order::None
                                     ? CompleteLinesLength(rest)
                                     : CompleteUtf16LinesLength(rest, utf16);
    std::string_view stored(rest.data(), complete);
    // The keys are taken from the file's own bytes, before a UTF-16 log is turned into UTF-8.
    // Stored as they are read, their CRC comes from the chunks' own as they are packed; a pass
    // of its own over the bytes before the analysis cost the import about 2 %.
    const bool crcKnown = !known || known->ContentCrc.has_value();
    const std::uint32_t crcBefore = known ? known->ContentCrc.value_or(0) : 0;
    const std::string_view fileBytes = stored;
    const bool endAdded =
        options.Finished && !stored.empty() && stored.back() != '\n' && stored.back() != '\r';
    std::optional<std::uint32_t> contentCrc;
    if (crcKnown && (utf16 != Utf16Order::None || endAdded))
        contentCrc = ExtendCrc(crcBefore, fileBytes);
    if (utf16 != Utf16Order::None) {
        const ByteBuffer text =
            start == 0 ? DecodeUtf16(stored, utf16) : DecodeUtf16Units(stored, utf16);
        rest.assign(text.data(), text.size());
        stored = rest;
    }
    if (endAdded) {
        rest.resize(stored.size());
        rest.push_back('\n'); // a finished log's last line gets the line end it lacks
        stored = rest;
    }
    const std::int64_t importedBytes = start + static_cast<std::int64_t>(complete);
    result.HeldBackBytes = static_cast<std::uint64_t>(size - importedBytes);
    if (complete == 0 && result.Outcome != ImportOutcome::Grew) {
        // A log is remembered from its first complete line on: before it, its date is not known
        // and its fingerprint would cover only a line the game is still writing.
        result.Outcome = ImportOutcome::Waiting;
        return result;
    }

    std::string tail;
    const std::int64_t tailFrom = importedBytes - std::min<std::int64_t>(importedBytes, kTailBytes);
    if (!ReadFileRange(localPath, tailFrom, importedBytes, tail)) {
        result.Error = "the log cannot be read: " + pathAsGiven;
        return Failed(result);
    }
    const std::string headHash = Fingerprint(HeadBytes(prefix));
    const std::string tailHash = Fingerprint(tail);

    PieceCounts piece;
    const bool isNew = result.Outcome != ImportOutcome::Grew;
    LogDigest digest;
    if (!isNew) {
        auto before = ReadDigest(database, result.Id, result.Error);
        if (!before)
            return Failed(result);
        digest = std::move(*before);
    }
    result.LanguageGuessed = isNew && options.GuessLanguage;
    if (result.LanguageGuessed && !stored.empty())
        language = GuessLanguage(stored);
    // An erased player's new lines are stored, and read, with his pseudonym; the keys above
    // stay those of the file.
    std::string pseudonymised;
    const bool rewritten =
        !erased.Empty() &&
        PseudonymiseLines(stored, erased, {language, recognition, start == 0, digest.Names()},
                          pseudonymised) > 0;
    if (rewritten) {
        if (crcKnown && !contentCrc)
            contentCrc = ExtendCrc(crcBefore, fileBytes); // the file's bytes, still in `rest`
        stored = pseudonymised;
    }
    // The analysis takes both cores. The chunks are packed on another thread after it, while
    // this one files the holdings alone and then writes the rows beside the digest's thread.
    CountPiece(stored, start == 0, language, recognition, digest, piece, progress);
    std::future<std::vector<PackedChunk>> packing =
        std::async(std::launch::async, PackChunks, stored,
                   options.KeepLines ? ChunkKeeping::Lines : ChunkKeeping::Sums);
    result.Language = language;
    result.LinesAdded = static_cast<std::uint64_t>(piece.Totals.Total);

    ImportWriter writer(database, result);
    if (isNew) {
        const auto id = writer.NewLogId();
        if (!id)
            return Failed(result);
        result.Id = *id;
    }
    const std::string now = Now();
    LogEntry entry = known.value_or(LogEntry{});
    if (isNew) {
        entry.Id = result.Id;
        entry.DateHeader = piece.DateHeader;
        entry.DateKey = piece.DateHeader ? SortableLogDate(*piece.DateHeader) : std::nullopt;
        entry.Language = language;
        entry.LineRecognition = recognition;
        entry.FirstImported = now;
    }
    if (options.Server)
        entry.Server = options.Server;
    entry.Path = pathAsGiven;
    entry.Fingerprint = Fingerprint(prefix);
    entry.FingerprintBytes = static_cast<std::int64_t>(prefix.size());
    entry.FileSize = size;
    entry.ImportedBytes = importedBytes;
    entry.StoredBytes += static_cast<std::int64_t>(stored.size());
    const AnalysisTotals& t = piece.Totals;
    entry.Lines += t.Total;
    entry.Totals.Kills += t.Kills;
    entry.Totals.Deaths += t.Deaths;
    entry.Totals.Teamkills += t.Teamkills;
    entry.Totals.VoiceChats += t.VoiceChats;
    entry.Totals.TextChats += t.TextChats;
    entry.Totals.Unknown += t.Unknown;
    entry.LastImported = now;
    entry.HeadHash = headHash;
    entry.TailHash = tailHash;
    entry.ContentCrc = contentCrc;
    if (rewritten && !RecordDamage(entry, database.Path()).empty()) {
        result.Error = "log " + pathAsGiven +
                       " cannot take the erased players' pseudonyms: its lines would grow past "
                       "what its records allow";
        return Failed(result);
    }
    const bool written =
        isNew ? InsertLog(database, entry, result.Error) : UpdateLog(database, entry, result.Error);
    // The log's row first: the chunks and players refer to it. The statistics before the
    // chunks, so that the packing goes on while they are written.
    if (!written ||
        !StoreLogStatistics(database, result.Id, digest, piece.Store, piece.Totals, result.Error))
        return Failed(result);
    const std::vector<PackedChunk> chunks = packing.get();
    if (!writer.Chunks(result.Id, chunks, stored.size(), progress) ||
        (rewritten && !MarkErasedLog(database, result.Id, result.Error)))
        return Failed(result);
    if (crcKnown && !contentCrc) {
        // The stored bytes are the file's: their CRC is the chunks' joined.
        std::uint32_t crc = crcBefore;
        for (const PackedChunk& chunk : chunks)
            crc = JoinCrc(crc, chunk.Crc, chunk.Raw.size());
        entry.ContentCrc = crc;
        if (!UpdateLog(database, entry, result.Error))
            return Failed(result);
    }
    return result;
}

bool Writes(ImportOutcome outcome) {
    return outcome == ImportOutcome::Added || outcome == ImportOutcome::Grew ||
           outcome == ImportOutcome::Replaced;
}

} // namespace

ImportResult ImportLog(StatsDatabase& database, const std::string& pathAsGiven,
                       const std::string& localPath, const ImportOptions& options,
                       const ImportProgressCallback& progress) {
    ImportResult result;
    result.Error = ImportRefusal(database, localPath, pathAsGiven);
    if (!result.Error.empty())
        return result;
    Transaction unit(database, Transaction::Kind::Write, result.Error);
    if (!unit.Open())
        return result;
    const auto erased = ReadErasedNames(database, result.Error);
    if (!erased)
        return result;
    result = ImportInTransaction(database, pathAsGiven, localPath, options, *erased, progress);
    // Nothing written, or a failure: the unit rolls back as it ends.
    if ((Writes(result.Outcome) || result.Retagged) && !unit.Commit(result.Error))
        result.Outcome = ImportOutcome::Failed;
    return result;
}

BatchResult ImportBatch(StatsDatabase& database, const std::vector<LogToImport>& logs,
                        const ImportOptions& options) {
    BatchResult batch;
    for (const LogToImport& log : logs) {
        batch.Error = ImportRefusal(database, log.LocalPath, log.PathAsGiven);
        if (!batch.Error.empty())
            return batch;
    }
    Transaction unit(database, Transaction::Kind::Write, batch.Error);
    if (!unit.Open())
        return batch;
    const auto erased = ReadErasedNames(database, batch.Error);
    if (!erased)
        return batch;
    bool wrote = false;
    for (const LogToImport& log : logs) {
        ImportResult result =
            ImportInTransaction(database, log.PathAsGiven, log.LocalPath, options, *erased, {});
        if (result.Outcome == ImportOutcome::Failed) {
            batch.Error = result.Error;
            batch.Logs.clear();
            return batch;
        }
        wrote = wrote || Writes(result.Outcome) || result.Retagged;
        batch.Logs.push_back(std::move(result));
    }
    if (wrote && !unit.Commit(batch.Error)) {
        batch.Logs.clear();
        return batch;
    }
    batch.Ok = true;
    return batch;
}

} // namespace qla::db
