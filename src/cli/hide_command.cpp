// Changing and listing the hidden players of a database, each change one write transaction.
#include "cli/hide_command.h"

#include "cli/command_table.h"
#include "cli/exit_codes.h"
#include "cli/log_opening.h"
#include "core/control_chars.h"
#include "db/hidden_table.h"

#include <QCommandLineParser>

#include <string>
#include <vector>

namespace qla::cli {

namespace {

int Run(const QStringList& arguments, bool hide, std::ostream& out, std::ostream& err) {
    const CommandInfo& command =
        *FindCommand(hide ? QStringLiteral("hide") : QStringLiteral("unhide"));
    QCommandLineParser parser;
    if (const auto ended = ParseCommandLine(parser, command, arguments, out, err))
        return *ended;
    std::vector<std::string> names;
    if (const auto refused = ReadDatabasePlayerNames(parser, command, names, err))
        return *refused;
    if (!hide && names.empty())
        return CommandUsageError(command, "needs a NAME", err);
    const std::string path = LocalPath(parser.value(QStringLiteral("db")));
    std::string error;
    const bool listing = names.empty();
    const auto database = db::StatsDatabase::Open(
        path, listing ? db::OpenMode::ReadOnly : db::OpenMode::ReadWrite, error);
    if (database && listing) {
        if (const auto keys = db::ReadHiddenKeys(*database, error)) {
            for (const std::string& key : *keys)
                out << TerminalSafeText(key) << "\n";
            return kExitOk;
        }
    } else if (database && database->BeginWrite(error) &&
               db::ChangeHiddenKeys(*database, names, hide, error) && database->Commit(error)) {
        return kExitOk;
    }
    err << "qla: " << TerminalSafeText(error) << "\n";
    return kExitFailed;
}

} // namespace

int RunHideCommand(const QStringList& arguments, std::ostream& out, std::ostream& err) {
    return Run(arguments, true, out, err);
}

int RunUnhideCommand(const QStringList& arguments, std::ostream& out, std::ostream& err) {
    return Run(arguments, false, out, err);
}

} // namespace qla::cli
