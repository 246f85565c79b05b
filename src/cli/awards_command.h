// qla awards: the awards of each period and the records, from a log or a database.
#pragma once

#include <QStringList>

#include <ostream>

namespace qla::cli {

int RunAwardsCommand(const QStringList& arguments, std::ostream& out, std::ostream& err);

} // namespace qla::cli
