// `qla export LOG --view VIEW --format FORMAT --output PATH [options]`: one export of the window's
// Export tab, or the whole site, without the window.
#pragma once

#include <QStringList>

#include <ostream>

namespace qla {

// `arguments` is the whole command line: program name, "export", then the options.
// Returns 0 on success, 1 when the log or an export fails (message on `err`), 2 on a usage
// error (usage text on `err`).
int RunExportCommand(const QStringList& arguments, std::ostream& out, std::ostream& err);

} // namespace qla
