// The updater's start-up: command-line validation, the update address from the environment,
// and Close starting a real stand-in program from the updater's folder.
#include "analyzer_location.h"
#include "desktop.h"
#include "fake_services.h"
#include "test_http_server.h"
#include "update_texts.h"
#include "updater_app.h"

#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace qla::updater;

namespace {

const QByteArray kNewerFile = "[update=analyzer]\r\nmajor=0\r\nminor=9\r\nrevision=0\r\n"
                              "changes=http://quarvel.example.org/c.html\r\n"
                              "download=http://quarvel.example.org/d.zip\r\nsize=1\r\n";

// Puts a copy of the stand-in program into folder under the analyzer's file name.
bool PlaceStandIn(const QString& folder) {
    const QString target = QDir(folder).filePath(texts::kAnalyzerFileName);
    if (!QFile::copy(QStringLiteral(QLA_STANDIN_PATH), target))
        return false;
    return QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QString Record(const QString& folder) {
    QFile file(QDir(folder).filePath(QStringLiteral("standin_ran.txt")));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

// Sets an environment variable for one scope.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const QByteArray& value) : name_(name), old_(qgetenv(name)) {
        had_ = qEnvironmentVariableIsSet(name);
        qputenv(name, value);
    }
    ~ScopedEnv() {
        if (had_)
            qputenv(name_, old_);
        else
            qunsetenv(name_);
    }

  private:
    const char* name_;
    QByteArray old_;
    bool had_;
};

} // namespace

class UpdaterAppTest : public QObject {
    Q_OBJECT

  private slots:
    void init() { startDir_ = QDir::currentPath(); }
    void cleanup() { QDir::setCurrent(startDir_); }

    void badCommandLineEndsWithTheWarning_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("one dot") << QStringList{"updater", "0.8"};
        QTest::newRow("three dots") << QStringList{"updater", "0.8.2.1"};
        QTest::newRow("empty") << QStringList{"updater", ""};
        QTest::newRow("missing") << QStringList{"updater"};
        QTest::newRow("two arguments") << QStringList{"updater", "0.8.2", "0.8.2"};
        QTest::newRow("parts not numbers") << QStringList{"updater", "a.b.c"};
        QTest::newRow("part with blank") << QStringList{"updater", "0.8. 2"};
        QTest::newRow("option-like") << QStringList{"updater", "-0.8.2"};
    }
    void badCommandLineEndsWithTheWarning() {
        QFETCH(QStringList, arguments);
        FakeMessageBoxes boxes;
        FakeBrowser browser;
        FakeLauncher launcher;
        boxes.Expect();
        const auto window = StartUpdater(arguments, {boxes, browser, launcher});
        QVERIFY(window == nullptr);
        QCOMPARE(boxes.Shown().size(), 1);
        QCOMPARE(boxes.Shown()[0].Icon, QMessageBox::Warning);
        QCOMPARE(boxes.Shown()[0].Title, QStringLiteral("Check for Update - error"));
        QCOMPARE(boxes.Shown()[0].Text,
                 QStringLiteral("To check for updates, click on the 'Check for Updates' button in "
                                "the About screen of Quarvel Logfile Analyzer"));
        QVERIFY(launcher.Started().isEmpty());
    }

    void updateAddressDefaultsToTheMakersServerOverHttps() {
        ScopedEnv env("QLA_UPDATE_URL", "");
        QCOMPARE(UpdateAddress(),
                 QUrl(QStringLiteral("https://quarvel.example.org/analyzer/analyzer.update")));
    }

    void goodCommandLineChecksTheConfiguredServer() {
        TestHttpServer server;
        QVERIFY(server.Listen());
        server.SetResponse(200, kNewerFile);
        ScopedEnv env("QLA_UPDATE_URL", server.Url().toEncoded());
        FakeMessageBoxes boxes;
        FakeBrowser browser;
        FakeLauncher launcher;
        const auto window = StartUpdater({"updater", "0.8.2"}, {boxes, browser, launcher});
        QVERIFY(window != nullptr);
        QVERIFY(window->isVisible());
        QTRY_COMPARE_WITH_TIMEOUT(window->windowTitle(), texts::CaptionDone(), 10000);
        QCOMPARE(server.Requests().size(), 1);
        const QStringList status =
            window->findChild<QPlainTextEdit*>("txtStatus")->toPlainText().split('\n');
        QCOMPARE(status.mid(5),
                 QStringList({"This version: 0.8 build 2", "New version: 0.9 build 0"}));
    }

    void analyzerIsLookedForBesideTheUpdaterNotInTheCurrentFolder() {
        QTemporaryDir elsewhere;
        QVERIFY(elsewhere.isValid());
        QVERIFY(QDir::setCurrent(elsewhere.path()));
        const RefusingPort refusing;
        ScopedEnv env("QLA_UPDATE_URL", refusing.Url().toEncoded());
        FakeMessageBoxes boxes;
        FakeBrowser browser;
        FakeLauncher launcher;
        const auto window = StartUpdater({"updater", "0.8.2"}, {boxes, browser, launcher});
        QVERIFY(window != nullptr);
        QCOMPARE(window->AnalyzerPath(),
                 QDir(QCoreApplication::applicationDirPath()).filePath("Quarvel_Logfile_Analyzer"));
        boxes.Expect(); // the refused connection: the server cannot be reached
        QTRY_VERIFY_WITH_TIMEOUT(window->IsUnloaded(), 10000);
        QVERIFY(boxes.Shown()[0].Text.startsWith("Cannot reach the update server: "));
        // And the analyzer is started again from beside the updater.
        QCOMPARE(launcher.Started(), QStringList{window->AnalyzerPath()});
    }

    void closeStartsTheStandInFromTheUpdaterFolder() {
        // The updater's folder holds the stand-in; the current folder holds a decoy that must
        // not be the one started.
        QTemporaryDir updaterFolder;
        QTemporaryDir currentFolder;
        QVERIFY(updaterFolder.isValid() && currentFolder.isValid());
        QVERIFY(PlaceStandIn(updaterFolder.path()));
        QVERIFY(PlaceStandIn(currentFolder.path()));
        QVERIFY(QDir::setCurrent(currentFolder.path()));

        TestHttpServer server;
        QVERIFY(server.Listen());
        server.SetResponse(200, kNewerFile);
        ScopedEnv env("QLA_UPDATE_URL", server.Url().toEncoded());
        FakeMessageBoxes boxes;
        FakeBrowser browser;
        SystemProgramLauncher launcher;
        const auto window =
            StartUpdater({"updater", "0.8.2"}, {boxes, browser, launcher}, updaterFolder.path());
        QVERIFY(window != nullptr);
        QTRY_COMPARE_WITH_TIMEOUT(window->windowTitle(), texts::CaptionDone(), 10000);
        QTest::mouseClick(window->findChild<QPushButton*>("cmdClose"), Qt::LeftButton);
        QVERIFY(window->IsUnloaded());
        QVERIFY(boxes.Shown().isEmpty());
        QTRY_COMPARE_WITH_TIMEOUT(Record(updaterFolder.path()),
                                  "ran in " + QDir(updaterFolder.path()).canonicalPath() + "\n",
                                  10000);
        QVERIFY(Record(currentFolder.path()).isEmpty());
    }

    void closeStartsTheInstalledAnalyzerWhenNoneIsBesideTheUpdater() {
        // An installed tree: the updater in its private folder, the analyzer where the install
        // rules put it, reached through the relative path compiled into the updater.
        QTemporaryDir installRoot;
        QVERIFY(installRoot.isValid());
        const QString updaterFolder = installRoot.filePath(QStringLiteral("libexec/qla"));
        const QString analyzerFolder =
            QDir::cleanPath(updaterFolder + QLatin1Char('/') + InstalledAnalyzerFolder());
        QVERIFY(QDir().mkpath(updaterFolder) && QDir().mkpath(analyzerFolder));
        QVERIFY(PlaceStandIn(analyzerFolder));

        TestHttpServer server;
        QVERIFY(server.Listen());
        server.SetResponse(200, kNewerFile);
        ScopedEnv env("QLA_UPDATE_URL", server.Url().toEncoded());
        FakeMessageBoxes boxes;
        FakeBrowser browser;
        SystemProgramLauncher launcher;
        const auto window =
            StartUpdater({"updater", "0.8.2"}, {boxes, browser, launcher}, updaterFolder);
        QVERIFY(window != nullptr);
        QCOMPARE(window->AnalyzerPath(),
                 QDir(analyzerFolder).filePath(QStringLiteral("Quarvel_Logfile_Analyzer")));
        QTRY_COMPARE_WITH_TIMEOUT(window->windowTitle(), texts::CaptionDone(), 10000);
        QTest::mouseClick(window->findChild<QPushButton*>("cmdClose"), Qt::LeftButton);
        QVERIFY(boxes.Shown().isEmpty());
        QTRY_COMPARE_WITH_TIMEOUT(Record(analyzerFolder),
                                  "ran in " + QDir(analyzerFolder).canonicalPath() + "\n", 10000);
    }

    void analyzerBesideTheUpdaterWinsOverTheInstalledOne() {
        QTemporaryDir installRoot;
        QVERIFY(installRoot.isValid());
        const QString updaterFolder = installRoot.filePath(QStringLiteral("libexec/qla"));
        const QString analyzerFolder =
            QDir::cleanPath(updaterFolder + QLatin1Char('/') + InstalledAnalyzerFolder());
        QVERIFY(QDir().mkpath(updaterFolder) && QDir().mkpath(analyzerFolder));
        QVERIFY(PlaceStandIn(analyzerFolder));
        QVERIFY(PlaceStandIn(updaterFolder));
        QCOMPARE(AnalyzerProgramPath(updaterFolder),
                 QDir(updaterFolder).filePath(QStringLiteral("Quarvel_Logfile_Analyzer")));
        // A file of that name that cannot be run is no program: the installed one is taken.
        QVERIFY(QFile::setPermissions(
            QDir(updaterFolder).filePath(QStringLiteral("Quarvel_Logfile_Analyzer")),
            QFile::ReadOwner | QFile::WriteOwner));
        QCOMPARE(AnalyzerProgramPath(updaterFolder),
                 QDir(analyzerFolder).filePath(QStringLiteral("Quarvel_Logfile_Analyzer")));
    }

    void closeWithoutTheAnalyzerNamesThePathTried() {
        QTemporaryDir emptyFolder;
        QVERIFY(emptyFolder.isValid());
        TestHttpServer server;
        QVERIFY(server.Listen());
        server.SetResponse(200, kNewerFile);
        ScopedEnv env("QLA_UPDATE_URL", server.Url().toEncoded());
        FakeMessageBoxes boxes;
        FakeBrowser browser;
        SystemProgramLauncher launcher;
        const auto window =
            StartUpdater({"updater", "0.8.2"}, {boxes, browser, launcher}, emptyFolder.path());
        QVERIFY(window != nullptr);
        QTRY_COMPARE_WITH_TIMEOUT(window->windowTitle(), texts::CaptionDone(), 10000);
        boxes.Expect();
        QTest::mouseClick(window->findChild<QPushButton*>("cmdClose"), Qt::LeftButton);
        QCOMPARE(boxes.Shown().size(), 1);
        QCOMPARE(boxes.Shown()[0].Title, QStringLiteral("Updater"));
        QCOMPARE(boxes.Shown()[0].Text,
                 "Quarvel Logfile Analyzer could not be started from:\r\n" +
                     QDir(emptyFolder.path()).filePath("Quarvel_Logfile_Analyzer"));
        QVERIFY(window->IsUnloaded());
    }

  private:
    QString startDir_;
};

QTEST_MAIN(UpdaterAppTest)
#include "updater_app_test.moc"
