// Rewriting an exported site so that a web server never serves half of it: the pages are written
// into a staging folder beside the site, which then takes the site's place in one rename.
#pragma once

#include "core/store.h"
#include "export/export_request.h"

#include <string>

namespace qla::cli {

// Runs `request` (a view that writes a site; its Path the site's folder) into the staging folder
// "<site>.qla-new" and swaps it in. On failure the site stays as it was; the reason goes to
// `error`.
bool PublishSite(const AnalysisStore& store, ExportRequest request, std::string& error);

} // namespace qla::cli
