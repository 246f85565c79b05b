// Reading and changing the rows of hidden_players.
#include "db/hidden_table.h"

#include "core/names.h"
#include "db/schema.h"

#include <QSqlQuery>
#include <QVariant>

namespace qla::db {

namespace {

constexpr const char* kTable = "hidden_players";

} // namespace

std::optional<std::vector<std::string>> ReadHiddenKeys(StatsDatabase& database,
                                                       std::string& error) {
    // A database from before version 8 has none.
    if (!database.Connection().tables(QSql::Tables).contains(QString::fromLatin1(kTable)))
        return std::vector<std::string>{};
    QSqlQuery query(database.Connection());
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT name_key FROM hidden_players ORDER BY name_key"))) {
        error = database.Failure("cannot read the hidden players of " + database.Path(), query);
        return std::nullopt;
    }
    std::vector<std::string> keys;
    while (query.next())
        keys.push_back(query.value(0).toString().toStdString());
    return keys;
}

bool ChangeHiddenKeys(StatsDatabase& database, const std::vector<std::string>& names, bool hide,
                      std::string& error) {
    QSqlQuery query(database.Connection());
    if (!query.exec(QString::fromLatin1(kHiddenPlayersTable))) {
        error = database.Failure("cannot change the hidden players of " + database.Path(), query);
        return false;
    }
    for (const std::string& name : names) {
        const QString key = QString::fromStdString(IdentityKey(name));
        if (hide) {
            query.prepare(
                QStringLiteral("INSERT INTO hidden_players (name_key) SELECT ? WHERE NOT "
                               "EXISTS (SELECT 1 FROM hidden_players WHERE name_key = ?)"));
            query.addBindValue(key);
            query.addBindValue(key);
        } else {
            query.prepare(QStringLiteral("DELETE FROM hidden_players WHERE name_key = ?"));
            query.addBindValue(key);
        }
        if (!query.exec()) {
            error =
                database.Failure("cannot change the hidden players of " + database.Path(), query);
            return false;
        }
    }
    return true;
}

} // namespace qla::db
