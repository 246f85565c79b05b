// Filing digests into one store. A player's records are found by exact name, so the first
// appearance order, the counters and the kill events come out as one run over the lines would
// give them.
#include "db/store_from_statistics.h"

#include "analysis/holder_identity.h"
#include "analysis/line_walk.h"
#include "core/byte_search.h"
#include "core/names.h"
#include "db/chunk_reader.h"
#include "db/kill_order_entries.h"
#include "db/log_blocks.h"
#include "db/log_name_uses.h"
#include "db/schema.h"
#include "db/statistics_rewrites.h"
#include "db/statistics_rows.h"

#include <algorithm>
#include <future>
#include <unordered_map>

namespace qla::db {
namespace {

// The digest's cut obituary names, each once over the logs.
void KeepCutNames(const LogDigest& digest, AnalysisStore& store) {
    for (const std::string& cut : digest.CutNames)
        if (std::find(store.CutObituaryNames.begin(), store.CutObituaryNames.end(), cut) ==
            store.CutObituaryNames.end())
            store.CutObituaryNames.push_back(cut);
}

// Which of a log's pairs a store files: every one, or (StoreParts::KillsForPersonsOnly) only
// a record's kills of itself and those between names of one identity key.
class PairFilter {
  public:
    PairFilter(const LogDigest& digest, bool forPersonsOnly) {
        if (!forPersonsOnly)
            return;
        keyOfName_.reserve(digest.Players.size());
        for (const PlayerRecord& player : digest.Players)
            keyOfName_.push_back(IdentityKey(player.Name));
    }
    // The pair of records `killer` and `victim`, of the digest's names `killerName` and
    // `victimName`.
    bool Files(PlayerIndex killer, PlayerIndex victim, std::uint32_t killerName,
               std::uint32_t victimName) const {
        if (keyOfName_.empty() || killer == victim)
            return true;
        const std::string& key = keyOfName_[killerName];
        return !key.empty() && key == keyOfName_[victimName];
    }

  private:
    std::vector<std::string> keyOfName_;
};

// Files the digest's players, counters, kills and (`renames`) renames after what the store
// holds. Chat counts are left to the chat rows when they are read (each row counts its chat).
void FileDigest(const LogDigest& digest, AnalysisStore& store, bool chatCounts, bool renames,
                bool pairsForPersonsOnly = false) {
    std::vector<PlayerIndex> here(digest.Players.size());
    for (std::size_t k = 0; k < digest.Players.size(); ++k) {
        here[k] = store.FindOrAddNamedPlayer(digest.Players[k].Name);
        PlayerRecord counted = digest.Players[k];
        if (!chatCounts)
            counted.VoiceChatCount = counted.TextChatCount = 0;
        AddPlayerCounters(store.Players[static_cast<std::size_t>(here[k])], counted);
    }
    // A log's pairs come in the order of their first kills, and logs one after the other: the
    // entries keep the order of the kills they stand for.
    const PairFilter filter(digest, pairsForPersonsOnly);
    for (const DigestPair& p : digest.Pairs)
        if (filter.Files(here[p.Killer], here[p.Victim], p.Killer, p.Victim))
            store.RecordKillEvents(here[p.Killer], here[p.Victim], p.FirstWeapon,
                                   static_cast<std::uint32_t>(p.Count));
    if (renames)
        for (const auto& [from, to] : digest.Renames)
            store.RecordRename(from, to);
    KeepCutNames(digest, store);
}

// The same for a store that tracks holders: one record per holding, the log a session of its
// own. A log imported without holdings gives one holding per name. `holdingOf` receives the
// record of each holding, `firstOfName` that of each name's first holding.
void FileDigestHoldings(const LogDigest& digest, AnalysisStore& store, bool chatCounts,
                        std::vector<PlayerIndex>& holdingOf, std::vector<PlayerIndex>& firstOfName,
                        bool pairsForPersonsOnly = false) {
    if (store.PlayerCount() > 0)
        store.StartSession();
    const std::uint32_t session = store.SessionCount() - 1;
    const auto file = [&](const std::string& name, NameHolding holding, PlayerRecord counted) {
        holding.Session += session;
        if (holding.From != 0)
            holding.From = holdingOf[static_cast<std::size_t>(holding.From - 1)];
        const PlayerIndex here = store.AddHolding(name, holding);
        if (!chatCounts)
            counted.VoiceChatCount = counted.TextChatCount = 0;
        AddPlayerCounters(store.Players[static_cast<std::size_t>(here)], counted);
        return here;
    };
    holdingOf.clear();
    firstOfName.assign(digest.Players.size(), 0);
    if (digest.HasHoldings) {
        for (const DigestHolding& h : digest.Holdings) {
            holdingOf.push_back(file(digest.Players[h.Name].Name, h.Holding, h.Counters));
            if (firstOfName[h.Name] == 0)
                firstOfName[h.Name] = holdingOf.back();
        }
    } else {
        for (const PlayerRecord& player : digest.Players) {
            holdingOf.push_back(file(player.Name, NameHolding{}, player));
            firstOfName[holdingOf.size() - 1] = holdingOf.back();
        }
    }
    const PairFilter filter(digest, pairsForPersonsOnly);
    const auto nameOf = [&](std::uint32_t holding) {
        return digest.HasHoldings ? digest.Holdings[holding].Name : holding;
    };
    for (const DigestPair& p : digest.HasHoldings ? digest.HoldingPairs : digest.Pairs)
        if (filter.Files(holdingOf[p.Killer], holdingOf[p.Victim], nameOf(p.Killer),
                         nameOf(p.Victim)))
            store.RecordKillEvents(holdingOf[p.Killer], holdingOf[p.Victim], p.FirstWeapon,
                                   static_cast<std::uint32_t>(p.Count));
    for (std::size_t k = 0; k < digest.Renames.size(); ++k) {
        const auto [from, line] = k < digest.RenameHoldings.size()
                                      ? digest.RenameHoldings[k]
                                      : std::pair<std::uint32_t, std::uint64_t>{0, 0};
        store.KeepRename(digest.Renames[k].first, digest.Renames[k].second, line,
                         from == 0 ? 0 : holdingOf[from - 1]);
    }
    KeepCutNames(digest, store);
}

// The same for a store of chains (AnalysisStore::HoldersChained): one record per chain and name.
void FileDigestChains(const LogDigest& digest, const LogChains& chains, AnalysisStore& store,
                      bool chatCounts, std::vector<PlayerIndex>& recordOf,
                      std::vector<PlayerIndex>& firstOfName, bool pairsForPersonsOnly = false) {
    if (store.PlayerCount() > 0)
        store.StartSession();
    const std::uint32_t session = store.SessionCount() - 1;
    // A store filled from one log gets its room at once: grown record by record, its 440-byte
    // records were copied at every doubling. A reading of many logs has foretold it already.
    if (const std::size_t needed = store.Players.size() + chains.Records.size();
        needed > store.Players.capacity()) {
        store.Players.reserve(needed);
        store.Holdings.reserve(needed);
    }
    recordOf.clear();
    recordOf.reserve(chains.Records.size());
    for (const DigestHolding& record : chains.Records) {
        NameHolding holding = record.Holding;
        holding.Session += session;
        if (holding.From != 0)
            holding.From = recordOf[static_cast<std::size_t>(holding.From - 1)];
        const PlayerIndex here = store.AddHolding(digest.Players[record.Name].Name, holding);
        // A new record: its counters are the chain's, added without a copy of the record.
        PlayerRecord& filed = store.Players[static_cast<std::size_t>(here)];
        AddPlayerCounters(filed, record.Counters);
        if (!chatCounts)
            filed.VoiceChatCount = filed.TextChatCount = 0;
        recordOf.push_back(here);
    }
    const PairFilter filter(digest, pairsForPersonsOnly);
    for (const DigestPair& p : chains.Pairs)
        if (filter.Files(recordOf[p.Killer], recordOf[p.Victim], chains.Records[p.Killer].Name,
                         chains.Records[p.Victim].Name))
            store.RecordKillEvents(recordOf[p.Killer], recordOf[p.Victim], p.FirstWeapon,
                                   static_cast<std::uint32_t>(p.Count));
    for (const LogChains::Rename& rename : chains.Renames)
        store.KeepRename(rename.OldName, rename.NewName, rename.Line, recordOf[rename.From]);
    firstOfName.assign(digest.Players.size(), 0);
    for (std::size_t n = 0; n < chains.FirstOfName.size(); ++n)
        if (chains.FirstOfName[n] != 0)
            firstOfName[n] = recordOf[chains.FirstOfName[n] - 1];
    KeepCutNames(digest, store);
}

// The room `list` should have for `adding` more, when the `logIndex`th of `logCount` logs is
// filed: what the logs filed so far foretell for all of them, with an eighth to spare. Grown by
// doubling instead, a long history's list was held twice at the last doubling.
template <typename List>
std::size_t ForetoldRoom(const List& list, std::size_t adding, std::size_t logIndex,
                         std::size_t logCount) {
    const std::size_t needed = list.size() + adding;
    if (needed <= list.capacity())
        return list.capacity();
    const std::size_t foretold = needed / (logIndex + 1) * logCount;
    return std::max(needed, foretold + foretold / 8);
}

// Room for a log's records (a store that tracks holders) and kill entries, as foretold. The
// entries were once given room for every kill of the selected logs up front: address space
// only, but for a long history more than a laptop has, which the system may refuse.
void MakeRoomForLog(AnalysisStore& store, std::size_t records, std::size_t entries,
                    std::size_t logIndex, std::size_t logCount, const StoreParts& parts) {
    // Merging weighs few of a log's kills: those grow as they are filed.
    if (parts.KillsForPersonsOnly)
        entries = 0;
    if (store.TracksHolders) {
        const std::size_t room = ForetoldRoom(store.Players, records, logIndex, logCount);
        store.Players.reserve(room);
        store.Holdings.reserve(room);
    }
    const std::size_t room = ForetoldRoom(store.KillEvents, entries, logIndex, logCount);
    store.KillEvents.reserve(room);
    store.KillEventCounts.reserve(room);
}

// What the streamed chats and other lines of a log need of its digest.
LogLines LinesOfLog(LogId id, const LogDigest& digest) {
    LogLines lines;
    lines.Id = id;
    lines.PlayerNames = digest.Names();
    for (const PlayerRecord& player : digest.Players) {
        lines.Speaks.push_back(player.VoiceChatCount + player.TextChatCount > 0);
        lines.VoiceChats += static_cast<std::size_t>(player.VoiceChatCount);
        lines.TextChats += static_cast<std::size_t>(player.TextChatCount);
    }
    lines.UnknownLines = static_cast<std::int64_t>(digest.UnknownLineRows);
    return lines;
}

// A log filed into the store: its totals, what its streamed lines need, and where its kill
// entries end (`entries`, the store's count after it).
void AddFiledLog(DatabaseStoreResult& result, const LogEntry& log, const LogDigest& digest,
                 std::size_t entries) {
    AddTotals(result.Totals, digest.Totals);
    result.Lines.push_back(LinesOfLog(log.Id, digest));
    result.Logs.Add(log, entries);
}

// Works out the streaks and first blood of the log just filed, its kills from `firstEntry` on,
// and lets its order go.
void FoldKillOrder(const AnalysisStore& store, std::size_t firstEntry, LogSpans& logs,
                   bool sessionsInsideLogs) {
    logs.KillFigures.push_back(KillFiguresOfLog(store, firstEntry, store.KillEvents.size(),
                                                logs.Order, sessionsInsideLogs));
    // Emptied, not freed: the next log's order takes the same room.
    logs.Order.Entries.clear();
    logs.Order.LogEnds.clear();
    logs.Order.Known.clear();
    logs.Order.SessionStarts.clear();
}

// The streaks and first blood of the log just filed, its kills from `firstEntry` on: kept from
// before, or worked out from its order, which is let go (and kept when the log's names are its
// own digest's, whatever the logs before it hold). False with `result.Error` on failure.
bool FileKillFigures(StatsDatabase& database, const LogEntry& log, const LogDigest& digest,
                     bool figuresKept, std::size_t firstEntry, const AnalysisStore& store,
                     const StoreParts& parts, DatabaseStoreResult& result) {
    KillFiguresCache* cache = parts.KeptKillFigures;
    if (figuresKept) {
        if (auto kept = cache->Find(log, store)) {
            result.Logs.KillFigures.push_back(std::move(*kept));
            return true;
        }
        // Not the names filed (never for a log filed by its own digest): read its order after all.
        cache->Forget(log.Id);
        auto whole = ReadDigest(
            database, log.Id, result.Error,
            {.Encounters = false, .Holdings = true, .Renames = true, .HoldingNamesOnly = true});
        std::optional<StoredKillOrder> order;
        if (!whole || !ReadKillOrder(database, log.Id, *whole, order, result.Error))
            return false;
        AddLogKillOrder(*whole, order, false, firstEntry, result.Logs.Order);
    }
    FoldKillOrder(store, firstEntry, result.Logs, parts.FiguresBySession);
    if (cache && !figuresKept && digest.CutNames.empty())
        cache->Keep(log, store, result.Logs.KillFigures.back());
    return true;
}

// Whether a reading files only the players' names and counters, which blocks sum.
bool ReadsCountersOnly(const StoreParts& parts, const AnalysisStore& store) {
    return !store.TracksHolders && !parts.Chats && !parts.UnknownLines && !parts.Renames &&
           !parts.KillOrder && !parts.Kills;
}

// The stored blocks by their first log, the longest first.
using BlocksByFirstLog = std::unordered_map<LogId, std::vector<LogBlock>>;

// Files the longest block that begins at log `at` and sums the selected logs that follow,
// unless one of its cut obituary names may stand for a name filed before it (its logs then read
// as one after the other alone does). The logs it sums; 0 when none, or on failure (`error`).
std::size_t FileBlockAt(StatsDatabase& database, const BlocksByFirstLog& blocks,
                        const std::vector<LogEntry>& logs, std::size_t at, AnalysisStore& store,
                        DatabaseStoreResult& result) {
    const auto found = blocks.find(logs[at].Id);
    if (found == blocks.end())
        return 0;
    for (const LogBlock& block : found->second) {
        // The selected logs are in import order, and a log between two of a block's is one of
        // its own (the block goes with any log it sums): the ends and the count say it all.
        if (block.Logs == 0 || at + block.Logs > logs.size() ||
            logs[at + block.Logs - 1].Id != block.Last)
            continue;
        const auto sum = ReadBlockSum(database, block, result.Error);
        if (!sum)
            return 0;
        if (!EarlierNamesForCutNames(store, sum->CutNames).empty())
            continue;
        FileDigest(*sum, store, true, false);
        AddTotals(result.Totals, sum->Totals);
        for (std::size_t i = at; i < at + block.Logs; ++i) {
            LogLines lines;
            lines.Id = logs[i].Id;
            result.Lines.push_back(std::move(lines));
            result.Logs.Add(logs[i], store.KillEvents.size());
        }
        return block.Logs;
    }
    return 0;
}

// The passing names of the logs `ids` as one history: each log's names' uses summed (a chain
// never reaches past its log), as merging persons would count them over the logs' chains.
bool FilePassingKeys(StatsDatabase& database, const std::vector<LogId>& ids, AnalysisStore& store,
                     std::string& error) {
    KeyUseSums sums;
    for (const LogId id : ids) {
        const auto uses = NameUsesOfStoredLog(database, id, error);
        if (!uses)
            return false;
        sums.Add(*uses);
    }
    store.PassingKeys = sums.PassingKeys();
    return true;
}

} // namespace

std::vector<NameKeyUse> NameUsesOfLog(const LogDigest& digest, const LogChains& chains) {
    AnalysisStore filed;
    filed.TracksHolders = true;
    filed.HoldersChained = true;
    std::vector<PlayerIndex> recordOf, firstOfName;
    // The uses weigh only a record's kills of itself and those between names of one key.
    FileDigestChains(digest, chains, filed, false, recordOf, firstOfName, true);
    return NameKeyUses(filed);
}

StoreParts CountersOnly() {
    return {.Chats = false,
            .UnknownLines = false,
            .Renames = false,
            .KillOrder = false,
            .Kills = false,
            .Chains = false};
}

std::vector<std::string> EarlierNamesForCutNames(const AnalysisStore& store,
                                                 const std::vector<std::string>& cutNames) {
    std::vector<std::string> names;
    if (cutNames.empty())
        return names;
    for (const PlayerIndex p : store.PlayerIndexes()) {
        const std::string& name = store.Players[static_cast<std::size_t>(p)].Name;
        for (const std::string& cut : cutNames)
            if (name.size() > cut.size() && StartsWithBytes(name, cut)) {
                names.push_back(name);
                break;
            }
    }
    return names;
}

DatabaseStoreResult BuildStoreFromStatistics(StatsDatabase& database, const LogSelection& selection,
                                             AnalysisStore& store, StoreParts parts) {
    DatabaseStoreResult result;
    const auto logs = SelectLogs(database, selection, result.Error);
    if (!logs)
        return result;
    store.HoldersChained = parts.Chains && store.TracksHolders && !parts.KillOrder;
    parts.KillFiguresOnly = parts.KillFiguresOnly && !store.TracksHolders;
    if (parts.FiguresBySession) // kept figures are of logs read whole
        parts.KeptKillFigures = nullptr;
    if (parts.KillOrder && parts.KillFiguresOnly && parts.KeptKillFigures) {
        parts.KeptKillFigures->Validate(StatisticsRewrites(database, result.Error));
        if (!result.Error.empty())
            return result;
        std::vector<LogId> ids;
        for (const LogEntry& log : *logs)
            ids.push_back(log.Id);
        parts.KeptKillFigures->KeepOnly(ids);
    }
    store.Reset();
    store.LogLines = LogLineList();
    store.LogFileLoaded = true;
    store.LogFileIdentity = IdentityOfFile(database.Path()); // exports never replace it
    // Each log's players as the store files them, for its chat rows.
    std::vector<std::vector<PlayerIndex>> playersOf(logs->size());
    // The digest's names of a log read again in context, where some may be unfiled.
    std::vector<std::vector<std::string>> playerNames(logs->size());
    // A store that tracks holders: each log's holdings as filed, and its chats' holdings.
    std::vector<std::vector<PlayerIndex>> holdingsOf(logs->size());
    std::vector<std::vector<DigestChatHolding>> chatHoldingsOf(logs->size());
    BlocksByFirstLog blocks;
    if (ReadsCountersOnly(parts, store) && logs->size() >= kLogsPerBlock) {
        const auto stored = ReadLogBlocks(database, result.Error);
        if (!stored)
            return result;
        for (const LogBlock& block : *stored)
            blocks[block.First].push_back(block);
    }
    // A log's digest and order are let go only once the next log's are read: let go at once,
    // the room of the last was handed back to the system at every log and faulted in again for
    // the next, as much system time as a long reading's work of its own.
    std::optional<LogDigest> previousDigest;
    std::optional<StoredKillOrder> previousOrder;
    // A store of chains files each log on another thread while the next log's rows are read and
    // decoded: the filing is one core's work and the reading another's. Only the filing touches
    // the store and the lists by log; the reading only sets the error, after which the filing
    // under way is waited for.
    std::future<void> filing;
    const auto filed = [&filing]() {
        if (filing.valid())
            filing.get();
    };
    for (std::size_t i = 0; i < logs->size(); ++i) {
        const LogEntry& log = (*logs)[i];
        result.Error = RecordDamage(log, database.Path());
        if (!result.Error.empty()) {
            filed();
            return result;
        }
        if (store.HoldersChained) {
            std::optional<LogDigest> digest = ReadDigest(
                database, log.Id, result.Error,
                {.Encounters = false, .Holdings = false, .Renames = parts.Renames, .Pairs = false});
            auto chains = digest ? ReadChains(database, log.Id, digest->Players.size(), parts.Chats,
                                              result.Error)
                                 : std::nullopt;
            filed();
            if (!chains)
                return result;
            filing =
                std::async(std::launch::async, [&, i, &entry = log, digest = std::move(*digest),
                                                chains = std::move(*chains)]() mutable {
                    MakeRoomForLog(store, chains.Records.size(), chains.Pairs.size(), i,
                                   logs->size(), parts);
                    FileDigestChains(digest, chains, store, !parts.Chats, holdingsOf[i],
                                     playersOf[i], parts.KillsForPersonsOnly);
                    if (parts.Chats)
                        chatHoldingsOf[i] = std::move(chains.ChatRecords);
                    AddFiledLog(result, entry, digest, store.KillEvents.size());
                    playerNames[i] = digest.Names();
                });
            continue;
        }
        if (!blocks.empty()) {
            const std::size_t summed = FileBlockAt(database, blocks, *logs, i, store, result);
            if (!result.Error.empty())
                return result;
            if (summed > 0) {
                for (std::size_t k = i + 1; k < i + summed; ++k) {
                    result.Error = RecordDamage((*logs)[k], database.Path());
                    if (!result.Error.empty())
                        return result;
                }
                i += summed - 1;
                continue;
            }
        }
        // A log whose streaks are kept needs no order, nor the holdings that place it.
        const bool figuresKept = parts.KillOrder && parts.KillFiguresOnly &&
                                 parts.KeptKillFigures && parts.KeptKillFigures->Holds(log);
        const bool readsOrder = parts.KillOrder && !figuresKept;
        std::optional<LogDigest> digest =
            ReadDigest(database, log.Id, result.Error,
                       {.Encounters = false,
                        .Holdings = store.TracksHolders || readsOrder,
                        .Renames = store.TracksHolders || parts.Renames || readsOrder,
                        .Pairs = parts.Kills || store.TracksHolders || parts.KillOrder,
                        .HoldingNamesOnly = !store.TracksHolders});
        if (!digest)
            return result;
        // The order of the log's kills, placed among the entries its pairs are filed into next.
        const std::size_t firstEntry = store.KillEvents.size();
        std::optional<StoredKillOrder> order;
        if (readsOrder && !ReadKillOrder(database, log.Id, *digest, order, result.Error))
            return result;
        if (parts.KillOrder && store.TracksHolders)
            AddLogKillOrder(*digest, order, digest->HasHoldings, firstEntry, result.Logs.Order);
        if (store.TracksHolders) {
            MakeRoomForLog(store,
                           digest->HasHoldings ? digest->Holdings.size() : digest->Players.size(),
                           digest->HasHoldings ? digest->HoldingPairs.size() : digest->Pairs.size(),
                           i, logs->size(), parts);
            FileDigestHoldings(*digest, store, !parts.Chats, holdingsOf[i], playersOf[i],
                               parts.KillsForPersonsOnly);
            chatHoldingsOf[i] = digest->ChatHoldings;
            AddFiledLog(result, log, *digest, store.KillEvents.size());
            playerNames[i] = digest->Names();
            continue;
        }
        std::vector<std::string> earlier = EarlierNamesForCutNames(store, digest->CutNames);
        // A log imported with --no-archive has no lines to read again: its own digest is filed,
        // its cut names read as the log alone reads them.
        if (!earlier.empty()) {
            const auto keepsLines = KeepsAllLines(database, log.Id, result.Error);
            if (!keepsLines)
                return result;
            if (!*keepsLines)
                earlier.clear();
        }
        if (!earlier.empty()) {
            // The log's cut obituary names may stand for names of the logs before it: its lines
            // are read again, those names known, as one run over all the lines would read them.
            AnalysisStore again;
            const auto totals =
                AnalyzeStoredLog(database, log, std::move(earlier), again, result.Error);
            if (!totals)
                return result;
            LogDigest inContext = DigestOfStore(again, *totals);
            MakeRoomForLog(store, 0, inContext.Pairs.size(), i, logs->size(), parts);
            FileDigest(inContext, store, !parts.Chats, parts.Renames, parts.KillsForPersonsOnly);
            if (readsOrder)
                AddReadAgainKillOrder(again, inContext, order, firstEntry, result.Logs.Order);
            playerNames[i] = digest->Names();
            ++result.LogsReadAgain;
        } else {
            MakeRoomForLog(store, 0, digest->Pairs.size(), i, logs->size(), parts);
            FileDigest(*digest, store, !parts.Chats, parts.Renames, parts.KillsForPersonsOnly);
            if (readsOrder) // a log whose streaks are kept adds no order
                AddLogKillOrder(*digest, order, false, firstEntry, result.Logs.Order);
        }
        AddFiledLog(result, log, *digest, store.KillEvents.size());
        if (parts.KillOrder && parts.KillFiguresOnly &&
            !FileKillFigures(database, log, *digest, figuresKept, firstEntry, store, parts, result))
            return result;
        // A name of the log's own digest that the reading in context filed otherwise (a cut
        // obituary name) holds no chat: chats carry whole names. Such names stay unfiled.
        auto& here = playersOf[i];
        here.reserve(digest->Players.size());
        for (const PlayerRecord& player : digest->Players)
            here.push_back(store.FindPlayer(player.Name).value_or(0));
        previousDigest = std::move(digest);
        previousOrder = std::move(order);
    }
    filed();
    if (parts.Chats && parts.KeptChats) {
        parts.KeptChats->Validate(StatisticsRewrites(database, result.Error));
        if (!result.Error.empty())
            return result;
        parts.KeptChats->KeepOnly(result.Logs.Ids);
    }
    if (parts.Chats) {
        for (const ChatKind kind : {ChatKind::Voice, ChatKind::Text})
            for (std::size_t i = 0; i < logs->size(); ++i) {
                const auto& here = playersOf[i];
                // A chat of a name's later holding is listed with its holding.
                std::unordered_map<std::uint64_t, PlayerIndex> holdingOfChat;
                for (const DigestChatHolding& chat : chatHoldingsOf[i])
                    if (chat.Voice == (kind == ChatKind::Voice))
                        holdingOfChat.emplace(chat.Seq, holdingsOf[i][chat.Holding]);
                std::uint64_t seq = 0;
                const auto file = [&](const ChatRow& row) {
                    ++seq;
                    // Rows number a log's players from 1, in the digest's order.
                    PlayerIndex player =
                        row.Player >= 1 && row.Player <= here.size() ? here[row.Player - 1] : 0;
                    if (const auto held = holdingOfChat.find(seq); held != holdingOfChat.end())
                        player = held->second;
                    if (player == 0) // a damaged row, or a chat under an unfiled name
                        player = row.Player >= 1 && row.Player <= playerNames[i].size()
                                     ? store.FindOrAddNamedPlayer(playerNames[i][row.Player - 1])
                                     : store.FindOrAddPlayer("");
                    if (kind == ChatKind::Voice)
                        store.RecordVoiceChat(player, row.Message, row.Location, row.IsTeam);
                    else
                        store.RecordTextChat(player, row.Message, row.Location, row.IsTeam);
                };
                const bool read =
                    parts.KeptChats
                        ? parts.KeptChats->ForEachChat(database, (*logs)[i].Id, kind, file,
                                                       result.Error)
                        : ForEachChat(database, (*logs)[i].Id, kind, file, result.Error);
                if (!read)
                    return result;
                auto& ends =
                    kind == ChatKind::Voice ? result.Logs.VoiceChatsEnd : result.Logs.TextChatsEnd;
                ends.push_back(
                    (kind == ChatKind::Voice ? store.VoiceChats : store.TextChats).size());
            }
    }
    if (parts.UnknownLines)
        for (const LogEntry& log : *logs)
            if (!ForEachUnknownLine(
                    database, log.Id, [&](std::string_view line) { store.RecordUnknownLine(line); },
                    result.Error))
                return result;
    if (parts.PassingNames && !store.TracksHolders && !logs->empty() &&
        !FilePassingKeys(database, result.Logs.Ids, store, result.Error))
        return result;
    if (!logs->empty())
        result.DateText = logs->front().DateHeader;
    result.LogCount = logs->size();
    result.Ok = true;
    return result;
}

} // namespace qla::db
