// The description of every qla command and option. A new command or option is an entry here;
// its parser, its help and the checks of the man page and the completion follow from it.
#include "cli/alias_command.h"
#include "cli/awards_command.h"
#include "cli/command_options.h"
#include "cli/command_table.h"
#include "cli/database_commands.h"
#include "cli/erase_command.h"
#include "cli/export_command.h"
#include "cli/export_view_help.h"
#include "cli/hide_command.h"
#include "cli/rating_check_command.h"
#include "cli/read_commands.h"
#include "cli/reading_choices.h"
#include "cli/site_choice_options.h"
#include "cli/versus_command.h"
#include "cli/view_format_choice.h"
#include "cli/watch_command.h"
#include "export/export_views.h"

namespace qla::cli {
namespace {

// qla alias's actions, laid out as its help prints them.
constexpr const char* kAliasActions =
    "Actions:\n"
    "  add NAME OTHER    NAME and OTHER are one player\n"
    "  split NAME        take NAME back out of its player: undoes your joins of NAME; a NAME\n"
    "                    you never joined is held apart from the automatic joins (same key,\n"
    "                    renames)\n"
    "  list [LOG...]     every player with all its names: the display name, then each name,\n"
    "                    tab-separated; on a terminal each name on a line of its own,\n"
    "                    indented under the player\n"
    "  suggest LOG...    likely joins: NAME, OTHER and the reasons, tab-separated\n"
    "  list and suggest read the logs LOG, or with --db the logs of the database.\n";

// The reading commands of a single log tell on standard error when full recognition would read
// some of its lines otherwise; --quiet keeps standard error for errors.
OptionInfo QuietOption() {
    return {.Name = "quiet",
            .Description = "Prints no hint that full recognition reads some of the log's lines "
                           "otherwise."};
}

// A command's own options with options described elsewhere between them, in the help's order.
std::vector<OptionInfo> Joined(std::vector<OptionInfo> first, const std::vector<OptionInfo>& middle,
                               const std::vector<OptionInfo>& last) {
    first.insert(first.end(), middle.begin(), middle.end());
    first.insert(first.end(), last.begin(), last.end());
    return first;
}

std::vector<CommandInfo> BuildCommands() {
    return {
        {.Name = "info",
         .Synopsis = "LOG",
         .Summary = "file name, number of lines and log date",
         .Description = "Prints the file name, the number of lines and the date the game wrote "
                        "into the log (File:, Lines:, Date:).",
         .Run = RunInfoCommand},
        {.Name = "analyze",
         .Synopsis = "LOG|--db DB [options]",
         .Summary = "the seven totals and the number of players",
         .Description = "Analyses the log (or the logs of a statistics database) and prints the "
                        "seven totals (kills, deaths, teamkills, voice chats, text chats, unknown "
                        "lines, total) and the number of players, one \"Label: value\" line each.",
         .Options = WithReadingOptions({QuietOption()}),
         .Run = RunAnalyzeCommand},
        {.Name = "players",
         .Synopsis = "LOG|--db DB [options]",
         .Summary = "every player name, in order of first appearance",
         .Description = "Prints every player name as stored, colour codes included, one per line, "
                        "in order of first appearance.",
         .Options = WithReadingOptions({QuietOption()}),
         .Run = RunPlayersCommand},
        {.Name = "player",
         .Synopsis = "LOG|--db DB NAME [options]",
         .Summary = "the totals of the player stored exactly as NAME",
         .Description = "Prints the totals of the player stored exactly as NAME (as qla players "
                        "prints it); with --merge-players NAME may be any of the player's names.",
         .Options = WithReadingOptions({QuietOption()}),
         .Run = RunPlayerCommand},
        {.Name = "ratings",
         .Synopsis = "LOG|--db DB [options]",
         .Summary = "the skill board: a rating fitted to who killed whom",
         .Description =
             "Fits every player's skill to the kills between players (teamkills and suicides left "
             "out): one fit of a Bradley-Terry model, with a prior that pulls players of few "
             "encounters towards the middle, so the order of the kills and of the logs changes "
             "nothing. Prints the board ranked by a conservative value (the rating less twice its "
             "uncertainty), tab-separated: rank, rating, uncertainty, conservative value (in "
             "points: 1500 the middle, 400 points for ten-to-one odds), encounters (kills either "
             "way), kills, deaths, teamkills and the player. Read by name, a name many people "
             "pass through (the connect name, fun names) is many skills at once: its kills are "
             "left out of the fit and it is not rated, and standard error names such names; "
             "--merge-players rates the persons behind them.",
         .Options = WithReadingOptions(
             {{.Name = "min-encounters",
               .ValueName = "N",
               .Description = "The kills either way a player needs to be on the board (default "
                              "50), so that one lucky evening does not top it.",
               .Default = "50"},
              {.Name = "half-life",
               .ValueName = "DAYS",
               .Description = "From a database: a log DAYS older than the newest (by the logs' "
                              "dates) weighs half as much in the fit, its encounters too; logs "
                              "without a date weigh as the newest. Without it every kill weighs "
                              "alike."},
              {.Name = "period",
               .ValueName = "PERIOD",
               .Description = "all (the default: one board of every log), or a board for each "
                              "session, day, week (ISO weeks) or month by the logs' dates, each "
                              "fitted to the kills of its own logs alone, with its players' "
                              "kills, deaths and teamkills in it; rows then begin with the "
                              "period (\"2009-W10\", \"log 7\"; \"undated\" last), as qla awards "
                              "groups them.",
               .Values = {"all", "session", "day", "week", "month"},
               .Default = "all"},
              {.Name = "format",
               .ValueName = "FORMAT",
               .Description = "text (the default: the tab-separated board), json (the JSON "
                              "view family's document, view \"ratings\") or csv.",
               .Values = {"text", "json", "csv"},
               .Default = "text"}}),
         .Run = RunRatingsCommand},
        {.Name = "awards",
         .Synopsis = "LOG|--db DB [options]",
         .Summary = "awards of each period and the records of any one session",
         .Description =
             "Gives the awards (most kills, best rating gain, longest kill and death streaks, most "
             "kills with each weapon, best kill/death ratio, most teamkills, most suicides, most "
             "chat messages, nemesis pairs, first blood of each log) for each period, each with "
             "its minimum activity and tie rule, then the records: the longest kill and death "
             "streaks and the best single session (most kills; best kill/death ratio with at "
             "least 20 kills), each with its log and date. A session starts at a \"logfile opened "
             "on\" line or a log's start; from a database each stored log is one. From a database "
             "the streaks come from the order of each log's kills kept beside its statistics; a "
             "log imported before schema version 9 has none until qla reanalyze reads it again, "
             "and the output says so. Prints tab-separated rows: the awards (period, award, "
             "player, other, subject, value), then the records (record, player, value, kills, "
             "deaths, log, date).",
         .Options = WithReadingOptions(
             {QuietOption(),
              {.Name = "period",
               .ValueName = "PERIOD",
               .Description = "all (the default: one period of every log), session, day, week "
                              "(ISO weeks) or month, by the logs' dates; logs without a date form "
                              "one period of their own, \"undated\", after the others.",
               .Values = {"all", "session", "day", "week", "month"},
               .Default = "all"},
              {.Name = "format",
               .ValueName = "FORMAT",
               .Description = "text (the default: tab-separated rows), json (the JSON view "
                              "family's document, view \"awards\") or csv.",
               .Values = {"text", "json", "csv"},
               .Default = "text"}}),
         .Run = RunAwardsCommand},
        {.Name = "rating-check",
         .Synopsis = "LOG LOG...|--db DB [options]",
         .Summary = "the rating and its baselines scored on later logs",
         .Description =
             "Trains on the earlier logs (all but the last fifth of them, at least one left out) "
             "and predicts every kill between two players of the later ones (teamkills and "
             "suicides left out): the chance that the player whose name sorts first, not the "
             "other, made it. Prints log loss, Brier score and calibration (predicted against "
             "observed in ten bins, with their encounters) for the fitted rating and for the "
             "kill/death ratio, a sequential Elo (K 16 for a player's first 50 kills and deaths, "
             "then 4) and Glicko-1 with one rating period per log. The logs are taken in the order "
             "given, from a database in import order; players are matched across logs by name.",
         .Options = WithReadingOptions(
             {{.Name = "format",
               .ValueName = "FORMAT",
               .Description = "text (the default: tab-separated tables) or json.",
               .Values = {"text", "json"},
               .Default = "text"}}),
         .Run = RunRatingCheckCommand},
        {.Name = "versus",
         .Synopsis = "LOG|--db DB NAME OTHER [options]",
         .Summary = "two players against each other: kills, weapons, chance",
         .Description =
             "Prints how NAME and OTHER fared against each other (teamkills left out): the kills "
             "of NAME on OTHER and of OTHER on NAME, each weapon's kills either way, the kills per "
             "log of a database in date order (a log read is one row), both players' ratings and "
             "the chance that NAME, not OTHER, wins an encounter, from the fit qla ratings makes "
             "of the same logs. NAME and OTHER are matched as qla player matches NAME. From a "
             "database with players merged over time the weapons are not told: the stored "
             "statistics keep them per name.",
         .Options = WithReadingOptions(
             {{.Name = "format",
               .ValueName = "FORMAT",
               .Description = "text (the default: labelled lines and tab-separated tables) or "
                              "json (the JSON view family's document, view \"versus\").",
               .Values = {"text", "json"},
               .Default = "text"}}),
         .Run = RunVersusCommand},
        {.Name = "export",
         .Synopsis = "LOG --view VIEW --format FORMAT --output PATH [options]",
         .Summary = "write a statistics file or the whole site",
         .Description =
             "Writes one view of the statistics as a file, with the choices of the window's Export "
             "page, or the whole linked HTML site of every player and weapon into a folder, or the "
             "statistics site (view dashboard: sortable tables, charts, a page per player). JSON "
             "(every view) and CSV (the table views) always hold every column. An option that the "
             "chosen view or format does not have is a usage error. With --db DB the logs of a "
             "statistics database are read in place of LOG.",
         .Options = WithReadingOptions(Joined(
             {{.Name = "view",
               .ValueName = "VIEW",
               .Description =
                   "What to write (see the views below); all is the whole site. Required.",
               .Values = ExportViewNames()},
              {.Name = "format",
               .ValueName = "FORMAT",
               .Description = "The file format (see the views below). Required.",
               .Values = ExportFormatNames()},
              {.Name = "output",
               .ValueName = "PATH",
               .Description = "The file to write, replaced when it exists; for view all, and view "
                              "dashboard with format html, the folder of the site, made when it "
                              "does not exist. Required."},
              {.Name = "title",
               .ValueName = "TEXT",
               .Description = "The game title shown on the HTML pages."},
              {.Name = "checks",
               .ValueName = "LIST",
               .Description =
                   "The checked boxes of the page as a comma-separated list of names or indexes "
                   "(see the views below), or none. All are checked by default."},
              {.Name = "order",
               .ValueName = "NAME",
               .Description =
                   "The \"Order by\" option by its name or index (see the views below)."},
              {.Name = "descending", .Description = "Reads the table from its end."},
              {.Name = "player",
               .ValueName = "NAME",
               .Description =
                   "The player of view player, exactly as stored (see qla players), or with "
                   "--merge-players any of the player's names. Required for that view."},
              {.Name = "separator",
               .ValueName = "S",
               .Description = "Text and csv: the column separator (default \",\"); \\t stands for "
                              "a tab. For csv it may not be empty or hold a quote or a line end."},
              {.Name = "raw-fields",
               .Description =
                   "Csv only: writes fields that begin with = + - @ tab or CR as they are, without "
                   "the apostrophe that keeps a spreadsheet from running them as formulas."}},
             SiteThresholdOptions("Dashboard only", "Dashboard html only"),
             {{.Name = "no-header",
               .Description = "Text only: leaves out the row of column names."},
              {.Name = "remove-colors",
               .Description = "Text only: removes the colour codes from player names."},
              {.Name = "if-exists",
               .ValueName = "overwrite|skip",
               .Description = "View all only: whether pages that already exist in the folder are "
                              "replaced (the default) or kept.",
               .Values = {"overwrite", "skip"}},
              QuietOption()})),
         .Details = ExportViewDetails(),
         .Run = RunExportCommand},
        {.Name = "import",
         .Synopsis = "LOG... --db DB [--language L] [--recognition M] [--server NAME] [--finished] "
                     "[--no-archive] [--quiet]",
         .Summary = "add each log's new complete lines to a statistics database",
         .Description =
             "Adds each log's new complete lines to DB, made when it does not exist. A log "
             "imported before adds only the lines it gained; a last line without line end waits "
             "for it unless --finished says the log is complete. A copy of a stored log's first "
             "lines (or the log truncated) adds nothing; a log that continues a stored one adds "
             "only its new lines; a file that only shares its start with one is a new log. Only "
             "regular files are read, never a database.",
         .Options =
             {DatabaseOption("The statistics database: an SQLite file, or a PostgreSQL database as "
                             "postgresql://USER@HOST[:PORT]/NAME or \"host=HOST dbname=NAME "
                             "user=USER\" (the password only from PGPASSWORD or ~/.pgpass). "
                             "Required."),
              LanguageOption(
                  "The wording of logs new to the database: english (the default), german "
                  "or auto (each log read in the language its first lines are written in, "
                  "reported on standard error)."),
              {.Name = "recognition",
               .ValueName = "M",
               .Description = "The recognition of logs new to the database: classic or full. By "
                              "default the database's own: full for a database made by this "
                              "version, classic for one made before (so that it never mixes modes "
                              "unasked). A log imported before keeps its language and recognition.",
               .Values = RecognitionNames()},
              {.Name = "server",
               .ValueName = "NAME",
               .Description = "Tags the logs with the server they were played on, so that reading "
                              "commands can choose them with --server NAME. A log imported before "
                              "takes the new tag even when it gained no lines."},
              {.Name = "finished",
               .Description = "The logs are complete: a last line without line end counts."},
              {.Name = "no-archive",
               .Description =
                   "Keeps the statistics of the new lines but not the lines themselves, only a "
                   "checksum of each KiB of them: a smaller database (23 MB instead of 32 MB for a "
                   "generated 1M-line log), but qla check and qla reanalyze cannot read those "
                   "lines again, and a shorter copy's last partial KiB cannot be compared."},
              {.Name = "quiet", .Description = "Prints no progress and no report, only errors."}},
         .Run = RunImportCommand},
        {.Name = "logs",
         .Synopsis = "--db DB",
         .Summary = "the logs imported into a statistics database",
         .Description =
             "Prints one line per imported log: id, lines, language, recognition, import time, "
             "date header, path, the bytes of an unfinished last line held back and the server "
             "it is tagged with (qla import --server; - for none).",
         .Options = {DatabaseOption("The statistics database. Required.")},
         .Run = RunLogsCommand},
        {.Name = "forget",
         .Synopsis = "--db DB ID...",
         .Summary = "remove logs from a statistics database",
         .Description = "Removes the logs with these ids (as qla logs prints them); the database "
                        "is then as if they had never been imported.",
         .Options = {DatabaseOption("The statistics database. Required.")},
         .Run = RunForgetCommand},
        {.Name = "check",
         .Synopsis = "--db DB",
         .Summary = "look for damage in a statistics database",
         .Description =
             "Checks the database: the engine's own check of its pages, every stored chunk of "
             "lines against its checksum, each log's recorded sizes and line count against its "
             "chunks, and each log's stored totals and players against a fresh reading of its "
             "stored lines. Prints each damage found and exits with status 1 when there is any.",
         .Options = {DatabaseOption("The statistics database. Required.")},
         .Run = RunCheckCommand},
        {.Name = "reanalyze",
         .Synopsis = "--db DB [--log ID...] [--recognition M] [--language L]",
         .Summary = "rebuild logs' statistics from their stored lines",
         .Description = "Rebuilds the statistics of the chosen logs (all without --log) from their "
                        "stored lines, in one transaction, with their own recognition and language "
                        "unless told otherwise, and prints each log's new line.",
         .Options = {DatabaseOption("The statistics database. Required."),
                     {.Name = "log",
                      .ValueName = "ID[,ID...]",
                      .Description = "Only these logs, by the ids qla logs prints. Repeatable."},
                     {.Name = "recognition",
                      .ValueName = "M",
                      .Description = "Read the logs in this recognition: classic or full.",
                      .Values = RecognitionNames()},
                     {.Name = "language",
                      .ValueName = "L",
                      .Description = "Read the logs in this wording: english or german.",
                      .Values = {"english", "german"}}},
         .Run = RunReanalyzeCommand},
        {.Name = "upgrade",
         .Synopsis = "--db DB",
         .Summary = "bring an older statistics database to this version",
         .Description = "Brings the database to this version's schema in one transaction, as the "
                        "first command that writes to it would, and prints the version. Reading "
                        "commands read an older database as it is.",
         .Options = {DatabaseOption("The statistics database. Required.")},
         .Run = RunUpgradeCommand},
        {.Name = "watch",
         .Synopsis = "LOG... --db DB [--interval S] [--site DIR --view VIEW [--title T]] "
                     "[--language L] [--recognition M] [--no-archive]",
         .Summary = "keep importing logs into a statistics database as they grow",
         .Description =
             "Keeps importing the logs into DB as the game writes them, until stopped by Ctrl-C or "
             "SIGTERM. Each batch of changes is one transaction, so a stop or a crash never leaves "
             "half a batch, and a watch started again goes on where the database stands. A log "
             "renamed away (rotated) gets its last lines imported before the new file under its "
             "name starts a new log. One line per batch on standard error says what it added.",
         .Options =
             Joined({DatabaseOption("The statistics database, as for import. Required."),
                     {.Name = "interval",
                      .ValueName = "S",
                      .Description = "Also looks for changes every S seconds (default 1), for file "
                                     "systems without change notification.",
                      .Default = "1"},
                     {.Name = "site",
                      .ValueName = "DIR",
                      .Description = "After each batch that added lines, exports VIEW into DIR: "
                                     "written beside it, then only the files that changed are "
                                     "renamed into DIR, so a web server never serves half a site."},
                     {.Name = "view",
                      .ValueName = "VIEW",
                      .Description = "With --site: a view that writes a site: all (the linked "
                                     "pages) or dashboard (the statistics site).",
                      .Values = SiteViewNames()},
                     {.Name = "format",
                      .ValueName = "FORMAT",
                      .Description = "With --site: the format of the site (html).",
                      .Values = {"html"}},
                     {.Name = "title",
                      .ValueName = "TEXT",
                      .Description = "With --site: the game title of the pages; the statistics "
                                     "site is headed Statistics without one."}},
                    SiteThresholdOptions("With --view dashboard", "With --view dashboard"),
                    {LanguageOption("The wording of logs new to the database, as for import."),
                     {.Name = "recognition",
                      .ValueName = "M",
                      .Description = "The recognition of logs new to the database, as for import "
                                     "(by default the database's own).",
                      .Values = RecognitionNames()},
                     {.Name = "no-archive",
                      .Description = "Keeps statistics only, not the lines, as for import."}}),
         .Run = RunWatchCommand},
        {.Name = "alias",
         .Synopsis = "add|split|list|suggest [NAME...|LOG...] --aliases FILE|--db DB [options]",
         .Summary = "the aliases kept for merging players",
         .Description = "Changes or reads the aliases that --merge-players joins. The aliases file "
                        "serves single logs; a statistics database keeps its own aliases. Names "
                        "are given as the logs write them; trailing colour codes and outer blanks "
                        "do not matter. docs/identity.md describes the aliases file.",
         .Options = AliasOptions(),
         .Details = kAliasActions,
         .Run = RunAliasCommand},
        {.Name = "hide",
         .Synopsis = "--db DB [NAME...]",
         .Summary = "keep players out of every list of a database's statistics",
         .Description =
             "Hides the players NAME in every reading of the database: no board, table, page, "
             "JSON or CSV row names them, while their kills and deaths still count for the "
             "others, as \"a hidden player\". A NAME stands for every spelling of it (colour "
             "codes, case and outer blanks do not matter); with --merge-players a player who "
             "holds a hidden name is hidden whole. Without NAME, lists the hidden names as "
             "their keys (lower case, without colour codes). qla unhide shows them again.",
         .Options = {DatabaseOption("The statistics database. Required.")},
         .Run = RunHideCommand},
        {.Name = "unhide",
         .Synopsis = "--db DB NAME...",
         .Summary = "show players hidden by qla hide again",
         .Description = "Shows the players NAME again in every reading of the database, as "
                        "before qla hide hid them.",
         .Options = {DatabaseOption("The statistics database. Required.")},
         .Run = RunUnhideCommand},
        {.Name = "erase-player",
         .Synopsis = "--db DB NAME...",
         .Summary = "remove a player's names from a database for good",
         .Description =
             "Removes the names NAME (one person's: colour codes, case and outer blanks do not "
             "matter) from the database for good, in one transaction: every log's stored lines "
             "are written again with a pseudonym, \"erased player N\", in place of the names, in "
             "the players' places and in chat messages and other lines alike, and the log's "
             "statistics are rebuilt from them; aliases and hidden players that name him follow. "
             "The names are kept only as salted hashes, so that later imports store his new "
             "lines with the pseudonym too. A log imported with --no-archive that names him "
             "refuses the erase (its statistics cannot be rebuilt without its lines). Cannot be "
             "undone.",
         .Options = {DatabaseOption("The statistics database. Required.")},
         .Run = RunErasePlayerCommand},
    };
}

} // namespace

const std::vector<CommandInfo>& Commands() {
    static const std::vector<CommandInfo> commands = BuildCommands();
    return commands;
}

const CommandInfo* FindCommand(const QString& name) {
    for (const CommandInfo& command : Commands())
        if (name == QString::fromStdString(command.Name))
            return &command;
    return nullptr;
}

const OptionInfo& HelpOption() {
    static const OptionInfo help{
        .Name = "help", .ShortName = "h", .Description = "Prints this help."};
    return help;
}

const std::vector<OptionInfo>& GlobalOptions() {
    static const std::vector<OptionInfo> options{
        {.Name = "help",
         .ShortName = "h",
         .Description =
             "Prints this overview. After a command, or as qla help COMMAND: that command's help."},
        {.Name = "version", .ShortName = "V", .Description = "Prints the program's version."}};
    return options;
}

} // namespace qla::cli
