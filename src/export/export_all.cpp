// Export All Data: the folder check, the site's files in their order, the if-exists policy and
// the progress report.
#include "export/export_all.h"

#include "export/disk_sinks.h"
#include "export/export_request.h"
#include "export/html_export.h"
#include "export/page_writer.h"
#include "export/player_name_texts.h"
#include "export/player_page.h"
#include "export/site_folder.h"
#include "stats/detail_tables.h"
#include "stats/opponent_rows.h"
#include "stats/statistics.h"

#include <cerrno>
#include <filesystem>
#include <tuple>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace qla {

namespace {

// 0 when pages can be written into `folder`, otherwise the error number that says why not.
int FolderProblem(const std::string& folder) {
    if (folder.empty())
        return ENOENT;
    std::error_code error;
    const auto status = std::filesystem::status(folder, error);
    if (!std::filesystem::exists(status))
        return ENOENT;
    if (!std::filesystem::is_directory(status))
        return ENOTDIR;
#ifndef _WIN32
    if (::access(folder.c_str(), W_OK | X_OK) != 0)
        return errno != 0 ? errno : EACCES;
#endif
    return 0;
}

template <class OrderEnum> struct SitePage {
    std::string_view Name;
    OrderEnum Order;
    bool Ascending;
};

constexpr SitePage<StandardOrder> kIndexPages[] = {
    {"index.html", StandardOrder::PlayerName, true},
    {"index2.html", StandardOrder::Kills, false},
    {"index3.html", StandardOrder::Deaths, false},
    {"index4.html", StandardOrder::Ratio, false},
    {"index5.html", StandardOrder::Teamkills, false}};
constexpr SitePage<WeaponOrder> kWeaponPages[] = {
    {"weapon1.html", WeaponOrder::WeaponName, true},
    {"weapon2.html", WeaponOrder::Kills, false},
    {"weapon3.html", WeaponOrder::Share, false},
    {"weapon4.html", WeaponOrder::MostKillsBy, true},
    {"weapon5.html", WeaponOrder::MostDeathsBy, true}};

enum class Policy { Applies, Ignored };

// One run over the site; keeps the file number and the result.
class SiteRun {
  public:
    SiteRun(Sink& site, const ExportAllSettings& settings, std::int64_t count)
        : site_(site), settings_(settings), count_(count) {}

    // Handles one file: progress, the if-exists policy, the writer. False once the run stops.
    template <class Write> bool File(const std::string& name, Policy policy, Write&& write) {
        if (settings_.Cancelled && settings_.Cancelled()) {
            result_.Cancelled = true;
            return false;
        }
        ++number_;
        if (settings_.Progress)
            settings_.Progress(name, number_, count_);
        if (policy == Policy::Applies && settings_.IfExists != IfFileExists::Overwrite &&
            site_.Has(name)) {
            const ExistingFileAnswer answer = Answer(name);
            if (answer == ExistingFileAnswer::Stop) {
                result_.Stopped = true;
                return false;
            }
            if (answer == ExistingFileAnswer::Keep) {
                ++result_.FilesDone;
                return true;
            }
        }
        // A file the policy does not apply to is kept by its writer when it exists.
        const bool keptByWriter = policy == Policy::Ignored && site_.Has(name);
        FileOfSink page(site_, name);
        const ExportResult written = write(page);
        if (!written.Ok())
            result_.Errors.push_back({name, written.Error});
        else if (!keptByWriter)
            ++result_.FilesWritten;
        ++result_.FilesDone;
        return true;
    }

    ExportAllResult& Result() { return result_; }

  private:
    ExistingFileAnswer Answer(const std::string& name) const {
        if (settings_.IfExists == IfFileExists::Skip || !settings_.Ask)
            return ExistingFileAnswer::Keep;
        return settings_.Ask(name);
    }

    Sink& site_;
    const ExportAllSettings& settings_;
    std::int64_t count_;
    std::int64_t number_ = 0;
    ExportAllResult result_;
};

} // namespace

std::int64_t CountExportAllFiles(const AnalysisStore& store) {
    return 2 * static_cast<std::int64_t>(store.PlayerCount()) + 5 + 5 + 1;
}

std::string SiteFolderRefusal(const std::string& folder) {
    const int problem = FolderProblem(folder);
    return problem == 0 ? std::string() : ErrorText(problem, 0);
}

ExportAllResult ExportAllInto(const AnalysisStore& store, const ExportAllSettings& settings,
                              Sink& site) {
    SiteRun run(site, settings, CountExportAllFiles(store));
    const Statistics stats{store, StoreLines(store)};
    // The index and weapon pages are the views' own pages with every column, linked.
    ExportRequest page;
    page.GameTitle = settings.GameTitle;
    page.DecimalSeparator = settings.DecimalSeparator;
    page.SiteLinks = true;

    // An existing style sheet is kept whatever the policy, so it is never asked about.
    run.File("style.css", Policy::Ignored, [](Sink& sheet) {
        const int error = WriteStyleSheetFile(sheet);
        return error == 0 ? ExportResult{} : Failure(error, 0);
    });
    for (const auto& index : kIndexPages) {
        page.Standard = {kAllStandardColumns, index.Order, index.Ascending};
        if (!run.File(std::string(index.Name), Policy::Applies,
                      [&](Sink& sink) { return WriteStandardHtml(stats, page, sink).File; }))
            return std::move(run.Result());
    }
    // One event index and one conversion of the names serve every player page of the run.
    const KillEventIndex events(store);
    const PlayerNameTexts names(store);
    for (const PlayerIndex player : store.PlayerIndexes()) {
        const std::string stem = PlayerPageName(player);
        // Both pages of a player show the same counts in two orders.
        const PlayerEventRows counted = CountPlayerEvents(store, events, player);
        for (const auto& [suffix, order, ascending] :
             {std::tuple{"a.html", PlayerDetailOrder::ItemNames, true},
              std::tuple{"b.html", PlayerDetailOrder::Numbers, false}}) {
            // Structured bindings are copied in: clang before 16 cannot capture them.
            if (!run.File(stem + suffix, Policy::Applies,
                          [&, order = order, ascending = ascending](Sink& sink) {
                              return WritePlayerPage(store, events, names, sink,
                                                     kAllPlayerDetailSections, order, ascending,
                                                     player, true, settings.GameTitle, &counted);
                          }))
                return std::move(run.Result());
        }
    }
    for (const auto& weapons : kWeaponPages) {
        page.Weapons = {kAllWeaponColumns, weapons.Order, weapons.Ascending};
        if (!run.File(std::string(weapons.Name), Policy::Applies,
                      [&](Sink& sink) { return WriteWeaponHtml(stats, page, sink).File; }))
            return std::move(run.Result());
    }
    return std::move(run.Result());
}

ExportAllResult ExportAllData(const AnalysisStore& store, const std::string& folder,
                              const ExportAllSettings& settings) {
    ExportAllResult result;
    const auto lock = PrepareSiteFolder(folder, MissingFolder::Refuse, result.Refused);
    if (!lock)
        return result;
    FolderSink site(folder, store.LogFileIdentity);
    return ExportAllInto(store, settings, site);
}

ExportOutcome WriteAllDataSite(const Statistics& stats, const ExportRequest& request, Sink& sink) {
    ExportAllSettings settings;
    settings.GameTitle = request.GameTitle;
    settings.DecimalSeparator = request.DecimalSeparator;
    settings.IfExists = request.Site.IfExists;
    settings.Ask = request.Site.Ask;
    settings.Progress = request.Site.Progress;
    settings.Cancelled = request.Site.Cancelled;
    return {{}, ExportAllInto(stats.Store, settings, sink)};
}

} // namespace qla
