// The reading options, the store built from the logs or the database, and the merged players.
#include "cli/log_source.h"
#include "analysis/holder_identity.h"
#include "cli/exit_codes.h"
#include "cli/log_opening.h"
#include "cli/player_merging.h"
#include "cli/reading_choices.h"

#include "cli/recognition_hint_note.h"

#include <algorithm>
#include <future>
#include <sstream>
#include <string>

namespace qla::cli {
namespace {

bool Describes(const CommandInfo& command, std::string_view option) {
    return std::ranges::any_of(command.Options,
                               [option](const OptionInfo& info) { return info.Name == option; });
}

// A reader of the names and counts of every log of a database, merged into persons: the
// database may keep them merged (with its aliases; the hidden players are joined after).
bool ReadsKeptPersons(const LogSource& source, const TextsShown& texts) {
    if (!source.Database)
        return false;
    const db::StoreParts& parts = texts.Parts;
    const db::LogSelection& selection = source.Database->Selection;
    return source.Merging.TracksHolders() && !texts.Streamed && !parts.Chats &&
           !parts.UnknownLines && !parts.Kills && !parts.KillOrder && selection.Ids.empty() &&
           !selection.Since && !selection.Until && !selection.Server;
}

} // namespace

std::string LogSource::Name() const {
    if (Database)
        return "the database " + Database->Path;
    return Logs.at(0).toStdString();
}

std::string ReadSourceDatabase(const QCommandLineParser& parser, LogSource& source) {
    std::string usageError;
    source.Database = ReadDatabaseOptions(parser, usageError);
    return usageError;
}

std::optional<int> StartReadingCommand(QCommandLineParser& parser, const CommandInfo& command,
                                       const QStringList& arguments, LogSource& source,
                                       std::ostream& out, std::ostream& err) {
    if (const auto exit = ParseCommandLine(parser, command, arguments, out, err))
        return exit;
    if (const std::string usageError = ReadSourceDatabase(parser, source); !usageError.empty())
        return CommandUsageError(command, usageError, err);
    return std::nullopt;
}

std::optional<int> ReadReadingOptions(const QCommandLineParser& parser, const CommandInfo& command,
                                      LogSource& source, std::ostream& err) {
    const auto language = ParseLanguage(parser.value(QStringLiteral("language")), err);
    if (!language)
        return kExitUsage;
    source.Language = *language;
    // Only options the parser was given are asked about: Qt warns of any other.
    if (Describes(command, "recognition")) {
        const auto recognition = ParseRecognition(parser.value(QStringLiteral("recognition")), err);
        if (!recognition)
            return kExitUsage;
        source.LineRecognition = *recognition;
        source.OffersRecognitionHint = Describes(command, "quiet") &&
                                       !parser.isSet(QStringLiteral("quiet")) &&
                                       !parser.isSet(QStringLiteral("recognition"));
    }
    if (Describes(command, "threads")) {
        const auto threads = ParseThreads(parser, err);
        if (!threads)
            return kExitUsage;
        source.Threads = *threads;
    }
    if (Describes(command, "merge-players")) {
        int exitCode = kExitOk;
        auto merging = ReadPlayerMerging(parser, err, exitCode);
        if (!merging)
            return exitCode;
        source.Merging = std::move(*merging);
    }
    return std::nullopt;
}

std::optional<LoadedSource> LoadSource(LogSource& source, AnalysisStore& store,
                                       const TextsShown& texts, std::ostream& err) {
    LoadedSource loaded;
    std::future<std::string> hint;
    if (ReadsKeptPersons(source, texts)) {
        store = AnalysisStore();
        auto kept = LoadKeptPersons(*source.Database, source.Merging.Aliases, store, err);
        if (!kept)
            return std::nullopt;
        if (kept->Names) {
            loaded.Store = std::move(kept->Store);
            source.Merging.Names = std::move(kept->Names);
            source.Merging.Hide(store, loaded.Store.HiddenKeys);
            return loaded;
        }
    }
    // Merging persons files the chats by their holdings as the store is built: no streaming.
    if (source.Database && texts.Streamed && !source.Merging.TracksHolders()) {
        // Players merged after the store is built join their streaks: they need the order.
        auto opened = DatabaseReading::Open(*source.Database, store, err, texts.Parts.KillOrder,
                                            !source.Merging.Merge,
                                            texts.Parts.PassingNames && !source.Merging.Merge);
        if (!opened)
            return std::nullopt;
        loaded.Reading = std::move(*opened);
    }
    if (loaded.Reading) {
        loaded.Store = loaded.Reading->TakeLoaded();
    } else if (source.Database) {
        // A database that cannot stream reads the texts into a fresh store instead.
        store = AnalysisStore();
        store.TracksHolders = source.Merging.TracksHolders();
        // No command that reads through a source shows renames; merging over time files them
        // with the holdings.
        db::StoreParts parts = texts.Parts;
        parts.Renames = false;
        parts.Chains = source.Merging.ReadsChains();
        // Merging weighs kills a reader of counts does not show: only those are read for it.
        parts.KillsForPersonsOnly = !parts.Kills && source.Merging.Merge;
        parts.Kills = parts.Kills || source.Merging.Merge;
        parts.PassingNames = parts.PassingNames && !source.Merging.Merge;
        // Players merged after the store is built join their streaks: they need the order.
        parts.KillFiguresOnly = parts.KillFiguresOnly && !source.Merging.Merge;
        auto read = LoadFromDatabase(*source.Database, store, err, parts);
        if (!read)
            return std::nullopt;
        loaded.Store = std::move(*read);
    } else {
        // A reading by name that fits the rating tracks the holders to tell the passing names,
        // then files them by name as every other reading by name counts.
        const bool findsPassing = texts.Parts.PassingNames && !source.Merging.Merge;
        store.TracksHolders = source.Merging.TracksHolders() || findsPassing;
        const auto analysed = OpenAndAnalyze(store, source.Logs.at(0), source.Language, err,
                                             source.LineRecognition, source.Threads);
        if (!analysed)
            return std::nullopt;
        if (findsPassing)
            FileByNameKeepingPassingKeys(store);
        loaded.Store = {analysed->Totals, analysed->DateText};
        // The hint reads the log's first lines on a core of its own while the players are
        // merged (one core's work), and is printed where it always was, before any output.
        if (source.OffersRecognitionHint && source.LineRecognition == Recognition::Classic)
            hint = std::async(std::launch::async,
                              [path = source.Logs.at(0), language = source.Language] {
                                  std::ostringstream line;
                                  NoteRecognitionHint(path, language, line);
                                  return line.str();
                              });
    }
    source.Merging.Apply(store);
    if (hint.valid())
        err << hint.get();
    source.Merging.Hide(store, loaded.Store.HiddenKeys);
    return loaded;
}

std::optional<std::vector<LogNames>> NamesOfSourceLogs(const LogSource& source, std::ostream& err) {
    if (source.Database)
        return NamesOfDatabaseLogs(*source.Database, err);
    std::vector<LogNames> logs;
    for (const QString& path : source.Logs) {
        AnalysisStore store;
        store.TracksHolders = true; // passing names are told by their holders
        if (!OpenAndAnalyze(store, path, source.Language, err, source.LineRecognition,
                            source.Threads))
            return std::nullopt;
        logs.push_back(NamesOfStore(store, static_cast<std::int64_t>(logs.size()) + 1));
    }
    return logs;
}

} // namespace qla::cli
