// One batch of qla watch: plan each log's new lines, import them in one transaction, publish the
// site, and tell it in one line; a failure that lasts is told once.
#include "cli/watcher.h"

#include "analysis/hidden_players.h"
#include "cli/database_commands.h"
#include "cli/database_site_source.h"
#include "core/control_chars.h"
#include "core/names.h"
#include "db/dashboard_history.h"
#include "db/database_lines.h"
#include "db/hidden_table.h"
#include "db/kept_persons.h"
#include "db/log_catalog.h"
#include "db/store_from_database.h"
#include "db/transaction.h"
#include "export/export_views.h"
#include "front/hiding_lines.h"

#include <QDateTime>

#include <unordered_set>

namespace qla::cli {
namespace {

// A batch names at most this many logs in its line; the rest are counted.
constexpr std::size_t kLogsReported = 5;

} // namespace

std::string WatchTimestamp() {
    return QDateTime::currentDateTimeUtc().toString(Qt::ISODate).toStdString();
}

bool Watcher::OpenDatabase(std::string& error) {
    keptChats_.Clear(); // the file or server may hold another database now
    keptKillFigures_ = db::KillFiguresCache();
    database_ = db::StatsDatabase::Open(options_.Database, db::OpenMode::ReadWrite, error);
    return database_ != nullptr;
}

// Imports what changed in one transaction and reports it in one line.
void Watcher::RunBatch() {
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
        KeepPersonsWhenQuiet(notes);
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
    if (stored)
        personsPending_ = true;
    else
        KeepPersonsWhenQuiet(notes);
    Line(notes);
}

void Watcher::KeepPersonsWhenQuiet(std::vector<std::string>& notes) {
    // An interval that stored nothing: the persons are merged now, so no burst waits for them.
    if (!personsPending_ || !database_)
        return;
    personsPending_ = false;
    std::string error;
    if (!db::KeepPersons(*database_, error))
        notes.push_back("the persons could not be kept merged: " + error);
}

void Watcher::Abandon(std::vector<std::string>& notes, const std::string& error) {
    for (FollowedLog& log : logs_)
        log.Abandoned();
    failing_ = true;
    // A failure that lasts (a server down for an hour) is told once, not at every try.
    if (error != lastError_)
        notes.push_back(error + "; trying again every interval");
    lastError_ = error;
    Line(notes);
}

void Watcher::Line(const std::vector<std::string>& notes) {
    if (notes.empty())
        return;
    std::string line = "qla watch: " + WatchTimestamp() + ": ";
    for (std::size_t i = 0; i < notes.size(); ++i)
        line += (i > 0 ? "; " : "") + notes[i];
    err_ << TerminalSafeText(line) << "\n" << std::flush;
}

// "published the site in site: 3 files written, 1 removed": what a batch's publish did.
std::string Watcher::PublishedText(const Publication& published) const {
    const std::string place = "published the site in " + options_.Site->Path + ": ";
    if (published.Whole)
        return place + "all " + std::to_string(published.Written) + " files written";
    return place + std::to_string(published.Written) + " files written, " +
           std::to_string(published.Removed) + " removed";
}

Publication Watcher::Publish() {
    // Checked before the database is read, so a site that stays blocked costs little.
    Publication refused;
    refused.Error = SiteFolderProblem(SiteFolderOf(options_.Site->Path));
    if (!refused.Error.empty())
        return refused;
    const bool site = options_.Site->View == ExportView::Dashboard;
    if (site)
        if (auto streamed = PublishStreamedSite())
            return std::move(*streamed);
    AnalysisStore store;
    // The site's awards and records tell the streaks, which need the order of the kills.
    const db::DatabaseStoreResult built = db::BuildStoreFromDatabase(
        *database_, {}, store, {.KillOrder = site, .PassingNames = site, .KeptChats = &keptChats_});
    if (!built.Ok) {
        refused.Error = built.Error;
        return refused;
    }
    // The site leaves out the database's hidden players, as qla export --db does.
    const auto hidden = db::ReadHiddenKeys(*database_, refused.Error);
    if (!hidden)
        return refused;
    HidePlayers(store, *hidden, nullptr);
    ExportRequest request = *options_.Site;
    request.Junk.LogDateText = built.DateText.value_or("");
    if (site && !SetSiteSource(built, store, request, refused.Error))
        return refused;
    return PublishSite(store, std::move(request), &pageMemory_);
}

// The statistics site's request gets what the database shows beside the store: each player's
// history log by log and each log's streaks. False with `error` when it cannot be read.
bool Watcher::SetSiteSource(const db::DatabaseStoreResult& built, const AnalysisStore& store,
                            ExportRequest& request, std::string& error) {
    auto history = db::ReadDashboardHistory(*database_, {}, error);
    if (!history)
        return false;
    SetStatisticsSite(request, options_.SiteChoices,
                      DatabaseSiteSource(options_.Database, built.Totals, built.DateText,
                                         built.Logs, std::move(*history), store, std::nullopt));
    return true;
}

// The statistics site reads the chats and other lines from their rows, as qla export --db
// does, in one read of the database: a long history's chats are never held, and a log whose
// rows were only added to is told unchanged by their count. Nullopt when a chat's speaker is
// no player of the store (a damaged digest): the chats are then read into the store.
std::optional<Publication> Watcher::PublishStreamedSite() {
    Publication refused;
    const db::Transaction unit(*database_, db::Transaction::Kind::Read, refused.Error);
    if (!unit.Open())
        return refused;
    // The site leaves out the database's hidden players, as qla export --db does.
    const auto hidden = db::ReadHiddenKeys(*database_, refused.Error);
    if (!hidden)
        return refused;
    AnalysisStore store;
    // The site's awards and records tell the streaks, which need the order of the kills; with
    // no hidden player joined after, each log's are worked out as it is read.
    db::DatabaseStoreResult built =
        db::BuildStoreInTransaction(*database_, {}, store,
                                    {.Chats = false,
                                     .UnknownLines = false,
                                     .Renames = false,
                                     .KillOrder = true,
                                     .KillFiguresOnly = hidden->empty(),
                                     .PassingNames = true,
                                     .KeptKillFigures = &keptKillFigures_});
    if (!built.Ok) {
        refused.Error = built.Error;
        return refused;
    }
    HidePlayers(store, *hidden, nullptr);
    const std::unordered_set<std::string> hiddenKeys(hidden->begin(), hidden->end());
    const db::DatabaseLines lines(*database_, built.Lines, [&](std::string_view name) {
        if (const auto found = store.FindPlayer(name))
            return *found;
        return hiddenKeys.contains(IdentityKey(name)) ? store.HiddenPlayer() : PlayerIndex{0};
    });
    if (!lines.FilesEverySpeaker())
        return std::nullopt;
    ExportRequest request = *options_.Site;
    request.Junk.LogDateText = built.DateText.value_or("");
    if (!SetSiteSource(built, store, request, refused.Error))
        return refused;
    const front::HidingLines shown(lines, *hidden);
    return PublishSite(Statistics{store, shown}, std::move(request), &pageMemory_);
}

} // namespace qla::cli
