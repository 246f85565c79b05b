// The analyzer program: application object, start-up and event loop.
#pragma once

#include <QStringList>

namespace qla::ui {

class MainWindow;

int RunAnalyzer(int argc, char** argv);

// A log named on the command line (a file manager's "Open with") is opened at start.
void OpenLogOfArguments(MainWindow& window, const QStringList& arguments);

} // namespace qla::ui
