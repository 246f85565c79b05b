// Erasing a player: one write transaction, and a line that says what it did.
#include "cli/erase_command.h"

#include "cli/command_table.h"
#include "cli/exit_codes.h"
#include "cli/log_opening.h"
#include "core/control_chars.h"
#include "db/player_erasure.h"

#include <QCommandLineParser>

#include <string>
#include <vector>

namespace qla::cli {

namespace {

std::string Joined(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "" : ", ") + name;
    return text;
}

} // namespace

int RunErasePlayerCommand(const QStringList& arguments, std::ostream& out, std::ostream& err) {
    const CommandInfo& command = *FindCommand(QStringLiteral("erase-player"));
    QCommandLineParser parser;
    if (const auto ended = ParseCommandLine(parser, command, arguments, out, err))
        return *ended;
    std::vector<std::string> names;
    if (const auto refused = ReadDatabasePlayerNames(parser, command, names, err))
        return *refused;
    if (names.empty())
        return CommandUsageError(command, "needs a NAME", err);
    std::string error;
    const auto database = db::StatsDatabase::Open(LocalPath(parser.value(QStringLiteral("db"))),
                                                  db::OpenMode::ReadWrite, error);
    if (!database) {
        err << "qla: " << TerminalSafeText(error) << "\n";
        return kExitFailed;
    }
    const db::ErasureResult result = db::ErasePlayers(*database, names);
    if (!result.Ok) {
        err << "qla: " << TerminalSafeText(result.Error) << "\n";
        return kExitFailed;
    }
    const std::size_t logs = result.Logs.size();
    out << "erased " << TerminalSafeText(Joined(names)) << " from " << logs
        << (logs == 1 ? " log: " : " logs: ") << result.LinesRewritten
        << (result.LinesRewritten == 1 ? " line" : " lines") << " rewritten; shown as \""
        << result.Pseudonym << "\" from now on";
    if (result.AliasesChanged)
        out << "; the aliases name the pseudonym";
    if (result.HiddenChanged)
        out << "; the pseudonym stays hidden";
    out << "\n";
    return kExitOk;
}

} // namespace qla::cli
