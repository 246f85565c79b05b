// qla versus: two players against each other, from a log or a statistics database.
#pragma once

#include <QStringList>

#include <ostream>

namespace qla::cli {

// Takes the whole command line; 0 success, 1 the work failed (an unknown name), 2 a usage error.
int RunVersusCommand(const QStringList& arguments, std::ostream& out, std::ostream& err);

} // namespace qla::cli
