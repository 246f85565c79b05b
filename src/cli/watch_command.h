// `qla watch`: keeps a statistics database current while the game writes its logs.
#pragma once

#include <QStringList>

#include <ostream>

namespace qla::cli {

// Runs until SIGINT or SIGTERM (exit 0); 1 when the database cannot be opened at the start, 2
// on a usage error.
int RunWatchCommand(const QStringList& arguments, std::ostream& out, std::ostream& err);

} // namespace qla::cli
