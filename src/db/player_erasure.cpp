// The erase as one unit: the names checked, the pseudonym chosen, every log rewritten, the
// aliases and hidden players changed, then one commit; any failure leaves the database as it was.
#include "db/player_erasure.h"

#include "core/names.h"
#include "db/alias_table.h"
#include "db/chunk_reader.h"
#include "db/erased_log_rewrite.h"
#include "db/erased_table.h"
#include "db/hidden_table.h"
#include "db/kept_persons.h"
#include "db/transaction.h"

#include <QSqlQuery>

#include <algorithm>
#include <set>

namespace qla::db {

namespace {

// The identity keys of every name the database holds: its logs' players, its aliases and its
// hidden players. Nullopt with the reason in `error`.
std::optional<std::set<std::string>> HeldKeys(StatsDatabase& database, const AliasList& aliases,
                                              std::string& error) {
    QSqlQuery query(database.Connection());
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT DISTINCT name FROM log_players"))) {
        error = database.Failure("cannot read the players of " + database.Path(), query);
        return std::nullopt;
    }
    std::set<std::string> keys;
    while (query.next())
        keys.insert(IdentityKey(query.value(0).toString().toStdString()));
    for (const AliasEntry& entry : aliases.Entries()) {
        keys.insert(IdentityKey(entry.Name));
        if (!entry.Other.empty())
            keys.insert(IdentityKey(entry.Other));
    }
    const auto hidden = ReadHiddenKeys(database, error);
    if (!hidden)
        return std::nullopt;
    keys.insert(hidden->begin(), hidden->end());
    return keys;
}

// The first "erased player N" after those in use whose key no name of the database has.
std::string ChoosePseudonym(const ErasedNames& erased, const std::set<std::string>& held) {
    std::int64_t number = 1;
    for (const ErasedName& name : erased.Names())
        number = std::max(number, PseudonymNumber(name.Pseudonym) + 1);
    while (held.contains(IdentityKey(PseudonymText(number))))
        ++number;
    return PseudonymText(number);
}

// The aliases with each erased name in its pseudonym's place; a join of a name with itself goes.
AliasList PseudonymisedAliases(const AliasList& aliases, const ErasedNames& names) {
    const auto replaced = [&](const std::string& name) {
        const std::string* pseudonym = names.PseudonymOfKey(IdentityKey(name));
        return pseudonym != nullptr ? *pseudonym : name;
    };
    std::vector<AliasEntry> entries;
    for (AliasEntry entry : aliases.Entries()) {
        entry.Name = replaced(entry.Name);
        if (!entry.Other.empty())
            entry.Other = replaced(entry.Other);
        const bool self =
            entry.Kind == AliasKind::Join && IdentityKey(entry.Name) == IdentityKey(entry.Other);
        if (!self && std::ranges::find(entries, entry) == entries.end())
            entries.push_back(std::move(entry));
    }
    return AliasList(std::move(entries));
}

// The aliases and hidden players that name him, changed to his pseudonym.
bool ChangeSettings(StatsDatabase& database, const AliasList& aliases, const ErasedNames& names,
                    const std::vector<std::string>& keys, const std::string& pseudonym,
                    ErasureResult& result) {
    const AliasList changed = PseudonymisedAliases(aliases, names);
    result.AliasesChanged = changed.Entries() != aliases.Entries();
    if (result.AliasesChanged && !WriteAliases(database, changed, result.Error))
        return false;
    const auto hidden = ReadHiddenKeys(database, result.Error);
    if (!hidden)
        return false;
    std::vector<std::string> shown;
    for (const std::string& key : keys)
        if (std::ranges::find(*hidden, key) != hidden->end())
            shown.push_back(key);
    result.HiddenChanged = !shown.empty();
    return shown.empty() || (ChangeHiddenKeys(database, shown, false, result.Error) &&
                             ChangeHiddenKeys(database, {pseudonym}, true, result.Error));
}

std::string LogList(const std::vector<LogId>& logs) {
    std::string text;
    for (const LogId log : logs)
        text += (text.empty() ? "" : ", ") + std::to_string(log);
    return text;
}

} // namespace

ErasureResult ErasePlayers(StatsDatabase& database, const std::vector<std::string>& names) {
    ErasureResult result;
    Transaction unit(database, Transaction::Kind::Write, result.Error);
    if (!unit.Open())
        return result;
    const auto before = ReadErasedNames(database, result.Error);
    const auto aliases = before ? ReadAliases(database, result.Error) : std::nullopt;
    const auto held = aliases ? HeldKeys(database, *aliases, result.Error) : std::nullopt;
    if (!held)
        return result;
    std::vector<std::string> keys;
    for (const std::string& name : names) {
        const std::string key = IdentityKey(name);
        if (const std::string* pseudonym = before->PseudonymOfKey(key)) {
            result.Error = "'" + name + "' was erased before: the database " + database.Path() +
                           " shows him as " + *pseudonym;
            return result;
        }
        if (std::ranges::any_of(before->Names(), [&](const ErasedName& erased) {
                return IdentityKey(erased.Pseudonym) == key;
            })) {
            result.Error = "'" + name + "' is the pseudonym of an erased player, not a name";
            return result;
        }
        if (!held->contains(key)) {
            result.Error =
                "the database " + database.Path() + " holds no player named '" + name + "'";
            return result;
        }
        if (std::ranges::find(keys, key) == keys.end())
            keys.push_back(key);
    }
    result.Pseudonym = ChoosePseudonym(*before, *held);
    const auto erased = AddErasedKeys(database, keys, result.Pseudonym, result.Error);
    const auto logs = erased ? ListLogs(database, result.Error) : std::nullopt;
    if (!logs)
        return result;
    std::vector<LogId> withoutLines;
    for (const LogEntry& log : *logs) {
        const auto keepsLines = KeepsAllLines(database, log.Id, result.Error);
        if (!keepsLines)
            return result;
        if (!*keepsLines) {
            const auto named = StatisticsNameErased(database, log.Id, *erased, result.Error);
            if (!named)
                return result;
            if (*named)
                withoutLines.push_back(log.Id);
            continue;
        }
        const auto changed = RewriteErasedLog(database, log, *erased, result.Error);
        if (!changed)
            return result;
        if (*changed == 0)
            continue;
        if (!MarkErasedLog(database, log.Id, result.Error))
            return result;
        result.Logs.push_back(log.Id);
        result.LinesRewritten += *changed;
    }
    if (!withoutLines.empty()) {
        result.Error = (withoutLines.size() == 1 ? "log " : "logs ") + LogList(withoutLines) +
                       (withoutLines.size() == 1 ? " keeps" : " keep") +
                       " no lines (imported with --no-archive) and " +
                       (withoutLines.size() == 1 ? "names" : "name") +
                       " the player: statistics cannot be rebuilt without lines; qla forget " +
                       (withoutLines.size() == 1 ? "it" : "them") + " first to erase him";
        return result;
    }
    if (!ChangeSettings(database, *aliases, *erased, keys, result.Pseudonym, result) ||
        !unit.Commit(result.Error) || !KeepPersons(database, result.Error))
        return result;
    result.Ok = true;
    return result;
}

} // namespace qla::db
