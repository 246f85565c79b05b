// Reading and replacing the rows of player_aliases.
#include "db/alias_table.h"

#include "db/kept_persons.h"
#include "db/schema.h"

#include <QSqlQuery>
#include <QVariant>

#include <vector>

namespace qla::db {

std::optional<AliasList> ReadAliases(StatsDatabase& database, std::string& error) {
    if (StoredSchemaVersion(database.Connection()) < 3) // before player_aliases
        return AliasList{};
    QSqlQuery query(database.Connection());
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT kind, name, other FROM player_aliases ORDER BY seq"))) {
        error = database.Failure("cannot read the aliases of " + database.Path(), query);
        return std::nullopt;
    }
    std::vector<AliasEntry> entries;
    while (query.next()) {
        const QString kind = query.value(0).toString();
        entries.push_back(AliasEntry{
            kind == QLatin1String("split") ? AliasKind::Split : AliasKind::Join,
            query.value(1).toString().toStdString(), query.value(2).toString().toStdString()});
    }
    return AliasList(std::move(entries));
}

bool WriteAliases(StatsDatabase& database, const AliasList& aliases, std::string& error) {
    QSqlQuery query(database.Connection());
    if (!query.exec(QStringLiteral("DELETE FROM player_aliases"))) {
        error = database.Failure("cannot write the aliases of " + database.Path(), query);
        return false;
    }
    std::int64_t seq = 0;
    for (const AliasEntry& entry : aliases.Entries()) {
        query.prepare(QStringLiteral(
            "INSERT INTO player_aliases (seq, kind, name, other) VALUES (?, ?, ?, ?)"));
        query.addBindValue(QVariant::fromValue(++seq));
        query.addBindValue(entry.Kind == AliasKind::Split ? QStringLiteral("split")
                                                          : QStringLiteral("join"));
        query.addBindValue(QString::fromStdString(entry.Name));
        query.addBindValue(QString::fromStdString(entry.Other));
        if (!query.exec()) {
            error = database.Failure("cannot write the aliases of " + database.Path(), query);
            return false;
        }
    }
    return true;
}

std::string ChangeStoredAliases(const std::string& path,
                                const std::function<std::string(AliasList&)>& change,
                                AliasList& aliases) {
    std::string error;
    const auto database = StatsDatabase::Open(path, OpenMode::ReadWrite, error);
    if (!database || !database->BeginWrite(error))
        return error;
    auto stored = ReadAliases(*database, error);
    if (stored) {
        aliases = std::move(*stored);
        error = change(aliases);
    }
    if (error.empty() && WriteAliases(*database, aliases, error) && database->Commit(error))
        return KeepPersons(*database, error) ? std::string() : error;
    database->Rollback();
    return error;
}

} // namespace qla::db
