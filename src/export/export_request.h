// One export as the window's Export page or qla's options describe it: which view, which format,
// where, and the view's choices. RunExport runs the one writer the view and format select, so
// the front ends only build requests and show what comes back.
#pragma once

#include "core/store.h"
#include "export/dashboard/dashboard_model.h"
#include "export/data/csv_text.h"
#include "export/export_all.h"
#include "export/export_types.h"
#include "export/text_export.h"
#include "stats/orders.h" // the "Order by" options: StandardOrder, PlayerDetailOrder, WeaponOrder

#include <string>

namespace qla {

// In the order of the export page's choices; ExportViews() describes each.
enum class ExportView {
    Standard,
    PlayerDetails,
    Weapons,
    VoiceChat,
    TextChat,
    Junk,
    AllData,
    Dashboard
};
// The window's "Type of file" list shows those ExportFormats() marks as offered, in this order.
enum class ExportFormat { Html, Text, Xml, Json, Csv };

struct StandardOptions {
    StandardColumns Columns = kAllStandardColumns;
    StandardOrder Order = StandardOrder::Appearance;
    bool Ascending = true;
};

struct PlayerDetailOptions {
    PlayerDetailSections Sections = kAllPlayerDetailSections;
    PlayerDetailOrder Order = PlayerDetailOrder::Appearance;
    bool Ascending = true;
    PlayerIndex Player = 0; // a stored player (AnalysisStore::FindPlayer); others fail
};

struct WeaponOptions {
    WeaponColumns Columns = kAllWeaponColumns;
    WeaponOrder Order = WeaponOrder::StandardOrder;
    bool Ascending = true;
};

struct ChatOptions {
    ChatFlags Shown = kAllChatFlags;
};

struct JunkOptions {
    std::string LogDateText; // the opened log's date; empty when it has none
    LineProgress Progress;   // optional
};

struct SiteOptions {
    IfFileExists IfExists = IfFileExists::Overwrite;
    ExistingFileQuestion Ask;   // needed for IfFileExists::Ask
    ExportAllProgress Progress; // optional
    CancelCheck Cancelled;      // optional: true ends the run before the next file
};

struct ExportRequest {
    ExportView View = ExportView::Standard;
    ExportFormat Format = ExportFormat::Html;
    std::string Path; // the file, or the folder of a site view
    std::string GameTitle;
    std::string DecimalSeparator = ".";
    // HTML: the page belongs to a linked site (player names link to their pages) and brings
    // no style sheet of its own.
    bool SiteLinks = false;
    TextExportOptions Text; // text format only
    CsvOptions Csv;         // csv format only

    // Only the options of `View` are read.
    StandardOptions Standard;
    PlayerDetailOptions PlayerDetails;
    WeaponOptions Weapons;
    ChatOptions VoiceChat;
    ChatOptions TextChat;
    JunkOptions Junk;
    SiteOptions Site;
    // The statistics site and its JSON; GameTitle comes from the request's.
    DashboardSettings Dashboard;
};

// What a writer did: the one file's result, or for a site view the site's result.
struct ExportOutcome {
    ExportOutcome() = default;
    // A writer of one file (or of a site that reports in one result) says only this.
    ExportOutcome(ExportResult file) : File(std::move(file)) {} // NOLINT: implicit on purpose
    ExportOutcome(ExportResult file, ExportAllResult site)
        : File(std::move(file)), Site(std::move(site)) {}

    ExportResult File;
    ExportAllResult Site;
    bool Ok() const { return File.Ok() && Site.Ok(); }
};

struct Statistics;
class Sink;

// Runs the writer of the request's view and format into the request's Path: a file through the
// atomic writer, or for a site view a folder, locked meanwhile and marked afterwards. A format
// the view does not take (see ViewTakes) fails with EINVAL at stage 0 before any file is created.
// The long lists (chats, junk lines) are read through `stats.Lines`.
ExportOutcome RunExport(const Statistics& stats, const ExportRequest& request);
ExportOutcome RunExport(const AnalysisStore& store, const ExportRequest& request);
// The same writer with `sink` taking the bytes; Path is not read.
ExportOutcome RunExport(const Statistics& stats, const ExportRequest& request, Sink& sink);

// Whether the request's site is written through another sink than its folder (RunExportInto):
// the statistics site is; Export All asks about the files already in the folder it writes into.
bool ExportsIntoSink(const ExportRequest& request);
// Runs the site writer of the request's view and format with `sink` taking the files; Path is
// not read. Fails with EINVAL when ExportsIntoSink is false.
ExportResult RunExportInto(const AnalysisStore& store, const ExportRequest& request, Sink& sink);
ExportResult RunExportInto(const Statistics& stats, const ExportRequest& request, Sink& sink);

} // namespace qla
