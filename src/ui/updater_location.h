// Where the analyzer finds the updater program.
#pragma once

#include <QString>

namespace qla::ui {

// The updater's folder as seen from the analyzer's folder once both are installed, for example
// "../libexec/quarvel-logfile-analyzer".
QString InstalledUpdaterFolder();

// The updater beside the analyzer (the build folder, a copy kept together) or, when none is
// there, the installed one. When neither exists the path beside the analyzer is returned, so a
// failed start names the place the user expects.
QString UpdaterProgramPath(const QString& analyzerFolder);

} // namespace qla::ui
