// Subcommand dispatch and the read-only subcommands info, analyze, players and player.
#include "cli/qla_app.h"

#include "cli/cli_common.h"
#include "cli/export_command.h"
#include "core/names.h"

#include <QCommandLineParser>

#include <functional>
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
    "\n"
    "L is english (default) or german. M is classic (default: the original phrase tables) or\n"
    "full (chat by its shape, the newer death wordings, names cut in obituaries).\n";

int UsageError(std::ostream& err, const std::string& message) {
    err << "qla: " << message << "\n\n" << kUsage;
    return kExitUsage;
}

// What a read-only subcommand was given once its command line checked out.
struct Invocation {
    QStringList positional;
    LogLanguage language = LogLanguage::English;
    Recognition recognition = Recognition::Classic;
};

// Parses `qla <command> ...`: exactly `positionalNames` arguments and, where the command analyses,
// --language and --recognition.
std::optional<Invocation> ParseSubcommand(const QStringList& arguments,
                                          const QStringList& positionalNames, bool takesLanguage,
                                          std::ostream& err, int& exitCode) {
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    if (takesLanguage)
        parser.addOptions({LanguageOption(), RecognitionOption()});
    QStringList forParser{arguments.at(0)};
    forParser += arguments.mid(2);
    const QString command = arguments.at(1);
    if (!parser.parse(forParser)) {
        exitCode = UsageError(err, command.toStdString() + ": " + parser.errorText().toStdString());
        return std::nullopt;
    }
    Invocation invocation;
    invocation.positional = parser.positionalArguments();
    if (invocation.positional.size() != positionalNames.size()) {
        exitCode = UsageError(err, command.toStdString() + " takes " +
                                       positionalNames.join(QLatin1Char(' ')).toStdString());
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
    }
    return invocation;
}

int RunInfo(const QStringList& arguments, std::ostream& out, std::ostream& err) {
    int exitCode = kExitOk;
    const auto invocation = ParseSubcommand(arguments, {"LOG"}, false, err, exitCode);
    if (!invocation)
        return exitCode;
    const QString& path = invocation->positional.at(0);
    AnalysisStore store;
    const OpenLogResult opened = OpenLogFile(store, LocalPath(path));
    if (!opened.Opened) {
        err << "qla: " << opened.Error << "\n";
        return kExitFailed;
    }
    out << "File: " << path.toStdString() << "\n"
        << "Lines: " << opened.LineCount << "\n"
        << "Date: " << opened.DateText.value_or(std::string()) << "\n";
    return kExitOk;
}

int RunAnalyze(const QStringList& arguments, std::ostream& out, std::ostream& err) {
    int exitCode = kExitOk;
    const auto invocation = ParseSubcommand(arguments, {"LOG"}, true, err, exitCode);
    if (!invocation)
        return exitCode;
    AnalysisStore store;
    const auto totals = OpenAndAnalyze(store, invocation->positional.at(0), invocation->language,
                                       err, invocation->recognition);
    if (!totals)
        return kExitFailed;
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
    const auto invocation = ParseSubcommand(arguments, {"LOG"}, true, err, exitCode);
    if (!invocation)
        return exitCode;
    AnalysisStore store;
    if (!OpenAndAnalyze(store, invocation->positional.at(0), invocation->language, err,
                        invocation->recognition))
        return kExitFailed;
    for (const PlayerRecord& player : RealEntries(store.Players))
        out << player.Name << "\n";
    return kExitOk;
}

int RunPlayer(const QStringList& arguments, std::ostream& out, std::ostream& err) {
    int exitCode = kExitOk;
    const auto invocation = ParseSubcommand(arguments, {"LOG", "NAME"}, true, err, exitCode);
    if (!invocation)
        return exitCode;
    AnalysisStore store;
    const QString& path = invocation->positional.at(0);
    if (!OpenAndAnalyze(store, path, invocation->language, err, invocation->recognition))
        return kExitFailed;
    const std::string name = invocation->positional.at(1).toStdString();
    const auto index = store.FindPlayer(name);
    if (!index) {
        err << "qla: no player is stored as '" << name << "' in " << path.toStdString() << "\n";
        return kExitFailed;
    }
    const PlayerRecord& player = store.Players[static_cast<std::size_t>(*index)];
    const PlayerTotals totals = TotalsOfPlayer(player);
    out << "Player: " << StripColourCodes(player.Name) << "\n"
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
        out << kUsage;
        return kExitOk;
    }
    using Handler = std::function<int(const QStringList&, std::ostream&, std::ostream&)>;
    const std::pair<const char*, Handler> handlers[] = {
        {"info", RunInfo},     {"analyze", RunAnalyze},      {"players", RunPlayers},
        {"player", RunPlayer}, {"export", RunExportCommand},
    };
    for (const auto& [name, handler] : handlers) {
        if (command == QLatin1String(name))
            return handler(arguments, out, err);
    }
    return UsageError(err, "unknown command '" + command.toStdString() + "'");
}

} // namespace qla::cli
