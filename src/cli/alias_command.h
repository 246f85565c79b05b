// `qla alias add|split|list|suggest`: the aliases kept for merging players.
#pragma once

#include <QStringList>

#include <ostream>

namespace qla::cli {

// `arguments` is the whole command line: program name, "alias", then the action and its options.
// Returns 0 on success, 1 when a file cannot be read or written, 2 on a usage error.
int RunAliasCommand(const QStringList& arguments, std::ostream& out, std::ostream& err);

} // namespace qla::cli
