// Writes the statistics site: style sheet, script, overview with the player table, player pages,
// weapons, chat and coverage pages, and the data as JSON.
#include "export/dashboard/chat_pages.h"
#include "export/dashboard/dashboard_export.h"
#include "export/dashboard/page_inputs.h"
#include "export/dashboard/site_assets.h"
#include "export/dashboard/site_awards.h"
#include "export/dashboard/site_html.h"
#include "export/dashboard/site_layout.h"
#include "export/dashboard/site_pages.h"
#include "export/dashboard/site_tables.h"
#include "export/disk_sinks.h"
#include "export/export_request.h"
#include "export/site_folder.h"
#include "stats/detail_tables.h"
#include "stats/statistics.h"

#include <algorithm>
#include <filesystem>

namespace qla {

namespace {

// The opponents a player's opponents page lists.
constexpr std::size_t kTopOpponents = 10;

} // namespace

ExportResult WriteDashboardSite(const AnalysisStore& store, const std::string& folder,
                                const DashboardSettings& settings) {
    std::string error;
    const auto lock = PrepareSiteFolder(folder, MissingFolder::Make, error);
    if (!lock)
        return {error};
    FolderSink files(folder, store.LogFileIdentity);
    return WriteDashboardFiles(store, settings, files);
}

ExportResult WriteDashboardFiles(const AnalysisStore& store, const DashboardSettings& settings,
                                 Sink& sink) {
    return WriteDashboardFiles(Statistics{store, StoreLines(store)}, settings, sink);
}

ExportResult WriteDashboardFiles(const Statistics& stats, const DashboardSettings& settings,
                                 Sink& sink) {
    const AnalysisStore& store = stats.Store;
    const LineProgress& progress = settings.Progress;
    ExportResult result;
    // The first failure ends the site; the files after it are not built.
    const auto put = [&](const std::string& name, const auto& build) {
        if (result.Ok())
            result = sink.Put(name, build());
    };

    DashboardModel model = BuildDashboardModel(store, settings);
    if (std::string error; !SampleUnknownLines(stats.Lines, model.Coverage, error))
        return {error};
    const std::vector<PlayerIndex> order = PlayersByKills(model);
    const SiteLayout layout(store, model, order, settings.FilesPerFolder);
    const ChatArchive archive(store, stats.Lines, settings, settings.FilesPerFolder);
    const SiteParts site{store, model, settings, layout, archive};
    put("site.css", [] { return SiteStyleSheet(); });
    put("site.js", [] { return SiteScript(); });
    put("index.html", [&] { return OverviewPage(site, order); });
    for (std::size_t page = 2; page <= layout.ListPageCount(); ++page)
        put(layout.ListPagePath(page), [&] { return PlayerListPage(site, order, page); });
    put(std::string(kPlayerRowsFile),
        [&] { return PlayerRowsScript(store, layout, model, order); });
    put("weapons.html", [&] { return WeaponsPage(site); });
    // The chat archive is most of a long history's site, and a batch adds to its last log: a
    // sink that holds a page made from the same inputs keeps it unbuilt.
    PlayerLinkInputs playerLinks(store, layout);
    const bool remembers = sink.RemembersPages();
    for (const bool voice : {true, false}) {
        put(voice ? "voice.html" : "text.html",
            [&] { return ChatIndexPage(site, archive, voice); });
        for (const ArchivedLog& log : archive.Logs()) {
            if (log.Messages(voice) == 0 || !result.Ok())
                continue;
            const std::string name = archive.PagePath(voice, log);
            std::string error;
            // An export into a folder keeps nothing: its pages' inputs are not hashed.
            if (remembers) {
                const auto inputs = ChatLogInputs(site, archive, playerLinks, log, voice, error);
                if (!inputs) {
                    result = {error};
                    break;
                }
                if (sink.Keeps(name, *inputs))
                    continue;
            }
            const auto pieces = ChatLogPage(site, archive, log, voice, error);
            result = pieces ? PutInPieces(sink, name,
                                          [&](SinkFile& file) {
                                              return std::ranges::all_of(
                                                  *pieces, [&](const std::string& piece) {
                                                      return file.Write(piece);
                                                  });
                                          })
                            : ExportResult{error};
        }
    }
    put("coverage.html", [&] { return CoveragePage(model, settings); });
    put(std::string(kAwardsPage), [&] { return AwardsPage(site); });
    put(std::string(kRecordsPage), [&] { return RecordsPage(site); });
    // The players' opponents in data.json and their pages read one index of the kills.
    const KillEventIndex events(store);
    if (result.Ok()) // tens of megabytes on a long history: written in pieces
        result = PutInPieces(sink, "data.json", [&](SinkFile& file) {
            return WriteDashboardJsonText(file, store, model, settings, JsonPlayerDetails::OwnPages,
                                          &layout, &events);
        });

    const std::vector<std::vector<TopOpponent>> opponents =
        TopOpponents(store, events, kTopOpponents);
    const std::int64_t players = store.PlayerCount();
    std::int64_t pages = 0;
    for (const PlayerSummary& p : model.Players)
        pages += p.OwnPage ? 1 : 0;
    std::int64_t done = 0;
    for (PlayerIndex p = 1; p <= players && result.Ok(); ++p) {
        if (!layout.HasPage(p))
            continue;
        put(layout.PlayerPagePath(p), [&] { return PlayerPage(site, events, p); });
        put(OpponentsPagePath(layout, p),
            [&] { return OpponentsPage(site, opponents[static_cast<std::size_t>(p)], p); });
        ++done;
        if (progress && (done % kLineProgressStride == 0 || done == pages))
            progress(done, pages);
    }
    return result;
}

namespace {

DashboardSettings SettingsOf(const ExportRequest& request) {
    DashboardSettings settings = request.Dashboard;
    settings.GameTitle = request.GameTitle;
    return settings;
}

} // namespace

ExportOutcome WriteDashboardHtml(const Statistics& stats, const ExportRequest& request,
                                 Sink& sink) {
    return WriteDashboardFiles(stats, SettingsOf(request), sink);
}

ExportOutcome WriteDashboardJson(const Statistics& stats, const ExportRequest& request,
                                 Sink& sink) {
    const DashboardSettings settings = SettingsOf(request);
    DashboardModel model = BuildDashboardModel(stats.Store, settings);
    if (std::string error; !SampleUnknownLines(stats.Lines, model.Coverage, error))
        return {ExportResult{error}};
    return WriteFileInPieces(sink, kOwnFile, [&](SinkFile& file) {
        return WriteDashboardJsonText(file, stats.Store, model, settings);
    });
}

} // namespace qla
