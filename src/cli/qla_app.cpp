// Subcommand dispatch and the read-only subcommands info, analyze, players and player.
#include "cli/qla_app.h"

#include "analysis/log_line_count.h"
#include "cli/alias_command.h"
#include "cli/cli_common.h"
#include "cli/database_commands.h"
#include "cli/database_source.h"
#include "cli/export_command.h"
#include "core/control_chars.h"
#include "core/names.h"
#include "core/product.h"
#include "export/temp_file_cleanup.h"

#include <QCommandLineParser>

#include <functional>
#include <new>
#include <optional>

namespace qla::cli {
namespace {

constexpr const char* kUsage =
    "Usage: qla <command> LOG [options]\n"
    "\n"
    "Commands:\n"
    "  info LOG                          file name, number of lines and log date\n"
    "  analyze LOG [--language L] [--recognition M]\n"
    "                                    the seven totals and the number of players\n"
    "  players LOG [--language L] [--recognition M]\n"
    "                                    every player name, in order of first appearance\n"
    "  player LOG NAME [--language L] [--recognition M]\n"
    "                                    the totals of the player stored exactly as NAME\n"
    "  export LOG --view VIEW --format FORMAT --output PATH [options]\n"
    "                                    write a statistics file or site (qla export --help)\n"
    "  alias add|split|list|suggest ...  the aliases kept for merging players (qla alias --help)\n"
    "  --version, -V                     the program's version\n"
    "\n"
    "Statistics database (many logs, imported as they grow):\n"
    "  import LOG... --db DB [--language L] [--recognition M] [--finished] [--quiet]\n"
    "                                    add each log's new complete lines to DB\n"
    "  logs --db DB                      the imported logs, one a line\n"
    "  forget --db DB ID...              remove those logs' lines from DB\n"
    "  analyze, players, player and export read DB in place of LOG with --db DB:\n"
    "  analyze --db DB [--log ID...] [--since DATE] [--until DATE]\n"
    "\n"
    "L is english (default), german or auto (each log read in the language its first 10000\n"
    "lines are written in; the choice is reported on stderr). M is classic (default: the original "
    "phrase tables) or\n"
    "full (chat by its shape, the newer death wordings, names cut in obituaries).\n"
    "analyze, players, player and export also take --merge-players (one record per player:\n"
    "names that differ only in colour codes, case or blanks, renames and the aliases of\n"
    "--aliases FILE are joined; player NAME may then be any of the player's names).\n"
    "Options of the reading commands with --db:\n";

void PrintUsage(std::ostream& out) {
    out << kUsage << kDatabaseOptionsHelp;
}

int UsageError(std::ostream& err, const std::string& message) {
    err << "qla: " << TerminalSafeText(message) << "\n\n";
    PrintUsage(err);
    return kExitUsage;
}

// What a read-only subcommand was given once its command line checked out.
struct Invocation {
    QStringList positional;
    LanguageChoice language;
    std::optional<DatabaseSource> database; // read instead of the log LOG
    Recognition recognition = Recognition::Classic;
    PlayerMerging merging;
};

// Parses `qla <command> ...`: exactly `positionalNames` arguments and, where the command analyses,
// --language and --recognition.
std::optional<Invocation> ParseSubcommand(const QStringList& arguments,
                                          const QStringList& positionalNames, bool takesLanguage,
                                          std::ostream& err, int& exitCode) {
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    if (takesLanguage) {
        parser.addOptions({LanguageOption(), RecognitionOption()});
        AddDatabaseOptions(parser);
        parser.addOptions(PlayerMergingOptions());
    }
    QStringList forParser{arguments.at(0)};
    forParser += arguments.mid(2);
    const QString command = arguments.at(1);
    if (!parser.parse(forParser)) {
        exitCode = UsageError(err, command.toStdString() + ": " + parser.errorText().toStdString());
        return std::nullopt;
    }
    Invocation invocation;
    invocation.positional = parser.positionalArguments();
    QStringList expected = positionalNames;
    if (takesLanguage) {
        std::string usageError;
        invocation.database = ReadDatabaseOptions(parser, usageError);
        if (!usageError.empty()) {
            exitCode = UsageError(err, command.toStdString() + ": " + usageError);
            return std::nullopt;
        }
        if (invocation.database)
            expected.removeAll(QStringLiteral("LOG"));
    }
    if (invocation.positional.size() != expected.size()) {
        exitCode = UsageError(err, command.toStdString() + " takes " +
                                       expected.join(QLatin1Char(' ')).toStdString() +
                                       (invocation.database ? " with --db" : ""));
        return std::nullopt;
    }
    if (takesLanguage) {
        const auto language = ParseLanguage(parser.value(QStringLiteral("language")), err);
        if (!language) {
            exitCode = kExitUsage;
            return std::nullopt;
        }
        invocation.language = *language;
        const auto recognition = ParseRecognition(parser.value(QStringLiteral("recognition")), err);
        if (!recognition) {
            exitCode = kExitUsage;
            return std::nullopt;
        }
        invocation.recognition = *recognition;
        auto merging = ReadPlayerMerging(parser, err, exitCode);
        if (!merging)
            return std::nullopt;
        invocation.merging = std::move(*merging);
    }
    return invocation;
}

// Builds the store from the log or the database the command line names; nullopt after the
// reason went to err.
std::optional<AnalysisTotals> LoadStore(const Invocation& invocation, AnalysisStore& store,
                                        std::ostream& err) {
    if (invocation.database) {
        const auto loaded = LoadFromDatabase(*invocation.database, store, err);
        if (!loaded)
            return std::nullopt;
        return loaded->Totals;
    }
    return OpenAndAnalyze(store, invocation.positional.at(0), invocation.language, err,
                          invocation.recognition);
}

// Where the player was looked for, for the message that he is not there.
std::string SourceName(const Invocation& invocation) {
    if (invocation.database)
        return "the database " + invocation.database->Path;
    return invocation.positional.at(0).toStdString();
}

int RunInfo(const QStringList& arguments, std::ostream& out, std::ostream& err) {
    int exitCode = kExitOk;
    const auto invocation = ParseSubcommand(arguments, {"LOG"}, false, err, exitCode);
    if (!invocation)
        return exitCode;
    const QString& path = invocation->positional.at(0);
    // Counted piece by piece: a log of any size needs no more memory than a small one.
    const LogFileFacts facts = ReadLogFileFacts(LocalPath(path));
    if (!facts.Error.empty()) {
        err << "qla: " << TerminalSafeText(facts.Error) << "\n";
        return kExitFailed;
    }
    out << "File: " << TerminalSafeText(path.toStdString()) << "\n"
        << "Lines: " << facts.LineCount << "\n"
        << "Date: " << TerminalSafeText(facts.DateText.value_or(std::string())) << "\n";
    return kExitOk;
}

int RunAnalyze(const QStringList& arguments, std::ostream& out, std::ostream& err) {
    int exitCode = kExitOk;
    auto invocation = ParseSubcommand(arguments, {"LOG"}, true, err, exitCode);
    if (!invocation)
        return exitCode;
    AnalysisStore store;
    const auto totals = LoadStore(*invocation, store, err);
    if (!totals)
        return kExitFailed;
    invocation->merging.Apply(store);
    out << "Kills: " << totals->Kills << "\n"
        << "Deaths: " << totals->Deaths << "\n"
        << "Teamkills: " << totals->Teamkills << "\n"
        << "Voicechats: " << totals->VoiceChats << "\n"
        << "Textchats: " << totals->TextChats << "\n"
        << "Unknown: " << totals->Unknown << "\n"
        << "Total: " << totals->Total << "\n"
        << "Players: " << store.PlayerCount() << "\n";
    return kExitOk;
}

int RunPlayers(const QStringList& arguments, std::ostream& out, std::ostream& err) {
    int exitCode = kExitOk;
    auto invocation = ParseSubcommand(arguments, {"LOG"}, true, err, exitCode);
    if (!invocation)
        return exitCode;
    AnalysisStore store;
    if (!LoadStore(*invocation, store, err))
        return kExitFailed;
    invocation->merging.Apply(store);
    for (const PlayerRecord& player : RealEntries(store.Players))
        out << TerminalSafeText(player.Name) << "\n";
    return kExitOk;
}

int RunPlayer(const QStringList& arguments, std::ostream& out, std::ostream& err) {
    int exitCode = kExitOk;
    auto invocation = ParseSubcommand(arguments, {"LOG", "NAME"}, true, err, exitCode);
    if (!invocation)
        return exitCode;
    AnalysisStore store;
    if (!LoadStore(*invocation, store, err))
        return kExitFailed;
    invocation->merging.Apply(store);
    const std::string name = invocation->positional.back().toStdString();
    const auto index = invocation->merging.Find(store, name);
    if (!index) {
        err << "qla: no player is stored as '" << TerminalSafeText(name) << "' in "
            << TerminalSafeText(SourceName(*invocation)) << "\n";
        return kExitFailed;
    }
    const PlayerRecord& player = store.Players[static_cast<std::size_t>(*index)];
    const PlayerTotals totals = TotalsOfPlayer(player);
    out << "Player: " << TerminalSafeText(StripColourCodes(player.Name)) << "\n"
        << "Kills: " << totals.Kills << "\n"
        << "Deaths: " << totals.Deaths << "\n"
        << "Teamkills: " << totals.Teamkills << "\n"
        << "Voicechats: " << totals.VoiceChats << "\n"
        << "Textchats: " << totals.TextChats << "\n"
        << "Unknown: " << totals.Unknown << "\n"
        << "Total: " << totals.Total << "\n";
    return kExitOk;
}

} // namespace

int RunQla(const QStringList& arguments, std::ostream& out, std::ostream& err) {
    if (arguments.size() < 2)
        return UsageError(err, "a command is missing");
    const QString command = arguments.at(1);
    if (command == QLatin1String("--help") || command == QLatin1String("-h") ||
        command == QLatin1String("help")) {
        PrintUsage(out);
        return kExitOk;
    }
    if (command == QLatin1String("--version") || command == QLatin1String("-V")) {
        out << "qla " << kVersionMajor << '.' << kVersionMinor << '.' << kVersionRevision << "\n";
        return kExitOk;
    }
    using Handler = std::function<int(const QStringList&, std::ostream&, std::ostream&)>;
    const std::pair<const char*, Handler> handlers[] = {
        {"info", RunInfo},        {"analyze", RunAnalyze},      {"players", RunPlayers},
        {"player", RunPlayer},    {"export", RunExportCommand}, {"import", RunImportCommand},
        {"logs", RunLogsCommand}, {"forget", RunForgetCommand}, {"alias", RunAliasCommand},
    };
    // A signal must not leave a temporary file of an export behind.
    RemoveTempFilesOnSignals();
    for (const auto& [name, handler] : handlers) {
        if (command != QLatin1String(name))
            continue;
        try {
            return handler(arguments, out, err);
        } catch (const std::bad_alloc&) {
            err << "qla: there is not enough memory to finish the " << name << " command\n";
            return kExitFailed;
        }
    }
    return UsageError(err, "unknown command '" + command.toStdString() + "'");
}

} // namespace qla::cli
