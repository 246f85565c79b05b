// Where a command's players come from: the logs LOG, or the logs of a statistics database, read
// in the language, recognition and threads the command line chose, and the players merged as it
// asks. Every command that reads logs (analyze, players, player, ratings, export, alias) reads
// its options, its source and its merged players through here.
#pragma once

#include "analysis/log_names.h"
#include "cli/command_table.h"
#include "cli/database_source.h"
#include "cli/player_merging.h"
#include "cli/reading_choices.h"
#include "core/store.h"
#include "db/store_from_database.h"

#include <QCommandLineParser>
#include <QStringList>

#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace qla::cli {

struct LogSource {
    QStringList Logs;                       // the logs LOG as given; none with --db
    std::optional<DatabaseSource> Database; // read instead of the logs
    LanguageChoice Language;
    Recognition LineRecognition = Recognition::Classic;
    unsigned Threads = 0; // every core
    PlayerMerging Merging;
    // A log read in classic recognition that was not asked for: tell on standard error when
    // full recognition reads some of its lines otherwise (the reading commands without --quiet).
    bool OffersRecognitionHint = false;

    // Where a player was looked for: "the database DB", or the first log's path.
    std::string Name() const;
};

// --db and its log selection into `source`; the usage error's message, or empty.
std::string ReadSourceDatabase(const QCommandLineParser& parser, LogSource& source);

// A reading command's first steps: `arguments` parsed for `command` into `parser` (its help
// printed when asked), then --db and its log selection read into `source`. The exit status when
// the command ends here (the help, or a usage error told); nullopt to go on.
std::optional<int> StartReadingCommand(QCommandLineParser& parser, const CommandInfo& command,
                                       const QStringList& arguments, LogSource& source,
                                       std::ostream& out, std::ostream& err);

// --language, then those of --recognition, --threads, --merge-players and --aliases that the
// command describes; the exit status after printing why when the command must end here.
std::optional<int> ReadReadingOptions(const QCommandLineParser& parser, const CommandInfo& command,
                                      LogSource& source, std::ostream& err);

// What a command shows of the texts: those read into the store from a database, and whether
// the chats and other lines are streamed from a database that can instead.
struct TextsShown {
    db::StoreParts Parts;
    bool Streamed = false;
};

// The store's source once read: its totals and date, and the open database the texts stream
// from when they are streamed.
struct LoadedSource {
    LoadedStore Store;
    std::unique_ptr<DatabaseReading> Reading;
};

// Fills `store` from the first log or from the database, then merges its players as the command
// line asks; nullopt after printing the reason to err.
std::optional<LoadedSource> LoadSource(LogSource& source, AnalysisStore& store,
                                       const TextsShown& texts, std::ostream& err);

// The names, lines and renames of each log, each log's store built alone; nullopt after printing
// the reason to err.
std::optional<std::vector<LogNames>> NamesOfSourceLogs(const LogSource& source, std::ostream& err);

} // namespace qla::cli
