// Writes the statistics site: style sheet, script, overview with the player table, player pages,
// weapons, chat and coverage pages, and the data as JSON.
#include "export/dashboard/dashboard_export.h"
#include "export/dashboard/site_html.h"
#include "export/dashboard/site_pages.h"
#include "export/dashboard/site_tables.h"
#include "export/data/whole_file.h"
#include "export/folder_lock.h"
#include "stats/detail_tables.h"

#include <filesystem>

namespace qla {
namespace {

// Names the file in a failure, since a site has many.
class SiteFiles {
  public:
    SiteFiles(std::string folder, const std::optional<FileIdentity>& logFile)
        : folder_(std::move(folder)), logFile_(logFile) {}

    bool Write(const std::string& name, std::string_view content) {
        if (!result_.Ok())
            return false;
        const ExportResult written = WriteWholeFile(folder_ + "/" + name, content, logFile_, false);
        if (!written.Ok())
            result_.Error = name + ": " + written.Error;
        return written.Ok();
    }
    const ExportResult& Result() const { return result_; }

  private:
    std::string folder_;
    std::optional<FileIdentity> logFile_;
    ExportResult result_;
};

} // namespace

ExportResult WriteDashboardSite(const AnalysisStore& store, const std::string& folder,
                                const DashboardSettings& settings) {
    std::error_code made;
    std::filesystem::create_directories(std::filesystem::path(folder) / "players", made);
    if (made)
        return Failure(made.value(), 0);
    std::string lockError;
    const auto lock = FolderLock::Take(folder, lockError);
    if (!lock)
        return {lockError};
    const LineProgress& progress = settings.Progress;

    const DashboardModel model = BuildDashboardModel(store, settings);
    const std::vector<PlayerIndex> order = PlayersByKills(model);
    SiteFiles files(folder, store.LogFileIdentity);
    files.Write("site.css", SiteStyleSheet());
    files.Write("site.js", SiteScript());
    files.Write("index.html", OverviewPage(store, model, settings, order));
    const std::size_t listPages = PlayerListPageCount(order);
    for (std::size_t page = 2; page <= listPages; ++page)
        files.Write("players-" + std::to_string(page) + ".html",
                    PlayerListPage(store, model, settings, order, page));
    files.Write(std::string(kPlayerRowsFile), PlayerRowsScript(store, model, order));
    files.Write("weapons.html", WeaponsPage(store, model, settings));
    for (const bool voice : {true, false}) {
        const std::size_t pages = ChatPageCount(store, voice);
        for (std::size_t page = 1; page <= pages; ++page) {
            const std::string stem = voice ? "voice" : "text";
            files.Write(page == 1 ? stem + ".html" : stem + "-" + std::to_string(page) + ".html",
                        ChatPage(store, settings, voice, page));
        }
        files.Write(std::string(ChatRowsFile(voice)),
                    ChatRowsScript(store, voice ? store.VoiceChats : store.TextChats));
    }
    files.Write("coverage.html", CoveragePage(model, settings));
    files.Write("data.json", DashboardJsonText(store, model, settings));

    const KillEventIndex events(store);
    const std::int64_t players = store.PlayerCount();
    for (PlayerIndex p = 1; p <= players && files.Result().Ok(); ++p) {
        files.Write("players/" + PlayerFileName(p), PlayerPage(store, model, settings, events, p));
        if (progress && (p % kLineProgressStride == 0 || p == players))
            progress(p, players);
    }
    return files.Result();
}

ExportResult WriteDashboardJson(const AnalysisStore& store, const std::string& path,
                                const DashboardSettings& settings) {
    const DashboardModel model = BuildDashboardModel(store, settings);
    return WriteWholeFile(path, DashboardJsonText(store, model, settings), store.LogFileIdentity);
}

} // namespace qla
