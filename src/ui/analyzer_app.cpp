// The analyzer program: the real dialogs and desktop, the splash, then the main window's loop.
#include "ui/analyzer_app.h"

#include "core/store.h"
#include "export/temp_file_cleanup.h"
#include "ui/desktop.h"
#include "ui/dialogs.h"
#include "ui/main_window.h"
#include "ui/splash.h"
#include "ui/startup_log.h"
#include "ui/version.h"
#include "window_language.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QSettings>

#include <string_view>

namespace qla::ui {

namespace {

// `Quarvel_Logfile_Analyzer [LOG]`, plus --help and --version, which print and end the program.
// The positional arguments.
QStringList ReadCommandLine(const QCoreApplication& app) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QCoreApplication::translate(
        "qla::ui::AnalyzerApp", "Statistics from the console log of a multiplayer shooter."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(
        QStringLiteral("log"),
        QCoreApplication::translate("qla::ui::AnalyzerApp", "The log to open."),
        QStringLiteral("[LOG]"));
    parser.process(app);
    return parser.positionalArguments();
}

// True when the command line asks only for the help or the version: those print and end without
// a window, so they must not need a display.
bool AsksHelpOrVersion(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument(argv[i]);
        if (argument == "--help" || argument == "-h" || argument == "--help-all" ||
            argument == "--version" || argument == "-v")
            return true;
    }
    return false;
}

} // namespace

int RunAnalyzer(int argc, char** argv) {
    if (AsksHelpOrVersion(argc, argv)) {
        QCoreApplication printer(argc, argv);
        QCoreApplication::setApplicationName(kProgramTitle);
        QCoreApplication::setApplicationVersion(UpdaterVersionArgument());
        InstallWindowLanguage(printer);
        ReadCommandLine(printer); // prints and ends the program
        return 0;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(kProgramTitle);
    RemoveTempFilesOnSignals();
    QApplication::setApplicationVersion(UpdaterVersionArgument());
    // Ties the window to its desktop entry and takes the installed icon, where there is one.
    QGuiApplication::setDesktopFileName(QStringLiteral(QLA_APP_ID));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral(QLA_APP_ID)));
    // German captions on a German desktop; the log's language is chosen on the first page.
    InstallWindowLanguage(app);
    const QStringList logs = ReadCommandLine(app);

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
    OpenLogOfArguments(*window, QStringList{QCoreApplication::applicationFilePath()} + logs);
    return QApplication::exec();
}

void OpenLogOfArguments(MainWindow& window, const QStringList& arguments) {
    const QString log = StartupLogPath(arguments.mid(1));
    if (!log.isEmpty())
        window.OpenLog(log);
}

} // namespace qla::ui
