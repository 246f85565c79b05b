// qla's commands and their options, described once: each command's parser is built from this
// description, and the overview, `qla help COMMAND` and `qla COMMAND --help` are written from
// it. The man page and the bash completion are checked against it by the tests.
#pragma once

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace qla::cli {

struct OptionInfo {
    std::string Name;                // the long name without dashes: "view"
    std::string ShortName;           // a single letter, or empty
    std::string ValueName;           // "VIEW"; empty for a flag
    std::string Description;         // one or more sentences, wrapped when printed
    std::vector<std::string> Values; // the fixed values the option takes; empty when free
    std::string Default;             // the value when the option is not given
};

using CommandRunner = int (*)(const QStringList& arguments, std::ostream& out, std::ostream& err);

struct CommandInfo {
    std::string Name;                // "export"
    std::string Synopsis;            // what follows "qla NAME " in the usage line
    std::string Summary;             // the command's line in the overview
    std::string Description;         // the first paragraph of its help
    std::vector<OptionInfo> Options; // every option but --help, which all commands take
    std::string Details;             // more help after the options, already laid out
    CommandRunner Run;
};

// Every command, in the order of the overview.
const std::vector<CommandInfo>& Commands();
// nullptr for a name that is no command.
const CommandInfo* FindCommand(const QString& name);
// The options qla takes in place of a command: --help and --version.
const std::vector<OptionInfo>& GlobalOptions();
// The option every command takes.
const OptionInfo& HelpOption();

// The width of the help texts.
inline constexpr std::size_t kHelpWidth = 100;

// `text` broken at blanks into lines of at most kHelpWidth columns, every line after the first
// indented by `indent` blanks; `used` columns of the first line are taken already.
std::string Wrap(const std::string& text, std::size_t indent, std::size_t used);

// `qla --help`: the commands with their summaries and the global options.
std::string OverviewText();
// `qla help COMMAND`: the usage line, the description, every option and the details.
std::string CommandHelpText(const CommandInfo& command);

// Prints "qla NAME: message", the command's usage line and where its help is to `err`; returns
// the usage exit status.
int CommandUsageError(const CommandInfo& command, const std::string& message, std::ostream& err);

// Parses `qla NAME ...` (the whole command line) with the command's options into `parser`.
// Returns the exit status when the command ends here: after --help (0, the help on `out`), or
// after a usage error (2: an unknown option, a missing value). The command checks its
// positional arguments itself, as their number can depend on the options.
std::optional<int> ParseCommandLine(QCommandLineParser& parser, const CommandInfo& command,
                                    const QStringList& arguments, std::ostream& out,
                                    std::ostream& err);

// The players a command changes in a database (hide, unhide, erase-player): checks that --db is
// given and reads each NAME, which must hold more than colour codes and blanks, into `names`.
// Returns the usage exit status when they do not check out.
std::optional<int> ReadDatabasePlayerNames(const QCommandLineParser& parser,
                                           const CommandInfo& command,
                                           std::vector<std::string>& names, std::ostream& err);

} // namespace qla::cli
