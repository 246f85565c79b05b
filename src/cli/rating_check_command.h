// qla rating-check (LOG... | --db DB): how well our skill rating and the usual baselines,
// trained on the earlier logs, predict who kills whom in the later ones.
#pragma once

#include <QStringList>

#include <ostream>

namespace qla::cli {

// The whole command line (program name, command, arguments); returns the exit status.
int RunRatingCheckCommand(const QStringList& arguments, std::ostream& out, std::ostream& err);

} // namespace qla::cli
