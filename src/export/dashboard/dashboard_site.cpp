// Writes the statistics site: style sheet, script, overview with the player table, player pages,
// weapons, chat and coverage pages, and the data as JSON.
#include "export/dashboard/dashboard_export.h"
#include "export/dashboard/site_assets.h"
#include "export/dashboard/site_html.h"
#include "export/dashboard/site_layout.h"
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

    // Makes the file's folder first when it is not the last one made.
    bool Write(const std::string& name, std::string_view content) {
        if (!result_.Ok())
            return false;
        const std::string path = folder_ + "/" + name;
        const std::string_view parent = std::string_view(path).substr(0, path.find_last_of('/'));
        if (parent != madeFolder_) {
            std::error_code made;
            std::filesystem::create_directories(std::filesystem::path(parent), made);
            if (made) {
                result_.Error = name + ": " + Failure(made.value(), 0).Error;
                return false;
            }
            madeFolder_ = parent;
        }
        const ExportResult written = WriteWholeFile(path, content, logFile_, false);
        if (!written.Ok())
            result_.Error = name + ": " + written.Error;
        return written.Ok();
    }
    const ExportResult& Result() const { return result_; }

  private:
    std::string folder_;
    std::string madeFolder_;
    std::optional<FileIdentity> logFile_;
    ExportResult result_;
};

} // namespace

ExportResult WriteDashboardSite(const AnalysisStore& store, const std::string& folder,
                                const DashboardSettings& settings) {
    std::error_code made;
    std::filesystem::create_directories(std::filesystem::path(folder), made);
    if (made)
        return Failure(made.value(), 0);
    std::string lockError;
    const auto lock = FolderLock::Take(folder, lockError);
    if (!lock)
        return {lockError};
    const LineProgress& progress = settings.Progress;

    const DashboardModel model = BuildDashboardModel(store, settings);
    const std::vector<PlayerIndex> order = PlayersByKills(model);
    const SiteLayout layout(model, order, ChatPageCount(store, true), ChatPageCount(store, false),
                            settings.FilesPerFolder);
    const SiteParts site{store, model, settings, layout};
    SiteFiles files(folder, store.LogFileIdentity);
    files.Write("site.css", SiteStyleSheet());
    files.Write("site.js", SiteScript());
    files.Write("index.html", OverviewPage(site, order));
    for (std::size_t page = 2; page <= layout.ListPageCount(); ++page)
        files.Write(layout.ListPagePath(page), PlayerListPage(site, order, page));
    files.Write(std::string(kPlayerRowsFile), PlayerRowsScript(store, layout, model, order));
    files.Write("weapons.html", WeaponsPage(site));
    for (const bool voice : {true, false}) {
        const std::size_t pages = ChatPageCount(store, voice);
        for (std::size_t page = 1; page <= pages; ++page)
            files.Write(layout.ChatPagePath(voice, page), ChatPage(site, voice, page));
        files.Write(std::string(ChatRowsFile(voice)),
                    ChatRowsScript(store, layout, voice ? store.VoiceChats : store.TextChats));
    }
    files.Write("coverage.html", CoveragePage(model, settings));
    files.Write("data.json",
                DashboardJsonText(store, model, settings, JsonPlayerDetails::OwnPages));

    const KillEventIndex events(store);
    const std::int64_t players = store.PlayerCount();
    std::int64_t pages = 0;
    for (const PlayerSummary& p : model.Players)
        pages += p.OwnPage ? 1 : 0;
    std::int64_t done = 0;
    for (PlayerIndex p = 1; p <= players && files.Result().Ok(); ++p) {
        if (!layout.HasPage(p))
            continue;
        files.Write(layout.PlayerPages().Path(static_cast<std::size_t>(p)),
                    PlayerPage(site, events, p));
        ++done;
        if (progress && (done % kLineProgressStride == 0 || done == pages))
            progress(done, pages);
    }
    return files.Result();
}

ExportResult WriteDashboardJson(const AnalysisStore& store, const std::string& path,
                                const DashboardSettings& settings) {
    const DashboardModel model = BuildDashboardModel(store, settings);
    return WriteWholeFile(path, DashboardJsonText(store, model, settings), store.LogFileIdentity);
}

} // namespace qla
