// The watch loop: wait for a change (inotify on the logs' folders, and a look at every interval
// in case notification is not available or misses a change), then import what changed in one
// batch, one transaction, and rewrite the site when the batch stored something.
#include "cli/watch_command.h"

#include "cli/cli_common.h"
#include "cli/command_table.h"
#include "cli/database_commands.h"
#include "cli/database_site_source.h"
#include "cli/followed_log.h"
#include "cli/path_within.h"
#include "cli/site_publisher.h"
#include "cli/view_format_choice.h"
#include "core/control_chars.h"
#include "core/product.h"
#include "db/dashboard_history.h"
#include "db/database_target.h"
#include "db/import_refusal.h"
#include "db/log_catalog.h"
#include "db/log_import.h"
#include "db/store_from_database.h"
#include "export/export_views.h"
#include "export/statistics_site_settings.h"

#include <QCommandLineParser>
#include <QDateTime>
#include <QFileInfo>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <poll.h>
#include <set>
#include <sys/inotify.h>
#include <thread>
#include <unistd.h>

namespace qla::cli {

namespace {

// A batch names at most this many logs in its line; the rest are counted.
constexpr std::size_t kLogsReported = 5;

// Batches follow each other at least this far apart while a log is written without pause, so a
// busy log costs a bounded number of transactions.
constexpr auto kMinimumBatchSpacing = std::chrono::milliseconds(100);

int UsageError(std::ostream& err, const std::string& message) {
    return CommandUsageError(*FindCommand(QStringLiteral("watch")), message, err);
}

// The write end of the pipe the stop signals write to: a signal handler can reach nothing else.
std::atomic<int>& StopPipe() {
    static std::atomic<int> fd{-1};
    return fd;
}

extern "C" void NoteStopSignal(int) {
    const int fd = StopPipe().load();
    if (fd >= 0) {
        const char byte = 's';
        [[maybe_unused]] const auto written = ::write(fd, &byte, 1);
    }
}

// Routes SIGINT and SIGTERM to a pipe while it lives, so the loop ends between batches.
class StopSignals {
  public:
    StopSignals() {
        if (::pipe2(fds_, O_CLOEXEC | O_NONBLOCK) != 0)
            fds_[0] = fds_[1] = -1;
        StopPipe().store(fds_[1]);
        struct sigaction action {};
        action.sa_handler = NoteStopSignal;
        sigemptyset(&action.sa_mask);
        ::sigaction(SIGINT, &action, &oldInt_);
        ::sigaction(SIGTERM, &action, &oldTerm_);
    }
    ~StopSignals() {
        ::sigaction(SIGINT, &oldInt_, nullptr);
        ::sigaction(SIGTERM, &oldTerm_, nullptr);
        StopPipe().store(-1);
        for (int fd : fds_)
            if (fd >= 0)
                ::close(fd);
    }
    int ReadEnd() const { return fds_[0]; }

  private:
    int fds_[2];
    struct sigaction oldInt_ {
    }, oldTerm_{};
};

// Change notification for the logs: inotify on their folders (a rotation makes a new file
// there), reporting only events about the logs' own names, so other files written in the same
// folder (such as watch's own output) wake nothing. Fd() is -1 where it is not available.
class LogNotifier {
  public:
    // `logs`: the folder and file name of each log.
    explicit LogNotifier(const std::set<std::pair<std::string, std::string>>& logs) {
        fd_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        for (const auto& [folder, name] : logs) {
            const int watch =
                fd_ < 0 ? -1
                        : ::inotify_add_watch(fd_, folder.c_str(),
                                              IN_MODIFY | IN_CLOSE_WRITE | IN_CREATE | IN_MOVED_TO |
                                                  IN_MOVED_FROM | IN_DELETE | IN_ATTRIB);
            if (watch < 0) {
                if (fd_ >= 0)
                    ::close(fd_);
                fd_ = -1;
                return;
            }
            names_.insert({watch, name});
        }
    }
    ~LogNotifier() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    int Fd() const { return fd_; }

    // Reads the waiting events; true when one is about a log.
    bool LogChanged() const {
        alignas(inotify_event) char buffer[16384];
        bool changed = false;
        for (;;) {
            const ssize_t length = ::read(fd_, buffer, sizeof buffer);
            if (length <= 0)
                return changed;
            for (ssize_t at = 0; at < length;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                const std::string name = event->len > 0 ? event->name : "";
                changed = changed || (event->mask & IN_Q_OVERFLOW) != 0 ||
                          names_.contains({event->wd, name});
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
    }

  private:
    int fd_ = -1;
    std::set<std::pair<int, std::string>> names_; // watch descriptor and file name
};

struct WatchOptions {
    std::string Database;
    db::ImportOptions Import;
    std::chrono::milliseconds Interval{1000};
    std::optional<ExportRequest> Site; // Path: the site's folder
    StatisticsSiteChoices SiteChoices; // view dashboard
    std::vector<std::string> LogPaths; // as the file system takes them
};

std::string Now() {
    return QDateTime::currentDateTimeUtc().toString(Qt::ISODate).toStdString();
}

class Watcher {
  public:
    Watcher(WatchOptions options, std::vector<FollowedLog> logs, std::ostream& err)
        : options_(std::move(options)), logs_(std::move(logs)), err_(err) {}

    bool OpenDatabase(std::string& error) {
        database_ = db::StatsDatabase::Open(options_.Database, db::OpenMode::ReadWrite, error);
        return database_ != nullptr;
    }

    // Imports what changed in one transaction and reports it in one line.
    void RunBatch() {
        std::vector<db::LogToImport> batch;
        std::vector<std::string> notes;
        for (FollowedLog& log : logs_) {
            std::string missing;
            log.Plan(batch, missing);
            if (missing.empty()) {
                missingReported_.erase(log.Shown());
            } else if (missingReported_[log.Shown()] != missing) {
                notes.push_back(log.Shown() + ": " + missing + ", waiting for it");
                missingReported_[log.Shown()] = missing;
            }
        }
        if (batch.empty() && !sitePending_) {
            Line(notes);
            return;
        }
        std::string error;
        if (!database_ && !OpenDatabase(error)) {
            Abandon(notes, error);
            return;
        }
        const db::BatchResult result = db::ImportBatch(*database_, batch, options_.Import);
        if (!result.Ok) {
            // Opened afresh for the next batch: the server may have restarted meanwhile.
            database_.reset();
            Abandon(notes, result.Error);
            return;
        }
        bool stored = false;
        failing_ = false;
        lastError_.clear();
        for (FollowedLog& log : logs_)
            log.Committed();
        std::size_t reported = 0;
        std::uint64_t lines = 0;
        for (std::size_t i = 0; i < result.Logs.size(); ++i) {
            const db::ImportResult& r = result.Logs[i];
            stored = stored || r.LinesAdded > 0 || r.Outcome == db::ImportOutcome::Added;
            // A file touched without a new line, or made empty, is no news.
            if (r.Outcome == db::ImportOutcome::Unchanged || r.Outcome == db::ImportOutcome::Empty)
                continue;
            lines += r.LinesAdded;
            // A batch of thousands of logs (the first of a watch over a folder of old logs) is
            // told in a few lines, not in one line a few hundred kilobytes long.
            if (++reported <= kLogsReported)
                notes.push_back(ImportReport(batch[i].PathAsGiven, r) +
                                (r.LanguageGuessed ? " (read as " + db::LanguageName(r.Language) +
                                                         ", --language auto)"
                                                   : ""));
        }
        if (reported > kLogsReported)
            notes.push_back("and " + std::to_string(reported - kLogsReported) + " more logs (" +
                            std::to_string(lines) + " lines imported in this batch)");
        if (options_.Site && (stored || sitePending_)) {
            const Publication published = Publish();
            sitePending_ = !published.Published;
            // A refusal that lasts (a file dropped into the site) is told once, not every batch.
            if (sitePending_ && published.Error != lastPublishError_)
                notes.push_back(published.Error + "; the site is written again after the next "
                                                  "batch");
            lastPublishError_ = sitePending_ ? published.Error : std::string();
            if (!sitePending_)
                notes.push_back(PublishedText(published));
            if (!published.Note.empty())
                notes.push_back(published.Note);
        }
        Line(notes);
    }

    void ForceSite() { sitePending_ = options_.Site.has_value(); }
    bool Failing() const { return failing_; }

  private:
    void Abandon(std::vector<std::string>& notes, const std::string& error) {
        for (FollowedLog& log : logs_)
            log.Abandoned();
        failing_ = true;
        // A failure that lasts (a server down for an hour) is told once, not at every try.
        if (error != lastError_)
            notes.push_back(error + "; trying again every interval");
        lastError_ = error;
        Line(notes);
    }

    void Line(const std::vector<std::string>& notes) {
        if (notes.empty())
            return;
        std::string line = "qla watch: " + Now() + ": ";
        for (std::size_t i = 0; i < notes.size(); ++i)
            line += (i > 0 ? "; " : "") + notes[i];
        err_ << TerminalSafeText(line) << "\n" << std::flush;
    }

    // "published the site in site: 3 files written, 1 removed": what a batch's publish did.
    std::string PublishedText(const Publication& published) const {
        const std::string place = "published the site in " + options_.Site->Path + ": ";
        if (published.Whole)
            return place + "all " + std::to_string(published.Written) + " files written";
        return place + std::to_string(published.Written) + " files written, " +
               std::to_string(published.Removed) + " removed";
    }

    Publication Publish() {
        // Checked before the database is read, so a site that stays blocked costs little.
        Publication refused;
        refused.Error = SiteFolderProblem(SiteFolderOf(options_.Site->Path));
        if (!refused.Error.empty())
            return refused;
        AnalysisStore store;
        const db::DatabaseStoreResult built = db::BuildStoreFromDatabase(*database_, {}, store);
        if (!built.Ok) {
            refused.Error = built.Error;
            return refused;
        }
        ExportRequest request = *options_.Site;
        request.Junk.LogDateText = built.DateText.value_or("");
        if (request.View == ExportView::Dashboard) {
            auto history = db::ReadDashboardHistory(*database_, {}, refused.Error);
            if (!history)
                return refused;
            SetStatisticsSite(request, options_.SiteChoices,
                              DatabaseSiteSource(options_.Database, built.Totals, built.DateText,
                                                 std::move(*history), store, std::nullopt));
        }
        return PublishSite(store, std::move(request), &pageMemory_);
    }

    WatchOptions options_;
    std::vector<FollowedLog> logs_;
    std::ostream& err_;
    std::unique_ptr<db::StatsDatabase> database_;
    std::map<std::string, std::string> missingReported_; // why a log cannot be read, told once
    bool sitePending_ = false;
    bool failing_ = false; // the last batch could not be stored
    std::string lastError_;
    std::string lastPublishError_; // why the site was last not written, told once
    PageMemory pageMemory_;        // the published pages, kept unbuilt while unchanged
};

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

// Reads the command line into `options` and the logs; an exit code when it must end here.
std::optional<int> Parse(const QStringList& arguments, WatchOptions& options,
                         std::vector<FollowedLog>& logs,
                         std::set<std::pair<std::string, std::string>>& names, std::ostream& out,
                         std::ostream& err) {
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
    for (const char* option : {"view", "format", "title"})
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
    }
    if (options.Site)
        return CheckSiteFolder(options, target->Kind == db::Engine::SQLite, err);
    return std::nullopt;
}

} // namespace

int RunWatchCommand(const QStringList& arguments, std::ostream& out, std::ostream& err) {
    WatchOptions options;
    std::vector<FollowedLog> logs;
    std::set<std::pair<std::string, std::string>> names;
    if (const auto exit = Parse(arguments, options, logs, names, out, err))
        return *exit;
    const StopSignals stop;
    Watcher watcher(options, std::move(logs), err);
    std::string error;
    if (!watcher.OpenDatabase(error)) {
        err << "qla: " << error << "\n";
        return kExitFailed;
    }
    const LogNotifier notifier(names);
    if (notifier.Fd() < 0)
        err << "qla watch: no change notification for the logs' folders; looking every "
            << options.Interval.count() << " ms\n";
    watcher.ForceSite();
    watcher.RunBatch();
    for (;;) {
        const auto batchEnded = std::chrono::steady_clock::now();
        // After a failure the next try waits for the interval, whatever the logs do.
        const bool listen = notifier.Fd() >= 0 && !watcher.Failing();
        pollfd waits[2] = {{stop.ReadEnd(), POLLIN, 0}, {notifier.Fd(), POLLIN, 0}};
        const int ready = ::poll(waits, listen ? 2 : 1, static_cast<int>(options.Interval.count()));
        if (ready < 0 && errno != EINTR)
            break;
        if (waits[0].revents != 0)
            break; // SIGINT or SIGTERM: between batches, so nothing is half done
        if (listen && waits[1].revents != 0) {
            if (!notifier.LogChanged())
                continue;
            std::this_thread::sleep_until(batchEnded + kMinimumBatchSpacing);
            notifier.LogChanged(); // what came meanwhile is in this batch too
        }
        watcher.RunBatch();
    }
    err << "qla watch: " << Now() << ": stopped\n";
    return kExitOk;
}

} // namespace qla::cli
