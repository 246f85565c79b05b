// How the analyzer program starts: the log named on its command line (as a desktop entry passes
// it), where it finds the updater, beside itself or in its installed folder, and the window
// language it takes from the desktop's.
#include "ui/startup_log.h"
#include "ui/updater_location.h"
#include "ui_test_support.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <QUrl>
#include <string_view>

using namespace qla::ui;
using namespace qla::ui::test;

namespace {

bool PlaceProgram(const QString& path, bool executable = true) {
    QFile file(path);
    if (!QDir().mkpath(QFileInfo(path).absolutePath()) || !file.open(QIODevice::WriteOnly))
        return false;
    file.write("#!/bin/sh\n");
    file.close();
    QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner;
    if (executable)
        permissions |= QFile::ExeOwner;
    return file.setPermissions(permissions);
}

} // namespace

class AnalyzerStartTest : public QObject {
    Q_OBJECT

  private slots:
    void init() { startDir_ = QDir::currentPath(); }
    void cleanup() { QDir::setCurrent(startDir_); }

    void logArgumentBecomesAnAbsolutePath() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QVERIFY(QDir::setCurrent(dir.path()));
        const QString absolute = QDir(dir.path()).absoluteFilePath(QStringLiteral("game.log"));
        QCOMPARE(StartupLogPath({}), QString());
        QCOMPARE(StartupLogPath({QString()}), QString());
        QCOMPARE(StartupLogPath({QStringLiteral("game.log")}), absolute);
        QCOMPARE(StartupLogPath({absolute}), absolute);
        QCOMPARE(StartupLogPath({QUrl::fromLocalFile(absolute).toString()}), absolute);
        // A name with blanks and non-ASCII letters, as file managers pass them, stays whole.
        QCOMPARE(StartupLogPath({QStringLiteral("Spiel am Dienstag ü.log")}),
                 QDir(dir.path()).absoluteFilePath(QStringLiteral("Spiel am Dienstag ü.log")));
        // One log at a time: the rest is ignored.
        QCOMPARE(StartupLogPath({QStringLiteral("game.log"), QStringLiteral("other.log")}),
                 absolute);
    }

    void startupLogOpensLikeOpenFile() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        WriteLog(dir, QStringLiteral("night.log"),
                 {QStringLiteral("logfile opened on Mon Dec 07 04:32:33 2026"),
                  KillLine(QStringLiteral("Bob"), QStringLiteral("Al"))});
        QVERIFY(QDir::setCurrent(dir.path()));
        Harness h;
        h.window.OpenLog(StartupLogPath({QStringLiteral("night.log")}));
        QCOMPARE(h.Text(QStringLiteral("txtFilename")), dir.filePath(QStringLiteral("night.log")));
        QCOMPARE(h.Text(QStringLiteral("txtLines")), QStringLiteral("2"));
        QVERIFY(h.dialogs.shown.isEmpty());
    }

    void updaterBesideTheAnalyzerOrInstalled() {
        QTemporaryDir root;
        QVERIFY(root.isValid());
        const QString analyzerFolder = root.filePath(QStringLiteral("bin"));
        QVERIFY(QDir().mkpath(analyzerFolder));
        const QString beside = QDir(analyzerFolder).filePath(QStringLiteral("updater"));
        const QString installed = QDir::cleanPath(analyzerFolder + QLatin1Char('/') +
                                                  InstalledUpdaterFolder() + "/updater");
        QVERIFY(!InstalledUpdaterFolder().isEmpty());
        QVERIFY(!installed.startsWith(analyzerFolder + QLatin1Char('/')));

        // Neither there: the path beside the analyzer, which the failure message names.
        QCOMPARE(UpdaterProgramPath(analyzerFolder), beside);
        QVERIFY(PlaceProgram(installed));
        QCOMPARE(UpdaterProgramPath(analyzerFolder), installed);
        // A file that cannot be run is passed over; a program beside the analyzer wins.
        QVERIFY(PlaceProgram(beside, false));
        QCOMPARE(UpdaterProgramPath(analyzerFolder), installed);
        QVERIFY(QFile::remove(beside));
        QVERIFY(PlaceProgram(beside));
        QCOMPARE(UpdaterProgramPath(analyzerFolder), beside);
    }

    void germanDesktopGetsGermanTexts() {
        // The program's own --help is written after the language is chosen, so it shows which
        // translation the start installed.
        const auto help = [](const QString& language) {
            QProcess program;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            for (const char* variable : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"})
                environment.remove(QString::fromLatin1(variable));
            environment.insert(QStringLiteral("LC_ALL"), language);
            environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
            program.setProcessEnvironment(environment);
            program.start(QStringLiteral(QLA_ANALYZER_PATH), {QStringLiteral("--help")});
            if (!program.waitForFinished(30000))
                return QString();
            return QString::fromUtf8(program.readAllStandardOutput());
        };
        const QString german = help(QStringLiteral("de_DE.UTF-8"));
        QVERIFY2(german.contains(QStringLiteral("Statistiken aus dem Konsolen-Log")),
                 qPrintable(german));
        for (const char* language : {"en_US.UTF-8", "C", "fr_FR.UTF-8"}) {
            const QString english = help(QString::fromLatin1(language));
            QVERIFY2(english.contains(QStringLiteral(
                         "Statistics from the console log of a multiplayer shooter.")),
                     qPrintable(english));
        }
    }

    // On a server or in a terminal without a display, --help and --version still answer: they
    // need no window (they used to end with the platform plugin's abort).
    void helpAndVersionNeedNoDisplay() {
        for (const char* option : {"--version", "--help"}) {
            QProcess program;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
                environment.remove(QString::fromLatin1(variable));
            environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
            program.setProcessEnvironment(environment);
            program.start(QStringLiteral(QLA_ANALYZER_PATH), {QString::fromLatin1(option)});
            QVERIFY(program.waitForFinished(30000));
            QCOMPARE(program.exitStatus(), QProcess::NormalExit);
            QCOMPARE(program.exitCode(), 0);
            const QString out = QString::fromUtf8(program.readAllStandardOutput());
            QVERIFY2(out.contains(std::string_view(option) == "--version"
                                      ? QStringLiteral("Quarvel Logfile Analyzer ")
                                      : QStringLiteral("[LOG]")),
                     qPrintable(out));
        }
    }

  private:
    QString startDir_;
};

QTEST_MAIN(AnalyzerStartTest)
#include "analyzer_start_test.moc"
