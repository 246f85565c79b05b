// The store built from a database's selected logs, its streamed texts, its aliases and the
// names of each log.
#include "db/database_reading.h"

#include "core/control_chars.h"
#include "db/alias_table.h"
#include "db/hidden_table.h"
#include "db/kept_persons.h"
#include "db/schema.h"
#include "db/stats_database.h"

namespace qla::db {

std::optional<LoadedStore> LoadFromDatabase(const DatabaseSource& source, AnalysisStore& store,
                                            std::ostream& err, StoreParts parts) {
    std::string error;
    const auto database = StatsDatabase::Open(source.Path, OpenMode::ReadOnly, error);
    if (!database) {
        err << "qla: " << TerminalSafeText(error) << "\n";
        return std::nullopt;
    }
    if (database->StoredVersion() < kStatisticsVersion)
        err << "qla: the database " << TerminalSafeText(source.Path) << " is of schema version "
            << database->StoredVersion() << " and is read from its stored lines; qla upgrade --db "
            << TerminalSafeText(source.Path)
            << " stores its statistics, after which it reads fast\n";
    // Hidden players are joined into one record after the reading, and their streaks with them:
    // that needs the order. A failure to read them is told after the reading's own, as before.
    auto hidden = ReadHiddenKeys(*database, error);
    parts.KillFiguresOnly = parts.KillFiguresOnly && hidden && hidden->empty();
    DatabaseStoreResult built = BuildStoreFromDatabase(*database, source.Selection, store, parts);
    if (!built.Ok) {
        err << "qla: " << TerminalSafeText(built.Error) << "\n";
        return std::nullopt;
    }
    if (!hidden) {
        err << "qla: " << TerminalSafeText(error) << "\n";
        return std::nullopt;
    }
    return LoadedStore{built.Totals, built.DateText, std::move(built.Logs), std::move(*hidden)};
}

std::optional<std::unique_ptr<DatabaseReading>>
DatabaseReading::Open(const DatabaseSource& source, AnalysisStore& store, std::ostream& err,
                      bool killOrder, bool killFiguresOnly, bool passingNames) {
    std::unique_ptr<DatabaseReading> reading(new DatabaseReading());
    std::string error;
    reading->database_ = StatsDatabase::Open(source.Path, OpenMode::ReadOnly, error);
    if (!reading->database_) {
        err << "qla: " << TerminalSafeText(error) << "\n";
        return std::nullopt;
    }
    StatsDatabase& database = *reading->database_;
    if (database.StoredVersion() < kStatisticsVersion)
        return std::unique_ptr<DatabaseReading>(); // its lines are read again as one log
    reading->unit_ = std::make_unique<Transaction>(database, Transaction::Kind::Read, error);
    if (!reading->unit_->Open()) {
        err << "qla: " << TerminalSafeText(error) << "\n";
        return std::nullopt;
    }
    auto hidden = ReadHiddenKeys(database, error);
    if (!hidden) {
        err << "qla: " << TerminalSafeText(error) << "\n";
        return std::nullopt;
    }
    // The views and the site show no renames.
    DatabaseStoreResult built =
        BuildStoreInTransaction(database, source.Selection, store,
                                StoreParts{.Chats = false,
                                           .UnknownLines = false,
                                           .Renames = false,
                                           .KillOrder = killOrder,
                                           .KillFiguresOnly = killFiguresOnly && hidden->empty(),
                                           .PassingNames = passingNames});
    if (!built.Ok) {
        err << "qla: " << TerminalSafeText(built.Error) << "\n";
        return std::nullopt;
    }
    reading->loaded_ =
        LoadedStore{built.Totals, built.DateText, std::move(built.Logs), std::move(*hidden)};
    reading->logs_ = std::move(built.Lines);
    const auto filed = [&store](std::string_view name) {
        return store.FindPlayer(name).value_or(0);
    };
    if (!reading->Lines(filed).FilesEverySpeaker())
        return std::unique_ptr<DatabaseReading>();
    return reading;
}

DatabaseLines DatabaseReading::Lines(PlayerOfName playerOf) const {
    return DatabaseLines(*database_, logs_, std::move(playerOf));
}

std::optional<DashboardHistory> ReadDashboardHistory(const DatabaseSource& source,
                                                     std::ostream& err) {
    std::string error;
    const auto database = StatsDatabase::Open(source.Path, OpenMode::ReadOnly, error);
    auto history =
        database ? ReadDashboardHistory(*database, source.Selection, error) : std::nullopt;
    if (!history)
        err << "qla: " << error << "\n";
    return history;
}

std::optional<KeptPersonsRead> LoadKeptPersons(const DatabaseSource& source,
                                               const AliasList& aliases, AnalysisStore& store,
                                               std::ostream& err) {
    std::string error;
    const auto database = StatsDatabase::Open(source.Path, OpenMode::ReadOnly, error);
    if (!database) {
        err << "qla: " << TerminalSafeText(error) << "\n";
        return std::nullopt;
    }
    KeptPersonsRead read;
    const Transaction unit(*database, Transaction::Kind::Read, error);
    if (!unit.Open()) {
        err << "qla: " << TerminalSafeText(error) << "\n";
        return std::nullopt;
    }
    DatabaseStoreResult built;
    read.Names = ReadKeptPersons(*database, aliases, store, built);
    if (!built.Error.empty()) {
        err << "qla: " << TerminalSafeText(built.Error) << "\n";
        return std::nullopt;
    }
    if (!read.Names)
        return read;
    auto hidden = ReadHiddenKeys(*database, error);
    if (!hidden) {
        err << "qla: " << TerminalSafeText(error) << "\n";
        return std::nullopt;
    }
    read.Store =
        LoadedStore{built.Totals, built.DateText, std::move(built.Logs), std::move(*hidden)};
    return read;
}

std::optional<AliasList> ReadDatabaseAliases(const std::string& path, std::ostream& err) {
    std::string error;
    const auto database = StatsDatabase::Open(path, OpenMode::ReadOnly, error);
    auto aliases = database ? ReadAliases(*database, error) : std::nullopt;
    if (!aliases)
        err << "qla: " << TerminalSafeText(error) << "\n";
    return aliases;
}

std::optional<std::vector<LogNames>> NamesOfDatabaseLogs(const DatabaseSource& source,
                                                         std::ostream& err) {
    std::string error;
    const auto database = StatsDatabase::Open(source.Path, OpenMode::ReadOnly, error);
    const auto logs = database ? SelectLogs(*database, source.Selection, error) : std::nullopt;
    if (!logs) {
        err << "qla: " << TerminalSafeText(error) << "\n";
        return std::nullopt;
    }
    std::vector<LogNames> names;
    for (const LogEntry& log : *logs) {
        AnalysisStore store;
        store.TracksHolders = true; // passing names are told by their holders
        const DatabaseStoreResult built = BuildStoreFromDatabase(*database, LogsWithIds({log.Id}),
                                                                 store, StoreParts{false, false});
        if (!built.Ok) {
            err << "qla: " << TerminalSafeText(built.Error) << "\n";
            return std::nullopt;
        }
        names.push_back(NamesOfStore(store, log.Id));
    }
    return names;
}

} // namespace qla::db
