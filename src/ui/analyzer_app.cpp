// The analyzer program: the real dialogs and desktop, the splash, then the main window's loop.
#include "ui/analyzer_app.h"

#include "core/store.h"
#include "export/temp_file_cleanup.h"
#include "ui/desktop.h"
#include "ui/dialogs.h"
#include "ui/main_window.h"
#include "ui/splash.h"
#include "ui/version.h"

#include <QApplication>
#include <QSettings>

namespace qla::ui {

int RunAnalyzer(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(kProgramTitle);
    RemoveTempFilesOnSignals();
    AnalysisStore store;
    SystemDialogs dialogs;
    SystemDesktop desktop;
    const std::unique_ptr<MainWindow> window =
        StartAnalyzer(store, dialogs, desktop, std::chrono::seconds(1));
    QObject::connect(window.get(), &MainWindow::quitRequested, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    // The user's choices of earlier runs: ~/.config/quarvel/logfile-analyzer.conf on Linux.
    QSettings settings(QSettings::UserScope, QStringLiteral("quarvel"),
                       QStringLiteral("logfile-analyzer"));
    window->RememberIn(settings);
    OpenLogOfArguments(*window, QCoreApplication::arguments());
    return QApplication::exec();
}

void OpenLogOfArguments(MainWindow& window, const QStringList& arguments) {
    if (arguments.size() > 1)
        window.OpenLog(arguments.at(1));
}

} // namespace qla::ui
