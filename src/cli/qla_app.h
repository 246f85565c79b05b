// qla, the command-line front end: runs one subcommand and returns the exit status
// (0 success, 1 the work failed, 2 a usage error).
#pragma once

#include <QStringList>

#include <ostream>

namespace qla::cli {

// `arguments` is the whole command line, the program name first.
int RunQla(const QStringList& arguments, std::ostream& out, std::ostream& err);

} // namespace qla::cli
