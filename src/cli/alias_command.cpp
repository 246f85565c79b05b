// `qla alias`: add and split change the aliases file; list and suggest read it beside the logs.
#include "cli/alias_command.h"

#include "analysis/alias_file.h"
#include "analysis/alias_suggestions.h"
#include "analysis/log_names.h"
#include "cli/command_table.h"
#include "cli/exit_codes.h"
#include "cli/log_opening.h"
#include "cli/log_source.h"
#include "cli/progress_bar.h"
#include "core/control_chars.h"
#include "core/names.h"
#include "db/alias_table.h"
#include "db/stats_database.h"

#include <QCommandLineParser>

#include <optional>

namespace qla::cli {
namespace {

const CommandInfo& AliasCommandInfo() {
    return *FindCommand(QStringLiteral("alias"));
}

int UsageError(std::ostream& err, const std::string& message) {
    return CommandUsageError(AliasCommandInfo(), message, err);
}

struct AliasInvocation {
    QString action;
    QStringList positional;
    std::string aliasesPath; // empty when not given
    LogSource source;        // the logs LOG of list and suggest, or the database
};

std::optional<AliasInvocation> Parse(const QStringList& arguments, std::ostream& out,
                                     std::ostream& err, int& exitCode) {
    QCommandLineParser parser;
    if (const auto exit = ParseCommandLine(parser, AliasCommandInfo(), arguments, out, err)) {
        exitCode = *exit;
        return std::nullopt;
    }
    AliasInvocation invocation;
    invocation.positional = parser.positionalArguments();
    if (invocation.positional.isEmpty()) {
        exitCode = UsageError(err, "an action is missing");
        return std::nullopt;
    }
    invocation.action = invocation.positional.takeFirst();
    if (parser.isSet(QStringLiteral("aliases")))
        invocation.aliasesPath = LocalPath(parser.value(QStringLiteral("aliases")));
    std::string usageError = ReadSourceDatabase(parser, invocation.source);
    const auto& database = invocation.source.Database;
    if (usageError.empty() && database && !invocation.aliasesPath.empty())
        usageError = "--aliases and --db: a database keeps its own aliases";
    if (usageError.empty() && database && !invocation.positional.isEmpty() &&
        invocation.action != QLatin1String("add") && invocation.action != QLatin1String("split"))
        usageError = "LOG and --db: the logs are those of the database";
    if (!usageError.empty()) {
        exitCode = UsageError(err, usageError);
        return std::nullopt;
    }
    if (const auto exit = ReadReadingOptions(parser, AliasCommandInfo(), invocation.source, err)) {
        exitCode = *exit;
        return std::nullopt;
    }
    invocation.source.Logs = invocation.positional;
    return invocation;
}

// Reads the aliases file when one was given; a missing file is empty when `missingIsEmpty`.
std::optional<AliasList> ReadAliases(const AliasInvocation& invocation, bool missingIsEmpty,
                                     std::ostream& err) {
    if (invocation.aliasesPath.empty())
        return AliasList{};
    const AliasFileResult read = ReadAliasFile(invocation.aliasesPath, missingIsEmpty);
    if (!read.Ok()) {
        err << "qla alias: " << TerminalSafeText(read.Error) << "\n";
        return std::nullopt;
    }
    return read.Aliases;
}

// Adds or splits in the list; the reason when it refuses.
std::string ChangeList(const AliasInvocation& invocation, AliasList& aliases) {
    const std::string name = invocation.positional.at(0).toStdString();
    if (invocation.action == QLatin1String("add"))
        return aliases.Add(name, invocation.positional.at(1).toStdString());
    return aliases.Split(name);
}

std::string ChangeDatabase(const AliasInvocation& invocation, AliasList& aliases) {
    return db::ChangeStoredAliases(
        invocation.source.Database->Path,
        [&](AliasList& stored) { return ChangeList(invocation, stored); }, aliases);
}

int Change(const AliasInvocation& invocation, std::ostream& out, std::ostream& err) {
    const bool add = invocation.action == QLatin1String("add");
    if (invocation.aliasesPath.empty() && !invocation.source.Database)
        return UsageError(err,
                          invocation.action.toStdString() + " needs --aliases FILE or --db DB");
    if (invocation.positional.size() != (add ? 2 : 1))
        return UsageError(err, add ? "add takes NAME OTHER" : "split takes NAME");
    const std::string name = invocation.positional.at(0).toStdString();
    AliasList changed;
    std::string failed;
    if (invocation.source.Database) {
        failed = ChangeDatabase(invocation, changed);
    } else {
        auto aliases = ReadAliases(invocation, true, err);
        if (!aliases)
            return kExitFailed;
        changed = std::move(*aliases);
        failed = ChangeList(invocation, changed);
        if (failed.empty())
            failed = WriteAliasFile(invocation.aliasesPath, changed);
    }
    if (!failed.empty()) {
        err << "qla alias: " << TerminalSafeText(failed) << "\n";
        return kExitFailed;
    }
    const auto* aliases = &changed;
    if (!add)
        out << (aliases->IsSplit(NormalizeName(name)) ? "held apart from automatic joins: "
                                                      : "your joins removed: ")
            << TerminalSafeText(NormalizeName(name)) << "\n";
    return kExitOk;
}

// A field as a row prints it: fields are tab-separated, so a tab inside one shows as \t and a
// backslash as \\, and the row splits back into its fields unambiguously.
std::string RowField(const std::string& field) {
    std::string escaped;
    for (const char c : field) {
        if (c == '\\')
            escaped += "\\\\";
        else if (c == '\t')
            escaped += "\\t";
        else
            escaped += c;
    }
    return TerminalSafeText(escaped);
}

void PrintRow(std::ostream& out, const std::string& first, const std::vector<std::string>& rest) {
    out << RowField(first);
    for (const std::string& field : rest)
        out << '\t' << RowField(field);
    out << '\n';
}

int Report(const AliasInvocation& invocation, std::ostream& out, std::ostream& err) {
    const bool suggest = invocation.action == QLatin1String("suggest");
    if (suggest && invocation.positional.isEmpty() && !invocation.source.Database)
        return UsageError(err, "suggest takes at least one LOG or --db DB");
    const auto aliases = invocation.source.Database
                             ? ReadDatabaseAliases(invocation.source.Database->Path, err)
                             : ReadAliases(invocation, false, err);
    if (!aliases)
        return kExitFailed;
    const auto logs = NamesOfSourceLogs(invocation.source, err);
    if (!logs)
        return kExitFailed;
    if (suggest) {
        for (const AliasSuggestion& s : SuggestAliases(*logs, *aliases))
            PrintRow(out, s.Name, [&] {
                std::vector<std::string> rest{s.Other};
                std::string reasons;
                for (const std::string& reason : s.Reasons)
                    reasons += (reasons.empty() ? "" : "; ") + reason;
                rest.push_back(reasons);
                return rest;
            }());
        return kExitOk;
    }
    // Rows for scripts; a reader at a terminal gets each name on a line of its own instead of
    // one long line per player.
    const bool terminal = IsTerminal(out);
    for (const ListedPlayer& player : ListPlayers(*logs, *aliases)) {
        if (!terminal) {
            PrintRow(out, player.DisplayName, player.Names);
            continue;
        }
        out << TerminalSafeText(player.DisplayName) << '\n';
        for (const std::string& name : player.Names)
            out << "    " << TerminalSafeText(name) << '\n';
    }
    return kExitOk;
}

} // namespace

int RunAliasCommand(const QStringList& arguments, std::ostream& out, std::ostream& err) {
    int exitCode = kExitOk;
    const auto invocation = Parse(arguments, out, err, exitCode);
    if (!invocation)
        return exitCode;
    const QString& action = invocation->action;
    if (action == QLatin1String("add") || action == QLatin1String("split"))
        return Change(*invocation, out, err);
    if (action == QLatin1String("list") || action == QLatin1String("suggest"))
        return Report(*invocation, out, err);
    return UsageError(err, "unknown action '" + action.toStdString() + "'");
}

} // namespace qla::cli
