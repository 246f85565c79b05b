// qla's entry: the overview, the version, `qla help`, and the dispatch to the commands.
#include "cli/qla_app.h"

#include "cli/command_table.h"
#include "cli/exit_codes.h"
#include "core/control_chars.h"
#include "core/product.h"
#include "export/temp_file_cleanup.h"

#include <new>

namespace qla::cli {
namespace {

int UsageError(std::ostream& err, const std::string& message) {
    err << "qla: " << TerminalSafeText(message) << "\n\n" << OverviewText();
    return kExitUsage;
}

// Whether `argument` spells the global option `name`, long or short.
bool IsGlobalOption(const QString& argument, const std::string& name) {
    for (const OptionInfo& option : GlobalOptions()) {
        if (option.Name != name)
            continue;
        return argument == QString::fromStdString("--" + option.Name) ||
               (!option.ShortName.empty() &&
                argument == QString::fromStdString("-" + option.ShortName));
    }
    return false;
}

// `qla help [COMMAND]`.
int RunHelp(const QStringList& arguments, std::ostream& out, std::ostream& err) {
    if (arguments.size() == 2) {
        out << OverviewText();
        return kExitOk;
    }
    const CommandInfo* command = arguments.size() == 3 ? FindCommand(arguments.at(2)) : nullptr;
    if (command == nullptr)
        return UsageError(err, "help takes one command name");
    out << CommandHelpText(*command);
    return kExitOk;
}

} // namespace

int RunQla(const QStringList& arguments, std::ostream& out, std::ostream& err) {
    if (arguments.size() < 2)
        return UsageError(err, "a command is missing");
    const QString& first = arguments.at(1);
    if (arguments.size() == 2 && IsGlobalOption(first, "help")) {
        out << OverviewText();
        return kExitOk;
    }
    if (arguments.size() == 2 && IsGlobalOption(first, "version")) {
        out << "qla " << kVersionMajor << '.' << kVersionMinor << '.' << kVersionRevision << "\n";
        return kExitOk;
    }
    if (first == QLatin1String("help"))
        return RunHelp(arguments, out, err);
    if (const CommandInfo* command = FindCommand(first)) {
        // A signal must not leave a temporary file of an export behind.
        RemoveTempFilesOnSignals();
        try {
            return command->Run(arguments, out, err);
        } catch (const std::bad_alloc&) {
            err << "qla: there is not enough memory to finish the " << command->Name
                << " command\n";
            return kExitFailed;
        }
    }
    return UsageError(err, "unknown command '" + first.toStdString() + "'");
}

} // namespace qla::cli
