// The Export button of the export page: the player check, the text options, the save dialog and
// its overwrite question, the writers per page and type, "All data", the statistics site, and
// opening after save.
#include "ui/export_file_name.h"
#include "ui_test_support.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTabBar>
#include <QXmlStreamReader>

using namespace qla::ui;
using namespace qla::ui::test;

namespace {

void WriteFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

// Three players, in order of appearance ^1Al (1 kill, 2 deaths), Bob (2 kills, 1 death), Cy.
QStringList ThreePlayers() {
    return {KillLine("^1Al", "Bob"), KillLine("Cy", "Bob"), KillLine("Bob", "^1Al"),
            KillLine("^1Al", "Cy")};
}

// Every file below `folder` (hidden ones too) by relative path, with its bytes.
QMap<QString, QByteArray> FolderFiles(const QString& folder) {
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(QDir(folder).relativeFilePath(path), ReadAll(path));
    }
    return files;
}

} // namespace

class ExportDispatcherTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void playerDetailsNeedsAPlayerBeforeTextOptions();
    void cancelledTextOptionsShowNoSaveDialog();
    void cancelledSaveDialogWritesNothing();
    void overwriteYesReplacesFile();
    void overwriteNoAsksForAnotherName();
    void overwriteCancelLeavesFile();
    void textStandardUsesOptionsAndLocaleSeparator();
    void appearanceDescendingReversesPlayers();
    void allDataTextNotSupportedAfterOptions();
    void allDataXmlNotSupported();
    void xmlFromStandardPageIsWellFormed();
    void xmlOnOtherPagesIsRefusedBeforeSaving();
    void openAfterSaveHandsFileToBrowser();
    void playerDetailsTextForChosenPlayer();
    void writerErrorShownWithProgramTitle();
    void saveDialogProposesANameAndOffersTheLastFile();
    void proposedPlayerFileNamesAreSafe();
    void savedPathIsShownAndATypedNameGetsItsExtension();
    void statisticsSiteWritesTheFolderWithTheRunsTotals();
    void statisticsSiteAsksBeforeReplacingASite();
    void statisticsSiteTakesHtmlOnly();
    void statisticsSiteIsTheOneQlaExportWritesOfTheLog();

  private:
    void Prepare(Harness& h, const QStringList& lines);
    void ChooseExport(Harness& h, int page, int type);
    std::unique_ptr<QTemporaryDir> dir_;
};

void ExportDispatcherTest::init() {
    dir_ = std::make_unique<QTemporaryDir>();
}

void ExportDispatcherTest::Prepare(Harness& h, const QStringList& lines) {
    h.OpenAndAnalyze(WriteLog(*dir_, "game.log", lines));
    h.dialogs.Clear();
}

void ExportDispatcherTest::ChooseExport(Harness& h, int page, int type) {
    Control<QTabBar>(&h.window, "tabExport")->setCurrentIndex(page);
    Control<QComboBox>(&h.window, "cmbExportType")->setCurrentIndex(type);
}

void ExportDispatcherTest::playerDetailsNeedsAPlayerBeforeTextOptions() {
    Harness h;
    Prepare(h, ThreePlayers());
    ChooseExport(h, 1, 1);
    h.dialogs.QueueButton(QMessageBox::Ok);
    // No frmTextExport may appear: nothing is queued for it, and exec() would block.
    Click(&h.window, "cmdExport");
    QCOMPARE(h.dialogs.shown.size(), 1);
    QCOMPARE(h.dialogs.shown[0].Title, QStringLiteral("Export"));
    QCOMPARE(h.dialogs.shown[0].Text, QStringLiteral("Select a player first"));
    QCOMPARE(h.dialogs.shown[0].Icon, QMessageBox::Warning);
}

void ExportDispatcherTest::cancelledTextOptionsShowNoSaveDialog() {
    Harness h;
    Prepare(h, ThreePlayers());
    ChooseExport(h, 0, 1);
    WhenDialogShows("frmTextExport", [](QDialog* d) { Click(d, "Command1"); });
    Click(&h.window, "cmdExport");
    QVERIFY(h.dialogs.shown.isEmpty());
    QCOMPARE(QDir(dir_->path()).entryList(QDir::Files), QStringList({"game.log"}));
}

void ExportDispatcherTest::cancelledSaveDialogWritesNothing() {
    Harness h;
    Prepare(h, ThreePlayers());
    ChooseExport(h, 0, 0);
    h.dialogs.QueuePath(QString());
    Click(&h.window, "cmdExport");
    QCOMPARE(h.dialogs.shown.size(), 1);
    QCOMPARE(h.dialogs.shown[0].Title, QStringLiteral("Export as HTML"));
    QCOMPARE(h.dialogs.shown[0].Filters, QStringList({"HTML Files (*.html *.htm)"}));
    QCOMPARE(QDir(dir_->path()).entryList(QDir::Files), QStringList({"game.log"}));
}

void ExportDispatcherTest::overwriteYesReplacesFile() {
    Harness h;
    Prepare(h, ThreePlayers());
    ChooseExport(h, 0, 0);
    const QString target = dir_->filePath("stats.html");
    WriteFile(target, "old");
    h.dialogs.QueuePath(target);
    h.dialogs.QueueButton(QMessageBox::Yes);
    Click(&h.window, "cmdExport");
    QCOMPARE(h.dialogs.shown[1].Title, QStringLiteral("HTML Export"));
    QCOMPARE(h.dialogs.shown[1].Text, QStringLiteral("File exists! Overwrite?"));
    QCOMPARE(h.dialogs.shown[1].Buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    const QByteArray page = ReadAll(target);
    QVERIFY(page.startsWith("<html>"));
    QVERIFY(page.contains("Bob"));
}

void ExportDispatcherTest::overwriteNoAsksForAnotherName() {
    Harness h;
    Prepare(h, ThreePlayers());
    ChooseExport(h, 0, 1);
    const QString taken = dir_->filePath("taken.txt");
    const QString fresh = dir_->filePath("fresh.txt");
    WriteFile(taken, "keep me");
    WhenDialogShows("frmTextExport", [](QDialog* d) { Click(d, "cmdOK"); });
    h.dialogs.QueuePath(taken);
    h.dialogs.QueueButton(QMessageBox::No);
    h.dialogs.QueuePath(fresh);
    Click(&h.window, "cmdExport");
    QCOMPARE(h.dialogs.shown.size(), 3);
    QCOMPARE(h.dialogs.shown[2].Kind, QStringLiteral("save"));
    QCOMPARE(h.dialogs.shown[2].Filters, QStringList({"Text files (*.txt)"}));
    QCOMPARE(ReadAll(taken), QByteArray("keep me"));
    QVERIFY(ReadAll(fresh).startsWith("Playername,Kills,Deaths,Kill/Death Ratio,TeamKills\r\n"));
}

void ExportDispatcherTest::overwriteCancelLeavesFile() {
    Harness h;
    Prepare(h, ThreePlayers());
    ChooseExport(h, 2, 0);
    const QString target = dir_->filePath("weapons.html");
    WriteFile(target, "keep me");
    h.dialogs.QueuePath(target);
    h.dialogs.QueueButton(QMessageBox::Cancel);
    Click(&h.window, "cmdExport");
    QCOMPARE(h.dialogs.shown.size(), 2);
    QCOMPARE(ReadAll(target), QByteArray("keep me"));
}

void ExportDispatcherTest::textStandardUsesOptionsAndLocaleSeparator() {
    Harness h;
    Prepare(h, ThreePlayers());
    ChooseExport(h, 0, 1);
    // Only kills and ratio; no title row; ";" between columns; names without codes.
    for (int i : {0, 2, 4})
        Click(&h.window, IndexedName("chkStandard", i));
    WhenDialogShows("frmTextExport", [](QDialog* d) {
        Click(d, "chkInclude");
        Control<QLineEdit>(d, "txtSeperator")->setText(";");
        Click(d, "cmdOK");
    });
    const QString target = dir_->filePath("standard.txt");
    h.dialogs.QueuePath(target);
    Click(&h.window, "cmdExport");
    // In order of appearance (a victim is filed before its killer): ^1Al 1 kill / 2 deaths,
    // Bob 2 / 1, Cy 1 / 1. The ratio uses the system's decimal separator.
    const QString point = QLocale::system().decimalPoint();
    QCOMPARE(ReadAll(target),
             (QStringLiteral("1;0") + point + QStringLiteral("5\r\n2;2\r\n1;1\r\n")).toUtf8());
}

void ExportDispatcherTest::appearanceDescendingReversesPlayers() {
    Harness h;
    Prepare(h, ThreePlayers());
    ChooseExport(h, 0, 1);
    for (int i : {1, 2, 3, 4})
        Click(&h.window, IndexedName("chkStandard", i));
    Control<QComboBox>(&h.window, "cmbSortHow(0)")->setCurrentIndex(1);
    WhenDialogShows("frmTextExport", [](QDialog* d) { Click(d, "cmdOK"); });
    const QString target = dir_->filePath("names.txt");
    h.dialogs.QueuePath(target);
    Click(&h.window, "cmdExport");
    QCOMPARE(ReadAll(target), QByteArray("Playername\r\nCy\r\nBob\r\n^1Al\r\n"));
}

void ExportDispatcherTest::allDataTextNotSupportedAfterOptions() {
    Harness h;
    Prepare(h, ThreePlayers());
    ChooseExport(h, 5, 1);
    bool optionsShown = false;
    WhenDialogShows("frmTextExport", [&](QDialog* d) {
        optionsShown = true;
        Click(d, "cmdOK");
    });
    h.dialogs.QueueButton(QMessageBox::Ok);
    Click(&h.window, "cmdExport");
    QVERIFY(optionsShown);
    QCOMPARE(h.dialogs.shown.size(), 1);
    QCOMPARE(h.dialogs.shown[0].Title, QStringLiteral("All Data - Text export"));
    QCOMPARE(h.dialogs.shown[0].Text, QStringLiteral("All Data 'Text export' not supported"));
    QCOMPARE(h.dialogs.shown[0].Icon, QMessageBox::Warning);
    QCOMPARE(QDir(dir_->path()).entryList(QDir::Files), QStringList({"game.log"}));
}

void ExportDispatcherTest::allDataXmlNotSupported() {
    Harness h;
    Prepare(h, ThreePlayers());
    ChooseExport(h, 5, 2);
    h.dialogs.QueueButton(QMessageBox::Ok);
    Click(&h.window, "cmdExport");
    QCOMPARE(h.dialogs.shown.size(), 1);
    QCOMPARE(h.dialogs.shown[0].Title, QStringLiteral("All Data - XML export"));
    QCOMPARE(h.dialogs.shown[0].Text, QStringLiteral("All Data 'XML export' not supported"));
}

void ExportDispatcherTest::xmlFromStandardPageIsWellFormed() {
    Harness h;
    Prepare(h, ThreePlayers());
    ChooseExport(h, 0, 2);
    Click(&h.window, "optStandardOrder(1)"); // by kills, ascending
    const QString target = dir_->filePath("players.xml");
    h.dialogs.QueuePath(target);
    Click(&h.window, "cmdExport");
    QCOMPARE(h.dialogs.shown[0].Filters, QStringList({"XML Files (*.xml)"}));
    QXmlStreamReader xml(ReadAll(target));
    QStringList names;
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement &&
            xml.name() == QLatin1String("playername"))
            names << xml.readElementText();
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    // Ties (^1Al and Cy with one kill) keep their order of appearance.
    QCOMPARE(names, QStringList({"^1Al", "Cy", "Bob"}));
}

void ExportDispatcherTest::xmlOnOtherPagesIsRefusedBeforeSaving() {
    Harness h;
    Prepare(h, ThreePlayers());
    ChooseExport(h, 2, 2);
    h.dialogs.QueueButton(QMessageBox::Ok);
    Click(&h.window, "cmdExport");
    QCOMPARE(h.dialogs.shown.size(), 1);
    QCOMPARE(h.dialogs.shown[0].Kind, QStringLiteral("message"));
    QCOMPARE(h.dialogs.shown[0].Text,
             QStringLiteral("XML export is only supported for the standard info"));
}

void ExportDispatcherTest::openAfterSaveHandsFileToBrowser() {
    Harness h;
    Prepare(h, ThreePlayers());
    ChooseExport(h, 3, 1);
    Click(&h.window, "chkOpenSavedFile");
    WhenDialogShows("frmTextExport", [](QDialog* d) { Click(d, "cmdOK"); });
    const QString target = dir_->filePath("voice.txt");
    h.dialogs.QueuePath(target);
    Click(&h.window, "cmdExport");
    QVERIFY(QFile::exists(target));
    QCOMPARE(h.desktop.opened, QList<QUrl>({QUrl::fromLocalFile(target)}));
}

void ExportDispatcherTest::playerDetailsTextForChosenPlayer() {
    Harness h;
    Prepare(h, ThreePlayers());
    ChooseExport(h, 1, 1);
    auto* player = Control<QComboBox>(&h.window, "cmbPlayer");
    player->setCurrentIndex(player->findText("Bob"));
    for (int i = 1; i < 6; ++i) // kills section only
        Click(&h.window, IndexedName("chkPlayerDetails", i));
    Click(&h.window, "optPlayerDetails(0)"); // by names
    WhenDialogShows("frmTextExport", [](QDialog* d) {
        Click(d, "chkColor");
        Click(d, "cmdOK");
    });
    const QString target = dir_->filePath("bob.txt");
    h.dialogs.QueuePath(target);
    Click(&h.window, "cmdExport");
    QCOMPARE(ReadAll(target), QByteArray("Players Killed,Kills\r\nAl,1\r\nCy,1\r\n"));
}

void ExportDispatcherTest::writerErrorShownWithProgramTitle() {
    Harness h;
    Prepare(h, ThreePlayers());
    ChooseExport(h, 0, 0);
    Click(&h.window, "chkOpenSavedFile");
    h.dialogs.QueuePath(dir_->filePath("missing/folder/stats.html"));
    h.dialogs.QueueButton(QMessageBox::Ok);
    Click(&h.window, "cmdExport");
    QCOMPARE(h.dialogs.shown.size(), 2);
    QCOMPARE(h.dialogs.shown[1].Title, QStringLiteral("Quarvel Logfile Analyzer"));
    QVERIFY(h.dialogs.shown[1].Text.startsWith(QStringLiteral("Error - ")));
    QVERIFY(h.dialogs.shown[1].Text.contains(QStringLiteral("\r\nerrorcode: ")));
    QCOMPARE(h.dialogs.shown[1].Buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    // The message names the file on a line of its own.
    QVERIFY(h.dialogs.shown[1].Text.endsWith(QStringLiteral("\r\n") +
                                             dir_->filePath("missing/folder/stats.html")));
    QCOMPARE(Control<QLabel>(&h.window, "lblExportStatus")->text(),
             QStringLiteral("Not saved: ") + dir_->filePath("missing/folder/stats.html"));
    QVERIFY(h.desktop.opened.isEmpty());
}

void ExportDispatcherTest::saveDialogProposesANameAndOffersTheLastFile() {
    Harness h;
    Prepare(h, ThreePlayers());
    const auto proposed = [&] {
        h.dialogs.Clear();
        h.dialogs.QueuePath(QString()); // cancelled: only the proposal is looked at
        Click(&h.window, "cmdExport");
        return h.dialogs.shown.value(0).Text;
    };
    // Before any export: the view's name and the format's extension, beside the log.
    ChooseExport(h, 5, 0);
    Click(&h.window, "optOther(0)");
    QCOMPARE(proposed(), dir_->filePath("junk.html"));
    ChooseExport(h, 0, 2);
    QCOMPARE(proposed(), dir_->filePath("standard.xml"));

    // The same export again offers the file last written, whatever it was called.
    const QDir sub(dir_->filePath("out"));
    QVERIFY(QDir().mkpath(sub.path()));
    const QString target = sub.filePath("my junk.html");
    ChooseExport(h, 5, 0);
    h.dialogs.QueuePath(target);
    Click(&h.window, "cmdExport");
    QVERIFY(ReadAll(target).startsWith("<html>"));
    QCOMPARE(proposed(), target);
    // Another view goes to the same folder; one player's page is named after the player,
    // without colour codes.
    ChooseExport(h, 2, 0);
    QCOMPARE(proposed(), sub.filePath("weapons.html"));
    ChooseExport(h, 1, 0);
    auto* player = Control<QComboBox>(&h.window, "cmbPlayer");
    player->setCurrentIndex(player->findText("^1Al"));
    QCOMPARE(proposed(), sub.filePath("player-Al.html"));
}

void ExportDispatcherTest::proposedPlayerFileNamesAreSafe() {
    // Nothing of a name may leave the folder, start an extension or trouble a shell.
    const std::vector<std::pair<QString, QString>> cases{
        {"^1Bob", "Bob"},
        {"../../etc/passwd", "______etc_passwd"},
        {"Mr.X", "Mr_X"},
        {"a:b*c?\"d<e>f|g\\h", "a_b_c__d_e_f_g_h"},
        {" ^2 spaced ^7 ", "spaced"},
        {"^1^2", "player"},
        {"Jürgen", "Jürgen"},
    };
    for (const auto& [name, file] : cases)
        QCOMPARE(FileNameOfPlayer(name), file);
}

void ExportDispatcherTest::savedPathIsShownAndATypedNameGetsItsExtension() {
    Harness h;
    Prepare(h, ThreePlayers());
    auto* status = Control<QLabel>(&h.window, "lblExportStatus");
    QCOMPARE(status->text(), QString());
    ChooseExport(h, 0, 2); // XML
    h.dialogs.QueuePath(dir_->filePath("stats"));
    Click(&h.window, "cmdExport");
    const QString written = dir_->filePath("stats.xml");
    QVERIFY(ReadAll(written).startsWith("<?xml"));
    QVERIFY(!QFile::exists(dir_->filePath("stats")));
    QCOMPARE(status->text(), QStringLiteral("Saved to ") + written);
    // A name with an extension of its own keeps it; the next dialog offers the name written.
    h.dialogs.QueuePath(dir_->filePath("stats.data"));
    Click(&h.window, "cmdExport");
    QVERIFY(QFile::exists(dir_->filePath("stats.data")));
    QCOMPARE(h.dialogs.shown[1].Text, written);
}

void ExportDispatcherTest::statisticsSiteWritesTheFolderWithTheRunsTotals() {
    Harness h;
    Prepare(h, ThreePlayers());
    // JSON and CSV are qla's; the window's list stays as it was.
    QCOMPARE(Control<QComboBox>(&h.window, "cmbExportType")->count(), 3);
    ChooseExport(h, 5, 0);
    Click(&h.window, "optOther(2)");
    Click(&h.window, "chkOpenSavedFile");
    const QString site = dir_->filePath("site");
    QVERIFY(QDir().mkpath(site));
    h.dialogs.QueuePath(site);
    Click(&h.window, "cmdExport");
    QCOMPARE(h.dialogs.shown.size(), 1);
    QCOMPARE(h.dialogs.shown[0].Kind, QStringLiteral("folder"));
    const QByteArray data = ReadAll(site + "/data.json");
    QVERIFY2(data.contains(R"("log":"game.log")"), data.constData());
    // The analysis run's four kill lines, as the Analyze page counted them.
    QVERIFY2(data.contains(R"("byKind":{"kill":4,)"), data.constData());
    // Each player page the data names is there.
    const QRegularExpression page(R"re("page":"(players/[^"]+)")re");
    int pages = 0;
    for (auto it = page.globalMatch(QString::fromUtf8(data)); it.hasNext(); ++pages)
        QVERIFY(QFile::exists(site + "/" + it.next().captured(1)));
    QVERIFY(pages > 0);
    QCOMPARE(h.desktop.opened, QList<QUrl>({QUrl::fromLocalFile(site + "/index.html")}));
    QCOMPARE(Control<QLabel>(&h.window, "lblExportStatus")->text(),
             QStringLiteral("Saved to ") + site);
}

void ExportDispatcherTest::statisticsSiteAsksBeforeReplacingASite() {
    Harness h;
    Prepare(h, ThreePlayers());
    ChooseExport(h, 5, 0);
    Click(&h.window, "optOther(2)");
    WriteFile(dir_->filePath("index.html"), "old");
    h.dialogs.QueuePath(dir_->path());
    h.dialogs.QueueButton(QMessageBox::No);
    Click(&h.window, "cmdExport");
    QCOMPARE(h.dialogs.shown.size(), 2);
    QCOMPARE(h.dialogs.shown[1].Title, QStringLiteral("Export statistics site"));
    QCOMPARE(ReadAll(dir_->filePath("index.html")), QByteArray("old"));
    QVERIFY(!QFile::exists(dir_->filePath("site.css")));

    h.dialogs.Clear();
    h.dialogs.QueuePath(dir_->path());
    h.dialogs.QueueButton(QMessageBox::Yes);
    Click(&h.window, "cmdExport");
    QVERIFY(ReadAll(dir_->filePath("index.html")).startsWith("<!DOCTYPE html>"));
}

void ExportDispatcherTest::statisticsSiteTakesHtmlOnly() {
    Harness h;
    Prepare(h, ThreePlayers());
    ChooseExport(h, 5, 2);
    Click(&h.window, "optOther(2)");
    h.dialogs.QueueButton(QMessageBox::Ok);
    Click(&h.window, "cmdExport");
    QCOMPARE(h.dialogs.shown.size(), 1);
    QCOMPARE(h.dialogs.shown[0].Title, QStringLiteral("Statistics site - XML export"));
    QCOMPARE(h.dialogs.shown[0].Text, QStringLiteral("Statistics site 'XML export' not supported"));
}

// The window and qla export build the site's settings in one place: the same log gives the same
// site, byte for byte, and the untouched title field's placeholder heads it as "Statistics".
void ExportDispatcherTest::statisticsSiteIsTheOneQlaExportWritesOfTheLog() {
    // Both say when they were made; qla, started below, inherits the stamp.
    qputenv("SOURCE_DATE_EPOCH", "1700000000");
    Harness h;
    const QString log = QStringLiteral(QLA_SOURCE_DIR "/samples/english-sample.log");
    h.OpenAndAnalyze(log);
    h.dialogs.Clear();
    QCOMPARE(h.Text("txtServerName"), QStringLiteral("__type here the game title__"));
    ChooseExport(h, 5, 0);
    Click(&h.window, "optOther(2)");
    const QString site = dir_->filePath("site");
    QVERIFY(QDir().mkpath(site));
    h.dialogs.QueuePath(site);
    Click(&h.window, "cmdExport");

    const QString reference = dir_->filePath("reference");
    QProcess qla;
    qla.start(QStringLiteral(QLA_BINARY),
              {"export", log, "--view", "dashboard", "--format", "html", "--output", reference});
    QVERIFY(qla.waitForFinished(60000));
    QCOMPARE(qla.exitCode(), 0);

    const QMap<QString, QByteArray> written = FolderFiles(site);
    const QMap<QString, QByteArray> wanted = FolderFiles(reference);
    QVERIFY(written.size() > 5);
    QCOMPARE(written.keys(), wanted.keys());
    for (auto it = wanted.cbegin(); it != wanted.cend(); ++it)
        QVERIFY2(written.value(it.key()) == it.value(), qPrintable(it.key()));
    const QByteArray data = written.value(QStringLiteral("data.json"));
    QVERIFY2(data.contains(R"("source":{"gameTitle":"Statistics","log":"english-sample.log",)"),
             data.left(300).constData());
    for (const QByteArray& page : written)
        QVERIFY(!page.contains("__type here the game title__"));
    QVERIFY(written.value(QStringLiteral("index.html"))
                .contains(R"(<p class="made">Made on <time datetime="2023-11-14T22:13:20Z">)"));
    qunsetenv("SOURCE_DATE_EPOCH");
}

QTEST_MAIN(ExportDispatcherTest)
#include "export_page_test.moc"
