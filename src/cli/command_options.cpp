// The option groups several commands share; commands.cpp builds the commands from them.
#include "cli/command_options.h"

#include "analysis/language_guess.h"
#include "cli/reading_choices.h"

namespace qla::cli {
namespace {

OptionInfo AliasesFileOption(const std::string& description) {
    return {.Name = "aliases", .ValueName = "FILE", .Description = description};
}

// One record per player, for the commands that show players.
std::vector<OptionInfo> MergingOptions() {
    return {
        {.Name = "merge-players",
         .Description =
             "One record per person: a name belongs to one person at a time, renames carry him "
             "from name to name, and across logs he continues under his own names, never under "
             "a name many people only pass through (see docs/identity.md). --merge-players=names "
             "joins only names that differ in colour codes, case or blanks. Aliases override "
             "both; a player NAME may be any of the player's names, or the shown name such as "
             "\"Carl (2)\". With --db the aliases kept in the database are used."},
        AliasesFileOption("The aliases file for --merge-players (see qla alias); not with --db, "
                          "which keeps its own aliases.")};
}

} // namespace

OptionInfo LanguageOption(const std::string& description) {
    return {.Name = "language",
            .ValueName = "L",
            .Description = description,
            .Values = LanguageNames(),
            .Default = "english"};
}

OptionInfo DatabaseOption(const std::string& description) {
    return {.Name = "db", .ValueName = "DB", .Description = description};
}

// What a reading command takes: the log's language and recognition, or a database in place of
// LOG and the logs to read from it.
std::vector<OptionInfo> ReadingOptions() {
    return {
        LanguageOption("The wording of the log: english (the default), german, or auto: read "
                       "in the language its first " +
                       std::to_string(kLinesJudged) +
                       " lines are written in, which is reported on standard error. Not with "
                       "--db: each log keeps the language it was imported with."),
        {.Name = "recognition",
         .ValueName = "M",
         .Description = "classic (the default: the original phrase tables) or full (chat by its "
                        "shape, the newer death wordings, names cut in obituaries).",
         .Values = RecognitionNames(),
         .Default = "classic"},
        {.Name = "threads",
         .ValueName = "N",
         .Description = "Analyses the log on N threads (the default: one for each core); the "
                        "results are the same for every N. Full recognition runs on one thread."},
        DatabaseOption("Reads the statistics database DB (an SQLite file, or a PostgreSQL "
                       "database: postgresql://USER@HOST[:PORT]/NAME or \"host=HOST dbname=NAME "
                       "user=USER\"; the password only from PGPASSWORD or ~/.pgpass) instead of "
                       "a log; LOG is left out then."),
        {.Name = "log",
         .ValueName = "ID[,ID...]",
         .Description = "With --db: only these logs, by the ids qla logs prints. Repeatable."},
        {.Name = "since",
         .ValueName = "DATE",
         .Description =
             "With --db: only logs whose date header is DATE or later. DATE is YYYY-MM-DD, "
             "YYYY-MM-DD HH:MM or YYYY-MM-DD HH:MM:SS; a day alone is the whole day."},
        {.Name = "until",
         .ValueName = "DATE",
         .Description = "With --db: only logs whose date header is DATE or earlier."},
        {.Name = "server",
         .ValueName = "NAME",
         .Description = "With --db: only logs tagged with this server (qla import --server)."}};
}

// The reading options, the merging of players, then the command's own.
std::vector<OptionInfo> WithReadingOptions(const std::vector<OptionInfo>& own) {
    std::vector<OptionInfo> options = ReadingOptions();
    const std::vector<OptionInfo> merging = MergingOptions();
    options.insert(options.end(), merging.begin(), merging.end());
    options.insert(options.end(), own.begin(), own.end());
    return options;
}

// The options of qla alias: the aliases file or the database, the logs to read, their language.
std::vector<OptionInfo> AliasOptions() {
    std::vector<OptionInfo> options{
        AliasesFileOption("The aliases file, which serves single logs; add and split create it "
                          "when it is missing."),
        LanguageOption("The wording of the logs LOG: english (the default), german or auto (each "
                       "log read in the language its first lines are written in)."),
        DatabaseOption("The statistics database, whose aliases are changed or read, and whose "
                       "logs list and suggest read in place of LOG.")};
    // The log selection of the reading commands; a database already knows each log's recognition.
    for (OptionInfo& option : ReadingOptions())
        if (option.Name == "log" || option.Name == "since" || option.Name == "until" ||
            option.Name == "server")
            options.push_back(std::move(option));
    return options;
}

} // namespace qla::cli
