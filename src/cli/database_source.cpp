// The --db, --log, --since and --until options and the store built from a database.
#include "cli/database_source.h"

#include "cli/log_opening.h"
#include "core/control_chars.h"
#include "db/alias_table.h"
#include "db/database_target.h"
#include "db/log_date.h"
#include "db/schema.h"
#include "db/stats_database.h"
#include "db/store_from_database.h"

namespace qla::cli {

std::optional<DatabaseSource> ReadDatabaseOptions(const QCommandLineParser& parser,
                                                  std::string& usageError) {
    if (!parser.isSet(QStringLiteral("db"))) {
        for (const char* option : {"log", "since", "until"})
            if (parser.isSet(QString::fromLatin1(option)))
                usageError = std::string("--") + option + " needs --db";
        return std::nullopt;
    }
    // Each log is read as it was imported; a choice for the whole command would contradict it.
    // Asked of the given names, as qla alias has no --recognition to ask the parser about.
    const QStringList given = parser.optionNames();
    for (const char* option : {"language", "recognition"})
        if (given.contains(QString::fromLatin1(option))) {
            usageError = std::string("--") + option +
                         " does not apply with --db (each log keeps the " + option +
                         " it was imported with)";
            return std::nullopt;
        }
    DatabaseSource source;
    source.Path = LocalPath(parser.value(QStringLiteral("db")));
    if (!db::ParseDatabaseTarget(source.Path, usageError))
        return std::nullopt;
    for (const QString& list : parser.values(QStringLiteral("log"))) {
        for (const QString& item : list.split(QLatin1Char(','))) {
            bool ok = false;
            const qlonglong id = item.trimmed().toLongLong(&ok);
            if (!ok || id <= 0) {
                usageError =
                    "--log takes log ids as qla logs lists them, not '" + item.toStdString() + "'";
                return std::nullopt;
            }
            source.Selection.Ids.push_back(id);
        }
    }
    for (const auto& [option, endOfDay] : {std::pair{"since", false}, std::pair{"until", true}}) {
        if (!parser.isSet(QString::fromLatin1(option)))
            continue;
        const std::string text = parser.value(QString::fromLatin1(option)).toStdString();
        const auto bound = db::DateBound(text, endOfDay);
        if (!bound) {
            usageError = std::string("--") + option + " takes YYYY-MM-DD, YYYY-MM-DD HH:MM or " +
                         "YYYY-MM-DD HH:MM:SS, not '" + text + "'";
            return std::nullopt;
        }
        (endOfDay ? source.Selection.Until : source.Selection.Since) = *bound;
    }
    return source;
}

std::optional<LoadedStore> LoadFromDatabase(const DatabaseSource& source, AnalysisStore& store,
                                            std::ostream& err, db::StoreParts parts) {
    std::string error;
    const auto database = db::StatsDatabase::Open(source.Path, db::OpenMode::ReadOnly, error);
    if (!database) {
        err << "qla: " << TerminalSafeText(error) << "\n";
        return std::nullopt;
    }
    if (database->StoredVersion() < db::kStatisticsVersion)
        err << "qla: the database " << TerminalSafeText(source.Path) << " is of schema version "
            << database->StoredVersion() << " and is read from its stored lines; qla upgrade --db "
            << TerminalSafeText(source.Path)
            << " stores its statistics, after which it reads fast\n";
    const db::DatabaseStoreResult built =
        db::BuildStoreFromDatabase(*database, source.Selection, store, parts);
    if (!built.Ok) {
        err << "qla: " << TerminalSafeText(built.Error) << "\n";
        return std::nullopt;
    }
    return LoadedStore{built.Totals, built.DateText, built.Logs};
}

std::optional<std::unique_ptr<DatabaseReading>>
DatabaseReading::Open(const DatabaseSource& source, AnalysisStore& store, std::ostream& err) {
    std::unique_ptr<DatabaseReading> reading(new DatabaseReading());
    std::string error;
    reading->database_ = db::StatsDatabase::Open(source.Path, db::OpenMode::ReadOnly, error);
    if (!reading->database_) {
        err << "qla: " << TerminalSafeText(error) << "\n";
        return std::nullopt;
    }
    db::StatsDatabase& database = *reading->database_;
    if (database.StoredVersion() < db::kStatisticsVersion)
        return std::unique_ptr<DatabaseReading>(); // its lines are read again as one log
    reading->unit_ =
        std::make_unique<db::Transaction>(database, db::Transaction::Kind::Read, error);
    if (!reading->unit_->Open()) {
        err << "qla: " << TerminalSafeText(error) << "\n";
        return std::nullopt;
    }
    // The views and the site show no renames.
    db::DatabaseStoreResult built = db::BuildStoreInTransaction(
        database, source.Selection, store, db::StoreParts{false, false, false});
    if (!built.Ok) {
        err << "qla: " << TerminalSafeText(built.Error) << "\n";
        return std::nullopt;
    }
    reading->loaded_ = LoadedStore{built.Totals, built.DateText, built.Logs};
    reading->logs_ = std::move(built.Lines);
    const auto filed = [&store](std::string_view name) {
        return store.FindPlayer(name).value_or(0);
    };
    if (!reading->Lines(filed).FilesEverySpeaker())
        return std::unique_ptr<DatabaseReading>();
    return reading;
}

db::DatabaseLines DatabaseReading::Lines(db::PlayerOfName playerOf) const {
    return db::DatabaseLines(*database_, logs_, std::move(playerOf));
}

std::optional<db::DashboardHistory> ReadDashboardHistory(const DatabaseSource& source,
                                                         std::ostream& err) {
    std::string error;
    const auto database = db::StatsDatabase::Open(source.Path, db::OpenMode::ReadOnly, error);
    auto history =
        database ? db::ReadDashboardHistory(*database, source.Selection, error) : std::nullopt;
    if (!history)
        err << "qla: " << error << "\n";
    return history;
}

std::optional<AliasList> ReadDatabaseAliases(const std::string& path, std::ostream& err) {
    std::string error;
    const auto database = db::StatsDatabase::Open(path, db::OpenMode::ReadOnly, error);
    auto aliases = database ? db::ReadAliases(*database, error) : std::nullopt;
    if (!aliases)
        err << "qla: " << TerminalSafeText(error) << "\n";
    return aliases;
}

std::optional<std::vector<LogNames>> NamesOfDatabaseLogs(const DatabaseSource& source,
                                                         std::ostream& err) {
    std::string error;
    const auto database = db::StatsDatabase::Open(source.Path, db::OpenMode::ReadOnly, error);
    const auto logs = database ? db::SelectLogs(*database, source.Selection, error) : std::nullopt;
    if (!logs) {
        err << "qla: " << TerminalSafeText(error) << "\n";
        return std::nullopt;
    }
    std::vector<LogNames> names;
    for (const db::LogEntry& log : *logs) {
        AnalysisStore store;
        store.TracksHolders = true; // passing names are told by their holders
        const db::DatabaseStoreResult built = db::BuildStoreFromDatabase(
            *database, db::LogSelection{{log.Id}, {}, {}}, store, db::StoreParts{false, false});
        if (!built.Ok) {
            err << "qla: " << TerminalSafeText(built.Error) << "\n";
            return std::nullopt;
        }
        names.push_back(NamesOfStore(store, log.Id));
    }
    return names;
}

} // namespace qla::cli
