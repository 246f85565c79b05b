// `qla hide` and `qla unhide`: the players a statistics database keeps out of every list.
#pragma once

#include <QStringList>

#include <ostream>

namespace qla::cli {

// `arguments` is the whole command line: program name, "hide" or "unhide", then its arguments.
// hide NAME... hides the names, hide without a NAME lists the hidden ones; unhide NAME... shows
// them again. Returns 0 on success, 1 when the database fails, 2 on a usage error.
int RunHideCommand(const QStringList& arguments, std::ostream& out, std::ostream& err);
int RunUnhideCommand(const QStringList& arguments, std::ostream& out, std::ostream& err);

} // namespace qla::cli
