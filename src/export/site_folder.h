// A site's folder on disk made ready for its writer: checked or made, then locked against a
// second export meanwhile, and marked afterwards with the files the run wrote.
#pragma once

#include "export/folder_lock.h"

#include <memory>
#include <string>

namespace qla {

struct ExportOutcome;
struct ExportRequest;
struct Statistics;
class Sink;

// Export All writes only into a folder that exists; the statistics site makes its folder.
enum class MissingFolder { Refuse, Make };

// The lock of the ready folder, or null with `error` saying why the folder cannot be used.
std::unique_ptr<FolderLock> PrepareSiteFolder(const std::string& folder, MissingFolder missing,
                                              std::string& error);

using SiteWriter = ExportOutcome (*)(const Statistics& stats, const ExportRequest& request,
                                     Sink& sink);

// Runs `write` with the request's Path as a folder sink, then marks the folder with the files it
// wrote, so qla watch can tell them from files someone else put there. Export All (per-page
// results) refuses a missing folder and reports a folder or marker failure in its site result;
// the statistics site makes the folder and reports in its one file result.
ExportOutcome WriteSiteFolder(const Statistics& stats, const ExportRequest& request,
                              SiteWriter write);

} // namespace qla
