// Reads each log into a store of its own (from the files in the order given, or from the
// database one selected log at a time in import order), merges its players as asked, and adds its
// kills to one history, players matched by name across the logs; persons over time are merged
// over all the logs together.
#include "cli/rating_check_command.h"

#include "analysis/holder_identity.h"
#include "analysis/merge_players.h"
#include "cli/command_table.h"
#include "cli/database_source.h"
#include "cli/exit_codes.h"
#include "cli/log_opening.h"
#include "cli/player_merging.h"
#include "cli/rating_check_report.h"
#include "cli/reading_choices.h"
#include "core/control_chars.h"
#include "core/names.h"
#include "db/log_catalog.h"
#include "db/stats_database.h"
#include "db/store_from_database.h"

#include <QCommandLineParser>

#include <algorithm>
#include <map>
#include <optional>
#include <vector>

namespace qla::cli {
namespace {

struct RatingCheckRequest {
    QStringList Logs;
    std::optional<DatabaseSource> Database;
    LanguageChoice Language;
    Recognition LineRecognition = Recognition::Classic;
    unsigned Threads = 0;
    PlayerMerging Merging;
    bool Json = false;
};

std::optional<RatingCheckRequest> ParseRequest(const QStringList& arguments, std::ostream& out,
                                               std::ostream& err, int& exitCode) {
    const CommandInfo& command = *FindCommand(QStringLiteral("rating-check"));
    const auto refuse = [&](const std::string& message) {
        exitCode = CommandUsageError(command, message, err);
        return std::nullopt;
    };
    QCommandLineParser parser;
    if (const auto exit = ParseCommandLine(parser, command, arguments, out, err)) {
        exitCode = *exit;
        return std::nullopt;
    }
    RatingCheckRequest request;
    std::string usageError;
    request.Database = ReadDatabaseOptions(parser, usageError);
    if (!usageError.empty())
        return refuse(usageError);
    request.Logs = parser.positionalArguments();
    if (request.Database && !request.Logs.isEmpty())
        return refuse("takes no LOG with --db");
    if (!request.Database && request.Logs.size() < 2)
        return refuse("needs two logs or more: the earlier ones to train on, the last to predict");
    const QString format = parser.value(QStringLiteral("format"));
    if (format != QLatin1String("text") && format != QLatin1String("json"))
        return refuse("--format takes text or json, not '" + format.toStdString() + "'");
    request.Json = format == QLatin1String("json");
    const auto language = ParseLanguage(parser.value(QStringLiteral("language")), err);
    const auto recognition =
        language ? ParseRecognition(parser.value(QStringLiteral("recognition")), err)
                 : std::nullopt;
    const auto threads = recognition ? ParseThreads(parser, err) : std::nullopt;
    if (!threads) {
        exitCode = kExitUsage;
        return std::nullopt;
    }
    request.Language = *language;
    request.LineRecognition = *recognition;
    request.Threads = *threads;
    auto merging = ReadPlayerMerging(parser, err, exitCode);
    if (!merging)
        return std::nullopt;
    request.Merging = std::move(*merging);
    return request;
}

// Persons over time are worked out over all the logs at once: each log is a session of one store
// that tracks holders, merged, then each log's kills are added by the range they fill.
class PersonsOverLogs {
  public:
    PersonsOverLogs() { all_.TracksHolders = true; }
    void Add(AnalysisStore&& log) {
        all_.Append(std::move(log));
        ends_.push_back(all_.KillEvents.size());
    }
    void AddTo(PlayerMerging& merging, DuelHistory& history) {
        merging.Apply(all_);
        std::map<std::string, std::uint32_t> playerOfName;
        std::size_t first = 1;
        for (const std::size_t end : ends_) {
            AddEventsToHistory(all_, first, end, history, playerOfName);
            first = end;
        }
    }

  private:
    AnalysisStore all_;
    std::vector<std::size_t> ends_;
};

// By name, each log is read with its holders, to tell the names many people pass through, then
// filed by name; the passing names are those of the training logs, as a rating fitted on them
// would find.
class NamesOverLogs {
  public:
    explicit NamesOverLogs(std::size_t logCount)
        : trainingLogs_(logCount - std::min(logCount, TestLogCount(logCount))) {}
    void Add(AnalysisStore&& log, DuelHistory& history) {
        if (added_++ < trainingLogs_)
            training_.Add(NameKeyUses(log));
        FileHoldersByName(log);
        AddLogToHistory(log, history, playerOfName_);
    }
    void Finish(DuelHistory& history) const {
        const std::vector<std::string> passing = training_.PassingKeys();
        history.Passing.assign(history.PlayerNames.size(), 0);
        for (std::size_t p = 0; p < history.PlayerNames.size(); ++p)
            history.Passing[p] = KeyListed(passing, history.PlayerNames[p]);
    }

  private:
    std::size_t trainingLogs_, added_ = 0;
    KeyUseSums training_;
    std::map<std::string, std::uint32_t> playerOfName_;
};

// How each log's store is read and added: persons over time, names (passing names told), or
// names merged by their identity key.
class HistoryReader {
  public:
    HistoryReader(PlayerMerging& merging, std::size_t logCount)
        : merging_(merging), names_(logCount) {}
    bool TracksHolders() const { return merging_.TracksHolders() || !merging_.Merge; }
    void Add(AnalysisStore&& store, DuelHistory& history) {
        if (merging_.TracksHolders()) {
            persons_.Add(std::move(store));
        } else if (!merging_.Merge) {
            names_.Add(std::move(store), history);
        } else {
            merging_.Apply(store);
            AddLogToHistory(store, history, playerOfName_);
        }
    }
    void Finish(DuelHistory& history) {
        if (merging_.TracksHolders())
            persons_.AddTo(merging_, history);
        else if (!merging_.Merge)
            names_.Finish(history);
    }

  private:
    PlayerMerging& merging_;
    PersonsOverLogs persons_;
    NamesOverLogs names_;
    std::map<std::string, std::uint32_t> playerOfName_;
};

bool ReadLogs(RatingCheckRequest& request, DuelHistory& history, std::ostream& err) {
    HistoryReader reader(request.Merging, static_cast<std::size_t>(request.Logs.size()));
    for (const QString& path : request.Logs) {
        AnalysisStore store;
        store.TracksHolders = reader.TracksHolders();
        if (!OpenAndAnalyze(store, path, request.Language, err, request.LineRecognition,
                            request.Threads))
            return false;
        reader.Add(std::move(store), history);
    }
    reader.Finish(history);
    return true;
}

bool ReadDatabase(RatingCheckRequest& request, DuelHistory& history, std::ostream& err) {
    const DatabaseSource& source = *request.Database;
    std::string error;
    const auto database = db::StatsDatabase::Open(source.Path, db::OpenMode::ReadOnly, error);
    const auto logs = database ? db::SelectLogs(*database, source.Selection, error) : std::nullopt;
    if (!logs) {
        err << "qla: " << TerminalSafeText(error) << "\n";
        return false;
    }
    if (logs->size() < 2) {
        err << "qla: rating-check needs two logs or more; " << logs->size()
            << (source.Selection.Ids.empty() && !source.Selection.Since && !source.Selection.Until
                    ? " in the database "
                    : " selected in the database ")
            << TerminalSafeText(source.Path) << "\n";
        return false;
    }
    HistoryReader reader(request.Merging, logs->size());
    for (const db::LogEntry& log : *logs) {
        AnalysisStore store;
        store.TracksHolders = reader.TracksHolders();
        const db::DatabaseStoreResult built = db::BuildStoreFromDatabase(
            *database, db::LogsWithIds({log.Id}), store, db::StoreParts{false, false});
        if (!built.Ok) {
            err << "qla: " << TerminalSafeText(built.Error) << "\n";
            return false;
        }
        reader.Add(std::move(store), history);
    }
    reader.Finish(history);
    return true;
}

} // namespace

int RunRatingCheckCommand(const QStringList& arguments, std::ostream& out, std::ostream& err) {
    int exitCode = kExitOk;
    auto request = ParseRequest(arguments, out, err, exitCode);
    if (!request)
        return exitCode;
    DuelHistory history;
    if (!(request->Database ? ReadDatabase(*request, history, err)
                            : ReadLogs(*request, history, err)))
        return kExitFailed;
    const RatingCheckResult result = CheckRatings(history);
    if (request->Json)
        WriteRatingCheckJson(result, out);
    else
        WriteRatingCheckText(result, out);
    return kExitOk;
}

} // namespace qla::cli
