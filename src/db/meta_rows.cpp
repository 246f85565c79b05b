// qla_meta's rows in SQL.
#include "db/meta_rows.h"

#include <QSqlQuery>
#include <QVariant>

namespace qla::db {

std::optional<std::string> ReadMetaValue(StatsDatabase& database, const char* name,
                                         std::string& error) {
    QSqlQuery query(database.Connection());
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT value FROM qla_meta WHERE name = ?"));
    query.addBindValue(QString::fromLatin1(name));
    if (!query.exec()) {
        error = database.Failure("cannot read the database " + database.Path(), query);
        return std::nullopt;
    }
    if (!query.next())
        return std::nullopt;
    return query.value(0).toString().toStdString();
}

bool WriteMetaValue(StatsDatabase& database, const char* name, const std::string& value,
                    std::string& error) {
    QSqlQuery query(database.Connection());
    query.prepare(QStringLiteral("DELETE FROM qla_meta WHERE name = ?"));
    query.addBindValue(QString::fromLatin1(name));
    if (query.exec()) {
        query.prepare(QStringLiteral("INSERT INTO qla_meta (name, value) VALUES (?, ?)"));
        query.addBindValue(QString::fromLatin1(name));
        query.addBindValue(QString::fromStdString(value));
        if (query.exec())
            return true;
    }
    error = database.Failure("cannot write to the database " + database.Path(), query);
    return false;
}

} // namespace qla::db
