// The views' table, row by row: what each view of the export page offers and the writer of each
// format it takes. export_views.cpp answers questions about it.
#pragma once

#include "export/export_views.h"

#include <span>

namespace qla {

// Every view, in enum order.
std::span<const ExportViewInfo> ExportViewTable();

} // namespace qla
