// The statistics rows of a log, written in one place.
#include "db/log_statistics.h"

#include "db/engine_dialect.h"
#include "db/kill_order_rows.h"
#include "db/public_tables.h"
#include "db/statistics_rows.h"

#include "analysis/merge_players.h"

#include <QSqlQuery>
#include <QVariant>

#include <exception>
#include <future>

namespace qla::db {
namespace {

QVariant Int(std::int64_t value) {
    return QVariant::fromValue<qlonglong>(value);
}

// The piece filed the log's earlier players first, so its record numbers are the players'
// places in the log.
bool WritePlayerRows(StatsDatabase& database, LogId id, const AnalysisStore& piece,
                     std::string& error) {
    QSqlQuery query(database.Connection());
    query.prepare(QStringLiteral(
        "INSERT INTO log_players (log_id, name, first_seen, kills, deaths, teamkills,"
        " voice_chats, text_chats) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"
        " ON CONFLICT (log_id, name) DO UPDATE SET"
        " kills = log_players.kills + excluded.kills,"
        " deaths = log_players.deaths + excluded.deaths,"
        " teamkills = log_players.teamkills + excluded.teamkills,"
        " voice_chats = log_players.voice_chats + excluded.voice_chats,"
        " text_chats = log_players.text_chats + excluded.text_chats"));
    for (std::size_t i = 1; i < piece.Players.size(); ++i) {
        const PlayerRecord& p = piece.Players[i];
        const std::int64_t values[] = {static_cast<std::int64_t>(i),
                                       p.Kills[0],
                                       p.Deaths[0],
                                       p.Teamkills,
                                       p.VoiceChatCount,
                                       p.TextChatCount};
        query.bindValue(0, Int(id));
        query.bindValue(1, ColumnText(p.Name));
        for (int v = 0; v < 6; ++v)
            query.bindValue(v + 2, Int(values[v]));
        if (!query.exec()) {
            error =
                database.Failure("cannot store the players of log " + std::to_string(id), query);
            return false;
        }
    }
    return true;
}

} // namespace

bool StoreLogStatistics(StatsDatabase& database, LogId id, LogDigest& digest, AnalysisStore& piece,
                        const AnalysisTotals& totals, std::string& error) {
    // The order of the kills goes on from the log's earlier lines; a piece whose holders are not
    // tracked (a log imported before they were kept) cannot say which holder killed.
    std::optional<KillOrderPiece> order;
    if (piece.TracksHolders) {
        order = StartKillOrderPiece(database, id, digest, piece, error);
        if (!order)
            return false;
    }
    // The holdings are kept apart; the rest is stored by name, as the classic outputs count.
    // The holdings are added to the digest on another thread while this one writes the text
    // rows, whose players it numbers by name without filing the piece by name yet: both only
    // read the piece.
    const RowsBefore before = RowsBeforeOf(digest);
    bool written = true;
    if (piece.TracksHolders) {
        const HoldersByName byName = GroupHoldersByName(piece);
        std::future<void> holdings = std::async(std::launch::async, [&] {
            AppendHoldings(digest, piece, order && order->Continues ? &order->Pairs : nullptr);
        });
        written = WriteTextRows(database, id, before, piece, error, byName.GroupOf);
        holdings.get();
        FileHoldersByName(piece, byName);
    } else {
        written = WriteTextRows(database, id, before, piece, error);
    }
    if (!written)
        return false;
    // The digest grows and its chains are worked out on another thread while this one writes
    // the other rows: both only read the piece, and the rows need nothing of the digest but
    // where they number on from. The rest of the digest's encoding is this thread's once the
    // rows are written, beside the chains: it waited for them idle before.
    EncodedDigest bytes;
    std::promise<void> appended;
    std::future<void> grown = appended.get_future();
    std::future<void> chains = std::async(std::launch::async, [&] {
        try {
            AppendPiece(digest, piece, totals);
        } catch (...) {
            appended.set_exception(std::current_exception());
            throw;
        }
        appended.set_value();
        EncodeDigestChainsToStore(digest, bytes);
    });
    written = WritePlayerRows(database, id, piece, error) &&
              WritePublicTables(database, id, before, piece, error) &&
              (!order || WriteKillOrderPiece(database, id, *order, error));
    grown.get();
    EncodeDigestHeadToStore(digest, bytes);
    chains.get();
    return written && WriteEncodedDigest(database, id, bytes, error);
}

} // namespace qla::db
