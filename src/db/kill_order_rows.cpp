// The order's rows in SQL: the kills of one import as unsigned LEB128 numbers behind a format
// number, each kill its pair's place + 1, a session's beginning a 0 before its first kill.
#include "db/kill_order_rows.h"

#include "db/digest_bytes.h"
#include "db/schema.h"

#include <QByteArray>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>

namespace qla::db {
namespace {

constexpr std::uint64_t kOrderFormat = 1;
constexpr std::uint64_t kSessionMark = 0;

QVariant Int(std::int64_t value) {
    return QVariant::fromValue<qlonglong>(value);
}

std::string Encode(const KillOrderPiece& piece) {
    Writer out;
    out.Number(kOrderFormat);
    auto session = piece.SessionStarts.begin();
    for (std::size_t k = 0; k < piece.Pairs.size(); ++k) {
        if (session != piece.SessionStarts.end() && *session == k) {
            out.Number(kSessionMark);
            ++session;
        }
        out.Number(std::uint64_t{piece.Pairs[k]} + 1);
    }
    return out.Take();
}

// Appends one row's kills to `order`; false when the bytes are not `kills` kills of this format.
bool Decode(std::string_view bytes, std::uint64_t kills, StoredKillOrder& order) {
    Reader in(bytes);
    if (in.Number() != kOrderFormat || !in.Ok())
        return false;
    const std::size_t first = order.Pairs.size();
    while (!in.AtEnd()) {
        const std::uint64_t value = in.Number();
        if (!in.Ok() || value > UINT32_MAX)
            return false;
        if (value == kSessionMark)
            order.SessionStarts.push_back(order.Pairs.size());
        else
            order.Pairs.push_back(static_cast<std::uint32_t>(value - 1));
    }
    return order.Pairs.size() - first == kills;
}

// The session a log's lines begin in, as its stored holdings number them: the latest of theirs.
std::int64_t LatestHoldingSession(const LogDigest& digest) {
    std::int64_t latest = 0;
    for (const DigestHolding& holding : digest.Holdings)
        latest = std::max<std::int64_t>(latest, holding.Holding.Session);
    return latest;
}

} // namespace

std::optional<KillOrderPiece> StartKillOrderPiece(StatsDatabase& database, LogId id,
                                                  const LogDigest& before,
                                                  const AnalysisStore& piece, std::string& error) {
    KillOrderPiece order;
    QSqlQuery query(database.Connection());
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT seq, first_kill, kills, end_session, last_session"
                                 " FROM log_kill_orders WHERE log_id = ? ORDER BY seq DESC"));
    query.addBindValue(Int(id));
    if (!query.exec()) {
        error = database.Failure("cannot read the kills of log " + std::to_string(id), query);
        return std::nullopt;
    }
    std::uint64_t covered = 0;
    const std::int64_t piecesFirst = LatestHoldingSession(before);
    std::int64_t endSession = piecesFirst;
    if (query.next()) {
        order.Seq = query.value(0).toLongLong() + 1;
        covered = static_cast<std::uint64_t>(query.value(1).toLongLong() - 1 +
                                             query.value(2).toLongLong());
        endSession = query.value(3).toLongLong();
        order.LastKillSession = query.value(4).toLongLong();
    }
    query.finish();
    order.Continues = covered == before.EventCount;
    order.FirstKill = before.EventCount + 1;
    // The piece numbered its sessions on from its known holdings' latest; the lines before it
    // may have begun a later one that nobody was named in yet.
    const std::int64_t behind = std::max<std::int64_t>(0, endSession - piecesFirst);
    for (std::size_t at = 1; at < piece.KillEvents.size(); ++at) {
        const KillEvent& event = piece.KillEvents[at];
        const std::int64_t session =
            static_cast<std::int64_t>(
                piece.Holdings[static_cast<std::size_t>(event.Killer)].Session) +
            behind;
        if (order.LastKillSession >= 0 && session != order.LastKillSession)
            order.SessionStarts.push_back(at - 1);
        order.LastKillSession = session;
    }
    order.EndSession = static_cast<std::int64_t>(piece.SessionCount()) - 1 + behind;
    return order;
}

bool WriteKillOrderPiece(StatsDatabase& database, LogId id, const KillOrderPiece& piece,
                         std::string& error) {
    if (!piece.Continues)
        return true;
    const std::string bytes = Encode(piece);
    QSqlQuery query(database.Connection());
    query.prepare(QStringLiteral(
        "INSERT INTO log_kill_orders (log_id, seq, first_kill, kills, end_session, last_session,"
        " kill_order) VALUES (?, ?, ?, ?, ?, ?, ?)"));
    for (const std::int64_t value :
         {id, piece.Seq, static_cast<std::int64_t>(piece.FirstKill),
          static_cast<std::int64_t>(piece.Pairs.size()), piece.EndSession, piece.LastKillSession})
        query.addBindValue(Int(value));
    query.addBindValue(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (!query.exec()) {
        error = database.Failure("cannot store the kills of log " + std::to_string(id), query);
        return false;
    }
    return true;
}

bool ReadKillOrder(StatsDatabase& database, LogId id, const LogDigest& digest,
                   std::optional<StoredKillOrder>& order, std::string& error) {
    order.reset();
    if (database.StoredVersion() < kKillOrderVersion)
        return true;
    QSqlQuery query(database.Connection());
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT first_kill, kills, kill_order FROM log_kill_orders"
                                 " WHERE log_id = ? ORDER BY seq"));
    query.addBindValue(Int(id));
    if (!query.exec()) {
        error = database.Failure("cannot read the kills of log " + std::to_string(id), query);
        return false;
    }
    StoredKillOrder read;
    bool whole = true;
    while (query.next() && whole) {
        const auto first = static_cast<std::uint64_t>(query.value(0).toLongLong());
        const auto kills = static_cast<std::uint64_t>(query.value(1).toLongLong());
        const QByteArray bytes = query.value(2).toByteArray();
        // Each row goes on where the one before it stopped.
        whole = first == read.Pairs.size() + 1 &&
                Decode({bytes.constData(), static_cast<std::size_t>(bytes.size())}, kills, read);
    }
    query.finish();
    if (!whole || read.Pairs.size() != digest.EventCount)
        return true;
    // Each pair is counted as often as its kills: the order belongs to these statistics.
    std::vector<std::uint64_t> counted(digest.HoldingPairs.size(), 0);
    for (const std::uint32_t pair : read.Pairs) {
        if (pair >= counted.size())
            return true;
        ++counted[pair];
    }
    for (std::size_t p = 0; p < counted.size(); ++p)
        if (counted[p] != digest.HoldingPairs[p].Count)
            return true;
    order = std::move(read);
    return true;
}

} // namespace qla::db
