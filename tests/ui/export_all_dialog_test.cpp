// frmExportAllStatus: the file count question, progress, the folder check, the "If file exists:"
// choices, a second OK during the run, and opening the start page.
#include "ui/export_all_dialog.h"

#include "ui_test_support.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTabBar>
#include <QUrl>

using namespace qla::ui;
using namespace qla::ui::test;

namespace {

void WriteFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(content);
}

// What the dialog showed when it closed.
struct Closing {
    QString currentFile, numFiles;
    int value = -1, maximum = -1;
    bool cancelEnabled = true;
};

} // namespace

class ExportAllDialogTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void sixPlayersMakeTwentyThreeFiles();
    void answeringNoWritesAndOpensNothing();
    void startPageOpenedAfterSave();
    void missingFolderIsMadeOnceTheExportIsAgreed();
    void folderBelowAFileIsRefused();
    void statusLineTellsWhatExportAllWrote();
    void skipKeepsExistingPages();
    void askReplacesKeepsOrStops();
    void secondOkDuringRunIsIgnored();
    void pickerSetsFolderAndCancelEmptiesIt();
    void theLastFolderWrittenIsOfferedFirst();
    void toAllAnswersTheLaterQuestions();
    void cancelDuringTheRunKeepsWhatWasWritten();
    void cancelClosesWithoutQuestion();

  private:
    // Six players, analysed, with Export "Other" / "All data" / HTML chosen.
    void Prepare(Harness& h);
    // Opens the dialog through Export, sets the folder and the choice, presses OK.
    Closing RunDialog(Harness& h, const QString& folder, int ifExists,
                      const QList<QMessageBox::StandardButton>& answers);
    std::unique_ptr<QTemporaryDir> dir_;
    QString site_;
};

void ExportAllDialogTest::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    site_ = dir_->filePath("site");
    QDir().mkpath(site_);
}

void ExportAllDialogTest::Prepare(Harness& h) {
    h.OpenAndAnalyze(WriteLog(
        *dir_, "six.log", {KillLine("Al", "Bo"), KillLine("Cy", "Di"), KillLine("Ed", "^1Fa")}));
    h.dialogs.Clear();
    Control<QTabBar>(&h.window, "tabExport")->setCurrentIndex(5);
    Control<QComboBox>(&h.window, "cmbExportType")->setCurrentIndex(0);
}

Closing ExportAllDialogTest::RunDialog(Harness& h, const QString& folder, int ifExists,
                                       const QList<QMessageBox::StandardButton>& answers) {
    Closing closing;
    WhenDialogShows("frmExportAllStatus", [&](QDialog* d) {
        QObject::connect(d, &QDialog::finished, [&closing, d] {
            closing.currentFile = Control<QLabel>(d, "lblCurrentFile")->text();
            closing.numFiles = Control<QLabel>(d, "lblNumFiles")->text();
            closing.value = Control<QProgressBar>(d, "pgbAllData")->value();
            closing.maximum = Control<QProgressBar>(d, "pgbAllData")->maximum();
            closing.cancelEnabled = Control<QPushButton>(d, "cmdCancel")->isEnabled();
        });
        h.dialogs.QueuePath(folder);
        Click(d, "cmdBrowse");
        for (QMessageBox::StandardButton answer : answers)
            h.dialogs.QueueButton(answer);
        Click(d, IndexedName("optFileExists", ifExists));
        Click(d, "cmdOK");
    });
    Click(&h.window, "cmdExport");
    return closing;
}

void ExportAllDialogTest::sixPlayersMakeTwentyThreeFiles() {
    Harness h;
    Prepare(h);
    const Closing closing = RunDialog(h, site_, 0, {QMessageBox::Yes, QMessageBox::Ok});
    QCOMPARE(h.dialogs.shown[0].Kind, QStringLiteral("folder"));
    QCOMPARE(h.dialogs.shown[0].Title, QStringLiteral("Select output directory"));
    QCOMPARE(h.dialogs.shown[1].Title, QStringLiteral("Export All Data?"));
    QCOMPARE(h.dialogs.shown[1].Text,
             QStringLiteral("23 files will be created. Do you want to continue?"));
    QCOMPARE(h.dialogs.shown[1].Icon, QMessageBox::Question);
    QCOMPARE(h.dialogs.shown[1].Buttons, QMessageBox::Yes | QMessageBox::No);
    // The summary says what was written where, and offers to open the folder.
    QCOMPARE(h.dialogs.shown.size(), 3);
    QCOMPARE(h.dialogs.shown[2].Text, QStringLiteral("23 files written to ") + site_);
    QCOMPARE(h.dialogs.shown[2].Buttons, QMessageBox::Ok | QMessageBox::Open);
    QCOMPARE(QDir(site_).entryList(QDir::Files).size(), 23);
    QVERIFY(QFile::exists(site_ + "/player006b.html"));
    QCOMPARE(closing.numFiles, QStringLiteral("23 / 23"));
    QCOMPARE(closing.currentFile, QStringLiteral("weapon5.html"));
    QCOMPARE(closing.value, 22);
    QCOMPARE(closing.maximum, 23);
    QVERIFY(!closing.cancelEnabled);
    QVERIFY(h.desktop.opened.isEmpty());
}

void ExportAllDialogTest::answeringNoWritesAndOpensNothing() {
    Harness h;
    Prepare(h);
    Click(&h.window, "chkOpenSavedFile");
    const Closing closing = RunDialog(h, site_, 0, {QMessageBox::No});
    QVERIFY(QDir(site_).entryList(QDir::Files).isEmpty());
    QVERIFY(h.desktop.opened.isEmpty());
    QCOMPARE(closing.numFiles, QStringLiteral("0 / 0"));
}

void ExportAllDialogTest::startPageOpenedAfterSave() {
    Harness h;
    Prepare(h);
    Click(&h.window, "chkOpenSavedFile");
    RunDialog(h, site_ + "/", 0, {QMessageBox::Yes, QMessageBox::Ok});
    QCOMPARE(h.desktop.opened, QList<QUrl>({QUrl::fromLocalFile(site_ + "/index.html")}));
}

void ExportAllDialogTest::missingFolderIsMadeOnceTheExportIsAgreed() {
    Harness h;
    Prepare(h);
    const QString missing = dir_->filePath("no/such/folder");
    // No to the question: nothing is written, and no folder is left behind.
    RunDialog(h, missing, 0, {QMessageBox::No});
    QCOMPARE(h.dialogs.shown.size(), 2);
    QCOMPARE(h.dialogs.shown[1].Title, QStringLiteral("Export All Data?"));
    QVERIFY(!QDir(dir_->filePath("no")).exists());
    // Yes: the folder and its parents are made and filled, as qla export does.
    h.dialogs.Clear();
    RunDialog(h, missing, 0, {QMessageBox::Yes, QMessageBox::Ok});
    QCOMPARE(h.dialogs.shown.size(), 3);
    QCOMPARE(h.dialogs.shown[2].Text, QStringLiteral("23 files written to ") + missing);
    QCOMPARE(QDir(missing).entryList(QDir::Files).size(), 23);
}

void ExportAllDialogTest::folderBelowAFileIsRefused() {
    Harness h;
    Prepare(h);
    Click(&h.window, "chkOpenSavedFile");
    const QString file = dir_->filePath("plain-file");
    WriteFile(file, "not a folder");
    const QString below = file + "/site";
    bool stillOpen = false;
    QString selected;
    WhenDialogShows("frmExportAllStatus", [&](QDialog* d) {
        h.dialogs.QueuePath(below);
        Click(d, "cmdBrowse");
        h.dialogs.QueueButton(QMessageBox::Ok);
        Click(d, "cmdOK");
        // Refused before the question; the dialog stays with the folder selected for a fix.
        stillOpen = d->isVisible();
        selected = Control<QLineEdit>(d, "txtOutput")->selectedText();
        QVERIFY(Control<QPushButton>(d, "cmdCancel")->isEnabled());
        Click(d, "cmdCancel");
    });
    Click(&h.window, "cmdExport");
    QCOMPARE(h.dialogs.shown.size(), 2);
    QCOMPARE(h.dialogs.shown[1].Title, QStringLiteral("Quarvel Logfile Analyzer"));
    QCOMPARE(h.dialogs.shown[1].Icon, QMessageBox::Warning);
    QVERIFY(h.dialogs.shown[1].Text.contains(below));
    QVERIFY(stillOpen);
    QCOMPARE(selected, below);
    QCOMPARE(ReadAll(file), QByteArray("not a folder"));
    QVERIFY(h.desktop.opened.isEmpty());
}

void ExportAllDialogTest::statusLineTellsWhatExportAllWrote() {
    Harness h;
    Prepare(h);
    auto* status = Control<QLabel>(&h.window, "lblExportStatus");
    // A file export first: its line must not stay for the site.
    Control<QTabBar>(&h.window, "tabExport")->setCurrentIndex(0);
    const QString page = dir_->filePath("standard.html");
    h.dialogs.QueuePath(page);
    Click(&h.window, "cmdExport");
    QCOMPARE(status->text(), QStringLiteral("Saved to ") + page);

    Control<QTabBar>(&h.window, "tabExport")->setCurrentIndex(5);
    RunDialog(h, site_, 0, {QMessageBox::Yes, QMessageBox::Ok});
    QCOMPARE(status->text(), QStringLiteral("23 files written to ") + site_);
    // Closed without writing: the line is cleared.
    WhenDialogShows("frmExportAllStatus", [](QDialog* d) { Click(d, "cmdCancel"); });
    Click(&h.window, "cmdExport");
    QCOMPARE(status->text(), QString());
}

void ExportAllDialogTest::skipKeepsExistingPages() {
    Harness h;
    Prepare(h);
    WriteFile(site_ + "/index.html", "old index");
    WriteFile(site_ + "/player002a.html", "old player");
    const Closing closing = RunDialog(h, site_, 1, {QMessageBox::Yes, QMessageBox::Ok});
    QCOMPARE(ReadAll(site_ + "/index.html"), QByteArray("old index"));
    QCOMPARE(ReadAll(site_ + "/player002a.html"), QByteArray("old player"));
    QVERIFY(ReadAll(site_ + "/index2.html").startsWith("<html>"));
    QCOMPARE(QDir(site_).entryList(QDir::Files).size(), 23);
    QCOMPARE(closing.numFiles, QStringLiteral("23 / 23"));
    QCOMPARE(h.dialogs.shown.last().Text, QStringLiteral("21 files written to ") + site_);
}

void ExportAllDialogTest::askReplacesKeepsOrStops() {
    Harness h;
    Prepare(h);
    for (const char* page : {"index.html", "index2.html", "index3.html"})
        WriteFile(site_ + "/" + page, "old");
    // 23 files? Yes; index.html: replace; index2.html: keep; index3.html: stop the run.
    // The summary's Open shows the folder.
    RunDialog(h, site_, 2,
              {QMessageBox::Yes, QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel,
               QMessageBox::Open});
    QCOMPARE(h.dialogs.shown.size(), 6);
    QVERIFY(h.dialogs.shown[2].Text.contains(QStringLiteral("index.html")));
    QVERIFY(h.dialogs.shown[3].Text.contains(QStringLiteral("index2.html")));
    QVERIFY(h.dialogs.shown[4].Text.contains(QStringLiteral("index3.html")));
    QCOMPARE(h.dialogs.shown[4].Buttons, QMessageBox::Yes | QMessageBox::YesToAll |
                                             QMessageBox::No | QMessageBox::NoToAll |
                                             QMessageBox::Cancel);
    QCOMPARE(h.dialogs.shown[5].Text,
             QStringLiteral("2 files written to %1\r\n"
                            "The export was stopped; the other files were not written.")
                 .arg(site_));
    QCOMPARE(h.desktop.opened, QList<QUrl>({QUrl::fromLocalFile(site_)}));
    QVERIFY(ReadAll(site_ + "/index.html").startsWith("<html>"));
    QCOMPARE(ReadAll(site_ + "/index2.html"), QByteArray("old"));
    QCOMPARE(ReadAll(site_ + "/index3.html"), QByteArray("old"));
    QVERIFY(!QFile::exists(site_ + "/index4.html"));
    QVERIFY(!QFile::exists(site_ + "/weapon1.html"));
}

void ExportAllDialogTest::secondOkDuringRunIsIgnored() {
    Harness h;
    Prepare(h);
    WriteFile(site_ + "/index.html", "old");
    int pressedDuringRun = 0;
    h.dialogs.onMessage = [&](const ShownDialog& shown) {
        if (shown.Title != QLatin1String("Export All Data"))
            return;
        // The question about index.html comes mid-run: press OK again meanwhile.
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog && dialog->objectName() == QLatin1String("frmExportAllStatus"));
        Click(dialog, "cmdOK");
        ++pressedDuringRun;
    };
    // 23 files? Yes; then replace index.html.
    RunDialog(h, site_, 2, {QMessageBox::Yes, QMessageBox::Yes, QMessageBox::Ok});
    QCOMPARE(pressedDuringRun, 1);
    int questions = 0;
    for (const ShownDialog& shown : h.dialogs.shown)
        questions += shown.Title == QLatin1String("Export All Data?");
    QCOMPARE(questions, 1);
    QCOMPARE(QDir(site_).entryList(QDir::Files).size(), 23);
}

void ExportAllDialogTest::pickerSetsFolderAndCancelEmptiesIt() {
    qla::AnalysisStore store;
    FakeDialogs dialogs;
    FakeDesktop desktop;
    frmExportAllStatus fresh({&store, QString(), ".", false}, dialogs, desktop);
    auto* output = Control<QLineEdit>(&fresh, "txtOutput");
    QCOMPARE(output->text(), QString());
    QVERIFY(Control<QRadioButton>(&fresh, "optFileExists(0)")->isChecked());
    output->setText(site_);
    QCOMPARE(output->toolTip(), site_);
    dialogs.QueuePath(site_ + QStringLiteral("/picked"));
    Click(&fresh, "cmdBrowse");
    QCOMPARE(output->text(), site_ + QStringLiteral("/picked"));
    QCOMPARE(output->toolTip(), output->text());
    dialogs.QueuePath(QString());
    Click(&fresh, "cmdBrowse");
    QCOMPARE(output->text(), QString());
}

void ExportAllDialogTest::theLastFolderWrittenIsOfferedFirst() {
    QTemporaryDir settingsDir;
    QSettings settings(settingsDir.filePath("window.conf"), QSettings::IniFormat);
    {
        Harness h;
        h.window.RememberIn(settings);
        Prepare(h);
        RunDialog(h, site_, 0, {QMessageBox::Yes, QMessageBox::Ok});
        QCOMPARE(QDir(site_).entryList(QDir::Files).size(), 23);
    }
    Harness next;
    next.window.RememberIn(settings);
    Prepare(next);
    QString offered;
    WhenDialogShows("frmExportAllStatus", [&](QDialog* d) {
        offered = Control<QLineEdit>(d, "txtOutput")->text();
        Click(d, "cmdCancel");
    });
    Click(&next.window, "cmdExport");
    QCOMPARE(offered, site_);
}

void ExportAllDialogTest::toAllAnswersTheLaterQuestions() {
    for (const auto answer : {QMessageBox::YesToAll, QMessageBox::NoToAll}) {
        Harness h;
        Prepare(h);
        site_ = dir_->filePath(answer == QMessageBox::YesToAll ? "yes" : "no");
        QDir().mkpath(site_);
        for (const char* page : {"index.html", "index2.html", "weapon5.html"})
            WriteFile(site_ + "/" + page, "old");
        RunDialog(h, site_, 2, {QMessageBox::Yes, answer, QMessageBox::Ok});
        QCOMPARE(h.dialogs.shown.size(), 4); // folder, count, one question, summary
        const bool replaced = answer == QMessageBox::YesToAll;
        for (const char* page : {"index.html", "index2.html", "weapon5.html"})
            QCOMPARE(ReadAll(site_ + "/" + page) == "old", !replaced);
        QCOMPARE(h.dialogs.shown[3].Text,
                 QStringLiteral("%1 files written to %2").arg(replaced ? 23 : 20).arg(site_));
    }
}

void ExportAllDialogTest::cancelDuringTheRunKeepsWhatWasWritten() {
    Harness h;
    Prepare(h);
    WriteFile(site_ + "/index3.html", "old");
    // The question about index3.html comes mid-run: press Cancel meanwhile, then answer Yes.
    h.dialogs.onMessage = [&](const ShownDialog& shown) {
        if (shown.Title != QLatin1String("Export All Data"))
            return;
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        QVERIFY(Control<QPushButton>(dialog, "cmdCancel")->isEnabled());
        Click(dialog, "cmdCancel");
    };
    const Closing closing =
        RunDialog(h, site_, 2, {QMessageBox::Yes, QMessageBox::Yes, QMessageBox::Ok});
    // style.css, index.html, index2.html and the replaced index3.html; nothing after it.
    QCOMPARE(QDir(site_).entryList(QDir::Files).size(), 4);
    QVERIFY(ReadAll(site_ + "/index3.html").startsWith("<html>"));
    QCOMPARE(h.dialogs.shown.last().Text,
             QStringLiteral("4 files written to %1\r\n"
                            "The export was stopped; the other files were not written.")
                 .arg(site_));
    QVERIFY(!closing.cancelEnabled);
    QVERIFY(h.dialogs.AllAnswersUsed());
}

void ExportAllDialogTest::cancelClosesWithoutQuestion() {
    Harness h;
    Prepare(h);
    WhenDialogShows("frmExportAllStatus", [](QDialog* d) { Click(d, "cmdCancel"); });
    Click(&h.window, "cmdExport");
    QVERIFY(h.dialogs.shown.isEmpty());
    QVERIFY(QDir(site_).entryList(QDir::Files).isEmpty());
}

QTEST_MAIN(ExportAllDialogTest)
#include "export_all_dialog_test.moc"
