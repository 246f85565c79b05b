// The updater window against a real HTTP server on 127.0.0.1: the status box line by line,
// button states, every wrong-data and cannot-reach case, Cancel while the server keeps silent,
// the buttons, and the analyzer started again on every way out.
#include "fake_services.h"
#include "frm_update.h"
#include "test_http_server.h"
#include "update_texts.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

using namespace qla::updater;

namespace {

QByteArray UpdateFile(const QByteArray& major, const QByteArray& minor,
                      const QByteArray& revision) {
    return "[update=analyzer]\r\nmajor=" + major + "\r\nminor=" + minor +
           "\r\nrevision=" + revision +
           "\r\nchanges=http://quarvel.example.org/analyzer/changes.html"
           "\r\ndownload=https://quarvel.example.org/analyzer/setup.zip\r\nsize=1.2 MB\r\n";
}

const QStringList kCheckStart = {"Connecting Update Site", "Downloading update information",
                                 "Reading update information"};

} // namespace

class FrmUpdateTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        journal_.clear();
        boxes_ = std::make_unique<FakeMessageBoxes>(&journal_);
        browser_ = std::make_unique<FakeBrowser>(&journal_);
        launcher_ = std::make_unique<FakeLauncher>();
        server_ = std::make_unique<TestHttpServer>();
        QVERIFY(server_->Listen());
    }
    void cleanup() {
        window_.reset();
        QVERIFY2(boxes_->AllAnswersUsed(), "an expected message box was never shown");
    }

    void startsInItsDesignState() {
        server_->SetSilent(true);
        Open({0, 8, 2});
        QCOMPARE(window_->windowTitle(), QStringLiteral("Checking for update..."));
        QVERIFY(!Button("cmdChanges")->isEnabled());
        QVERIFY(!Button("cmdDownload")->isEnabled());
        QVERIFY(Button("cmdCancel")->isVisible());
        QVERIFY(Button("cmdCancel")->isEnabled());
        QVERIFY(!Button("cmdClose")->isVisible());
        QVERIFY(Button("cmdAbout")->isEnabled());
        QCOMPARE(Button("cmdChanges")->text(), QStringLiteral("View changes"));
        QCOMPARE(Button("cmdDownload")->text(), QStringLiteral("Download"));
        QCOMPARE(Status(),
                 QStringList({"Connecting Update Site", "Downloading update information"}));
    }

    void newerVersionMatchesTheWorkedExample() {
        server_->SetResponse(200, UpdateFile("0", "9", "0"));
        Open({0, 8, 2});
        WaitUntilDone();
        QCOMPARE(Status(),
                 QStringList({"Connecting Update Site", "Downloading update information",
                              "Reading update information", "-----", "New update available!! ",
                              "This version: 0.8 build 2", "New version: 0.9 build 0"}));
        QVERIFY(Button("cmdChanges")->isEnabled());
        QVERIFY(Button("cmdDownload")->isEnabled());
        QVERIFY(!Button("cmdCancel")->isVisible());
        QVERIFY(Button("cmdClose")->isVisible());
        QCOMPARE(window_->windowTitle(), QStringLiteral("Checking for update... [done]"));
        QCOMPARE(server_->LastHeader("User-Agent"), QByteArray("vb wininet"));
        QVERIFY(boxes_->Shown().isEmpty());
    }

    void latestVersion_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("line");
        QTest::newRow("same version")
            << UpdateFile("0", "9", "9") << "You have the latest version! (v0.9 build 9)";
        QTest::newRow("older announced")
            << UpdateFile("0", "8", "70000") << "You have the latest version! (v0.9 build 9)";
    }
    void latestVersion() {
        QFETCH(QByteArray, file);
        QFETCH(QString, line);
        server_->SetResponse(200, file);
        Open({0, 9, 9});
        WaitUntilDone();
        QCOMPARE(Status(), kCheckStart + QStringList({"-----", line}));
        QVERIFY(!Button("cmdChanges")->isEnabled());
        QVERIFY(!Button("cmdDownload")->isEnabled());
        QVERIFY(Button("cmdClose")->isVisible());
    }

    void wrongData_data() {
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<bool>("refuse");
        const QByteArray good = UpdateFile("1", "0", "0");
        QTest::newRow("bad marker")
            << 200 << QByteArray(good).replace("=analyzer]", "=viewer]") << false;
        QTest::newRow("marker with trailing blank")
            << 200 << QByteArray(good).replace("analyzer]", "analyzer] ") << false;
        QTest::newRow("capitalised key")
            << 200 << QByteArray(good).replace("minor=", "Minor=") << false;
        QTest::newRow("fewer than 7 lines") << 200 << good.left(good.indexOf("\r\nsize")) << false;
        QTest::newRow("line without =")
            << 200 << QByteArray(good).replace("revision=", "revision ") << false;
        QTest::newRow("non-numeric version")
            << 200 << QByteArray(good).replace("major=1", "major=one") << false;
        QTest::newRow("non-http address")
            << 200 << QByteArray(good).replace("https://quarvel", "ftp://quarvel") << false;
        QTest::newRow("far too large") << 200 << good + QByteArray(64 * 1024, 'x') << false;
    }
    void wrongData() {
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        QFETCH(bool, refuse);
        server_->SetResponse(status, body);
        boxes_->Expect();
        const RefusingPort refusing;
        Open({0, 8, 2}, refuse ? refusing.Url() : server_->Url());
        QTRY_VERIFY_WITH_TIMEOUT(window_->IsUnloaded(), 10000);
        QVERIFY(!window_->isVisible());
        QCOMPARE(boxes_->Shown().size(), 1);
        QCOMPARE(boxes_->Shown()[0].Icon, QMessageBox::Critical);
        QCOMPARE(boxes_->Shown()[0].Title, QStringLiteral("Update Error"));
        QCOMPARE(boxes_->Shown()[0].Text,
                 QStringLiteral("Update information file contains wrong data. Update cannot "
                                "continue, please visit https://quarvel.example.org/update for "
                                "more information!"));
        QCOMPARE(Status(), kCheckStart);
        // The user's analyzer comes back after the OK.
        QCOMPARE(launcher_->Started(), QStringList({"/opt/qla/Quarvel_Logfile_Analyzer"}));
    }

    // No connection, a refusal, an error status or no answer in time: the server was not
    // reached, which is not the file's fault, and the message says so with the reason.
    void cannotReach_data() {
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("refuse");
        QTest::addColumn<bool>("silent");
        QTest::addColumn<QString>("reason");
        QTest::newRow("connection refused") << 200 << true << false << "Connection refused";
        QTest::newRow("404") << 404 << false << false << "Not Found";
        QTest::newRow("500") << 500 << false << false << "server replied";
        QTest::newRow("no answer in time") << 200 << false << true << "no answer within 300 ms";
    }
    void cannotReach() {
        QFETCH(int, status);
        QFETCH(bool, refuse);
        QFETCH(bool, silent);
        QFETCH(QString, reason);
        server_->SetResponse(status, UpdateFile("1", "0", "0"));
        server_->SetSilent(silent);
        boxes_->Expect();
        const RefusingPort refusing;
        // Only the silent server is timed out: a short time for the others would let a loaded
        // machine turn their answer into "no answer within 300 ms".
        Open({0, 8, 2}, refuse ? refusing.Url() : server_->Url(), silent ? 300 : 10000);
        QTRY_VERIFY_WITH_TIMEOUT(window_->IsUnloaded(), 10000);
        QCOMPARE(boxes_->Shown().size(), 1);
        QCOMPARE(boxes_->Shown()[0].Icon, QMessageBox::Critical);
        QCOMPARE(boxes_->Shown()[0].Title, QStringLiteral("Update Error"));
        const QString text = boxes_->Shown()[0].Text;
        QVERIFY2(text.startsWith("Cannot reach the update server: ") && text.contains(reason),
                 qPrintable(text));
        QCOMPARE(launcher_->Started(), QStringList({"/opt/qla/Quarvel_Logfile_Analyzer"}));
    }

    void aFailedRestartIsReportedToo() {
        launcher_->Succeeds = false;
        boxes_->Expect();
        boxes_->Expect();
        const RefusingPort refusing;
        Open({0, 8, 2}, refusing.Url());
        QTRY_VERIFY_WITH_TIMEOUT(window_->IsUnloaded(), 10000);
        QCOMPARE(boxes_->Shown().size(), 2);
        QCOMPARE(boxes_->Shown()[1].Text,
                 QStringLiteral("Quarvel Logfile Analyzer could not be started from:\r\n"
                                "/opt/qla/Quarvel_Logfile_Analyzer"));
    }

    void cancelWhileTheServerNeverAnswers() {
        server_->SetSilent(true);
        Open({0, 8, 2});
        QTRY_COMPARE(server_->Requests().size(), 1);
        // The window still reacts while the download hangs.
        QVERIFY(!window_->IsUnloaded());
        QTest::mouseClick(Button("cmdCancel"), Qt::LeftButton);
        QTRY_VERIFY(window_->IsUnloaded());
        QVERIFY(!window_->isVisible());
        QCOMPARE(Status(), QStringList({"Connecting Update Site", "Downloading update information",
                                        "Check for update aborted... please wait"}));
        QVERIFY(boxes_->Shown().isEmpty());
        QCOMPARE(launcher_->Started(), QStringList({"/opt/qla/Quarvel_Logfile_Analyzer"}));
    }

    void closingTheWindowStartsTheAnalyzerOnce() {
        server_->SetSilent(true);
        Open({0, 8, 2});
        QTRY_COMPARE(server_->Requests().size(), 1);
        window_->close();
        QVERIFY(window_->IsUnloaded());
        QTest::qWait(50);
        QVERIFY(boxes_->Shown().isEmpty());
        QCOMPARE(launcher_->Started(), QStringList({"/opt/qla/Quarvel_Logfile_Analyzer"}));
        // After a finished check too, closing the window is the same as Close.
        window_.reset();
        init();
        server_->SetResponse(200, UpdateFile("0", "9", "9"));
        Open({0, 9, 9});
        WaitUntilDone();
        window_->close();
        QCOMPARE(launcher_->Started(), QStringList({"/opt/qla/Quarvel_Logfile_Analyzer"}));
    }

    void downloadShowsTheInstructionFirst() {
        server_->SetResponse(200, UpdateFile("0", "9", "0"));
        Open({0, 8, 2});
        WaitUntilDone();
        boxes_->Expect();
        QTest::mouseClick(Button("cmdDownload"), Qt::LeftButton);
        QCOMPARE(journal_, QStringList({"box: Download",
                                        "open: https://quarvel.example.org/analyzer/setup.zip"}));
        QCOMPARE(boxes_->Shown()[0].Icon, QMessageBox::Information);
        QCOMPARE(boxes_->Shown()[0].Text,
                 QStringLiteral("Save the file to the directory where you installed Quarvel "
                                "Logfile Analyzer, and overwrite the existing "
                                "'Quarvel_Logfile_Analyzer.exe' file"));
    }

    void viewChangesOpensTheChangeList() {
        server_->SetResponse(200, UpdateFile("0", "9", "0"));
        Open({0, 8, 2});
        WaitUntilDone();
        QTest::mouseClick(Button("cmdChanges"), Qt::LeftButton);
        QCOMPARE(journal_, QStringList({"open: http://quarvel.example.org/analyzer/changes.html"}));
    }

    void aboutNamesTheMaker() {
        server_->SetSilent(true);
        Open({0, 8, 2});
        boxes_->Expect();
        QTest::mouseClick(Button("cmdAbout"), Qt::LeftButton);
        QCOMPARE(boxes_->Shown().size(), 1);
        QCOMPARE(boxes_->Shown()[0].Icon, QMessageBox::Information);
        QCOMPARE(boxes_->Shown()[0].Title, QStringLiteral("About Updater"));
        QCOMPARE(boxes_->Shown()[0].Text,
                 QStringLiteral("About Quarvel Logfile Analyzer Updater\r\n\r\nMade by:\r\n"
                                "Quarvel Analyzer team\r\nanalyzer@quarvel.example.org\r\n"
                                "https://quarvel.example.org"));
        QVERIFY(!window_->IsUnloaded());
    }

    void closeStartsTheAnalyzerFromTheProgramFolder() {
        server_->SetResponse(200, UpdateFile("0", "9", "9"));
        Open({0, 9, 9});
        WaitUntilDone();
        QTest::mouseClick(Button("cmdClose"), Qt::LeftButton);
        QCOMPARE(launcher_->Started(), QStringList({"/opt/qla/Quarvel_Logfile_Analyzer"}));
        QVERIFY(window_->IsUnloaded());
        QVERIFY(boxes_->Shown().isEmpty());
    }

    void closeReportsAFailedStart() {
        server_->SetResponse(200, UpdateFile("0", "9", "9"));
        Open({0, 9, 9});
        WaitUntilDone();
        launcher_->Succeeds = false;
        boxes_->Expect();
        QTest::mouseClick(Button("cmdClose"), Qt::LeftButton);
        QCOMPARE(boxes_->Shown().size(), 1);
        QCOMPARE(boxes_->Shown()[0].Icon, QMessageBox::Critical);
        QCOMPARE(boxes_->Shown()[0].Text,
                 QStringLiteral("Quarvel Logfile Analyzer could not be started from:\r\n"
                                "/opt/qla/Quarvel_Logfile_Analyzer"));
        QVERIFY(window_->IsUnloaded());
    }

  private:
    void Open(const Version& version, const QUrl& address = {}, int timeoutMs = 10000) {
        UpdateSettings settings{version, address.isEmpty() ? server_->Url() : address,
                                QStringLiteral("/opt/qla"), timeoutMs};
        window_ =
            std::make_unique<frmUpdate>(settings, UpdaterServices{*boxes_, *browser_, *launcher_});
        window_->Start();
    }
    void WaitUntilDone() {
        QTRY_VERIFY_WITH_TIMEOUT(
            window_->windowTitle() == texts::CaptionDone() || window_->IsUnloaded(), 10000);
        QVERIFY(!window_->IsUnloaded());
    }
    QPushButton* Button(const char* name) const {
        auto* button = window_->findChild<QPushButton*>(QLatin1String(name));
        if (!button)
            qFatal("no button %s", name);
        return button;
    }
    QStringList Status() const {
        return window_->findChild<QPlainTextEdit*>(QStringLiteral("txtStatus"))
            ->toPlainText()
            .split(QLatin1Char('\n'));
    }

    QStringList journal_;
    std::unique_ptr<FakeMessageBoxes> boxes_;
    std::unique_ptr<FakeBrowser> browser_;
    std::unique_ptr<FakeLauncher> launcher_;
    std::unique_ptr<TestHttpServer> server_;
    std::unique_ptr<frmUpdate> window_;
};

QTEST_MAIN(FrmUpdateTest)
#include "frm_update_test.moc"
