// The statistics site's source read from a statistics database, for qla export --db and qla
// watch; made in front/database_site_source.h, which the window shares.
#pragma once

#include "front/database_site_source.h"

namespace qla::cli {

using front::DatabaseSiteSource;

} // namespace qla::cli
