// Packing, unpacking and reading the names' uses of a log.
#include "db/log_name_uses.h"

#include "db/digest_bytes.h"
#include "db/statistics_rows.h"
#include "db/store_from_statistics.h"

#include <QByteArray>
#include <QSqlQuery>
#include <QVariant>

namespace qla::db {

std::string EncodeNameUses(const std::vector<NameKeyUse>& uses) {
    Writer out;
    out.Number(uses.size());
    for (const NameKeyUse& use : uses) {
        out.Text(use.Key);
        out.Number(static_cast<std::uint64_t>(use.Chains));
        out.Number(static_cast<std::uint64_t>(use.MostPlayed));
    }
    return out.Take();
}

std::optional<std::vector<NameKeyUse>> DecodeNameUses(std::string_view bytes) {
    Reader in(bytes);
    std::vector<NameKeyUse> uses(in.Count(3));
    for (NameKeyUse& use : uses) {
        use.Key = in.Text();
        const std::uint64_t chains = in.Number(), mostPlayed = in.Number();
        if (chains > static_cast<std::uint64_t>(INT32_MAX) || mostPlayed > chains)
            return std::nullopt;
        use.Chains = static_cast<int>(chains);
        use.MostPlayed = static_cast<int>(mostPlayed);
    }
    if (!in.Ok() || !in.AtEnd())
        return std::nullopt;
    return uses;
}

std::optional<std::vector<NameKeyUse>> ReadNameUses(StatsDatabase& database, LogId id,
                                                    std::string& error) {
    error.clear();
    if (!database.HasColumn("log_chains", "name_uses"))
        return std::nullopt;
    QSqlQuery query(database.Connection());
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT name_uses FROM log_chains WHERE log_id = ?"));
    query.addBindValue(QVariant::fromValue<qlonglong>(id));
    if (!query.exec()) {
        error = database.Failure("cannot read the statistics of log " + std::to_string(id), query);
        return std::nullopt;
    }
    if (!query.next() || query.value(0).isNull())
        return std::nullopt;
    const QByteArray bytes = query.value(0).toByteArray();
    auto uses = DecodeNameUses(std::string_view(bytes.constData(), bytes.size()));
    if (!uses)
        error = "the database " + database.Path() + " is damaged: the names' uses of log " +
                std::to_string(id) + " cannot be read";
    return uses;
}

namespace {

// The uses worked out from the log's stored digest and chains.
std::optional<std::vector<NameKeyUse>> NameUsesOfChains(StatsDatabase& database, LogId id,
                                                        std::string& error) {
    const auto digest =
        ReadDigest(database, id, error,
                   {.Encounters = false, .Holdings = false, .Renames = false, .Pairs = false});
    const auto chains =
        digest ? ReadChains(database, id, digest->Players.size(), false, error) : std::nullopt;
    if (!chains)
        return std::nullopt;
    return NameUsesOfLog(*digest, *chains);
}

} // namespace

std::optional<std::vector<NameKeyUse>> NameUsesOfStoredLog(StatsDatabase& database, LogId id,
                                                           std::string& error) {
    if (auto stored = ReadNameUses(database, id, error))
        return stored;
    if (!error.empty())
        return std::nullopt;
    return NameUsesOfChains(database, id, error);
}

bool FillNameUses(StatsDatabase& database, std::string& error) {
    if (!database.HasColumn("log_chains", "name_uses"))
        return true;
    std::vector<LogId> ids;
    {
        QSqlQuery query(database.Connection());
        query.setForwardOnly(true);
        if (!query.exec(QStringLiteral(
                "SELECT log_id FROM log_chains WHERE name_uses IS NULL ORDER BY log_id"))) {
            error = database.Failure("cannot read the statistics of " + database.Path(), query);
            return false;
        }
        while (query.next())
            ids.push_back(query.value(0).toLongLong());
    }
    QSqlQuery update(database.Connection());
    for (const LogId id : ids) {
        const auto worked = NameUsesOfChains(database, id, error);
        if (!worked)
            return false;
        const std::string uses = EncodeNameUses(*worked);
        update.prepare(QStringLiteral("UPDATE log_chains SET name_uses = ? WHERE log_id = ?"));
        update.addBindValue(QByteArray(uses.data(), static_cast<qsizetype>(uses.size())));
        update.addBindValue(QVariant::fromValue<qlonglong>(id));
        if (!update.exec()) {
            error = database.Failure("cannot store the statistics of log " + std::to_string(id),
                                     update);
            return false;
        }
    }
    return true;
}

} // namespace qla::db
