// The help texts written from the command descriptions, and the parser built from them.
#include "cli/command_table.h"
#include "cli/exit_codes.h"
#include "cli/nearest_choice.h"
#include "cli/player_merging.h"
#include "core/control_chars.h"
#include "core/names.h"

#include <sstream>

namespace qla::cli {
namespace {

constexpr std::size_t kOptionColumn = 28;

} // namespace

std::string Wrap(const std::string& text, std::size_t indent, std::size_t used) {
    std::istringstream words(text);
    std::string word;
    std::string wrapped;
    std::size_t column = used;
    bool lineStart = true;
    while (words >> word) {
        if (!lineStart && column + 1 + word.size() > kHelpWidth) {
            wrapped += '\n' + std::string(indent, ' ');
            column = indent;
            lineStart = true;
        }
        if (!lineStart) {
            wrapped += ' ';
            ++column;
        }
        wrapped += word;
        column += word.size();
        lineStart = false;
    }
    return wrapped;
}

namespace {

// "  -V, --version" or "      --view VIEW".
std::string OptionColumn(const OptionInfo& option) {
    std::string column = option.ShortName.empty() ? "      " : "  -" + option.ShortName + ", ";
    column += "--" + option.Name;
    if (!option.ValueName.empty())
        column += ' ' + option.ValueName;
    return column;
}

void WriteOptions(std::ostream& text, const std::vector<OptionInfo>& options) {
    for (const OptionInfo& option : options) {
        std::string column = OptionColumn(option);
        if (column.size() + 2 > kOptionColumn) {
            text << column << '\n';
            column.clear();
        }
        column.resize(kOptionColumn, ' ');
        text << column << Wrap(option.Description, kOptionColumn, kOptionColumn) << '\n';
    }
}

QCommandLineOption ToQt(const OptionInfo& option) {
    QStringList names{QString::fromStdString(option.Name)};
    if (!option.ShortName.empty())
        names.prepend(QString::fromStdString(option.ShortName));
    return QCommandLineOption(names, QString::fromStdString(option.Description),
                              QString::fromStdString(option.ValueName),
                              QString::fromStdString(option.Default));
}

} // namespace

std::string OverviewText() {
    std::ostringstream text;
    text << "Usage: qla COMMAND LOG [options]\n"
            "       qla help COMMAND     (or qla COMMAND --help) every option of a command\n"
            "       qla --version\n\nCommands:\n";
    for (const CommandInfo& command : Commands()) {
        std::string column = "  " + command.Name + ' ' + command.Synopsis;
        if (column.size() + 2 > 38) {
            text << column << '\n';
            column.clear();
        }
        column.resize(38, ' ');
        text << column << Wrap(command.Summary, 38, 38) << '\n';
    }
    text << "\nOptions:\n";
    WriteOptions(text, GlobalOptions());
    text << "\nThe exit status is 0 on success, 1 when the work failed and 2 for a usage error.\n";
    return text.str();
}

std::string CommandHelpText(const CommandInfo& command) {
    std::ostringstream text;
    text << "Usage: qla " << command.Name << ' ' << command.Synopsis << "\n\n"
         << Wrap(command.Description, 0, 0) << "\n\nOptions:\n";
    std::vector<OptionInfo> options = command.Options;
    options.push_back(HelpOption());
    WriteOptions(text, options);
    if (!command.Details.empty())
        text << '\n' << command.Details;
    return text.str();
}

int CommandUsageError(const CommandInfo& command, const std::string& message, std::ostream& err) {
    // The mistake, the usage line and where the rest is: the whole help (up to 86 lines) would
    // push the one line that matters off the screen.
    err << "qla " << command.Name << ": " << TerminalSafeText(message) << "\n"
        << Wrap("Usage: qla " + command.Name + " " + command.Synopsis, 4, 0) << "\n"
        << "See 'qla help " << command.Name << "' for every option.\n";
    return kExitUsage;
}

std::optional<int> ParseCommandLine(QCommandLineParser& parser, const CommandInfo& command,
                                    const QStringList& arguments, std::ostream& out,
                                    std::ostream& err) {
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const OptionInfo& option : command.Options)
        parser.addOption(ToQt(option));
    parser.addOption(ToQt(HelpOption()));
    QStringList forParser{arguments.value(0)};
    const bool merges = std::ranges::any_of(
        command.Options, [](const OptionInfo& option) { return option.Name == "merge-players"; });
    const QString ruleOption = QString::fromStdString(std::string(kMergeRuleOption));
    if (merges) {
        QCommandLineOption rule(ruleOption, QString(), QStringLiteral("RULE"));
        rule.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(rule);
    }
    for (const QString& argument : arguments.mid(2)) {
        if (merges && argument.startsWith(QStringLiteral("--merge-players="))) {
            forParser << QStringLiteral("--merge-players")
                      << QStringLiteral("--") + ruleOption + QLatin1Char('=') +
                             argument.mid(argument.indexOf(QLatin1Char('=')) + 1);
            continue;
        }
        forParser << argument;
    }
    if (!parser.parse(forParser)) {
        std::string message = parser.errorText().toStdString();
        // A mistyped option is named with the one that was probably meant.
        if (!parser.unknownOptionNames().isEmpty()) {
            std::vector<std::string> names{HelpOption().Name};
            for (const OptionInfo& option : command.Options)
                names.push_back(option.Name);
            const auto nearest =
                NearestChoice(parser.unknownOptionNames().first().toStdString(), names);
            if (nearest)
                message += " Did you mean --" + *nearest + "?";
        }
        return CommandUsageError(command, message, err);
    }
    if (parser.isSet(QString::fromStdString(HelpOption().Name))) {
        out << CommandHelpText(command);
        return kExitOk;
    }
    return std::nullopt;
}

std::optional<int> ReadDatabasePlayerNames(const QCommandLineParser& parser,
                                           const CommandInfo& command,
                                           std::vector<std::string>& names, std::ostream& err) {
    if (!parser.isSet(QStringLiteral("db")))
        return CommandUsageError(command, "needs --db DB", err);
    for (const QString& name : parser.positionalArguments()) {
        if (IdentityKey(name.toStdString()).empty())
            return CommandUsageError(command, "a NAME must hold more than colour codes and blanks",
                                     err);
        names.push_back(name.toStdString());
    }
    return std::nullopt;
}

} // namespace qla::cli
