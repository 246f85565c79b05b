// The description of every qla command and option. A new command or option is an entry here;
// its parser, its help and the checks of the man page and the completion follow from it.
#include "cli/alias_command.h"
#include "cli/cli_common.h"
#include "cli/command_options.h"
#include "cli/command_table.h"
#include "cli/database_commands.h"
#include "cli/export_command.h"
#include "cli/export_view_help.h"
#include "cli/rating_check_command.h"
#include "cli/read_commands.h"
#include "cli/view_format_choice.h"
#include "cli/watch_command.h"
#include "export/export_views.h"

namespace qla::cli {
namespace {

std::vector<CommandInfo> BuildCommands() {
    return {
        {"info",
         "LOG",
         "file name, number of lines and log date",
         "Prints the file name, the number of lines and the date the game wrote into the log "
         "(File:, Lines:, Date:).",
         {},
         {},
         RunInfoCommand},
        {"analyze",
         "LOG|--db DB [options]",
         "the seven totals and the number of players",
         "Analyses the log (or the logs of a statistics database) and prints the seven totals "
         "(kills, deaths, teamkills, voice chats, text chats, unknown lines, total) and the "
         "number of players, one \"Label: value\" line each.",
         WithReadingOptions({}),
         {},
         RunAnalyzeCommand},
        {"players",
         "LOG|--db DB [options]",
         "every player name, in order of first appearance",
         "Prints every player name as stored, colour codes included, one per line, in order of "
         "first appearance.",
         WithReadingOptions({}),
         {},
         RunPlayersCommand},
        {"player",
         "LOG|--db DB NAME [options]",
         "the totals of the player stored exactly as NAME",
         "Prints the totals of the player stored exactly as NAME (as qla players prints it); "
         "with --merge-players NAME may be any of the player's names.",
         WithReadingOptions({}),
         {},
         RunPlayerCommand},
        {"ratings",
         "LOG|--db DB [options]",
         "the skill board: a rating fitted to who killed whom",
         "Fits every player's skill to the kills between players (teamkills and suicides left "
         "out): one fit of a Bradley-Terry model, with a prior that pulls players of few "
         "encounters towards the middle, so the order of the kills and of the logs changes "
         "nothing. Prints the board ranked by a conservative value (the rating less twice its "
         "uncertainty), tab-separated: rank, rating, uncertainty, conservative value (in points: "
         "1500 the middle, 400 points for ten-to-one odds), encounters (kills either way), kills, "
         "deaths, teamkills and the player.",
         WithReadingOptions({{"min-encounters",
                              "",
                              "N",
                              "The kills either way a player needs to be on the board (default "
                              "50), so that one lucky evening does not top it.",
                              {},
                              "50"}}),
         {},
         RunRatingsCommand},
        {"rating-check",
         "LOG LOG...|--db DB [options]",
         "the rating and its baselines scored on later logs",
         "Trains on the earlier logs (all but the last fifth of them, at least one left out) and "
         "predicts every kill between two players of the later ones (teamkills and suicides left "
         "out): the chance that the player whose name sorts first, not the other, made it. Prints "
         "log loss, Brier score and calibration (predicted against observed in ten bins, with "
         "their encounters) for the fitted rating and for the kill/death ratio, a sequential Elo "
         "(K 16 for a player's first 50 kills and deaths, then 4) and Glicko-1 with one rating "
         "period per log. The logs are taken in the order given, from a database in import "
         "order; players are matched across logs by name.",
         WithReadingOptions({{"format",
                              "",
                              "FORMAT",
                              "text (the default: tab-separated tables) or json.",
                              {"text", "json"},
                              "text"}}),
         {},
         RunRatingCheckCommand},
        {"export", "LOG --view VIEW --format FORMAT --output PATH [options]",
         "write a statistics file or the whole site",
         "Writes one view of the statistics as a file, with the choices of the window's Export "
         "page, or the whole linked HTML site of every player and weapon into a folder, or the "
         "statistics site (view dashboard: sortable tables, charts, a page per player). JSON "
         "(every view) and CSV (the table views) always hold every column. An option that the "
         "chosen view or format does not have is a usage error. With --db DB the logs of a "
         "statistics database are read in place of LOG.",
         WithReadingOptions({
             {"view", "", "VIEW",
              "What to write (see the views below); all is the whole site. Required.",
              ExportViewNames(), ""},
             {"format", "", "FORMAT", "The file format (see the views below). Required.",
              ExportFormatNames(), ""},
             {"output",
              "",
              "PATH",
              "The file to write, replaced when it exists; for view all, and view dashboard with "
              "format html, the folder of the site, made when it does not exist. Required.",
              {},
              ""},
             {"title", "", "TEXT", "The game title shown on the HTML pages.", {}, ""},
             {"checks",
              "",
              "LIST",
              "The checked boxes of the page as a comma-separated list of names or indexes (see "
              "the views below), or none. All are checked by default.",
              {},
              ""},
             {"order",
              "",
              "NAME",
              "The \"Order by\" option by its name or index (see the views below).",
              {},
              ""},
             {"descending", "", "", "Reads the table from its end.", {}, ""},
             {"player",
              "",
              "NAME",
              "The player of view player, exactly as stored (see qla players), or with "
              "--merge-players any of the player's names. Required for that view.",
              {},
              ""},
             {"separator",
              "",
              "S",
              "Text and csv: the column separator (default \",\"); \\t stands for a tab. For csv "
              "it may not be empty or hold a quote or a line end.",
              {},
              ""},
             {"raw-fields",
              "",
              "",
              "Csv only: writes fields that begin with = + - @ tab or CR as they are, without "
              "the apostrophe that keeps a spreadsheet from running them as formulas.",
              {},
              ""},
             {"min-kills",
              "",
              "N",
              "Dashboard only: the kills a player needs for the best kill/death list (default 5).",
              {},
              ""},
             {"min-deaths",
              "",
              "N",
              "Dashboard only: the deaths a player needs for the best kill/death list (default "
              "5).",
              {},
              ""},
             {"min-lines-for-page",
              "",
              "N",
              "Dashboard html only: players named in fewer than N lines get a row in the player "
              "list instead of a page of their own (default: a page for everyone in a site of up "
              "to 1000 players; beyond that, N is 5).",
              {},
              ""},
             {"no-header", "", "", "Text only: leaves out the row of column names.", {}, ""},
             {"remove-colors",
              "",
              "",
              "Text only: removes the colour codes from player names.",
              {},
              ""},
             {"if-exists",
              "",
              "overwrite|skip",
              "View all only: whether pages that already exist in the folder are replaced (the "
              "default) or kept.",
              {"overwrite", "skip"},
              ""},
         }),
         ExportViewDetails(), RunExportCommand},
        {"import",
         "LOG... --db DB [--language L] [--recognition M] [--finished] [--no-archive] "
         "[--quiet]",
         "add each log's new complete lines to a statistics database",
         "Adds each log's new complete lines to DB, made when it does not exist. A log imported "
         "before adds only the lines it gained; a last line without line end waits for it "
         "unless --finished says the log is complete. A copy of a stored log's first lines (or "
         "the log truncated) adds nothing; a log that continues a stored one adds only its new "
         "lines; a file that only shares its start with one is a new log. Only regular files "
         "are read, never a database.",
         {DatabaseOption("The statistics database: an SQLite file, or a PostgreSQL database as "
                         "postgresql://USER@HOST[:PORT]/NAME or \"host=HOST dbname=NAME "
                         "user=USER\" (the password only from PGPASSWORD or ~/.pgpass). "
                         "Required."),
          LanguageOption("The wording of logs new to the database: english (the default), german "
                         "or auto (each log read in the language its first lines are written in, "
                         "reported on standard error)."),
          {"recognition", "", "M",
           "The recognition of logs new to the database: classic or full. By default the "
           "database's own: full for a database made by this version, classic for one made "
           "before (so that it never mixes modes unasked). A log imported before keeps its "
           "language and recognition.",
           RecognitionNames(), ""},
          {"finished",
           "",
           "",
           "The logs are complete: a last line without line end counts.",
           {},
           ""},
          {"no-archive",
           "",
           "",
           "Keeps the statistics of the new lines but not the lines themselves, only a checksum "
           "of each KiB of them: a smaller database (23 MB instead of 32 MB for a generated "
           "1M-line log), but qla check and qla reanalyze cannot read those lines again, and "
           "a shorter copy's last partial KiB cannot be compared.",
           {},
           ""},
          {"quiet", "", "", "Prints no progress and no report, only errors.", {}, ""}},
         {},
         RunImportCommand},
        {"logs",
         "--db DB",
         "the logs imported into a statistics database",
         "Prints one line per imported log: id, lines, language, recognition, import time, date "
         "header, path and the bytes of an unfinished last line held back.",
         {DatabaseOption("The statistics database. Required.")},
         {},
         RunLogsCommand},
        {"forget",
         "--db DB ID...",
         "remove logs from a statistics database",
         "Removes the logs with these ids (as qla logs prints them); the database is then as if "
         "they had never been imported.",
         {DatabaseOption("The statistics database. Required.")},
         {},
         RunForgetCommand},
        {"check",
         "--db DB",
         "look for damage in a statistics database",
         "Checks the database: the engine's own check of its pages, every stored chunk of lines "
         "against its checksum, each log's recorded sizes and line count against its chunks, "
         "and each log's stored totals and players against a fresh reading of its stored lines. "
         "Prints each damage found and exits with status 1 when there is any.",
         {DatabaseOption("The statistics database. Required.")},
         {},
         RunCheckCommand},
        {"reanalyze",
         "--db DB [--log ID...] [--recognition M] [--language L]",
         "rebuild logs' statistics from their stored lines",
         "Rebuilds the statistics of the chosen logs (all without --log) from their stored "
         "lines, in one transaction, with their own recognition and language unless told "
         "otherwise, and prints each log's new line.",
         {DatabaseOption("The statistics database. Required."),
          {"log",
           "",
           "ID[,ID...]",
           "Only these logs, by the ids qla logs prints. Repeatable.",
           {},
           ""},
          {"recognition", "", "M", "Read the logs in this recognition: classic or full.",
           RecognitionNames(), ""},
          {"language",
           "",
           "L",
           "Read the logs in this wording: english or german.",
           {"english", "german"},
           ""}},
         {},
         RunReanalyzeCommand},
        {"upgrade",
         "--db DB",
         "bring an older statistics database to this version",
         "Brings the database to this version's schema in one transaction, as the first command "
         "that writes to it would, and prints the version. Reading commands read an older "
         "database as it is.",
         {DatabaseOption("The statistics database. Required.")},
         {},
         RunUpgradeCommand},
        {"watch",
         "LOG... --db DB [--interval S] [--site DIR --view VIEW [--title T]] [--language L] "
         "[--recognition M] [--no-archive]",
         "keep importing logs into a statistics database as they grow",
         "Keeps importing the logs into DB as the game writes them, until stopped by Ctrl-C or "
         "SIGTERM. Each batch of changes is one transaction, so a stop or a crash never leaves "
         "half a batch, and a watch started again goes on where the database stands. A log "
         "renamed away (rotated) gets its last lines imported before the new file under its "
         "name starts a new log. One line per batch on "
         "standard error says what it added.",
         {DatabaseOption("The statistics database, as for import. Required."),
          {"interval",
           "",
           "S",
           "Also looks for changes every S seconds (default 1), for file systems without change "
           "notification.",
           {},
           "1"},
          {"site",
           "",
           "DIR",
           "After each batch that added lines, exports VIEW into DIR: written beside it, then "
           "only the files that changed are renamed into DIR, so a web server never serves half "
           "a site.",
           {},
           ""},
          {"view", "", "VIEW",
           "With --site: a view that writes a site: all (the linked pages) or dashboard (the "
           "statistics site).",
           SiteViewNames(), ""},
          {"format", "", "FORMAT", "With --site: the format of the site (html).", {"html"}, ""},
          {"title",
           "",
           "TEXT",
           "With --site: the game title of the pages; the statistics site is headed Statistics "
           "without one.",
           {},
           ""},
          LanguageOption("The wording of logs new to the database, as for import."),
          {"recognition", "", "M",
           "The recognition of logs new to the database, as for import (by default the "
           "database's own).",
           RecognitionNames(), ""},
          {"no-archive", "", "", "Keeps statistics only, not the lines, as for import.", {}, ""}},
         {},
         RunWatchCommand},
        {"alias", "add|split|list|suggest [NAME...|LOG...] --aliases FILE|--db DB [options]",
         "the aliases kept for merging players",
         "Changes or reads the aliases that --merge-players joins. The aliases file serves "
         "single logs; a statistics database keeps its own aliases. Names are given as the logs "
         "write them; trailing colour codes and outer blanks do not matter. docs/identity.md "
         "describes the aliases file.",
         AliasOptions(),
         "Actions:\n"
         "  add NAME OTHER    NAME and OTHER are one player\n"
         "  split NAME        take NAME back out of its player: undoes your joins of NAME; a NAME\n"
         "                    you never joined is held apart from the automatic joins (same key,\n"
         "                    renames)\n"
         "  list [LOG...]     every player with all its names: the display name, then each name,\n"
         "                    tab-separated; on a terminal each name on a line of its own,\n"
         "                    indented under the player\n"
         "  suggest LOG...    likely joins: NAME, OTHER and the reasons, tab-separated\n"
         "  list and suggest read the logs LOG, or with --db the logs of the database.\n",
         RunAliasCommand},
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
    static const OptionInfo help{"help", "h", "", "Prints this help.", {}, ""};
    return help;
}

const std::vector<OptionInfo>& GlobalOptions() {
    static const std::vector<OptionInfo> options{
        {"help",
         "h",
         "",
         "Prints this overview. After a command, or as qla help COMMAND: that command's help.",
         {},
         ""},
        {"version", "V", "", "Prints the program's version.", {}, ""},
    };
    return options;
}

} // namespace qla::cli
