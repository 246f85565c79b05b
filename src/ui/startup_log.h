// The log named on the analyzer's command line, as a desktop entry passes a file chosen in a file
// manager: `Quarvel_Logfile_Analyzer [LOG]`.
#pragma once

#include <QString>
#include <QStringList>

namespace qla::ui {

// The first of the positional arguments as an absolute local path: a relative path is taken from
// the current folder, a file:// address becomes its path. Empty when no log was given. Further
// arguments are ignored: the window shows one log at a time.
QString StartupLogPath(const QStringList& positionalArguments);

} // namespace qla::ui
