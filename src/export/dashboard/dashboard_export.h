// The statistics site (a folder of static pages that work from file:// and any web server) and
// the JSON of everything it shows.
#pragma once

#include "core/store.h"
#include "export/dashboard/dashboard_model.h"
#include "export/export_types.h"

#include <string>

namespace qla {

class Sink;
struct ExportOutcome;
struct ExportRequest;
struct Statistics;

// Writes the site into `folder` (made when missing); existing files of the same names are
// replaced, each whole. The folder is locked against a second export meanwhile. The settings'
// Progress is called with (pages done, pages) as the player pages are written.
ExportResult WriteDashboardSite(const AnalysisStore& store, const std::string& folder,
                                const DashboardSettings& settings);

// The same files, each handed whole to `sink` by its path in the site; the first failure ends it.
// The chat archive reads the messages from `stats.Lines`, one log at a time when it tells its
// logs apart (a database streams them), else from the store.
ExportResult WriteDashboardFiles(const Statistics& stats, const DashboardSettings& settings,
                                 Sink& sink);
ExportResult WriteDashboardFiles(const AnalysisStore& store, const DashboardSettings& settings,
                                 Sink& sink);

// The writers of the "dashboard" view, their settings the request's Dashboard with its GameTitle:
// the site's files into the sink, and the dashboard's data as one JSON document (schema in
// docs/json.md) as the sink's own file.
ExportOutcome WriteDashboardHtml(const Statistics& stats, const ExportRequest& request, Sink& sink);
ExportOutcome WriteDashboardJson(const Statistics& stats, const ExportRequest& request, Sink& sink);

// Which players the JSON document gives weapons, nemesis, favourite victim, opponents and history:
// all of them, or as the site's data.json those with a page of their own, the ones the site shows
// them for (a site of many players seen in few lines would otherwise carry most of them).
enum class JsonPlayerDetails { Everyone, OwnPages };

class SiteLayout;

class SinkFile;

class KillEventIndex;

// The JSON document's text into `file`, in pieces; the site also carries it as data.json, and
// there (`site` given) each player with a page of his own has its path as "page". `index`: the
// store's kill index when the caller has it (the site's pages read it too). False when the file
// took a piece with a failure (the file tells which).
bool WriteDashboardJsonText(SinkFile& file, const AnalysisStore& store, const DashboardModel& model,
                            const DashboardSettings& settings,
                            JsonPlayerDetails details = JsonPlayerDetails::Everyone,
                            const SiteLayout* site = nullptr,
                            const KillEventIndex* index = nullptr);

} // namespace qla
