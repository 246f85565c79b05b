// The updater in German: with the German window language installed, every caption, status
// line and message box of frmUpdate and of the start-up reads German, every control is still
// found by its objectName, and an English or French desktop keeps the English texts.
#include "fake_services.h"
#include "frm_update.h"
#include "test_http_server.h"
#include "updater_app.h"
#include "window_language.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

using namespace qla::updater;

namespace {

const QByteArray kNewerFile = "[update=analyzer]\r\nmajor=0\r\nminor=9\r\nrevision=0\r\n"
                              "changes=http://quarvel.example.org/c.html\r\n"
                              "download=http://quarvel.example.org/d.zip\r\nsize=1\r\n";

template <class T> T* Control(QWidget* window, const char* name) {
    T* control = window->findChild<T*>(QLatin1String(name));
    if (!control)
        QTest::qFail(qPrintable(QStringLiteral("no control named ") + QLatin1String(name)),
                     __FILE__, __LINE__);
    return control;
}

} // namespace

class FrmUpdateGermanTest : public QObject {
    Q_OBJECT

  private slots:
    // Runs first: nothing is installed for other languages, and the texts stay English.
    void initTestCase() {
        QVERIFY(
            !qla::InstallWindowLanguage(*qApp, QLocale(QLocale::English, QLocale::UnitedStates)));
        QVERIFY(!qla::InstallWindowLanguage(*qApp, QLocale(QLocale::French, QLocale::France)));
        QCOMPARE(QCoreApplication::translate("Updater", "Update Error"),
                 QStringLiteral("Update Error"));
        QVERIFY(qla::InstallWindowLanguage(*qApp, QLocale(QLocale::German, QLocale::Austria)));
    }

    void windowAndCheckInGerman() {
        TestHttpServer server;
        QVERIFY(server.Listen());
        server.SetResponse(200, kNewerFile);
        FakeMessageBoxes boxes;
        FakeBrowser browser;
        FakeLauncher launcher;
        frmUpdate window({{0, 8, 2}, server.Url(), QStringLiteral("/opt/qla"), 10000},
                         {boxes, browser, launcher});
        QCOMPARE(window.windowTitle(), QStringLiteral("Suche nach Updates..."));
        QCOMPARE(Control<QLabel>(&window, "Label1")->text(), QStringLiteral("Status:"));
        const std::pair<const char*, const char*> buttons[] = {
            {"cmdChanges", "Änderungen ansehen"},
            {"cmdDownload", "Herunterladen"},
            {"cmdCancel", "Abbrechen"},
            {"cmdClose", "Schließen"},
            {"cmdAbout", "Über"},
        };
        for (const auto& [name, caption] : buttons)
            QCOMPARE(Control<QPushButton>(&window, name)->text(), QString::fromUtf8(caption));

        window.Start();
        QTRY_COMPARE_WITH_TIMEOUT(window.windowTitle(),
                                  QStringLiteral("Suche nach Updates... [fertig]"), 10000);
        QCOMPARE(
            Control<QPlainTextEdit>(&window, "txtStatus")->toPlainText().split('\n'),
            QStringList({"Verbinde mit der Update-Seite", "Lade die Update-Informationen herunter",
                         "Lese die Update-Informationen", "-----",
                         QString::fromUtf8("Neues Update verfügbar!! "),
                         "Diese Version: 0.8 Build 2", "Neue Version: 0.9 Build 0"}));

        boxes.Expect();
        boxes.Expect();
        QTest::mouseClick(Control<QPushButton>(&window, "cmdDownload"), Qt::LeftButton);
        QTest::mouseClick(Control<QPushButton>(&window, "cmdAbout"), Qt::LeftButton);
        QCOMPARE(boxes.Shown().size(), 2);
        QCOMPARE(boxes.Shown()[0].Title, QStringLiteral("Herunterladen"));
        QVERIFY(boxes.Shown()[0].Text.startsWith(QStringLiteral("Speichern Sie die Datei")));
        QCOMPARE(boxes.Shown()[1].Title, QString::fromUtf8("Über den Updater"));
        QCOMPARE(boxes.Shown()[1].Text,
                 QString::fromUtf8("Über den Updater von Quarvel Logfile Analyzer\r\n\r\n"
                                   "Erstellt von:\r\nQuarvel Analyzer team\r\n"
                                   "analyzer@quarvel.example.org\r\nhttps://quarvel.example.org"));
    }

    void messagesInGerman() {
        FakeMessageBoxes boxes;
        FakeBrowser browser;
        FakeLauncher launcher;
        boxes.Expect();
        QVERIFY(StartUpdater({"updater", "0.8"}, {boxes, browser, launcher}) == nullptr);
        QCOMPARE(boxes.Shown().size(), 1);
        QCOMPARE(boxes.Shown()[0].Title, QStringLiteral("Nach Updates suchen - Fehler"));

        TestHttpServer server;
        QVERIFY(server.Listen());
        server.SetResponse(200, "[update=viewer]\r\n");
        boxes.Expect();
        frmUpdate window({{0, 8, 2}, server.Url(), QStringLiteral("/opt/qla"), 10000},
                         {boxes, browser, launcher});
        window.Start();
        QTRY_VERIFY_WITH_TIMEOUT(window.IsUnloaded(), 10000);
        QCOMPARE(boxes.Shown().size(), 2);
        QCOMPARE(boxes.Shown()[1].Title, QStringLiteral("Update-Fehler"));
        QCOMPARE(boxes.Shown()[1].Text,
                 QString::fromUtf8("Die Update-Informationsdatei enthält falsche Daten. Das "
                                   "Update kann nicht fortgesetzt werden, weitere Informationen "
                                   "finden Sie unter https://quarvel.example.org/update!"));
    }
};

QTEST_MAIN(FrmUpdateGermanTest)
#include "frm_update_german_test.moc"
