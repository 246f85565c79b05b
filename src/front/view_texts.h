// Which texts of a statistics database a view shows: the chat views its chats, the list of
// other lines those lines, and every page of Export All and of the statistics site both. A
// front end reads a database's selection without them until a view asks for them, as they are
// most of what a long history holds.
#pragma once

#include "db/store_from_database.h"
#include "export/export_request.h"

namespace qla::front {

db::StoreParts PartsShownBy(ExportView view);

// The views that read their texts through a line source, which a database streams (the site's
// chat archive log by log) instead of holding them in the store.
bool StreamsLines(ExportView view);

} // namespace qla::front
