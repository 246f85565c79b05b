// The statistics site's source read from a statistics database, for qla export --db and qla
// watch; made in db/database_site_source.h, which the window shares.
#pragma once

#include "db/database_site_source.h"

namespace qla::cli {

using db::DatabaseSiteSource;

} // namespace qla::cli
