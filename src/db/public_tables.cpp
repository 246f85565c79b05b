// The per-log weapon and encounter rows. A new log's rows are written as multi-row inserts; a
// growing log's rows are added to the ones its earlier imports wrote, row by row (upserts).
#include "db/public_tables.h"

#include "db/engine_dialect.h"
#include "db/row_batch.h"

#include "core/key_index.h"
#include "core/weapons.h"

#include <QSqlQuery>
#include <QVariant>

#include <algorithm>
#include <utility>
#include <vector>

namespace qla::db {
namespace {

QVariant Int(std::int64_t value) {
    return QVariant::fromValue<qlonglong>(value);
}

// One row of either table: its key columns after log_id, then its counts.
struct PublicRow {
    std::int64_t First = 0, Second = 0;
    std::int64_t Count1 = 0, Count2 = 0;
};

std::vector<PublicRow> WeaponRows(const AnalysisStore& piece) {
    std::vector<PublicRow> rows;
    for (const PlayerIndex player : piece.PlayerIndexes()) {
        const PlayerRecord& record = piece.Players[static_cast<std::size_t>(player)];
        for (WeaponId weapon = 1; weapon < kDeathSlots; ++weapon) {
            const std::int64_t kills =
                weapon < kKillSlots ? record.Kills[static_cast<std::size_t>(weapon)] : 0;
            const std::int64_t deaths = record.Deaths[static_cast<std::size_t>(weapon)];
            if (kills != 0 || deaths != 0)
                rows.push_back({player, weapon, kills, deaths});
        }
    }
    return rows;
}

// Kills and teamkills by killer and victim, in that order. Counted in a hash table and sorted
// once: a log has hundreds of thousands of kill events but only thousands of pairs.
std::vector<PublicRow> EncounterRows(const AnalysisStore& piece) {
    KeyIndex rowOf(piece.KillEvents.size() / 4);
    std::vector<PublicRow> rows;
    const auto keyOf = [&](std::size_t position) {
        const KillEvent& event = piece.KillEvents[position];
        return (static_cast<std::uint64_t>(event.Killer) << 32) |
               static_cast<std::uint32_t>(event.Victim);
    };
    for (const std::size_t position : EntryIndexes(piece.KillEvents)) {
        PrefetchAhead(rowOf, position, piece.KillEvents.size(), keyOf);
        const KillEvent& event = piece.KillEvents[position];
        const auto [at, isNew] =
            rowOf.TryEmplace(keyOf(position), static_cast<std::uint32_t>(rows.size()));
        if (isNew)
            rows.push_back({event.Killer, event.Victim, 0, 0});
        PublicRow& row = rows[at];
        (event.WeaponText == kEventTeamkill ? row.Count2 : row.Count1) +=
            piece.KillEventCount(position);
    }
    // By killer, then victim: two stable counting passes, by victim and then by killer (a
    // comparison sort of a log's hundred thousand pairs took a tenth of writing them).
    const std::size_t players = piece.Players.size();
    const auto byColumn = [players](const std::vector<PublicRow>& from,
                                    std::int64_t PublicRow::*column) {
        std::vector<std::size_t> next(players + 1, 0);
        for (const PublicRow& row : from)
            ++next[static_cast<std::size_t>(row.*column) + 1];
        for (std::size_t p = 1; p < next.size(); ++p)
            next[p] += next[p - 1];
        std::vector<PublicRow> to(from.size());
        for (const PublicRow& row : from)
            to[next[static_cast<std::size_t>(row.*column)]++] = row;
        return to;
    };
    return byColumn(byColumn(rows, &PublicRow::Second), &PublicRow::First);
}

struct PublicTable {
    const char* Name;
    const char* Key;     // the columns after log_id that name a row
    const char* Counts;  // the two count columns
    bool WithWeaponName; // log_player_weapons also holds the weapon's display name
};

constexpr PublicTable kWeapons{"log_player_weapons", "player, weapon", "kills, deaths", true};
constexpr PublicTable kEncounters{"log_encounters", "killer, victim", "kills, teamkills", false};

QVariant WeaponName(std::int64_t weapon) {
    return ColumnText(std::string(WeaponDisplayName(static_cast<WeaponId>(weapon))));
}

bool InsertRows(StatsDatabase& database, LogId id, const PublicTable& table,
                const std::vector<PublicRow>& rows, const std::string& what, std::string& error) {
    const std::string columns = std::string("log_id, ") + table.Key + ", " + table.Counts +
                                (table.WithWeaponName ? ", weapon_name" : "");
    // Each weapon's name as the column holds it, made once rather than once per row.
    std::vector<std::string> names;
    if (table.WithWeaponName)
        for (WeaponId weapon = 0; weapon < kDeathSlots; ++weapon)
            names.push_back(WeaponName(weapon).toString().toStdString());
    RowBatch batch(database, table.Name, columns.c_str(), table.WithWeaponName ? 6 : 5, what);
    for (const PublicRow& row : rows) {
        const bool added =
            batch.Add(id) && batch.Add(row.First) && batch.Add(row.Second) &&
            batch.Add(row.Count1) && batch.Add(row.Count2) &&
            (!table.WithWeaponName || batch.AddText(names[static_cast<std::size_t>(row.Second)]));
        if (!added) {
            error = batch.Error();
            return false;
        }
    }
    if (!batch.Flush()) {
        error = batch.Error();
        return false;
    }
    return true;
}

// The counts are added to a row the log's earlier lines already gave.
bool UpsertRows(StatsDatabase& database, LogId id, const PublicTable& table,
                const std::vector<PublicRow>& rows, const std::string& what, std::string& error) {
    const QString name = QString::fromLatin1(table.Name);
    const QStringList counts = QString::fromLatin1(table.Counts).split(QStringLiteral(", "));
    QString sql = QStringLiteral("INSERT INTO %1 (log_id, %2, %3%4) VALUES (?, ?, ?, ?, ?%5)"
                                 " ON CONFLICT (log_id, %2) DO UPDATE SET")
                      .arg(name, QString::fromLatin1(table.Key), QString::fromLatin1(table.Counts),
                           table.WithWeaponName ? QStringLiteral(", weapon_name") : QString(),
                           table.WithWeaponName ? QStringLiteral(", ?") : QString());
    for (const QString& count : counts)
        sql += QStringLiteral(" %1 = %2.%1 + excluded.%1,").arg(count, name);
    sql.chop(1);
    QSqlQuery query(database.Connection());
    if (!query.prepare(sql)) {
        error = database.Failure(what, query);
        return false;
    }
    for (const PublicRow& row : rows) {
        query.bindValue(0, Int(id));
        query.bindValue(1, Int(row.First));
        query.bindValue(2, Int(row.Second));
        query.bindValue(3, Int(row.Count1));
        query.bindValue(4, Int(row.Count2));
        if (table.WithWeaponName)
            query.bindValue(5, WeaponName(row.Second));
        if (!query.exec()) {
            error = database.Failure(what, query);
            return false;
        }
    }
    return true;
}

} // namespace

bool WritePublicTables(StatsDatabase& database, LogId id, const RowsBefore& before,
                       const AnalysisStore& piece, std::string& error) {
    const std::string what = "cannot store the weapons and opponents of log " + std::to_string(id);
    // Every row names a player, so a log without players before has no rows yet.
    const auto write = before.HadPlayers ? UpsertRows : InsertRows;
    return write(database, id, kWeapons, WeaponRows(piece), what, error) &&
           write(database, id, kEncounters, EncounterRows(piece), what, error);
}

} // namespace qla::db
