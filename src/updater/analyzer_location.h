// Where the updater finds the analyzer program it starts on Close.
#pragma once

#include <QString>

namespace qla::updater {

// The analyzer's folder as seen from the updater's folder once both are installed, for example
// "../../bin".
QString InstalledAnalyzerFolder();

// The analyzer beside the updater (the build folder, a copy kept together) or, when none is
// there, the installed one. When neither exists the path beside the updater is returned, so a
// failed start names the place the user expects.
QString AnalyzerProgramPath(const QString& updaterFolder);

} // namespace qla::updater
