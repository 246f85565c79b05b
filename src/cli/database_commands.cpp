// The commands that write or list a statistics database.
#include "cli/database_commands.h"

#include "cli/command_table.h"
#include "cli/exit_codes.h"
#include "cli/log_opening.h"
#include "cli/progress_bar.h"
#include "cli/reading_choices.h"
#include "core/control_chars.h"
#include "db/database_check.h"
#include "db/database_target.h"
#include "db/kept_persons.h"
#include "db/log_catalog.h"
#include "db/log_import.h"
#include "db/log_reanalysis.h"
#include "db/schema.h"
#include "db/stats_database.h"

#include <QCommandLineParser>
#include <QFileInfo>

#include <algorithm>
#include <memory>
#include <optional>

namespace qla::cli {

namespace {

int UsageError(std::ostream& err, const std::string& command, const std::string& message) {
    return CommandUsageError(*FindCommand(QString::fromStdString(command)), message, err);
}

// Parses the command line; nullopt with `exitCode` set when the command must end here.
std::optional<QStringList> Parse(QCommandLineParser& parser, const QStringList& arguments,
                                 std::ostream& out, std::ostream& err, int& exitCode) {
    const std::string command = arguments.value(1).toStdString();
    if (const auto exit =
            ParseCommandLine(parser, *FindCommand(arguments.value(1)), arguments, out, err)) {
        exitCode = *exit;
        return std::nullopt;
    }
    if (!parser.isSet(QStringLiteral("db"))) {
        exitCode = UsageError(err, command, "--db DB is required");
        return std::nullopt;
    }
    std::string targetError;
    if (!db::ParseDatabaseTarget(LocalPath(parser.value(QStringLiteral("db"))), targetError)) {
        exitCode = UsageError(err, command, targetError);
        return std::nullopt;
    }
    return parser.positionalArguments();
}

// Imports share a transaction when their files are small: at most this many logs, or bytes.
constexpr std::size_t kLogsPerGroup = 100;
constexpr std::int64_t kGroupBytes = 8 << 20;

// The logs in command-line order, small ones gathered into groups; a larger log is a group of
// its own, imported with its progress shown.
std::vector<std::vector<db::LogToImport>> ImportGroups(const QStringList& logs) {
    std::vector<std::vector<db::LogToImport>> groups;
    std::int64_t groupBytes = 0;
    bool open = false; // the last group takes more small logs
    for (const QString& log : logs) {
        db::LogToImport file{log.toStdString(), LocalPath(log)};
        const QFileInfo info(QString::fromLocal8Bit(file.LocalPath.c_str()));
        const std::int64_t size = info.isFile() ? info.size() : 0;
        if (size >= kGroupBytes / 8) {
            groups.push_back({std::move(file)});
            open = false;
            continue;
        }
        if (!open || groups.back().size() >= kLogsPerGroup || groupBytes + size > kGroupBytes) {
            groups.emplace_back();
            groupBytes = 0;
            open = true;
        }
        groups.back().push_back(std::move(file));
        groupBytes += size;
    }
    return groups;
}

// For the commands that take only --db: parses the command line and opens the database; nullptr
// with `exitCode` set when the command must end here.
std::unique_ptr<db::StatsDatabase> OpenOnlyDatabase(const std::string& command,
                                                    const QStringList& arguments, db::OpenMode mode,
                                                    std::ostream& out, std::ostream& err,
                                                    int& exitCode) {
    QCommandLineParser parser;
    const auto positional = Parse(parser, arguments, out, err, exitCode);
    if (!positional)
        return nullptr;
    if (!positional->isEmpty()) {
        exitCode = UsageError(err, command, "takes no LOG, only --db DB");
        return nullptr;
    }
    std::string error;
    auto database =
        db::StatsDatabase::Open(LocalPath(parser.value(QStringLiteral("db"))), mode, error);
    if (!database) {
        err << "qla: " << TerminalSafeText(error) << "\n";
        exitCode = kExitFailed;
    }
    return database;
}

} // namespace

std::string ImportReport(const std::string& path, const db::ImportResult& r) {
    using db::ImportOutcome;
    const std::string lines =
        std::to_string(r.LinesAdded) + (r.LinesAdded == 1 ? " line" : " lines");
    const std::string head = "log " + std::to_string(r.Id) + ": " + path + ": ";
    std::string text;
    switch (r.Outcome) {
    case ImportOutcome::Added:
        text = head + "new, " + lines + " imported";
        break;
    case ImportOutcome::Grew:
        text = head + "grew, " + lines + " imported";
        break;
    case ImportOutcome::Unchanged:
        text = head + "unchanged, nothing imported";
        if (r.Retagged)
            text += "; tagged with the server given";
        break;
    case ImportOutcome::Copy:
        text = head + (r.CopiedPath == path
                           ? "shorter than when imported, and its lines are the log's first "
                             "lines: nothing imported"
                           : "a copy of the first lines of this log (last read from " +
                                 r.CopiedPath + "): nothing imported");
        // A log that keeps only block sums cannot compare the file's last, partial block.
        if (r.UncomparedBytes > 0)
            text += " (its last " + std::to_string(r.UncomparedBytes) +
                    (r.UncomparedBytes == 1 ? " byte" : " bytes") + " could not be compared: log " +
                    std::to_string(r.Id) + " keeps no lines)";
        break;
    case ImportOutcome::Replaced:
        text = head +
               "no longer the log last read from this path (rotated or replaced): a new "
               "log, " +
               lines + " imported; log " + std::to_string(r.PreviousId) + " stays as it was";
        break;
    case ImportOutcome::Empty:
        return path + ": empty, nothing imported";
    case ImportOutcome::Waiting:
        return path + ": no complete line yet, nothing imported (" +
               std::to_string(r.HeldBackBytes) +
               " bytes of an unfinished last line wait for its line end)";
    case ImportOutcome::Failed:
        return r.Error;
    }
    if (r.HeldBackBytes > 0)
        text += " (" + std::to_string(r.HeldBackBytes) +
                " bytes of an unfinished last line wait for its line end)";
    if (r.KeptRecognition) {
        const std::string kept(RecognitionText(*r.KeptRecognition));
        const std::string asked = *r.KeptRecognition == Recognition::Classic ? "full" : "classic";
        text += "; it was imported in " + kept +
                " recognition and is read so (qla reanalyze --log " + std::to_string(r.Id) +
                " --recognition " + asked + " reads it in " + asked + ")";
    }
    return text;
}

int RunImportCommand(const QStringList& arguments, std::ostream& out, std::ostream& err) {
    QCommandLineParser parser;
    int exitCode = kExitOk;
    const auto logs = Parse(parser, arguments, out, err, exitCode);
    if (!logs)
        return exitCode;
    if (logs->isEmpty())
        return UsageError(err, "import", "name at least one LOG");
    const auto language = ParseLanguage(parser.value(QStringLiteral("language")), err);
    if (!language)
        return kExitUsage;
    db::ImportOptions options;
    options.Language = language->Language;
    options.GuessLanguage = language->Auto;
    if (parser.isSet(QStringLiteral("recognition"))) {
        options.LineRecognition =
            ParseRecognition(parser.value(QStringLiteral("recognition")), err);
        if (!options.LineRecognition)
            return kExitUsage;
    }
    options.Finished = parser.isSet(QStringLiteral("finished"));
    options.KeepLines = !parser.isSet(QStringLiteral("no-archive"));
    if (parser.isSet(QStringLiteral("server"))) {
        options.Server = parser.value(QStringLiteral("server")).toStdString();
        if (options.Server->empty())
            return UsageError(err, "import", "--server takes a server name, not an empty text");
    }
    const bool quiet = parser.isSet(QStringLiteral("quiet"));

    std::string error;
    const auto database = db::StatsDatabase::Open(LocalPath(parser.value(QStringLiteral("db"))),
                                                  db::OpenMode::ReadWrite, error);
    if (!database) {
        err << "qla: " << TerminalSafeText(error) << "\n";
        return kExitFailed;
    }
    ProgressBar bar(err, !quiet && IsTerminal(err));
    int status = kExitOk;
    bool wrote = false;
    const auto report = [&](const std::string& shown, const db::ImportResult& result) {
        wrote = wrote || result.Outcome == db::ImportOutcome::Added ||
                result.Outcome == db::ImportOutcome::Grew ||
                result.Outcome == db::ImportOutcome::Replaced;
        if (result.Outcome == db::ImportOutcome::Failed) {
            err << "qla: " << TerminalSafeText(result.Error) << "\n";
            status = kExitFailed;
        } else if (!quiet) {
            if (result.LanguageGuessed)
                ReportChosenLanguage(err, shown, result.Language);
            out << TerminalSafeText(ImportReport(shown, result)) << "\n" << std::flush;
        }
    };
    const auto importAlone = [&](const db::LogToImport& log) {
        bar.Start(log.PathAsGiven);
        const db::ImportResult result =
            db::ImportLog(*database, log.PathAsGiven, log.LocalPath, options,
                          [&](double fraction) { bar.Show(fraction); });
        bar.Clear();
        report(log.PathAsGiven, result);
    };
    for (const std::vector<db::LogToImport>& group : ImportGroups(*logs)) {
        if (group.size() == 1) {
            importAlone(group.front());
            continue;
        }
        // Small logs share a transaction: a commit waits for the disk, and thousands of small
        // logs spent nearly all their time waiting. Should one of them fail, the group's
        // transaction stored nothing and each log is imported alone, with its own report.
        const db::BatchResult batch = db::ImportBatch(*database, group, options);
        if (!batch.Ok) {
            for (const db::LogToImport& log : group)
                importAlone(log);
            continue;
        }
        for (std::size_t i = 0; i < group.size(); ++i)
            report(group[i].PathAsGiven, batch.Logs[i]);
    }
    // Once for all the files: merging the history after each would cost it for each.
    if (wrote && !db::KeepPersons(*database, error)) {
        err << "qla: " << TerminalSafeText(error) << "\n";
        status = kExitFailed;
    }
    return status;
}

int RunLogsCommand(const QStringList& arguments, std::ostream& out, std::ostream& err) {
    int exitCode = kExitOk;
    const auto database =
        OpenOnlyDatabase("logs", arguments, db::OpenMode::ReadOnly, out, err, exitCode);
    if (!database)
        return exitCode;
    std::string error;
    const auto logs = db::ListLogs(*database, error);
    if (!logs) {
        err << "qla: " << TerminalSafeText(error) << "\n";
        return kExitFailed;
    }
    out << "id\tlines\tlanguage\trecognition\timported\tdate\tpath\theld back\tserver\n";
    for (const db::LogEntry& log : *logs) {
        out << log.Id << "\t" << log.Lines << "\t" << db::LanguageName(log.Language) << "\t"
            << RecognitionText(log.LineRecognition) << "\t" << log.LastImported << "\t"
            << TerminalSafeText(log.DateHeader.value_or("-")) << "\t" << TerminalSafeText(log.Path)
            << "\t";
        if (log.HeldBackBytes() > 0)
            out << log.HeldBackBytes() << " bytes";
        out << "\t" << TerminalSafeText(log.Server.value_or("-")) << "\n";
    }
    return kExitOk;
}

int RunForgetCommand(const QStringList& arguments, std::ostream& out, std::ostream& err) {
    QCommandLineParser parser;
    int exitCode = kExitOk;
    const auto positional = Parse(parser, arguments, out, err, exitCode);
    if (!positional)
        return exitCode;
    if (positional->isEmpty())
        return UsageError(err, "forget", "name at least one log ID (qla logs lists them)");
    std::vector<db::LogId> ids;
    for (const QString& item : *positional) {
        bool ok = false;
        const qlonglong id = item.toLongLong(&ok);
        if (!ok || id <= 0)
            return UsageError(err, "forget", item.toStdString() + " is no log id");
        if (std::find(ids.begin(), ids.end(), id) == ids.end())
            ids.push_back(id);
    }
    std::string error;
    const auto database = db::StatsDatabase::Open(LocalPath(parser.value(QStringLiteral("db"))),
                                                  db::OpenMode::ReadWrite, error);
    if (!database || !db::ForgetLogs(*database, ids, error)) {
        err << "qla: " << TerminalSafeText(error) << "\n";
        return kExitFailed;
    }
    for (db::LogId id : ids)
        out << "forgot log " << id << "\n";
    return kExitOk;
}

int RunCheckCommand(const QStringList& arguments, std::ostream& out, std::ostream& err) {
    int exitCode = kExitOk;
    const auto database =
        OpenOnlyDatabase("check", arguments, db::OpenMode::ReadOnly, out, err, exitCode);
    if (!database)
        return exitCode;
    const db::CheckReport report = db::CheckDatabase(*database);
    if (!report.Error.empty()) {
        err << "qla: " << TerminalSafeText(report.Error) << "\n";
        return kExitFailed;
    }
    for (const std::string& note : report.Notes)
        out << TerminalSafeText(note) << "\n";
    for (const std::string& damage : report.Damage)
        err << "qla: " << TerminalSafeText(damage) << "\n";
    if (!report.Damage.empty())
        return kExitFailed;
    out << "no damage found: " << report.Logs << (report.Logs == 1 ? " log, " : " logs, ")
        << report.Chunks << (report.Chunks == 1 ? " chunk" : " chunks") << " checked\n";
    return kExitOk;
}

int RunReanalyzeCommand(const QStringList& arguments, std::ostream& out, std::ostream& err) {
    QCommandLineParser parser;
    int exitCode = kExitOk;
    const auto positional = Parse(parser, arguments, out, err, exitCode);
    if (!positional)
        return exitCode;
    if (!positional->isEmpty())
        return UsageError(err, "reanalyze", "takes no LOG; choose stored logs with --log ID");
    db::ReanalysisOptions options;
    for (const QString& list : parser.values(QStringLiteral("log")))
        for (const QString& item : list.split(QLatin1Char(','))) {
            bool ok = false;
            const qlonglong id = item.trimmed().toLongLong(&ok);
            if (!ok || id <= 0)
                return UsageError(err, "reanalyze",
                                  "--log takes log ids as qla logs lists them, not '" +
                                      item.toStdString() + "'");
            options.Ids.push_back(id);
        }
    if (parser.isSet(QStringLiteral("recognition"))) {
        const auto recognition = ParseRecognition(parser.value(QStringLiteral("recognition")), err);
        if (!recognition)
            return kExitUsage;
        options.LineRecognition = recognition;
    }
    if (parser.isSet(QStringLiteral("language"))) {
        const auto language = ParseLanguage(parser.value(QStringLiteral("language")), err);
        if (!language)
            return kExitUsage;
        if (language->Auto)
            return UsageError(err, "reanalyze", "--language takes english or german here");
        options.Language = language->Language;
    }
    std::string error;
    const auto database = db::StatsDatabase::Open(LocalPath(parser.value(QStringLiteral("db"))),
                                                  db::OpenMode::ReadWrite, error);
    if (!database) {
        err << "qla: " << TerminalSafeText(error) << "\n";
        return kExitFailed;
    }
    const db::ReanalysisResult result = db::ReanalyzeLogs(*database, options);
    if (!result.Ok) {
        err << "qla: " << TerminalSafeText(result.Error) << "\n";
        return kExitFailed;
    }
    for (const db::LogEntry& log : result.Logs)
        out << "log " << log.Id << ": read again, " << log.Lines << " lines, "
            << db::LanguageName(log.Language) << ", " << RecognitionText(log.LineRecognition)
            << " recognition\n";
    return kExitOk;
}

int RunUpgradeCommand(const QStringList& arguments, std::ostream& out, std::ostream& err) {
    int exitCode = kExitOk;
    // A writer brings the database to this version as it opens it, in one transaction.
    const auto database =
        OpenOnlyDatabase("upgrade", arguments, db::OpenMode::ReadWrite, out, err, exitCode);
    if (!database)
        return exitCode;
    out << "the database " << TerminalSafeText(database->Path()) << " is at schema version "
        << db::StoredSchemaVersion(database->Connection()) << "\n";
    return kExitOk;
}

} // namespace qla::cli
