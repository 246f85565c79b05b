// info, analyze, players, player and ratings: parse with the command's description, read the
// log or the database, print what was found.
#include "cli/read_commands.h"

#include "analysis/log_line_count.h"
#include "cli/command_table.h"
#include "cli/exit_codes.h"
#include "cli/log_opening.h"
#include "cli/log_source.h"
#include "cli/player_merging.h"
#include "cli/ratings_by_period.h"
#include "core/control_chars.h"
#include "core/names.h"
#include "export/data/rating_board_export.h"
#include "stats/rating_board.h"
#include "stats/rating_weights.h"
#include "stats/skill_rating.h"

#include <QCommandLineParser>

#include <algorithm>
#include <cmath>
#include <optional>

namespace qla::cli {
namespace {

// What a read-only subcommand was given once its command line checked out.
struct Invocation {
    QStringList positional;
    LogSource source;
    double minEncounters = 0; // ratings: the kills either way a player needs for the board
    QString format;           // ratings: text, json or csv
    std::optional<double> halfLifeDays;            // ratings: older logs weigh less
    AwardPeriodKind period = AwardPeriodKind::All; // ratings: a board per period
};

// Parses `qla <command> ...` with the options the command describes: exactly `positionalNames`
// arguments (LOG dropped with --db) and, where the command reads a log, its source's options.
std::optional<Invocation> ParseSubcommand(const QStringList& arguments,
                                          const QStringList& positionalNames, bool readsLog,
                                          std::ostream& out, std::ostream& err, int& exitCode) {
    const CommandInfo& command = *FindCommand(arguments.at(1));
    const auto refuse = [&command, &err](const std::string& message) {
        return CommandUsageError(command, message, err);
    };
    QCommandLineParser parser;
    if (const auto exit = ParseCommandLine(parser, command, arguments, out, err)) {
        exitCode = *exit;
        return std::nullopt;
    }
    Invocation invocation;
    invocation.positional = parser.positionalArguments();
    QStringList expected = positionalNames;
    if (readsLog) {
        if (const std::string usageError = ReadSourceDatabase(parser, invocation.source);
            !usageError.empty()) {
            exitCode = refuse(usageError);
            return std::nullopt;
        }
        if (invocation.source.Database)
            expected.removeAll(QStringLiteral("LOG"));
    }
    if (invocation.positional.size() != expected.size()) {
        exitCode = refuse("needs " + expected.join(QLatin1Char(' ')).toStdString() +
                          (invocation.source.Database ? " with --db" : ""));
        return std::nullopt;
    }
    if (readsLog) {
        if (!invocation.source.Database)
            invocation.source.Logs = invocation.positional.mid(0, 1);
        if (const auto exit = ReadReadingOptions(parser, command, invocation.source, err)) {
            exitCode = *exit;
            return std::nullopt;
        }
    }
    if (command.Name == "ratings") {
        bool ok = false;
        const int minimum = parser.value(QStringLiteral("min-encounters")).toInt(&ok);
        if (!ok || minimum < 0) {
            exitCode = refuse("--min-encounters takes a whole number of 0 or more");
            return std::nullopt;
        }
        invocation.minEncounters = minimum;
        if (parser.isSet(QStringLiteral("half-life"))) {
            const double days = parser.value(QStringLiteral("half-life")).toDouble(&ok);
            if (!ok || !(days > 0)) {
                exitCode = refuse("--half-life takes a number of days greater than 0");
                return std::nullopt;
            }
            if (!invocation.source.Database) {
                exitCode = refuse("--half-life needs --db: it weighs logs by their dates");
                return std::nullopt;
            }
            invocation.halfLifeDays = days;
        }
        const auto period =
            AwardPeriodNamed(parser.value(QStringLiteral("period")).toLower().toStdString());
        if (!period) {
            exitCode = refuse("--period takes all, session, day, week or month, not '" +
                              parser.value(QStringLiteral("period")).toStdString() + "'");
            return std::nullopt;
        }
        invocation.period = *period;
        invocation.format = parser.value(QStringLiteral("format")).toLower();
        if (!QStringList{"text", "json", "csv"}.contains(invocation.format)) {
            exitCode = refuse("--format takes text, json or csv, not '" +
                              parser.value(QStringLiteral("format")).toStdString() + "'");
            return std::nullopt;
        }
    }
    return invocation;
}

// Parses the command line and fills `store` from the log or database it names, players merged
// as it asks; nullopt with `exitCode` set when the command must end here.
struct Loaded {
    Invocation invocation;
    LoadedStore store;
};
// Fills `store` from the log or database the parsed command line names, merged as it asks.
// `countsOnly`: the command shows names and counts, not who killed whom.
std::optional<Loaded> Load(Invocation invocation, AnalysisStore& store, std::ostream& err,
                           int& exitCode, bool countsOnly) {
    // No chat or other line is read from a database.
    const auto loaded = LoadSource(
        invocation.source, store,
        {{.Chats = false, .UnknownLines = false, .Kills = !countsOnly, .PassingNames = !countsOnly},
         false},
        err);
    if (!loaded) {
        exitCode = kExitFailed;
        return std::nullopt;
    }
    return Loaded{std::move(invocation), std::move(loaded->Store)};
}

std::optional<Loaded> ParseAndLoad(const QStringList& arguments, const QStringList& positionalNames,
                                   AnalysisStore& store, std::ostream& out, std::ostream& err,
                                   int& exitCode) {
    auto invocation = ParseSubcommand(arguments, positionalNames, true, out, err, exitCode);
    if (!invocation)
        return std::nullopt;
    return Load(std::move(*invocation), store, err, exitCode, true);
}

} // namespace

int RunInfoCommand(const QStringList& arguments, std::ostream& out, std::ostream& err) {
    int exitCode = kExitOk;
    const auto invocation = ParseSubcommand(arguments, {"LOG"}, false, out, err, exitCode);
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

int RunAnalyzeCommand(const QStringList& arguments, std::ostream& out, std::ostream& err) {
    int exitCode = kExitOk;
    AnalysisStore store;
    const auto loaded = ParseAndLoad(arguments, {"LOG"}, store, out, err, exitCode);
    if (!loaded)
        return exitCode;
    const AnalysisTotals& totals = loaded->store.Totals;
    out << "Kills: " << totals.Kills << "\n"
        << "Deaths: " << totals.Deaths << "\n"
        << "Teamkills: " << totals.Teamkills << "\n"
        << "Voicechats: " << totals.VoiceChats << "\n"
        << "Textchats: " << totals.TextChats << "\n"
        << "Unknown: " << totals.Unknown << "\n"
        << "Total: " << totals.Total << "\n"
        << "Players: " << store.PlayerCount() << "\n";
    return kExitOk;
}

int RunPlayersCommand(const QStringList& arguments, std::ostream& out, std::ostream& err) {
    int exitCode = kExitOk;
    AnalysisStore store;
    if (!ParseAndLoad(arguments, {"LOG"}, store, out, err, exitCode))
        return exitCode;
    for (const PlayerIndex p : store.PlayerIndexes()) // a hidden player is left out
        out << TerminalSafeText(store.Players[static_cast<std::size_t>(p)].Name) << "\n";
    return kExitOk;
}

int RunPlayerCommand(const QStringList& arguments, std::ostream& out, std::ostream& err) {
    int exitCode = kExitOk;
    AnalysisStore store;
    const auto loaded = ParseAndLoad(arguments, {"LOG", "NAME"}, store, out, err, exitCode);
    if (!loaded)
        return exitCode;
    const Invocation& invocation = loaded->invocation;
    const std::string name = invocation.positional.back().toStdString();
    const auto index = invocation.source.Merging.Find(store, name);
    if (!index) {
        err << "qla: no player is stored as '" << TerminalSafeText(name) << "' in "
            << TerminalSafeText(invocation.source.Name()) << StoredNamesLike(store, name) << "\n";
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

// Read by name, the names left out of the fit, so that a reader who misses one on the board
// knows why: each is many people at once.
void NoteUnratedNames(const AnalysisStore& store, std::ostream& err) {
    constexpr std::size_t kNamesShown = 10;
    std::vector<std::string> names;
    for (const PlayerIndex p : store.PlayerIndexes())
        if (PassesThrough(store, p))
            if (std::string name =
                    StripColourCodes(store.Players[static_cast<std::size_t>(p)].Name);
                std::find(names.begin(), names.end(), name) == names.end())
                names.push_back(std::move(name));
    if (names.empty())
        return;
    err << "qla: not rated, as names many people pass through (--merge-players rates the persons "
           "behind them):";
    for (std::size_t k = 0; k < std::min(names.size(), kNamesShown); ++k)
        err << (k == 0 ? " " : ", ") << TerminalSafeText(names[k]);
    if (names.size() > kNamesShown)
        err << " and " << names.size() - kNamesShown << " more";
    err << "\n";
}

int RunRatingsCommand(const QStringList& arguments, std::ostream& out, std::ostream& err) {
    int exitCode = kExitOk;
    AnalysisStore store;
    auto parsed = ParseSubcommand(arguments, {"LOG"}, true, out, err, exitCode);
    if (!parsed)
        return exitCode;
    if (parsed->period != AwardPeriodKind::All)
        return PrintRatingsByPeriod(
            parsed->source, parsed->period,
            {parsed->minEncounters, parsed->halfLifeDays, parsed->format.toStdString()}, out, err);
    const auto loaded = Load(std::move(*parsed), store, err, exitCode, false);
    if (!loaded)
        return exitCode;
    const Invocation& invocation = loaded->invocation;
    EntryWeights weights;
    if (invocation.halfLifeDays) {
        // A database older than its stored statistics is read as one log: no log to weigh.
        const db::LogSpans& logs = loaded->store.Logs;
        if (logs.KillEntriesEnd.empty() && loaded->store.Totals.Total > 0) {
            err << "qla: --half-life needs the statistics stored per log; qla upgrade --db "
                << TerminalSafeText(invocation.source.Database->Path) << " stores them\n";
            return kExitFailed;
        }
        weights.KillEntriesEnd = logs.KillEntriesEnd;
        weights.Weights = HalfLifeWeights(logs.Dates, *invocation.halfLifeDays);
    }
    const std::vector<RatingBoardRow> board = RatingBoard(store, invocation.minEncounters, weights);
    NoteUnratedNames(store, err);
    if (invocation.format == QLatin1String("json")) {
        out << RatingBoardJson(store, board, invocation.minEncounters, invocation.halfLifeDays);
        return kExitOk;
    }
    if (invocation.format == QLatin1String("csv")) {
        out << RatingBoardCsv(store, board, CsvOptions());
        return kExitOk;
    }
    out << "rank\trating\tuncertainty\tconservative\tencounters\tkills\tdeaths\tteamkills\t"
           "player\n";
    for (std::size_t rank = 0; rank < board.size(); ++rank) {
        const RatingShown points = ShownRating(board[rank].Rating);
        const PlayerRecord& player = store.Players[static_cast<std::size_t>(board[rank].Player)];
        const PlayerTotals totals = TotalsOfPlayer(player);
        out << rank + 1 << "\t" << points.Rating << "\t" << points.Uncertainty << "\t"
            << points.Conservative << "\t" << points.Encounters << "\t" << totals.Kills << "\t"
            << totals.Deaths << "\t" << totals.Teamkills << "\t" << TerminalSafeText(player.Name)
            << "\n";
    }
    return kExitOk;
}

} // namespace qla::cli
