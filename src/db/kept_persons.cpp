// Keeping and reading the merge of the whole history.
#include "db/kept_persons.h"

#include "core/file_identity.h"
#include "db/alias_table.h"
#include "db/digest_bytes.h"
#include "db/digest_packing.h"
#include "db/log_catalog.h"
#include "db/schema.h"
#include "db/stats_database.h"
#include "db/store_from_statistics.h"
#include "db/transaction.h"

#include <QByteArray>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>

namespace qla::db {
namespace {

QByteArray Bytes(const std::string& bytes) {
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string_view View(const QByteArray& bytes) {
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

// The aliases a merge was made with, exactly.
std::string EncodeAliases(const AliasList& aliases) {
    Writer out;
    out.Number(aliases.Entries().size());
    for (const AliasEntry& entry : aliases.Entries()) {
        out.Number(entry.Kind == AliasKind::Join ? 0 : 1);
        out.Text(entry.Name);
        out.Text(entry.Other);
    }
    return out.Take();
}

// The lookups in name order, so that one merge always gives the same bytes.
std::string EncodeNames(MergedNames::Parts parts) {
    std::sort(parts.RecordOf.begin(), parts.RecordOf.end());
    std::sort(parts.RecordOfKey.begin(), parts.RecordOfKey.end());
    Writer out;
    for (const auto* records : {&parts.RecordOf, &parts.RecordOfKey}) {
        out.Number(records->size());
        for (const auto& [name, record] : *records) {
            out.Text(name);
            out.Number(static_cast<std::uint64_t>(record));
        }
    }
    out.Number(parts.Names.size());
    for (const std::vector<std::string>& names : parts.Names) {
        out.Number(names.size());
        for (const std::string& name : names)
            out.Text(name);
    }
    return out.Take();
}

std::optional<MergedNames::Parts> DecodeNames(std::string_view bytes, std::size_t persons) {
    Reader in(bytes);
    MergedNames::Parts parts;
    for (auto* records : {&parts.RecordOf, &parts.RecordOfKey}) {
        const std::size_t count = in.Count(2);
        records->reserve(count);
        for (std::size_t k = 0; k < count && in.Ok(); ++k) {
            std::string name(in.View());
            const std::uint64_t record = in.Number();
            if (record == 0 || record > persons)
                return std::nullopt;
            records->emplace_back(std::move(name), static_cast<PlayerIndex>(record));
        }
    }
    const std::size_t lists = in.Count(1);
    if (lists != persons + 1)
        return std::nullopt;
    parts.Names.resize(lists);
    for (std::vector<std::string>& names : parts.Names) {
        const std::size_t count = in.Count(1);
        for (std::size_t k = 0; k < count && in.Ok(); ++k)
            names.emplace_back(in.View());
    }
    if (!in.Ok() || !in.AtEnd())
        return std::nullopt;
    return parts;
}

// The kept row's aliases; nullopt when none is kept.
std::optional<std::string> KeptAliases(StatsDatabase& database, std::string& error) {
    QSqlQuery query(database.Connection());
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT aliases FROM kept_persons"))) {
        error = database.Failure("cannot read the kept persons of " + database.Path(), query);
        return std::nullopt;
    }
    if (!query.next())
        return std::nullopt;
    return std::string(View(query.value(0).toByteArray()));
}

// The row that keeps the persons of every log merged with `aliases`, as a reader of the names and
// counts with --merge-players merges them.
struct KeptRow {
    std::string Aliases, Players, Names;
};
std::optional<KeptRow> MergedRow(StatsDatabase& database, const AliasList& aliases,
                                 std::string& error) {
    AnalysisStore store;
    store.TracksHolders = true;
    StoreParts parts = CountersOnly();
    parts.Kills = true; // merging weighs a record's kills of itself and those of one key
    parts.KillsForPersonsOnly = true;
    parts.Chains = !aliases.HasSplit(); // as PlayerMerging::ReadsChains
    const DatabaseStoreResult read = BuildStoreInTransaction(database, {}, store, parts);
    if (!read.Ok) {
        error = read.Error;
        return std::nullopt;
    }
    const MergedNames names = MergePlayers(store, aliases);
    LogDigest sums;
    sums.Totals = read.Totals;
    sums.Players.assign(store.Players.begin() + 1, store.Players.end());
    return KeptRow{EncodeAliases(aliases), EncodeStoredDigest(sums).Head,
                   EncodeNames(names.ToParts())};
}

bool MergeAndKeep(StatsDatabase& database, const AliasList& aliases, std::string& error) {
    const auto row = MergedRow(database, aliases, error);
    if (!row)
        return false;
    QSqlQuery query(database.Connection());
    if (!query.exec(QStringLiteral("DELETE FROM kept_persons"))) {
        error = database.Failure("cannot keep the persons of " + database.Path(), query);
        return false;
    }
    query.prepare(
        QStringLiteral("INSERT INTO kept_persons (aliases, players, names) VALUES (?, ?, ?)"));
    query.addBindValue(Bytes(row->Aliases));
    query.addBindValue(Bytes(row->Players));
    query.addBindValue(Bytes(row->Names));
    if (!query.exec()) {
        error = database.Failure("cannot keep the persons of " + database.Path(), query);
        return false;
    }
    return true;
}

} // namespace

bool ForgetKeptPersons(StatsDatabase& database, std::string& error) {
    if (database.StoredVersion() < kKeptPersonsVersion)
        return true;
    QSqlQuery query(database.Connection());
    if (!query.exec(QStringLiteral("DELETE FROM kept_persons"))) {
        error = database.Failure("cannot store the statistics", query);
        return false;
    }
    return true;
}

bool KeepPersons(StatsDatabase& database, std::string& error) {
    if (database.StoredVersion() < kKeptPersonsVersion)
        return true;
    Transaction unit(database, Transaction::Kind::Write, error);
    if (!unit.Open())
        return false;
    const auto logs = ListLogs(database, error);
    const auto aliases = logs ? ReadAliases(database, error) : std::nullopt;
    if (!aliases)
        return false;
    if (logs->empty())
        return true;
    const std::optional<std::string> kept = KeptAliases(database, error);
    if (!error.empty())
        return false;
    if (kept && *kept == EncodeAliases(*aliases))
        return true;
    return MergeAndKeep(database, *aliases, error) && unit.Commit(error);
}

std::optional<MergedNames> ReadKeptPersons(StatsDatabase& database, const AliasList& aliases,
                                           AnalysisStore& store, DatabaseStoreResult& result) {
    if (database.StoredVersion() < kKeptPersonsVersion)
        return std::nullopt;
    QSqlQuery query(database.Connection());
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT aliases, players, names FROM kept_persons"))) {
        result.Error =
            database.Failure("cannot read the kept persons of " + database.Path(), query);
        return std::nullopt;
    }
    if (!query.next() || View(query.value(0).toByteArray()) != EncodeAliases(aliases))
        return std::nullopt;
    const QByteArray players = query.value(1).toByteArray();
    const auto sums = DecodeDigestHead(View(players));
    const auto parts =
        sums ? DecodeNames(View(query.value(2).toByteArray()), sums->Players.size()) : std::nullopt;
    if (!parts) {
        result.Error =
            "the database " + database.Path() + " is damaged: its kept persons cannot be read";
        return std::nullopt;
    }
    const auto logs = SelectLogs(database, {}, result.Error);
    if (!logs)
        return std::nullopt;
    store.Reset();
    store.LogLines = LogLineList();
    store.LogFileLoaded = true;
    store.LogFileIdentity = IdentityOfFile(database.Path());
    // One record per person, named as the merge named them (equal names stay apart).
    std::vector<std::string> shown(1);
    std::vector<PlayerIndex> groupOf(1, 0);
    for (const PlayerRecord& person : sums->Players) {
        store.Players.push_back(person);
        groupOf.push_back(static_cast<PlayerIndex>(shown.size()));
        shown.push_back(person.Name);
    }
    store.MergePlayers(groupOf, shown);
    result.Totals = sums->Totals;
    for (const LogEntry& log : *logs)
        result.Logs.Add(log, 0);
    if (!logs->empty())
        result.DateText = logs->front().DateHeader;
    result.LogCount = logs->size();
    result.Ok = true;
    return MergedNames::FromParts(std::move(*parts));
}

std::optional<bool> KeptPersonsAreCurrent(StatsDatabase& database, std::string& error) {
    if (database.StoredVersion() < kKeptPersonsVersion)
        return true;
    const auto aliases = ReadAliases(database, error);
    if (!aliases)
        return std::nullopt;
    QSqlQuery query(database.Connection());
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT aliases, players, names FROM kept_persons"))) {
        error = database.Failure("cannot read the kept persons of " + database.Path(), query);
        return std::nullopt;
    }
    // None kept, or kept for other aliases (unread until a writer keeps them anew).
    if (!query.next() || View(query.value(0).toByteArray()) != EncodeAliases(*aliases))
        return true;
    const std::string players(View(query.value(1).toByteArray()));
    const std::string names(View(query.value(2).toByteArray()));
    query.finish();
    const auto fresh = MergedRow(database, *aliases, error);
    if (!fresh)
        return std::nullopt;
    return fresh->Players == players && fresh->Names == names;
}

} // namespace qla::db
