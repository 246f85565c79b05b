// The analyzer program: application object, start-up and event loop.
#pragma once

#include <QStringList>

namespace qla::ui {

class MainWindow;

int RunAnalyzer(int argc, char** argv);

// A log named on the command line (a file manager's "Open with") is opened at start: the first
// argument after the program's own, relative to the current folder or as a file:// address.
void OpenLogOfArguments(MainWindow& window, const QStringList& arguments);

} // namespace qla::ui
