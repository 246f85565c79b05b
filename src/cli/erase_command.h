// `qla erase-player`: a person's names removed from a statistics database for good.
#pragma once

#include <QStringList>

#include <ostream>

namespace qla::cli {

// `arguments` is the whole command line: program name, "erase-player", then its arguments.
// Returns 0 on success, 1 when the erase is refused or the database fails (nothing changed),
// 2 on a usage error.
int RunErasePlayerCommand(const QStringList& arguments, std::ostream& out, std::ostream& err);

} // namespace qla::cli
