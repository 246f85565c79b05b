// Checking a statistics database, log by log.
#include "db/database_check.h"

#include "db/chunk_reader.h"
#include "db/digest_packing.h"
#include "db/engine_dialect.h"
#include "db/erased_table.h"
#include "db/import_keys.h"
#include "db/kept_persons.h"
#include "db/log_blocks.h"
#include "db/log_catalog.h"
#include "db/log_name_uses.h"
#include "db/log_piece.h"
#include "db/schema.h"
#include "db/statistics_rows.h"
#include "db/store_from_database.h"
#include "db/store_from_statistics.h"
#include "db/transaction.h"

#include "core/store.h"

#include <QSqlQuery>
#include <QVariant>

#include <algorithm>
#include <map>
#include <span>

namespace qla::db {

namespace {

// The per-log player counts an import stores, by name.
struct StoredPlayer {
    std::int64_t Kills = 0, Deaths = 0, Teamkills = 0, VoiceChats = 0, TextChats = 0;
    bool operator==(const StoredPlayer&) const = default;
};

std::string Damaged(StatsDatabase& database, LogId log, const std::string& what) {
    return "the database " + database.Path() + " is damaged: log " + std::to_string(log) + " " +
           what;
}

// SQLite checks every page and index itself; PostgreSQL has no such statement, so every table
// is read whole, which makes the server check each page it reads.
void CheckEngine(StatsDatabase& database, CheckReport& report) {
    QSqlQuery query(database.Connection());
    query.setForwardOnly(true);
    if (database.Kind() == Engine::SQLite) {
        if (!query.exec(QStringLiteral("PRAGMA integrity_check"))) {
            report.Damage.push_back(database.Failure("the database " + database.Path() +
                                                         " is damaged: its integrity check failed",
                                                     query));
            return;
        }
        while (query.next()) {
            const std::string line = query.value(0).toString().toStdString();
            if (line != "ok")
                report.Damage.push_back("the database " + database.Path() + " is damaged: " + line);
        }
        return;
    }
    for (const char* table : {"qla_meta", "logs", "log_players", "player_aliases"}) {
        if (query.exec(QStringLiteral("SELECT * FROM %1").arg(QString::fromLatin1(table)))) {
            query.finish();
            continue;
        }
        // A role without rights, or a lost server, is no damage: the check cannot run.
        if (!IsDamage(database.Kind(), query.lastError())) {
            report.Error = database.Failure("cannot read the database " + database.Path(), query);
            return;
        }
        report.Damage.push_back(database.Failure(
            "the database " + database.Path() + " is damaged: table " + table, query));
        return; // the transaction has ended with the failure
    }
}

// The chunks of `log`: each against its checksum, together against the recorded sizes, line
// count and (where the stored bytes are the file's) the CRC of everything imported. False when
// a chunk keeps only its block sums (then no CRC of everything can be computed). `pseudonyms`:
// the log's lines hold erased players' pseudonyms, so they are not the file's bytes.
bool CheckChunks(StatsDatabase& database, const LogEntry& log, bool pseudonyms,
                 CheckReport& report) {
    ChunkReader chunks(database);
    std::string error;
    if (!chunks.Start(log.Id, error)) {
        report.Damage.push_back(error);
        return true;
    }
    StoredChunk chunk;
    std::int64_t bytes = 0;
    std::uint64_t lines = 0;
    bool keepsLines = true;
    StoredKeys keys(log.Fingerprint, log.FingerprintBytes, log.ImportedBytes);
    while (chunks.NextStored(chunk, error)) {
        bytes += chunk.Size;
        if (chunk.Sums) {
            keepsLines = false;
            lines += static_cast<std::uint64_t>(chunk.Lines);
            continue;
        }
        const std::string_view view(chunk.Bytes.constData(),
                                    static_cast<std::size_t>(chunk.Bytes.size()));
        lines += CountLineEnds(view);
        keys.Add(view);
    }
    report.Chunks += chunks.ChunksRead();
    if (!error.empty()) {
        report.Damage.push_back(error);
        return keepsLines;
    }
    if (bytes != log.StoredBytes) {
        report.Damage.push_back(Damaged(database, log.Id,
                                        "holds " + std::to_string(bytes) +
                                            " stored bytes but records " +
                                            std::to_string(log.StoredBytes)));
        return keepsLines;
    }
    if (static_cast<std::int64_t>(lines) != log.Lines)
        report.Damage.push_back(Damaged(database, log.Id,
                                        "holds " + std::to_string(lines) + " lines but records " +
                                            std::to_string(log.Lines)));
    if (pseudonyms)
        report.Notes.push_back("log " + std::to_string(log.Id) +
                               " holds erased players' pseudonyms: its lines were not compared "
                               "with the checksum of the file's bytes");
    else if (keepsLines && log.ContentCrc && keys.FileBytes() && keys.Crc() != *log.ContentCrc)
        report.Damage.push_back(
            Damaged(database, log.Id, "holds lines that are not those it imported"));
    return keepsLines;
}

std::optional<std::map<std::string, StoredPlayer>>
ReadStoredPlayers(StatsDatabase& database, LogId log, std::string& error) {
    QSqlQuery query(database.Connection());
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT name, kills, deaths, teamkills, voice_chats, text_chats"
                                 " FROM log_players WHERE log_id = ?"));
    query.addBindValue(QVariant::fromValue<qlonglong>(log));
    if (!query.exec()) {
        error = database.Failure("cannot read the players of log " + std::to_string(log), query);
        return std::nullopt;
    }
    std::map<std::string, StoredPlayer> players;
    while (query.next())
        players[query.value(0).toString().toStdString()] = {
            query.value(1).toLongLong(), query.value(2).toLongLong(), query.value(3).toLongLong(),
            query.value(4).toLongLong(), query.value(5).toLongLong()};
    return players;
}

std::map<std::string, StoredPlayer> CountsByName(std::span<const PlayerRecord> players) {
    std::map<std::string, StoredPlayer> counts;
    for (const PlayerRecord& p : players)
        counts[ColumnText(p.Name).toStdString()] = {p.Kills[0], p.Deaths[0], p.Teamkills,
                                                    p.VoiceChatCount, p.TextChatCount};
    return counts;
}

// What `counted` adds up over the log's rows of `table`; nullopt with the reason in `error`.
std::optional<std::int64_t> RowCount(StatsDatabase& database, const char* table,
                                     const char* counted, LogId log, std::string& error) {
    QSqlQuery query(database.Connection());
    query.prepare(QStringLiteral("SELECT COALESCE(SUM(%1), 0) FROM %2 WHERE log_id = ?")
                      .arg(QLatin1String(counted), QLatin1String(table)));
    query.addBindValue(QVariant::fromValue<qlonglong>(log));
    if (!query.exec() || !query.next()) {
        error = database.Failure("cannot read the database " + database.Path(), query);
        return std::nullopt;
    }
    return query.value(0).toLongLong();
}

// The log's stored statistics against those of its lines read afresh: the same bytes, and as
// many chat and other line rows as the lines hold.
void CheckDigest(StatsDatabase& database, const LogEntry& log, LogDigest read,
                 CheckReport& report) {
    std::string error;
    const auto stored = ReadDigest(database, log.Id, error);
    const auto chats = stored ? RowCount(database, "log_chats", "1", log.Id, error) : std::nullopt;
    const auto lines =
        chats ? RowCount(database, "log_unknown_lines", "line_count", log.Id, error) : std::nullopt;
    if (!lines) {
        report.Damage.push_back(error);
        return;
    }
    // A log imported by a qla that kept no holdings: the rest is compared. Its chains are those
    // of its holdings.
    const auto chains = stored->HasHoldings
                            ? ReadChains(database, log.Id, stored->Players.size(), true, error)
                            : std::optional<LogChains>(LogChains());
    if (!chains) {
        report.Damage.push_back(error);
        return;
    }
    // The names' uses, where stored, are those of the chains.
    const auto usesStored = ReadNameUses(database, log.Id, error);
    if (!error.empty()) {
        report.Damage.push_back(error);
        return;
    }
    const auto chainsDiffer = [&] {
        const LogChains fresh = ChainsOfDigest(read);
        return EncodeChains(*chains) != EncodeChains(fresh) ||
               EncodeChainChats(*chains) != EncodeChainChats(fresh) ||
               (usesStored &&
                EncodeNameUses(*usesStored) != EncodeNameUses(NameUsesOfLog(read, fresh)));
    };
    if (EncodeDigest(read) != EncodeDigest(*stored) ||
        (stored->HasHoldings &&
         (EncodeHoldings(read) != EncodeHoldings(*stored) || chainsDiffer())))
        report.Damage.push_back(
            Damaged(database, log.Id, "records statistics its lines do not give"));
    else if (*chats != static_cast<std::int64_t>(read.VoiceChatRows + read.TextChatRows) ||
             *lines != static_cast<std::int64_t>(read.UnknownLineRows))
        report.Damage.push_back(
            Damaged(database, log.Id, "records chats or other lines its lines do not give"));
}

// The log's stored totals and players against what its stored lines give read afresh.
void CheckStatistics(StatsDatabase& database, const LogEntry& log, CheckReport& report) {
    AnalysisStore store;
    store.TracksHolders = true;
    std::string error;
    const auto fresh = AnalyzeStoredLog(database, log, {}, store, error);
    if (!fresh) {
        report.Damage.push_back(error);
        return;
    }
    const AnalysisTotals& t = *fresh;
    const AnalysisTotals& s = log.Totals;
    if (t.Kills != s.Kills || t.Deaths != s.Deaths || t.Teamkills != s.Teamkills ||
        t.VoiceChats != s.VoiceChats || t.TextChats != s.TextChats || t.Unknown != s.Unknown ||
        t.Total != log.Lines)
        report.Damage.push_back(Damaged(
            database, log.Id,
            "records totals its lines do not give (kills " + std::to_string(s.Kills) + " stored, " +
                std::to_string(t.Kills) + " read; deaths " + std::to_string(s.Deaths) +
                " stored, " + std::to_string(t.Deaths) + " read)"));
    const auto stored = ReadStoredPlayers(database, log.Id, error);
    if (!stored) {
        report.Damage.push_back(error);
        return;
    }
    // The holdings go to the digest, the store is filed by name as the rows are.
    LogDigest read = DigestOfStore(store, *fresh);
    // Record 0 of a store is no player.
    if (CountsByName(std::span(store.Players).subspan(1)) != *stored)
        report.Damage.push_back(Damaged(database, log.Id, "records players its lines do not give"));
    if (database.StoredVersion() >= kStatisticsVersion)
        CheckDigest(database, log, std::move(read), report);
}

// A log without lines: its recorded totals, players and rows against its stored statistics.
void CheckStatisticsAlone(StatsDatabase& database, const LogEntry& log, CheckReport& report) {
    std::string error;
    const auto digest =
        ReadDigest(database, log.Id, error, {.Encounters = false, .Holdings = false});
    const auto players = digest ? ReadStoredPlayers(database, log.Id, error) : std::nullopt;
    const auto chats = players ? RowCount(database, "log_chats", "1", log.Id, error) : std::nullopt;
    const auto lines =
        chats ? RowCount(database, "log_unknown_lines", "line_count", log.Id, error) : std::nullopt;
    if (!lines) {
        report.Damage.push_back(error);
        return;
    }
    const AnalysisTotals& d = digest->Totals;
    const AnalysisTotals& s = log.Totals;
    if (d.Kills != s.Kills || d.Deaths != s.Deaths || d.Teamkills != s.Teamkills ||
        d.VoiceChats != s.VoiceChats || d.TextChats != s.TextChats || d.Unknown != s.Unknown ||
        d.Total != log.Lines)
        report.Damage.push_back(
            Damaged(database, log.Id, "records totals its statistics do not give"));
    if (CountsByName(digest->Players) != *players)
        report.Damage.push_back(
            Damaged(database, log.Id, "records players its statistics do not give"));
    if (*chats != static_cast<std::int64_t>(digest->VoiceChatRows + digest->TextChatRows) ||
        *lines != static_cast<std::int64_t>(digest->UnknownLineRows))
        report.Damage.push_back(
            Damaged(database, log.Id, "records chats or other lines its statistics do not give"));
}

// Each sum of a run of logs against the logs' own statistics, and against the runs the logs
// now make.
void CheckBlocks(StatsDatabase& database, const std::vector<LogEntry>& logs, CheckReport& report) {
    const auto blocks = ReadLogBlocks(database, report.Error);
    if (!blocks)
        return;
    std::vector<LogId> ids;
    for (const LogEntry& log : logs)
        ids.push_back(log.Id);
    const std::vector<LogBlock> wanted = BlocksOfLogs(ids);
    for (const LogBlock& block : *blocks) {
        const std::string which =
            "the sum of logs " + std::to_string(block.First) + " to " + std::to_string(block.Last);
        const auto first = std::find(ids.begin(), ids.end(), block.First);
        if (std::find(wanted.begin(), wanted.end(), block) == wanted.end()) {
            report.Damage.push_back("the database " + database.Path() + " is damaged: " + which +
                                    " is no run of its logs");
            continue;
        }
        const auto stored = ReadBlockSum(database, block, report.Error);
        const auto fresh =
            stored ? SumOfLogs(
                         database,
                         std::vector<LogId>(first, first + static_cast<std::ptrdiff_t>(block.Logs)),
                         true, report.Error)
                   : std::nullopt;
        if (!fresh)
            return;
        if (!SameSums(*stored, *fresh))
            report.Damage.push_back("the database " + database.Path() + " is damaged: " + which +
                                    " differs from their statistics");
    }
}

} // namespace

CheckReport CheckDatabase(StatsDatabase& database,
                          const std::function<void(std::size_t, std::size_t)>& progress) {
    CheckReport report;
    const Transaction unit(database, Transaction::Kind::Read, report.Error);
    if (!unit.Open())
        return report;
    CheckEngine(database, report);
    if (!report.Error.empty() || !report.Damage.empty())
        return report;
    const auto logs = ListLogs(database, report.Error);
    const auto erased = logs ? ReadErasedLogs(database, report.Error) : std::nullopt;
    if (erased) {
        report.Logs = logs->size();
        for (std::size_t i = 0; i < logs->size(); ++i) {
            if (progress)
                progress(i + 1, logs->size());
            const LogEntry& log = (*logs)[i];
            const std::size_t before = report.Damage.size();
            const std::string recorded = RecordDamage(log, database.Path());
            if (!recorded.empty()) {
                report.Damage.push_back(recorded);
                continue;
            }
            const bool keepsLines = CheckChunks(database, log, erased->contains(log.Id), report);
            if (report.Damage.size() != before)
                continue;
            if (keepsLines) {
                CheckStatistics(database, log, report);
                continue;
            }
            report.Notes.push_back(KeepsNoLinesText(log.Id) +
                                   "; its statistics were checked against each other, not "
                                   "against its lines");
            CheckStatisticsAlone(database, log, report);
        }
        if (report.Damage.empty())
            CheckBlocks(database, *logs, report);
        if (report.Damage.empty() && report.Error.empty()) {
            const auto current = KeptPersonsAreCurrent(database, report.Error);
            if (current && !*current)
                report.Damage.push_back("the database " + database.Path() +
                                        " is damaged: its kept persons are not those its logs "
                                        "merge into");
        }
    }
    return report;
}

} // namespace qla::db
