// `qla export`: reads the command line as the Export page's controls, checks it against the
// views' descriptions, loads and analyses the log and runs the export request.
#include "cli/export_command.h"
#include "front/hiding_lines.h"

#include "cli/command_table.h"
#include "cli/database_site_source.h"
#include "cli/exit_codes.h"
#include "cli/log_opening.h"
#include "cli/log_source.h"
#include "cli/page_choice_names.h"
#include "cli/path_within.h"
#include "cli/player_merging.h"
#include "cli/site_choice_options.h"
#include "cli/view_format_choice.h"
#include "core/control_chars.h"
#include "core/file_identity.h"
#include "core/product.h"
#include "db/database_target.h"
#include "db/log_catalog.h"
#include "db/stats_database.h"
#include "export/atomic_file.h"
#include "export/export_views.h"
#include "export/statistics_site_settings.h"
#include "front/view_texts.h"

#include <QCommandLineParser>
#include <QFileInfo>

#include <filesystem>
#include <optional>
#include <vector>

namespace qla {
namespace {

constexpr std::string_view kDefaultTitle = kPlaceholderGameTitle;

// The command line once it checked out: the log and the request to run on it.
struct ExportCommand {
    // Its merge is applied to the store before the request runs, so every view and format sees it.
    cli::LogSource Source;
    std::string Player; // view player: the name as stored
    ExportRequest Request;
    StatisticsSiteChoices Site; // view dashboard
};

const cli::CommandInfo& ExportCommandInfo() {
    return *cli::FindCommand(QStringLiteral("export"));
}

int UsageError(std::ostream& err, const std::string& message) {
    return cli::CommandUsageError(ExportCommandInfo(), message, err);
}

std::string Std(const QString& text) {
    return text.toStdString();
}

std::string Std(std::string_view text) {
    return std::string(text);
}

// A shell cannot easily pass a tab: the two characters \t stand for one.
std::string SeparatorOf(const std::string& given) {
    return given == "\\t" ? std::string("\t") : given;
}

// Fills `command` from the command line; returns an exit code when it must end here.
std::optional<int> ParseCommand(const QStringList& arguments, ExportCommand& command,
                                std::ostream& out, std::ostream& err) {
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    if (const auto exit = cli::ParseCommandLine(parser, ExportCommandInfo(), arguments, out, err))
        return exit;
    if (const std::string databaseError = cli::ReadSourceDatabase(parser, command.Source);
        !databaseError.empty())
        return UsageError(err, databaseError);
    const QStringList positional = parser.positionalArguments();
    if (command.Source.Database) {
        if (!positional.isEmpty())
            return UsageError(err, "give either LOG or --db DB, not both");
    } else if (positional.size() != 1) {
        return UsageError(err, "expected exactly one LOG");
    } else {
        command.Source.Logs = positional;
    }
    for (const char* required : {"view", "format", "output"})
        if (!parser.isSet(QString::fromLatin1(required)))
            return UsageError(err, std::string("--") + required + " is required");

    std::string choiceError;
    const auto chosen = cli::ParseViewAndFormat(
        parser.value(QStringLiteral("view")), parser.value(QStringLiteral("format")), choiceError);
    if (!chosen)
        return UsageError(err, choiceError);
    const ExportViewInfo* view = chosen->View;
    const ExportFormatInfo* format = chosen->Format;
    const std::string output = cli::LocalPath(parser.value(QStringLiteral("output")));

    // Each option stands for a control; a control the page or format lacks is a usage error.
    const bool hasChecks = !view->Checks.empty();
    const bool hasOrder = !view->Orders.empty();
    const bool text = format->TakesTextOptions;
    const bool csv = format->Format == ExportFormat::Csv;
    const bool dashboard = view->View == ExportView::Dashboard;
    // Only Export All Data asks about existing pages; the statistics site replaces its files.
    const bool asksIfExists = view->View == ExportView::AllData;
    for (const auto& [option, belongs] : std::initializer_list<std::pair<const char*, bool>>{
             {"checks", hasChecks && format->TakesPageChecks},
             {"order", hasOrder},
             {"descending", hasOrder},
             {"player", view->NeedsPlayer},
             {"separator", format->TakesSeparator},
             {"raw-fields", csv},
             {"min-kills", dashboard},
             {"min-deaths", dashboard},
             {"min-lines-for-page", dashboard && format->Format == ExportFormat::Html},
             {"no-header", text},
             {"remove-colors", text},
             {"if-exists", asksIfExists}})
        if (!belongs && parser.isSet(QString::fromLatin1(option)))
            return UsageError(err, std::string("--") + option + " does not apply to view " +
                                       Std(view->Name) + " with format " + Std(format->Name));

    if (const auto exit = cli::ReadReadingOptions(parser, ExportCommandInfo(), command.Source, err))
        return exit;

    PageChoices choices;
    if (parser.isSet(QStringLiteral("checks"))) {
        auto checks =
            cli::ParseCheckList(Std(parser.value(QStringLiteral("checks"))), *view, choiceError);
        if (!checks)
            return UsageError(err, "--checks: " + choiceError);
        choices.Checks = *checks;
    }
    if (parser.isSet(QStringLiteral("order"))) {
        const auto order =
            cli::ParseOrderChoice(Std(parser.value(QStringLiteral("order"))), *view, choiceError);
        if (!order)
            return UsageError(err, "--order: " + choiceError);
        choices.Order = *order;
    }
    choices.Ascending = !parser.isSet(QStringLiteral("descending"));
    if (view->NeedsPlayer) {
        if (!parser.isSet(QStringLiteral("player")))
            return UsageError(err, "view player needs --player");
        command.Player = Std(parser.value(QStringLiteral("player")));
    }

    ExportRequest& request = command.Request;
    request = RequestFor(view->View, format->Format, choices);
    request.Path = output;
    request.GameTitle = parser.isSet(QStringLiteral("title"))
                            ? Std(parser.value(QStringLiteral("title")))
                            : std::string(kDefaultTitle);
    command.Site.GameTitle = Std(parser.value(QStringLiteral("title")));
    if (parser.isSet(QStringLiteral("separator"))) {
        request.Text.Separator = SeparatorOf(Std(parser.value(QStringLiteral("separator"))));
        request.Csv.Separator = request.Text.Separator;
    }
    if (csv) {
        if (const std::string problem = CsvSeparatorProblem(request.Csv.Separator);
            !problem.empty())
            return UsageError(err, "--separator: " + problem);
        request.Csv.RawFields = parser.isSet(QStringLiteral("raw-fields"));
    }
    if (const auto wrong = cli::ReadSiteThresholds(parser, command.Site))
        return UsageError(err, *wrong);
    request.Text.IncludeHeader = !parser.isSet(QStringLiteral("no-header"));
    request.Text.RemoveColors = parser.isSet(QStringLiteral("remove-colors"));
    if (parser.isSet(QStringLiteral("if-exists"))) {
        const QString choice = parser.value(QStringLiteral("if-exists"));
        if (choice == QLatin1String("skip"))
            request.Site.IfExists = IfFileExists::Skip;
        else if (choice != QLatin1String("overwrite"))
            return UsageError(err, "--if-exists takes overwrite or skip");
    }
    return std::nullopt;
}

// An export from the database never replaces what it reads: the database file and the selected
// logs (by the paths they were imported from). A file output is checked as an export from a log
// checks its log; a site's folder must not hold any of them. The exit status when refused.
std::optional<int> RefuseOutputOverSources(const cli::DatabaseSource& source,
                                           const ExportRequest& request, std::ostream& err) {
    std::string error;
    const auto target = db::ParseDatabaseTarget(source.Path, error);
    const auto database = db::StatsDatabase::Open(source.Path, db::OpenMode::ReadOnly, error);
    const auto logs = database ? db::SelectLogs(*database, source.Selection, error) : std::nullopt;
    if (!target || !logs) {
        err << "qla: " << TerminalSafeText(error) << "\n";
        return cli::kExitFailed;
    }
    std::vector<std::pair<std::string, std::string>> sources; // what, path
    if (target->Kind == db::Engine::SQLite)
        sources.emplace_back("the database", source.Path);
    for (const db::LogEntry& log : *logs)
        sources.emplace_back("the log", log.Path);
    const bool folder = WritesFolder(request.View, request.Format);
    for (const auto& [what, path] : sources) {
        std::string refusal;
        if (folder && cli::IsWithin(path, request.Path)) {
            refusal = "Not written: the folder holds " + what + " " + path;
        } else if (!folder && ReplaceRefusal(request.Path, std::nullopt).empty()) {
            refusal = ReplaceRefusal(request.Path, IdentityOfFile(path));
            if (!refusal.empty() && what == "the database")
                refusal = "Not written: that file is the database being read";
        }
        if (!refusal.empty()) {
            err << "qla export: " << TerminalSafeText(request.Path) << ": "
                << TerminalSafeText(refusal) << "\n";
            return cli::kExitFailed;
        }
    }
    return std::nullopt;
}

// Prints what went wrong; the exit status of the outcome.
int Report(const ExportOutcome& outcome, const ExportRequest& request, std::ostream& err) {
    if (!outcome.File.Ok())
        err << "qla export: " << TerminalSafeText(request.Path) << ": " << outcome.File.Error
            << "\n";
    if (!outcome.Site.Refused.empty())
        err << "qla export: " << TerminalSafeText(request.Path) << ": "
            << TerminalSafeText(outcome.Site.Refused) << "\n";
    for (const ExportAllPageError& page : outcome.Site.Errors)
        err << "qla export: " << TerminalSafeText(page.FileName) << ": " << page.Error << "\n";
    return outcome.Ok() ? cli::kExitOk : cli::kExitFailed;
}

using front::PartsShownBy;
using front::StreamsLines;

} // namespace

int RunExportCommand(const QStringList& arguments, std::ostream& out, std::ostream& err) {
    ExportCommand command;
    if (const auto exit = ParseCommand(arguments, command, out, err))
        return *exit;
    ExportRequest& request = command.Request;

    cli::LogSource& source = command.Source;
    if (source.Database)
        if (const auto refused = RefuseOutputOverSources(*source.Database, request, err))
            return *refused;
    AnalysisStore store;
    // The chat and junk views stream their rows from a database, whatever its history's length.
    auto loaded = cli::LoadSource(source, store,
                                  {PartsShownBy(request.View), StreamsLines(request.View)}, err);
    if (!loaded)
        return cli::kExitFailed;
    const std::optional<std::string>& logDate = loaded->Store.DateText;
    const AnalysisTotals& totals = loaded->Store.Totals;
    const std::unique_ptr<cli::DatabaseReading>& reading = loaded->Reading;

    const ExportViewInfo& view = InfoOf(request.View);
    if (request.View == ExportView::Dashboard) {
        StatisticsSiteSource site;
        if (source.Database) {
            auto history = cli::ReadDashboardHistory(*source.Database, err);
            if (!history)
                return cli::kExitFailed;
            site =
                cli::DatabaseSiteSource(source.Database->Path, totals, logDate, loaded->Store.Logs,
                                        std::move(*history), store, source.Merging.Names);
        } else {
            site = {Std(QFileInfo(source.Logs.at(0)).fileName()), logDate.value_or(""), totals, {}};
        }
        SetStatisticsSite(request, command.Site, std::move(site));
    }
    if (WritesFolder(request.View, request.Format)) {
        // Unlike the window, whose folder comes from a picker, the command line makes the folder.
        std::error_code made;
        std::filesystem::create_directories(std::filesystem::path(request.Path), made);
        if (made) {
            err << "qla export: cannot create the output folder " << TerminalSafeText(request.Path)
                << ": " << made.message() << "\n";
            return cli::kExitFailed;
        }
    }
    if (view.NeedsPlayer) {
        const auto found = source.Merging.Find(store, command.Player);
        if (!found) {
            err << "qla export: no player is stored as '" << TerminalSafeText(command.Player) << "'"
                << cli::StoredNamesLike(store, command.Player) << "\n";
            return cli::kExitFailed;
        }
        request.PlayerDetails.Player = *found;
    }
    request.Junk.LogDateText = logDate.value_or("");
    const ExportOutcome outcome = [&] {
        if (!reading)
            return RunExport(store, request);
        const db::DatabaseLines lines = reading->Lines([&](std::string_view name) {
            return source.Merging.FiledUnder(store, std::string(name));
        });
        return RunExport(Statistics{store, front::HidingLines(lines, loaded->Store.HiddenKeys)},
                         request);
    }();
    // What was written, for a script to pick up.
    if (outcome.Ok())
        out << TerminalSafeText(request.Path) << "\n";
    return Report(outcome, request, err);
}

} // namespace qla
