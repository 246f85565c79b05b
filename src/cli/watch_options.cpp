// Reading qla watch's command line, and refusing a site folder that holds what it must keep.
#include "cli/watch_options.h"

#include "cli/command_table.h"
#include "cli/exit_codes.h"
#include "cli/log_opening.h"
#include "cli/path_within.h"
#include "cli/reading_choices.h"
#include "cli/site_choice_options.h"
#include "cli/site_publisher.h"
#include "cli/view_format_choice.h"
#include "core/control_chars.h"
#include "core/product.h"
#include "db/database_target.h"
#include "db/import_refusal.h"

#include <QCommandLineParser>
#include <QFileInfo>

#include <filesystem>

namespace qla::cli {
namespace {

int UsageError(std::ostream& err, const std::string& message) {
    return CommandUsageError(*FindCommand(QStringLiteral("watch")), message, err);
}

// Refuses a site folder that the first publish's swap would take away with what it holds: the
// current folder, the database, a watched log (usage errors: the command line contradicts
// itself), or any file qla did not write (a failure: the folder's content is in the way).
std::optional<int> CheckSiteFolder(const WatchOptions& options, bool databaseIsFile,
                                   std::ostream& err) {
    const std::string& given = options.Site->Path;
    const std::string site = SiteFolderOf(given);
    std::error_code code;
    const std::string current = std::filesystem::current_path(code).string();
    if (!code && IsWithin(current, site))
        return UsageError(err, "--site " + given +
                                   " is or holds the current folder; the site's folder holds "
                                   "only the site qla watch writes");
    std::vector<std::pair<std::string, std::string>> kept; // what, path
    if (databaseIsFile)
        kept.emplace_back("the database", options.Database);
    for (const std::string& log : options.LogPaths)
        kept.emplace_back("the watched log", log);
    for (const auto& [what, path] : kept)
        if (IsWithin(path, site))
            return UsageError(err, "--site " + given + " holds " + what + " " + path +
                                       "; the site's folder holds only the site qla watch writes");
    if (const std::string problem = SiteFolderProblem(site); !problem.empty()) {
        err << "qla watch: --site " << TerminalSafeText(given) << ": " << TerminalSafeText(problem)
            << "; give an empty folder or one holding a site qla wrote\n";
        return kExitFailed;
    }
    return std::nullopt;
}

// "all, dashboard": the views --site takes.
std::string SiteViewsText() {
    std::string text;
    for (const std::string& name : SiteViewNames())
        text += (text.empty() ? "" : ", ") + name;
    return text;
}

} // namespace

std::optional<int> ParseWatchCommand(const QStringList& arguments, WatchOptions& options,
                                     std::vector<FollowedLog>& logs,
                                     std::set<std::pair<std::string, std::string>>& names,
                                     std::ostream& out, std::ostream& err) {
    QCommandLineParser parser;
    if (const auto exit =
            ParseCommandLine(parser, *FindCommand(QStringLiteral("watch")), arguments, out, err))
        return exit;
    if (!parser.isSet(QStringLiteral("db")))
        return UsageError(err, "--db DB is required");
    options.Database = LocalPath(parser.value(QStringLiteral("db")));
    std::string targetError;
    const auto target = db::ParseDatabaseTarget(options.Database, targetError);
    if (!target)
        return UsageError(err, targetError);
    if (parser.positionalArguments().isEmpty())
        return UsageError(err, "name at least one LOG");
    if (parser.isSet(QStringLiteral("interval"))) {
        bool ok = false;
        const double seconds = parser.value(QStringLiteral("interval")).toDouble(&ok);
        if (!ok || !(seconds >= 0.05 && seconds <= 86400))
            return UsageError(err, "--interval takes seconds from 0.05 to 86400");
        options.Interval = std::chrono::milliseconds(static_cast<long long>(seconds * 1000));
    }
    const auto language = ParseLanguage(parser.value(QStringLiteral("language")), err);
    if (!language)
        return kExitUsage;
    options.Import.Language = language->Language;
    options.Import.GuessLanguage = language->Auto;
    options.Import.KeepLines = !parser.isSet(QStringLiteral("no-archive"));
    if (parser.isSet(QStringLiteral("recognition"))) {
        options.Import.LineRecognition =
            ParseRecognition(parser.value(QStringLiteral("recognition")), err);
        if (!options.Import.LineRecognition)
            return kExitUsage;
    }

    const bool site = parser.isSet(QStringLiteral("site"));
    for (const char* option :
         {"view", "format", "title", "min-kills", "min-deaths", "min-lines-for-page"})
        if (!site && parser.isSet(QString::fromLatin1(option)))
            return UsageError(err, std::string("--") + option + " needs --site DIR");
    if (site) {
        if (!parser.isSet(QStringLiteral("view")))
            return UsageError(
                err, "--site needs --view (a view that writes a site: " + SiteViewsText() + ")");
        // Read as qla export reads them, then held to the views that write a site.
        std::string choiceError;
        const QString format = parser.isSet(QStringLiteral("format"))
                                   ? parser.value(QStringLiteral("format"))
                                   : QStringLiteral("html");
        const auto chosen =
            ParseViewAndFormat(parser.value(QStringLiteral("view")), format, choiceError);
        if (!chosen)
            return UsageError(err, choiceError);
        const ExportViewInfo& view = *chosen->View;
        if (!view.WritesSite)
            return UsageError(err, "--view " + std::string(view.Name) + " writes no site");
        if (!WritesFolder(view.View, chosen->Format->Format))
            return UsageError(err, "view " + std::string(view.Name) + " with format " +
                                       std::string(chosen->Format->Name) +
                                       " writes a file, not a site");
        ExportRequest request = RequestFor(view.View, chosen->Format->Format, PageChoices{});
        request.Path = LocalPath(parser.value(QStringLiteral("site")));
        // The classic pages carry the window's placeholder until a title is given, as ever.
        request.GameTitle = parser.isSet(QStringLiteral("title"))
                                ? parser.value(QStringLiteral("title")).toStdString()
                                : std::string(kPlaceholderGameTitle);
        options.SiteChoices.GameTitle = parser.value(QStringLiteral("title")).toStdString();
        for (const char* option : kSiteThresholdOptions)
            if (view.View != ExportView::Dashboard && parser.isSet(QString::fromLatin1(option)))
                return UsageError(err, std::string("--") + option + " needs --view dashboard");
        if (const auto wrong = ReadSiteThresholds(parser, options.SiteChoices))
            return UsageError(err, *wrong);
        options.Site = std::move(request);
    }
    for (const QString& log : parser.positionalArguments()) {
        const std::string local = LocalPath(log);
        // Imported, the database would add its own bytes again with every batch.
        if (target->Kind == db::Engine::SQLite && db::IsPartOfDatabase(local, options.Database))
            return UsageError(err, log.toStdString() + " is the statistics database itself, not "
                                                       "a log");
        logs.emplace_back(log.toStdString(), local);
        options.LogPaths.push_back(local);
        const QFileInfo info(QString::fromLocal8Bit(local.c_str()));
        names.insert({info.absolutePath().toStdString(), info.fileName().toStdString()});
        // The game writes a linked log in its target's folder, which alone is told of it.
        if (const QFileInfo target(info.canonicalFilePath());
            info.isSymLink() && !target.filePath().isEmpty())
            names.insert({target.absolutePath().toStdString(), target.fileName().toStdString()});
    }
    if (options.Site)
        return CheckSiteFolder(options, target->Kind == db::Engine::SQLite, err);
    return std::nullopt;
}

} // namespace qla::cli
