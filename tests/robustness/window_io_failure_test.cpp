// Bad input and I/O failures through the window, driven offscreen with queued dialog answers:
// every failure is told in a message box, and nothing already there is lost.
#include "io_test_support.h"
#include "ui_test_support.h"

#include <QComboBox>
#include <QDialog>
#include <QTabBar>

#include <filesystem>

#include <sys/sysinfo.h>
#include <unistd.h>

using namespace qla::ui;
using namespace qla::ui::test;
namespace fs = std::filesystem;
namespace robust = qla::robust;

namespace {

QString Q(const fs::path& path) {
    return QString::fromStdString(path.string());
}

const QStringList kTotals{"txtFilename",  "txtLines",     "txtKills",   "txtDeaths",
                          "txtTeamkills", "txtTextChats", "txtUnknown", "txtTotal"};

QStringList Shown(Harness& h) {
    QStringList texts;
    for (const QString& name : kTotals)
        texts << h.Text(name);
    return texts;
}

} // namespace

class WindowIoFailureTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();
    void unreadableLogKeepsTheShownResults_data();
    void unreadableLogKeepsTheShownResults();
    void tenMegabytesOfBinaryAnalyse();
    void unwritableOutputShowsTheWritersMessage_data();
    void unwritableOutputShowsTheWritersMessage();
    void exportAllFolderThatCannotBeUsedIsRefused();
    void failedSitePagesLeaveTheOthersWritten();
    void existingStyleSheetIsNeverReplaced();
    void namesThatCannotBeReplacedAreRefusedAfterTheQuestion_data();
    void namesThatCannotBeReplacedAreRefusedAfterTheQuestion();
    void logLargerThanMemoryIsRefusedWithAMessage();

  private:
    void Analyse(Harness& h);
    void ExportAll(Harness& h, const QString& folder, QMessageBox::StandardButton lastAnswer);
    fs::path dir_;
    fs::path log_;
    fs::path file_;
};

void WindowIoFailureTest::init() {
    dir_ = fs::temp_directory_path() /
           ("qla_window_io_" + std::to_string(QCoreApplication::applicationPid()) + "_" +
            QTest::currentTestFunction());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    log_ = dir_ / "game.log";
    robust::WriteBytes(log_, robust::kSmallLog);
    file_ = dir_ / "plain.txt";
    robust::WriteBytes(file_, "a regular file");
}

void WindowIoFailureTest::cleanup() {
    QCOMPARE(robust::ReadBytes(log_), robust::kSmallLog);
    QCOMPARE(robust::ReadBytes(file_), std::string("a regular file"));
    fs::remove_all(dir_);
}

void WindowIoFailureTest::Analyse(Harness& h) {
    h.OpenAndAnalyze(Q(log_));
    QCOMPARE(h.Text("txtKills"), QStringLiteral("1"));
    h.dialogs.Clear();
}

void WindowIoFailureTest::unreadableLogKeepsTheShownResults_data() {
    QTest::addColumn<QString>("path");
    QTest::newRow("missing file") << QStringLiteral("absent.log");
    QTest::newRow("folder") << QString();
}

// A file that cannot be opened is named in a message and leaves the window as it was; the
// following Analyze says what is missing.
void WindowIoFailureTest::unreadableLogKeepsTheShownResults() {
    QFETCH(QString, path);
    Harness h;
    Analyse(h);
    const QStringList before = Shown(h);
    const QString chosen = Q(dir_ / path.toStdString());
    h.dialogs.QueuePath(chosen);
    h.dialogs.QueueButton(QMessageBox::Ok);
    Click(&h.window, "cmdOpen");
    QCOMPARE(Shown(h), before);
    QCOMPARE(h.dialogs.shown.size(), 2); // the open dialog, then the reason
    QVERIFY2(h.dialogs.shown[1].Text.contains(chosen), qPrintable(h.dialogs.shown[1].Text));
    QCOMPARE(h.dialogs.shown[1].Title, QStringLiteral("Quarvel Logfile Analyzer"));
    h.dialogs.QueueButton(QMessageBox::Ok);
    Click(&h.window, "cmdStart");
    QCOMPARE(h.dialogs.shown.size(), 3);
    QCOMPARE(h.dialogs.shown[2].Text, QStringLiteral("Open a logfile first"));
    QCOMPARE(Shown(h), before);
    QVERIFY(h.dialogs.AllAnswersUsed());
}

void WindowIoFailureTest::tenMegabytesOfBinaryAnalyse() {
    const std::string bytes = robust::BinaryBytes(10 * 1024 * 1024);
    const fs::path binary = dir_ / "binary.log";
    robust::WriteBytes(binary, bytes);
    Harness h;
    h.OpenAndAnalyze(Q(binary));
    const QString lines = QString::number(robust::LineCountOf(bytes));
    QCOMPARE(h.Text("txtLines"), lines);
    QCOMPARE(h.Text("txtTotal"), lines);
    QVERIFY(h.dialogs.AllAnswersUsed());
}

void WindowIoFailureTest::unwritableOutputShowsTheWritersMessage_data() {
    QTest::addColumn<QString>("output");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("message");
    QTest::newRow("missing folder") << QStringLiteral("no/such/folder/out.html") << 0
                                    << QStringLiteral("Error - 2 - No such file or directory");
    QTest::newRow("under a file") << QStringLiteral("plain.txt/out.html") << 0
                                  << QStringLiteral("Error - 20 - Not a directory");
}

void WindowIoFailureTest::unwritableOutputShowsTheWritersMessage() {
    QFETCH(QString, output);
    QFETCH(int, type);
    QFETCH(QString, message);
    Harness h;
    Analyse(h);
    Control<QTabBar>(&h.window, "tabExport")->setCurrentIndex(0);
    Control<QComboBox>(&h.window, "cmbExportType")->setCurrentIndex(type);
    Click(&h.window, "chkOpenSavedFile");
    const QString path = output.startsWith('/') ? output : Q(dir_ / output.toStdString());
    h.dialogs.QueuePath(path);
    h.dialogs.QueueButton(QMessageBox::Ok);
    Click(&h.window, "cmdExport");
    QCOMPARE(h.dialogs.shown.size(), 2);
    QCOMPARE(h.dialogs.shown[1].Title, QStringLiteral("Quarvel Logfile Analyzer"));
    QVERIFY2(h.dialogs.shown[1].Text.startsWith(message + QStringLiteral("\r\nerrorcode: ")),
             qPrintable(h.dialogs.shown[1].Text));
    QVERIFY(h.desktop.opened.isEmpty()); // a failed file is not opened
    QVERIFY(!fs::exists(dir_ / "no"));
}

void WindowIoFailureTest::ExportAll(Harness& h, const QString& folder,
                                    QMessageBox::StandardButton lastAnswer) {
    Control<QTabBar>(&h.window, "tabExport")->setCurrentIndex(5);
    Control<QComboBox>(&h.window, "cmbExportType")->setCurrentIndex(0);
    WhenDialogShows("frmExportAllStatus", [&](QDialog* d) {
        h.dialogs.QueuePath(folder);
        Click(d, "cmdBrowse");
        h.dialogs.QueueButton(QMessageBox::Yes);
        if (lastAnswer != QMessageBox::NoButton)
            h.dialogs.QueueButton(lastAnswer);
        h.dialogs.QueueButton(QMessageBox::Ok); // the summary
        Click(d, "cmdOK");
    });
    Click(&h.window, "cmdExport");
}

void WindowIoFailureTest::exportAllFolderThatCannotBeUsedIsRefused() {
    Harness h;
    Analyse(h);
    // A folder under a regular file can never be made, and is refused before anything is
    // written, with the reason the system gives.
    // It is refused before the question about the file count, and the dialog stays open.
    const QString folder = Q(file_ / "site");
    Control<QTabBar>(&h.window, "tabExport")->setCurrentIndex(5);
    Control<QComboBox>(&h.window, "cmbExportType")->setCurrentIndex(0);
    bool stillOpen = false;
    WhenDialogShows("frmExportAllStatus", [&](QDialog* d) {
        h.dialogs.QueuePath(folder);
        Click(d, "cmdBrowse");
        h.dialogs.QueueButton(QMessageBox::Ok);
        Click(d, "cmdOK");
        stillOpen = d->isVisible();
        Click(d, "cmdCancel");
    });
    Click(&h.window, "cmdExport");
    QVERIFY(stillOpen);
    QCOMPARE(h.dialogs.shown.size(), 2); // folder picker, refusal
    QCOMPARE(h.dialogs.shown[1].Text,
             QStringLiteral("The output directory cannot be used:\r\n%1\r\n"
                            "Error - 20 - Not a directory\r\nerrorcode: 0")
                 .arg(folder));
    QCOMPARE(h.dialogs.shown[1].Icon, QMessageBox::Warning);
    QVERIFY(h.dialogs.AllAnswersUsed());
}

void WindowIoFailureTest::failedSitePagesLeaveTheOthersWritten() {
    Harness h;
    Analyse(h);
    const fs::path site = dir_ / "site";
    fs::create_directories(site / "index3.html");
    fs::create_directories(site / "weapon2.html");
    ExportAll(h, Q(site), QMessageBox::Ok);
    QCOMPARE(h.dialogs.shown.size(), 4); // folder picker, file count, failed pages, summary
    const QString refused = QStringLiteral(
        "Not written: a folder of that name exists, and only regular files are replaced");
    QCOMPARE(h.dialogs.shown[2].Text, "index3.html: " + refused + "\r\nweapon2.html: " + refused);
    for (const std::string& name : robust::SiteFiles(robust::kSmallLogPlayers)) {
        if (name == "index3.html" || name == "weapon2.html")
            QVERIFY(fs::is_directory(site / name));
        else if (name != "style.css")
            QVERIFY2(robust::IsCompletePage(robust::ReadBytes(site / name)), name.c_str());
    }
    QVERIFY(h.dialogs.AllAnswersUsed());
}

void WindowIoFailureTest::existingStyleSheetIsNeverReplaced() {
    Harness h;
    Analyse(h);
    const fs::path site = dir_ / "site";
    fs::create_directories(site);
    robust::WriteBytes(site / "style.css", "my own style");
    robust::WriteBytes(dir_ / "style.css", "my other style");
    Control<QTabBar>(&h.window, "tabExport")->setCurrentIndex(3);
    h.dialogs.QueuePath(Q(dir_ / "voice.html"));
    Click(&h.window, "cmdExport");
    ExportAll(h, Q(site), QMessageBox::NoButton);
    QCOMPARE(robust::ReadBytes(site / "style.css"), std::string("my own style"));
    QCOMPARE(robust::ReadBytes(dir_ / "style.css"), std::string("my other style"));
    QVERIFY(robust::IsCompletePage(robust::ReadBytes(dir_ / "voice.html")));
    QVERIFY(robust::IsCompletePage(robust::ReadBytes(site / "index.html")));
    QCOMPARE(h.dialogs.shown.size(), 4); // save, folder picker, file count, summary: no error
    QVERIFY(h.dialogs.AllAnswersUsed());
}

void WindowIoFailureTest::namesThatCannotBeReplacedAreRefusedAfterTheQuestion_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("message");
    QTest::newRow("device") << QStringLiteral("/dev/full") << 0
                            << QStringLiteral("Not written: a device of that name exists, and "
                                              "only regular files are replaced");
    QTest::newRow("dangling link") << QStringLiteral("dangling.xml") << 2
                                   << QStringLiteral("Not written: a symbolic link of that name "
                                                     "exists, and only regular files are replaced");
    QTest::newRow("the log") << QStringLiteral("game.log") << 1
                             << QStringLiteral("Not written: that file is the log being analysed");
}

// Whatever has the name counts as existing, a dangling link too, so the user is asked first;
// then a name that is not a regular file, or the log, is refused and left as it was.
void WindowIoFailureTest::namesThatCannotBeReplacedAreRefusedAfterTheQuestion() {
    QFETCH(QString, name);
    QFETCH(int, type);
    QFETCH(QString, message);
    if (name.startsWith('/') && !fs::exists(name.toStdString()))
        QSKIP("no such device here");
    fs::create_symlink(dir_ / "absent.xml", dir_ / "dangling.xml");
    Harness h;
    Analyse(h);
    Control<QTabBar>(&h.window, "tabExport")->setCurrentIndex(0);
    Control<QComboBox>(&h.window, "cmbExportType")->setCurrentIndex(type);
    if (type == 1) // text: the options dialog comes first
        WhenDialogShows("frmTextExport", [](QDialog* d) { d->accept(); });
    const QString path = name.startsWith('/') ? name : Q(dir_ / name.toStdString());
    h.dialogs.QueuePath(path);
    h.dialogs.QueueButton(QMessageBox::Yes);
    h.dialogs.QueueButton(QMessageBox::Ok);
    Click(&h.window, "cmdExport");
    QCOMPARE(h.dialogs.shown.size(), 3);
    QCOMPARE(h.dialogs.shown[1].Text, QStringLiteral("File exists! Overwrite?"));
    QCOMPARE(h.dialogs.shown[2].Text, message + QStringLiteral("\r\n") + path);
    QVERIFY(fs::is_symlink(dir_ / "dangling.xml"));
    QVERIFY(!fs::exists(dir_ / "absent.xml"));
    QVERIFY(h.dialogs.AllAnswersUsed());
}

void WindowIoFailureTest::logLargerThanMemoryIsRefusedWithAMessage() {
    // Sparse, so it takes no disk: larger than memory and swap together, it is refused before
    // anything is read, and the log already open stays.
    struct sysinfo machine {};
    QCOMPARE(::sysinfo(&machine), 0);
    const std::uint64_t memory =
        (static_cast<std::uint64_t>(machine.totalram) + machine.totalswap) * machine.mem_unit;
    const fs::path huge = dir_ / "huge.log";
    robust::WriteBytes(huge, robust::kSmallLog);
    QCOMPARE(::truncate(huge.c_str(), static_cast<off_t>(memory + 1)), 0);
    Harness h;
    Analyse(h);
    const QStringList before = Shown(h);
    h.dialogs.QueuePath(Q(huge));
    h.dialogs.QueueButton(QMessageBox::Ok);
    Click(&h.window, "cmdOpen");
    QCOMPARE(h.dialogs.shown.size(), 2);
    QCOMPARE(h.dialogs.shown[1].Text, "The file is too large to open: " + Q(huge));
    QCOMPARE(Shown(h), before);
    fs::remove(huge);
}

QTEST_MAIN(WindowIoFailureTest)
#include "window_io_failure_test.moc"
