// The junk views' walk over the unknown lines: each line, and the progress the window shows,
// (lines done, lines) every kLineProgressStride lines and at the last.
#pragma once

#include "export/export_types.h"
#include "stats/statistics.h"

#include <string>

namespace qla {

// False with `error` when the line source cannot be read.
bool EachUnknownLine(const LineSource& lines, const LineProgress& progress,
                     const TextLineVisitor& visit, std::string& error);

} // namespace qla
