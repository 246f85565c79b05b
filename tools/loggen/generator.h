// Writes a whole log for the given options.
#pragma once

#include <ostream>

#include "options.h"

namespace loggen {

// Writes options.lines lines to out; false when the stream failed.
bool generateLog(const Options& options, std::ostream& out);

} // namespace loggen
