// The batches of qla watch: what changed in the followed logs imported in one transaction,
// reported in one line on standard error, and the site published when the batch stored something.
#pragma once

#include "cli/followed_log.h"
#include "cli/page_memory.h"
#include "cli/site_publisher.h"
#include "cli/watch_options.h"
#include "db/chat_rows_cache.h"
#include "db/kill_figures_cache.h"
#include "db/stats_database.h"
#include "db/store_from_database.h"

#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace qla::cli {

// The time a watch line is stamped with: now, in UTC, as ISO 8601.
std::string WatchTimestamp();

class Watcher {
  public:
    Watcher(WatchOptions options, std::vector<FollowedLog> logs, std::ostream& err)
        : options_(std::move(options)), logs_(std::move(logs)), err_(err) {}

    bool OpenDatabase(std::string& error);

    // Imports what changed in one transaction and reports it in one line.
    void RunBatch();

    // The next batch publishes the site even when it stores nothing.
    void ForceSite() { sitePending_ = options_.Site.has_value(); }
    // The last batch could not be stored.
    bool Failing() const { return failing_; }

  private:
    void Abandon(std::vector<std::string>& notes, const std::string& error);
    // Merges the history's persons once the lines stop (db::KeepPersons), when a batch stored
    // lines since they were last kept.
    void KeepPersonsWhenQuiet(std::vector<std::string>& notes);
    void Line(const std::vector<std::string>& notes);
    std::string PublishedText(const Publication& published) const;
    Publication Publish();
    std::optional<Publication> PublishStreamedSite();
    bool SetSiteSource(const db::DatabaseStoreResult& built, const AnalysisStore& store,
                       ExportRequest& request, std::string& error);

    WatchOptions options_;
    std::vector<FollowedLog> logs_;
    std::ostream& err_;
    std::unique_ptr<db::StatsDatabase> database_;
    std::map<std::string, std::string> missingReported_; // why a log cannot be read, told once
    bool sitePending_ = false;
    // A batch stored lines since the persons of the history were last kept merged.
    bool personsPending_ = false;
    bool failing_ = false; // the last batch could not be stored
    std::string lastError_;
    std::string lastPublishError_;         // why the site was last not written, told once
    PageMemory pageMemory_;                // the published pages, kept unbuilt while unchanged
    db::KillFiguresCache keptKillFigures_; // each log's streaks the last site publish worked out
    db::ChatRowsCache keptChats_; // the chats the last publish read, of this connection's database
};

} // namespace qla::cli
