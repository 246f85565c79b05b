// The count of rewritten statistics in qla_meta.
#include "db/statistics_rewrites.h"

#include <QSqlQuery>
#include <QVariant>

namespace qla::db {

std::optional<std::int64_t> StatisticsRewrites(StatsDatabase& database, std::string& error) {
    QSqlQuery query(database.Connection());
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT value FROM qla_meta WHERE name = ?"));
    query.addBindValue(QString::fromLatin1(kStatisticsRewritesRow));
    if (!query.exec()) {
        error = database.Failure("cannot read the database " + database.Path(), query);
        return std::nullopt;
    }
    if (!query.next())
        return std::nullopt;
    bool number = false;
    const qlonglong count = query.value(0).toString().toLongLong(&number);
    return number ? std::optional<std::int64_t>(count) : std::nullopt;
}

bool CountStatisticsRewrite(StatsDatabase& database, std::string& error) {
    const auto count = StatisticsRewrites(database, error);
    if (!error.empty())
        return false;
    QSqlQuery query(database.Connection());
    // A database whose row is missing or unreadable gets it back, counting on from 1.
    query.prepare(QStringLiteral("DELETE FROM qla_meta WHERE name = ?"));
    query.addBindValue(QString::fromLatin1(kStatisticsRewritesRow));
    if (query.exec()) {
        query.prepare(QStringLiteral("INSERT INTO qla_meta (name, value) VALUES (?, ?)"));
        query.addBindValue(QString::fromLatin1(kStatisticsRewritesRow));
        query.addBindValue(QString::number(count.value_or(0) + 1));
        if (query.exec())
            return true;
    }
    error = database.Failure("cannot count the rewritten statistics", query);
    return false;
}

} // namespace qla::db
