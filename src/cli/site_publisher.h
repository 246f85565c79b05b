// Publishing an exported site so that a web server never serves half of it, and without ever
// removing a file qla did not write: the pages are written into a staging folder beside the
// site. The first time (no site there yet) that folder is renamed into place; after that only
// the files whose bytes changed are moved into the site, one rename each, and the files the
// site's marker lists that the new site no longer has are removed (cli/site_update.h,
// export/site_marker.h).
#pragma once

#include "cli/page_memory.h"
#include "core/store.h"
#include "export/export_request.h"
#include "stats/statistics.h"

#include <cstddef>
#include <string>

namespace qla::cli {

// The folder a site given as `given` is written into: absolute, with links resolved, so a link
// to the site's folder stays a link and its target is what is replaced.
std::string SiteFolderOf(const std::string& given);

// Why `site` (as SiteFolderOf gives it) cannot be replaced by a new site: it is not a folder,
// it is a link that leads nowhere, or it holds an entry that no marker of ours lists (the
// message names it). Empty when it can: missing, empty, or holding only its site's files.
// A temporary file of ours whose process is gone (a run killed between writing a file and
// renaming it into place) is removed first: it is nobody's, and would hold every publish.
std::string SiteFolderProblem(const std::string& site);

struct Publication {
    bool Published = false;
    std::string Error;       // why the site was not replaced; the old one is served as it was
    std::string Note;        // besides a success: what was kept that could not be removed
    bool Whole = false;      // the whole site went in at once, as none was there
    std::size_t Written = 0; // files written into the site: all of them when Whole
    std::size_t Removed = 0; // files of the old site it no longer has
};

// Runs `request` (a view that writes a site; its Path the site's folder) into the staging
// folder "<site>.qla-new" and brings it in (whole into a missing or empty folder, otherwise
// what changed), after checking that the site's folder holds only its own files just before
// the site is touched. The caller checks it first too (SiteFolderProblem), before it reads what
// it publishes, so that a blocked site costs no reading nor export.
// `memory` (optional) carries the published pages' input hashes from one publish to the next.
Publication PublishSite(const AnalysisStore& store, ExportRequest request,
                        PageMemory* memory = nullptr);
// The same with the chats and other lines read from `stats.Lines` (a database streams them).
Publication PublishSite(const Statistics& stats, ExportRequest request,
                        PageMemory* memory = nullptr);

} // namespace qla::cli
