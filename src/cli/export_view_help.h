// The part of qla export's help that lists the views: which formats each takes and what its
// --checks and --order values stand for.
#pragma once

#include <string>

namespace qla::cli {

// Which formats each view takes and what its --checks and --order indexes stand for, from the
// same table the window builds its Export page from.
std::string ExportViewDetails();

} // namespace qla::cli
