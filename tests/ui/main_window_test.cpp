// MainWindow: start-up state, page switching, the chat-type rule, the game title, Open File,
// Analyze, the selected player, drag and drop, the About links and Check for update.
#include "ui/analyzer_app.h"
#include "ui_test_support.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTimer>

#include <optional>

using namespace qla::ui;
using namespace qla::ui::test;

namespace {

const QStringList kTotalBoxes{"txtKills",     "txtDeaths",  "txtTeamkills", "txtVoiceChats",
                              "txtTextChats", "txtUnknown", "txtTotal"};
const QStringList kPlayerBoxes{"txtPKills",     "txtPDeaths",  "txtPTeamkills", "txtPVoiceChats",
                               "txtPTextChats", "txtPUnknown", "txtPTotal"};

int VisibleIndex(QWidget* window, const char* arrayName, int count) {
    int visible = -1;
    for (int i = 0; i < count; ++i) {
        // Explicitly shown or hidden, whatever the page around it shows.
        if (!Control<QWidget>(window, IndexedName(arrayName, i))->isHidden()) {
            if (visible != -1)
                return -2; // more than one
            visible = i;
        }
    }
    return visible;
}

void tabsTo(Harness& h, int tab) {
    Control<QTabBar>(&h.window, "tabMain")->setCurrentIndex(tab);
    QCoreApplication::processEvents();
}

QStringList Column(Harness& h, const QStringList& boxes) {
    QStringList values;
    for (const QString& box : boxes)
        values << h.Text(box);
    return values;
}

void SendFocusIn(QWidget* widget) {
    QFocusEvent focus(QEvent::FocusIn, Qt::MouseFocusReason);
    QCoreApplication::sendEvent(widget, &focus);
}

// The controls a user sees on the shown page, without the parts widgets are built of.
QList<QWidget*> VisibleControls(QWidget* window) {
    QList<QWidget*> controls;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        const bool control =
            qobject_cast<QAbstractButton*>(widget) || qobject_cast<QLabel*>(widget) ||
            qobject_cast<QComboBox*>(widget) || qobject_cast<QAbstractItemView*>(widget) ||
            qobject_cast<QProgressBar*>(widget) || qobject_cast<QTabBar*>(widget) ||
            (qobject_cast<QLineEdit*>(widget) && !qobject_cast<QComboBox*>(widget->parentWidget()));
        if (control && widget->isVisible() && !qobject_cast<QTabBar*>(widget->parentWidget()))
            controls << widget;
    }
    return controls;
}

// Every pair of visible controls that overlap, and every control not wholly inside the window.
QStringList Overlaps(QWidget* window) {
    QStringList problems;
    const QList<QWidget*> controls = VisibleControls(window);
    const auto area = [&](QWidget* w) { return QRect(w->mapTo(window, QPoint(0, 0)), w->size()); };
    for (int i = 0; i < controls.size(); ++i) {
        if (!window->rect().contains(area(controls[i])))
            problems << controls[i]->objectName() + " outside the window";
        for (int j = i + 1; j < controls.size(); ++j) {
            if (controls[i]->isAncestorOf(controls[j]) || controls[j]->isAncestorOf(controls[i]))
                continue;
            if (area(controls[i]).intersects(area(controls[j])))
                problems << controls[i]->objectName() + " overlaps " + controls[j]->objectName();
        }
    }
    return problems;
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void startsWithDesignedState();
    void switchingPagesShowsExactlyOne();
    void chatTypeRuleOnBothChatPages_data();
    void chatTypeRuleOnBothChatPages();
    void chatColumnsMayAllBeCleared();
    void gameTitlePlaceholderClearsOnlyOnce();
    void analyzeWithoutFileRefuses();
    void openShowsNameLinesAndDate();
    void failedOpenKeepsScreenButAnalyzeRefuses();
    void cancelledOpenShowsNothing();
    void openingResetsEarlierResults();
    void analyzeFillsTotalsAndSortedPlayerList();
    void playerDetailsStripColourCodesInCaption();
    void controlsDisabledDuringRun();
    void droppedFileOpensLikeOpenFile();
    void recognitionChoiceBesideTheLanguage();
    void germanLogProposesGermanOnceASession();
    void languageQuestionIsAskedOncePerLanguageAndKept();
    void ctrlOAndTheCommandLineOpenALog();
    void smallestSizeKeepsEveryControlApart();
    void longPlayerNameKeepsTheWindowSize();
    void choicesAreRememberedForTheNextRun();
    void noMergingAfterMergingExportsAsBefore();
    void aboutLinksGoToDesktop();
    void checkForUpdateAnsweredNoKeepsRunning();
    void checkForUpdateStartsUpdaterAndEnds();
    void checkForUpdateReportsMissingUpdater();

  private:
    QTemporaryDir dir_;
};

void MainWindowTest::startsWithDesignedState() {
    Harness h;
    QCOMPARE(h.window.windowTitle(), QStringLiteral("Quarvel Logfile Analyzer"));
    auto* tabs = Control<QTabBar>(&h.window, "tabMain");
    QCOMPARE(tabs->count(), 4);
    QCOMPARE(tabs->tabText(0), QStringLiteral("Logfile Information"));
    QCOMPARE(tabs->tabText(3), QStringLiteral("About"));
    QCOMPARE(VisibleIndex(&h.window, "fraPage", 4), 0);
    QCOMPARE(VisibleIndex(&h.window, "fraExport", 6), 0);
    QCOMPARE(Control<QComboBox>(&h.window, "cmbLanguage")->currentText(),
             QStringLiteral("English"));
    for (int i = 0; i < 3; ++i)
        QCOMPARE(Control<QComboBox>(&h.window, IndexedName("cmbSortHow", i))->currentText(),
                 QStringLiteral("Ascending"));
    auto* type = Control<QComboBox>(&h.window, "cmbExportType");
    QCOMPARE(type->count(), 3);
    QCOMPARE(type->itemText(2), QStringLiteral("XML"));
    QCOMPARE(type->currentText(), QStringLiteral("HTML"));
    QVERIFY(!Control<QPushButton>(&h.window, "cmdExport")->isEnabled());
    QVERIFY(!h.store.LogFileLoaded);
    QCOMPARE(h.Text("txtServerName"), QStringLiteral("__type here the game title__"));
    QCOMPARE(Control<QLineEdit>(&h.window, "txtFilename")->toolTip(), QStringLiteral("Filename"));
    QCOMPARE(Control<QLabel>(&h.window, "lblPlayers")->text(), QStringLiteral("Players"));
    QCOMPARE(Control<QLabel>(&h.window, "lblVersion")->text(), QStringLiteral("0.8 build 2"));
    for (const QString& box : kTotalBoxes + kPlayerBoxes)
        QCOMPARE(h.Text(box), QStringLiteral("0"));
    QVERIFY(Control<QRadioButton>(&h.window, "optStandardOrder(5)")->isChecked());
    QVERIFY(Control<QRadioButton>(&h.window, "optPlayerDetails(2)")->isChecked());
    QVERIFY(Control<QRadioButton>(&h.window, "optWeaponDetails(5)")->isChecked());
    QVERIFY(Control<QRadioButton>(&h.window, "optOther(1)")->isChecked());
    auto* share = Control<QRadioButton>(&h.window, "optWeaponDetails(2)");
    QVERIFY(!share->isEnabled());
    QVERIFY(share->isHidden());
    QVERIFY(Control<QCheckBox>(&h.window, "chkPlayerDetails(5)")->isChecked());
    QVERIFY(!Control<QCheckBox>(&h.window, "chkOpenSavedFile")->isChecked());
    QCOMPARE(Control<QLabel>(&h.window, "Label19")->text(),
             QStringLiteral("Select voice chat  info to export:"));
}

void MainWindowTest::switchingPagesShowsExactlyOne() {
    Harness h;
    auto* tabs = Control<QTabBar>(&h.window, "tabMain");
    auto* exportTabs = Control<QTabBar>(&h.window, "tabExport");
    for (int tab : {2, 1, 3, 0, 2, 2, 3}) {
        tabs->setCurrentIndex(tab);
        QCOMPARE(VisibleIndex(&h.window, "fraPage", 4), tab);
    }
    for (int tab : {5, 1, 4, 0, 3, 2, 5}) {
        exportTabs->setCurrentIndex(tab);
        QCOMPARE(VisibleIndex(&h.window, "fraExport", 6), tab);
    }
}

void MainWindowTest::chatTypeRuleOnBothChatPages_data() {
    QTest::addColumn<QString>("array");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("second");
    QTest::newRow("voice: team last") << "chkVoiceChat" << 4 << 3;
    QTest::newRow("voice: global last") << "chkVoiceChat" << 3 << 4;
    QTest::newRow("text: team last") << "chkTextChat" << 4 << 3;
    QTest::newRow("text: global last") << "chkTextChat" << 3 << 4;
}

void MainWindowTest::chatTypeRuleOnBothChatPages() {
    QFETCH(QString, array);
    QFETCH(int, first);
    QFETCH(int, second);
    Harness h;
    const QByteArray name = array.toLatin1();
    Click(&h.window, IndexedName(name.constData(), first));
    QVERIFY(h.dialogs.shown.isEmpty());
    h.dialogs.QueueButton(QMessageBox::Ok);
    Click(&h.window, IndexedName(name.constData(), second));
    QCOMPARE(h.dialogs.shown.size(), 1);
    QCOMPARE(h.dialogs.shown[0].Text,
             QStringLiteral("You have to select at least 1 type of chat!"));
    QCOMPARE(h.dialogs.shown[0].Title, QStringLiteral("Quarvel Logfile Analyzer"));
    QCOMPARE(h.dialogs.shown[0].Icon, QMessageBox::Information);
    QVERIFY(Control<QCheckBox>(&h.window, IndexedName(name.constData(), second))->isChecked());
    QVERIFY(!Control<QCheckBox>(&h.window, IndexedName(name.constData(), first))->isChecked());
}

void MainWindowTest::chatColumnsMayAllBeCleared() {
    Harness h;
    for (const char* array : {"chkVoiceChat", "chkTextChat"})
        for (int i = 0; i < 3; ++i) {
            Click(&h.window, IndexedName(array, i));
            QVERIFY(!Control<QCheckBox>(&h.window, IndexedName(array, i))->isChecked());
        }
    QVERIFY(h.dialogs.shown.isEmpty());
}

void MainWindowTest::gameTitlePlaceholderClearsOnlyOnce() {
    Harness h;
    auto* title = Control<QLineEdit>(&h.window, "txtServerName");
    SendFocusIn(title);
    QCOMPARE(title->text(), QString());
    title->setText(QStringLiteral("^1Friday ^7Cup"));
    title->deselect();
    SendFocusIn(title);
    QCOMPARE(title->text(), QStringLiteral("^1Friday ^7Cup"));
    QCOMPARE(title->selectedText(), QStringLiteral("^1Friday ^7Cup"));
}

void MainWindowTest::analyzeWithoutFileRefuses() {
    Harness h;
    h.dialogs.QueueButton(QMessageBox::Ok);
    Click(&h.window, "cmdStart");
    QCOMPARE(h.dialogs.shown.size(), 1);
    QCOMPARE(h.dialogs.shown[0].Title, QStringLiteral("Start analyze"));
    QCOMPARE(h.dialogs.shown[0].Text, QStringLiteral("Open a logfile first"));
    QCOMPARE(h.dialogs.shown[0].Icon, QMessageBox::Warning);
    QCOMPARE(h.Text("txtTotal"), QStringLiteral("0"));
    QVERIFY(!Control<QPushButton>(&h.window, "cmdExport")->isEnabled());
}

void MainWindowTest::openShowsNameLinesAndDate() {
    Harness h;
    const QString dated = WriteLog(
        dir_, "dated.log",
        {"logfile opened on Sat Oct 22 09:15:52 2005", KillLine("Al", "Bob"), "loading map"});
    h.dialogs.QueuePath(dated);
    Click(&h.window, "cmdOpen");
    QCOMPARE(h.dialogs.shown[0].Kind, QStringLiteral("open"));
    QCOMPARE(h.dialogs.shown[0].Title, QStringLiteral("Open Quarvel Log file"));
    QCOMPARE(h.dialogs.shown[0].Filters.size(), 3);
    QVERIFY(h.dialogs.shown[0].Filters[0].startsWith(QStringLiteral("Log file (*.log)")));
    QCOMPARE(h.Text("txtFilename"), dated);
    QCOMPARE(Control<QLineEdit>(&h.window, "txtFilename")->toolTip(), dated);
    QCOMPARE(h.Text("txtLines"), QStringLiteral("3"));
    QCOMPARE(h.Text("txtDateTime"), QStringLiteral("Sat Oct 22 09:15:52 2005"));
    QVERIFY(h.store.LogFileLoaded);

    // A log without the date line shows no date, not the one of the log before.
    const QString plain = WriteLog(dir_, "plain.log", {KillLine("Al", "Bob")});
    h.dialogs.QueuePath(plain);
    Click(&h.window, "cmdOpen");
    QCOMPARE(h.Text("txtLines"), QStringLiteral("1"));
    QCOMPARE(h.Text("txtDateTime"), QString());
}

void MainWindowTest::failedOpenKeepsScreenButAnalyzeRefuses() {
    Harness h;
    const QString log = WriteLog(dir_, "kept.log", {KillLine("Al", "Bob"), KillLine("Bob", "Al")});
    h.OpenAndAnalyze(log);
    QCOMPARE(h.Text("txtKills"), QStringLiteral("2"));
    h.dialogs.QueuePath(dir_.filePath("gone.log"));
    h.dialogs.QueueButton(QMessageBox::Ok);
    Click(&h.window, "cmdOpen");
    QCOMPARE(h.dialogs.shown.last().Text,
             QStringLiteral("The file does not exist: ") + dir_.filePath("gone.log"));
    QCOMPARE(h.Text("txtFilename"), log);
    QCOMPARE(h.Text("txtLines"), QStringLiteral("2"));
    QCOMPARE(h.Text("txtKills"), QStringLiteral("2"));
    h.dialogs.QueueButton(QMessageBox::Ok);
    Click(&h.window, "cmdStart");
    QCOMPARE(h.dialogs.shown.last().Text, QStringLiteral("Open a logfile first"));
    QCOMPARE(h.Text("txtKills"), QStringLiteral("2"));
}

void MainWindowTest::cancelledOpenShowsNothing() {
    Harness h;
    h.dialogs.QueuePath(QString()); // the open dialog answers no file
    Click(&h.window, "cmdOpen");
    QCOMPARE(h.dialogs.shown.size(), 1);
    QCOMPARE(h.Text("txtFilename"), QString());
}

void MainWindowTest::openingResetsEarlierResults() {
    Harness h;
    h.OpenAndAnalyze(WriteLog(dir_, "first.log", {KillLine("Al", "Bob"), KillLine("Cy", "Bob")}));
    auto* list = Control<QListWidget>(&h.window, "lstNames");
    QCOMPARE(list->count(), 3);
    list->setCurrentRow(0);
    QCOMPARE(Control<QLabel>(&h.window, "lblPlayername")->text(), QStringLiteral("Al"));

    h.dialogs.QueuePath(WriteLog(dir_, "second.log", {"nothing to see"}));
    Click(&h.window, "cmdOpen");
    QCOMPARE(list->count(), 0);
    QCOMPARE(Control<QComboBox>(&h.window, "cmbPlayer")->count(), 0);
    QCOMPARE(Control<QLabel>(&h.window, "lblPlayers")->text(), QStringLiteral("Players (0)"));
    QCOMPARE(Control<QLabel>(&h.window, "lblPlayername")->text(),
             QStringLiteral("Selected player"));
    for (const QString& box : kTotalBoxes + kPlayerBoxes)
        QCOMPARE(h.Text(box), QStringLiteral("0"));
    QCOMPARE(h.store.PlayerCount(), 0);
}

void MainWindowTest::analyzeFillsTotalsAndSortedPlayerList() {
    Harness h;
    // One kill, one teamkill, one text chat and two lines without the prefix.
    h.OpenAndAnalyze(
        WriteLog(dir_, "five.log",
                 {KillLine("zed", "Bob"), "[skipnotify]^1Carl^7 WAS KILLED BY TEAMMATE^7 adam",
                  "[skipnotify]Bob^7: ^2hello there", "loading", "map started"}));
    QCOMPARE(Column(h, kTotalBoxes), QStringList({"1", "2", "1", "0", "1", "2", "5"}));
    // Sorted alphabetically, case aside; colour codes are part of the name.
    auto* list = Control<QListWidget>(&h.window, "lstNames");
    QStringList names;
    for (int i = 0; i < list->count(); ++i)
        names << list->item(i)->text();
    QCOMPARE(names, QStringList({"^1Carl", "adam", "Bob", "zed"}));
    auto* players = Control<QComboBox>(&h.window, "cmbPlayer");
    QCOMPARE(players->count(), 4);
    QCOMPARE(players->itemText(1), QStringLiteral("adam"));
    QCOMPARE(players->currentIndex(), -1);
    QCOMPARE(Control<QLabel>(&h.window, "lblPlayers")->text(), QStringLiteral("Players (4)"));
    QVERIFY(Control<QPushButton>(&h.window, "cmdExport")->isEnabled());
    QCOMPARE(Control<QProgressBar>(&h.window, "pgbAnalyze")->value(), 0);

    // A second run starts from zero.
    Click(&h.window, "cmdStart");
    QCOMPARE(Column(h, kTotalBoxes), QStringList({"1", "2", "1", "0", "1", "2", "5"}));
    QCOMPARE(list->count(), 4);
}

void MainWindowTest::playerDetailsStripColourCodesInCaption() {
    Harness h;
    QStringList lines;
    for (const char* victim : {"Al", "Cy", "Dee"})
        lines << KillLine(victim, "^1Bob");
    lines << KillLine("^1Bob", "Al") << KillLine("^1Bob", "Cy");
    lines << "[skipnotify]Cy^7 WAS KILLED BY TEAMMATE^7 ^1Bob";
    for (int i = 0; i < 4; ++i)
        lines << "[skipnotify]: (^1Bob^7)(Axis Base): ^5Follow me! ";
    for (int i = 0; i < 5; ++i)
        lines << "[skipnotify]^1Bob^7: ^2hello there";
    h.OpenAndAnalyze(WriteLog(dir_, "bob.log", lines));
    auto* list = Control<QListWidget>(&h.window, "lstNames");
    const auto found = list->findItems(QStringLiteral("^1Bob"), Qt::MatchExactly);
    QCOMPARE(found.size(), 1);
    list->setCurrentItem(found[0]);
    auto* caption = Control<QLabel>(&h.window, "lblPlayername");
    QCOMPARE(caption->text(), QStringLiteral("Bob"));
    QCOMPARE(caption->toolTip(), QStringLiteral("^1Bob"));
    QCOMPARE(Column(h, kPlayerBoxes), QStringList({"3", "2", "1", "4", "5", "0", "15"}));
    // Looking a player up never adds one.
    QCOMPARE(h.store.PlayerCount(), 4);
}

void MainWindowTest::controlsDisabledDuringRun() {
    Harness h;
    // Large enough that the run repaints at least once on any machine.
    QStringList lines;
    for (int i = 0; i < 400000; ++i)
        lines << KillLine(QStringLiteral("P%1").arg(i % 50), QStringLiteral("K%1").arg(i % 40));
    h.OpenAndAnalyze(WriteLog(dir_, "big.log", lines));
    QVERIFY(Control<QPushButton>(&h.window, "cmdExport")->isEnabled());

    QList<bool> enabledDuringRun;
    int progressSeen = 0;
    QString killsSeen;
    QTimer::singleShot(0, &h.window, [&] {
        for (const char* name : {"cmdOpen", "cmdStart", "cmbLanguage", "cmdExport"})
            enabledDuringRun << Control<QWidget>(&h.window, name)->isEnabled();
        progressSeen = Control<QProgressBar>(&h.window, "pgbAnalyze")->value();
        killsSeen = h.Text("txtKills");
    });
    Click(&h.window, "cmdStart");
    QVERIFY(h.window.ProgressRepaints() > 0);
    QCOMPARE(enabledDuringRun, QList<bool>({false, false, false, false}));
    QVERIFY(progressSeen > 0);
    // The totals repaint during the run, not only at its end.
    QVERIFY(killsSeen.toInt() > 0 && killsSeen.toInt() < 400000);
    QCOMPARE(h.Text("txtKills"), QStringLiteral("400000"));
    for (const char* name : {"cmdOpen", "cmdStart", "cmbLanguage", "cmdExport"})
        QVERIFY(Control<QWidget>(&h.window, name)->isEnabled());
}

// Classic by default; "Full" reads a chat message that quotes an obituary as chat.
void MainWindowTest::germanLogProposesGermanOnceASession() {
    Harness h;
    QStringList lines;
    for (int i = 0; i < 6; ++i)
        lines << QStringLiteral("[skipnotify]Bob wurde get\u00f6tet von Al - MP40");
    const QString german = WriteLog(dir_, "german.log", lines);
    h.dialogs.QueuePath(german);
    h.dialogs.QueueButton(QMessageBox::Yes);
    Click(&h.window, "cmdOpen");
    QCOMPARE(h.dialogs.shown.size(), 2);
    QCOMPARE(h.dialogs.shown[1].Icon, QMessageBox::Question);
    QCOMPARE(h.dialogs.shown[1].Text,
             QStringLiteral("The kill and death lines of this log are written in German.\r\n"
                            "Analyze it as a German log?"));
    QCOMPARE(Control<QComboBox>(&h.window, "cmbLanguage")->currentText(), QStringLiteral("German"));
    Click(&h.window, "cmdStart");
    QCOMPARE(h.Text("txtKills"), QStringLiteral("6"));

    // Asked once: back in English, the next German log opens without a question.
    Control<QComboBox>(&h.window, "cmbLanguage")->setCurrentIndex(0);
    h.dialogs.Clear();
    h.dialogs.QueuePath(german);
    Click(&h.window, "cmdOpen");
    QCOMPARE(h.dialogs.shown.size(), 1);
    QCOMPARE(Control<QComboBox>(&h.window, "cmbLanguage")->currentText(),
             QStringLiteral("English"));
}

void MainWindowTest::languageQuestionIsAskedOncePerLanguageAndKept() {
    QTemporaryDir settingsDir;
    QSettings settings(settingsDir.filePath("window.conf"), QSettings::IniFormat);
    QStringList englishLines, germanLines;
    for (int i = 0; i < 6; ++i) {
        englishLines << KillLine(QStringLiteral("Bob"), QStringLiteral("Al"));
        germanLines << QStringLiteral("[skipnotify]Bob wurde get\u00f6tet von Al - MP40");
    }
    const QString english = WriteLog(dir_, "english.log", englishLines);
    const QString german = WriteLog(dir_, "german.log", germanLines);
    // Opens `log`, answering the language question with `answer` if one is given.
    const auto open = [](Harness& h, const QString& log,
                         std::optional<QMessageBox::StandardButton> answer = {}) {
        h.dialogs.Clear();
        h.dialogs.QueuePath(log);
        if (answer)
            h.dialogs.QueueButton(*answer);
        Click(&h.window, "cmdOpen");
    };
    {
        Harness h;
        h.window.RememberIn(settings);
        auto* language = Control<QComboBox>(&h.window, "cmbLanguage");
        language->setCurrentIndex(1);
        // An English log read as German: asked, in words that read right; No keeps German.
        open(h, english, QMessageBox::No);
        QCOMPARE(h.dialogs.shown.size(), 2);
        QCOMPARE(h.dialogs.shown[1].Text,
                 QStringLiteral("The kill and death lines of this log are written in English.\r\n"
                                "Analyze it as an English log?"));
        QCOMPARE(language->currentText(), QStringLiteral("German"));
        // The answer holds for the next English log.
        open(h, english);
        QCOMPARE(h.dialogs.shown.size(), 1);
        // A German log read as English is another kind of log: asked about once too.
        language->setCurrentIndex(0);
        open(h, german, QMessageBox::Yes);
        QCOMPARE(h.dialogs.shown.size(), 2);
        QCOMPARE(language->currentText(), QStringLiteral("German"));
        language->setCurrentIndex(0);
    }
    // A later run remembers both answers.
    Harness next;
    next.window.RememberIn(settings);
    open(next, german);
    open(next, german);
    Control<QComboBox>(&next.window, "cmbLanguage")->setCurrentIndex(1);
    open(next, english);
    QCOMPARE(next.dialogs.shown.size(), 1);
    QVERIFY(next.dialogs.AllAnswersUsed());
}

void MainWindowTest::smallestSizeKeepsEveryControlApart() {
    Harness h;
    h.OpenAndAnalyze(WriteLog(dir_, "some.log", {KillLine("Al", "Bob")}));
    h.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&h.window));
    // The window refuses to become smaller than its layout needs.
    h.window.resize(40, 30);
    QCoreApplication::processEvents();
    QVERIFY(h.window.width() > 40 && h.window.height() > 30);
    QCOMPARE(h.window.minimumSize(), h.window.minimumSizeHint());
    auto* tabs = Control<QTabBar>(&h.window, "tabMain");
    for (int tab = 0; tab < tabs->count(); ++tab) {
        tabs->setCurrentIndex(tab);
        QCoreApplication::processEvents();
        const QStringList problems = Overlaps(&h.window);
        QVERIFY2(problems.isEmpty(), qPrintable(tabs->tabText(tab) + ": " + problems.join(", ")));
    }
}

void MainWindowTest::longPlayerNameKeepsTheWindowSize() {
    Harness h;
    const QString longName = QStringLiteral("^1Very").append(QString(200, QLatin1Char('x')));
    h.OpenAndAnalyze(WriteLog(dir_, "long.log", {KillLine(longName, "Al")}));
    h.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&h.window));
    tabsTo(h, 1);
    const QSize before = h.window.size();
    const QSize smallestBefore = h.window.minimumSizeHint();
    auto* list = Control<QListWidget>(&h.window, "lstNames");
    list->setCurrentItem(list->findItems(longName, Qt::MatchExactly).value(0));
    QCoreApplication::processEvents();
    QCOMPARE(h.window.size(), before);
    QCOMPARE(h.window.minimumSizeHint(), smallestBefore);
    auto* caption = Control<QLabel>(&h.window, "lblPlayername");
    QVERIFY(caption->text().startsWith(QStringLiteral("Veryxx")));
    QVERIFY(caption->text().endsWith(QChar(0x2026))); // shortened with an ellipsis
    QCOMPARE(caption->toolTip(), longName);
}

void MainWindowTest::ctrlOAndTheCommandLineOpenALog() {
    Harness h;
    const QString first = WriteLog(dir_, "first.log", {KillLine("Al", "Bob")});
    OpenLogOfArguments(h.window, {QStringLiteral("Quarvel_Logfile_Analyzer"), first});
    QCOMPARE(h.Text("txtFilename"), first);
    QVERIFY(h.dialogs.shown.isEmpty());
    OpenLogOfArguments(h.window, {QStringLiteral("Quarvel_Logfile_Analyzer")});
    QCOMPARE(h.Text("txtFilename"), first);

    // Ctrl+O from another page than the first.
    const QString second = WriteLog(dir_, "second.log", {KillLine("Al", "Bob"), "loading map"});
    h.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&h.window));
    h.window.activateWindow();
    Control<QTabBar>(&h.window, "tabMain")->setCurrentIndex(2);
    h.dialogs.QueuePath(second);
    QTest::keyClick(&h.window, Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(h.dialogs.shown.size(), 1);
    QCOMPARE(h.dialogs.shown[0].Kind, QStringLiteral("open"));
    QCOMPARE(h.Text("txtFilename"), second);
}

void MainWindowTest::choicesAreRememberedForTheNextRun() {
    QTemporaryDir settingsDir;
    QSettings settings(settingsDir.filePath("window.conf"), QSettings::IniFormat);
    const QString log = WriteLog(dir_, "kept.log", {KillLine("Al", "Bob")});
    const QString page = dir_.filePath("standard.html");
    {
        Harness h;
        h.window.RememberIn(settings);
        auto* title = Control<QLineEdit>(&h.window, "txtServerName");
        title->clear();
        QTest::keyClicks(title, QStringLiteral("Cup Final"));
        Control<QComboBox>(&h.window, "cmbRecognition")->setCurrentIndex(1);
        Control<QComboBox>(&h.window, "cmbMergePlayers")->setCurrentIndex(2);
        h.OpenAndAnalyze(log);
        Control<QTabBar>(&h.window, "tabMain")->setCurrentIndex(2);
        h.dialogs.QueuePath(page);
        Click(&h.window, "cmdExport");
        QVERIFY(QFile::exists(page));
    }
    Harness next;
    QCOMPARE(next.Text("txtServerName"), QStringLiteral("__type here the game title__"));
    next.window.RememberIn(settings);
    QCOMPARE(next.Text("txtServerName"), QStringLiteral("Cup Final"));
    QCOMPARE(Control<QComboBox>(&next.window, "cmbRecognition")->currentText(),
             QStringLiteral("Full"));
    QCOMPARE(Control<QComboBox>(&next.window, "cmbLanguage")->currentText(),
             QStringLiteral("English"));
    QCOMPARE(Control<QComboBox>(&next.window, "cmbMergePlayers")->currentText(),
             QStringLiteral("Names and renames"));
    // The open dialog starts in the folder of the last log; the save dialog offers the last file.
    next.OpenAndAnalyze(log);
    QCOMPARE(next.dialogs.shown[0].Text, QFileInfo(log).absolutePath());
    Control<QTabBar>(&next.window, "tabMain")->setCurrentIndex(2);
    next.dialogs.QueuePath(QString());
    Click(&next.window, "cmdExport");
    QCOMPARE(next.dialogs.shown.last().Kind, QStringLiteral("save"));
    QCOMPARE(next.dialogs.shown.last().Text, page);
}

void MainWindowTest::noMergingAfterMergingExportsAsBefore() {
    // bob renames to Robert, ^1AL and Al differ only in colour codes and case.
    const QString log =
        WriteLog(dir_, "merged.log",
                 {KillLine("bob", "Al"), QStringLiteral("[skipnotify]bob^7 renamed to Robert"),
                  KillLine("^1AL", "Robert"), KillLine("Robert", "Al")});
    Harness h;
    h.OpenAndAnalyze(log);
    auto* merge = Control<QComboBox>(&h.window, "cmbMergePlayers");
    // The standard page after each choice, No merging last.
    QMap<int, QByteArray> pages;
    for (const int choice : {0, 2, 1, 0}) {
        merge->setCurrentIndex(choice);
        Control<QTabBar>(&h.window, "tabMain")->setCurrentIndex(2);
        const QString page = dir_.filePath(QStringLiteral("merge%1.html").arg(choice));
        QFile::remove(page);
        h.dialogs.QueuePath(page);
        Click(&h.window, "cmdExport");
        QFile file(page);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray written = file.readAll();
        if (pages.contains(choice))
            QCOMPARE(written, pages[choice]); // back to no merging: byte for byte as before
        pages[choice] = written;
    }
    QVERIFY(pages[0] != pages[1]);
    QVERIFY(pages[1] != pages[2]);
}

void MainWindowTest::recognitionChoiceBesideTheLanguage() {
    Harness h;
    auto* recognition = Control<QComboBox>(&h.window, "cmbRecognition");
    QCOMPARE(recognition->currentText(), QStringLiteral("Classic"));
    QCOMPARE(Control<QLabel>(&h.window, "lblRecognition")->text(), QStringLiteral("Recognition"));
    const QString log =
        WriteLog(dir_, "quote.log",
                 {QStringLiteral("[skipnotify]Swashy^7: ^2lol I was killed by a bug"),
                  QStringLiteral("[skipnotify]Bob^7 was crushed.")});
    h.OpenAndAnalyze(log);
    QCOMPARE(h.Text("txtKills"), QStringLiteral("1"));
    QCOMPARE(h.Text("txtUnknown"), QStringLiteral("1"));
    recognition->setCurrentIndex(1);
    Click(&h.window, "cmdStart");
    QCOMPARE(h.Text("txtKills"), QStringLiteral("0"));
    QCOMPARE(h.Text("txtTextChats"), QStringLiteral("1"));
    QCOMPARE(h.Text("txtDeaths"), QStringLiteral("1"));
    QCOMPARE(h.Text("txtUnknown"), QStringLiteral("0"));
}

void MainWindowTest::droppedFileOpensLikeOpenFile() {
    Harness h;
    const QString log = WriteLog(
        dir_, "dropped.log", {"logfile opened on Sun Oct 23 10:00:00 2005", KillLine("Al", "Bob")});
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(log)});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&h.window, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&h.window, &drop);
    QCOMPARE(h.Text("txtFilename"), log);
    QCOMPARE(h.Text("txtLines"), QStringLiteral("2"));
    QCOMPARE(h.Text("txtDateTime"), QStringLiteral("Sun Oct 23 10:00:00 2005"));
    QVERIFY(h.dialogs.shown.isEmpty());
    Click(&h.window, "cmdStart");
    QCOMPARE(h.Text("txtKills"), QStringLiteral("1"));
}

void MainWindowTest::aboutLinksGoToDesktop() {
    Harness h;
    for (const char* link : {"lblHomepage", "lblEmail", "Label28", "Label27(0)", "Label27(1)"}) {
        auto* label = Control<QLabel>(&h.window, link);
        QCOMPARE(label->cursor().shape(), Qt::PointingHandCursor);
        QTest::mouseClick(label, Qt::LeftButton);
    }
    QCOMPARE(h.desktop.opened, QList<QUrl>({QUrl("https://quarvel.example.org"),
                                            QUrl("mailto:team@quarvel.example.org"),
                                            QUrl("https://clan.quarvel.example.org"),
                                            QUrl("mailto:testers@quarvel.example.org"),
                                            QUrl("mailto:translation@quarvel.example.org")}));
    QCOMPARE(Control<QLabel>(&h.window, "lblMadeBy")->text(),
             QStringLiteral("Quarvel Analyzer team"));
    QCOMPARE(Control<QLabel>(&h.window, "lblEmail")->toolTip(), QStringLiteral("Send me an email"));
    QCOMPARE(Control<QLabel>(&h.window, "lblAboutTitle")->font().pointSize(), 18);
}

void MainWindowTest::checkForUpdateAnsweredNoKeepsRunning() {
    Harness h;
    h.OpenAndAnalyze(WriteLog(dir_, "keep.log", {KillLine("Al", "Bob")}));
    QSignalSpy quit(&h.window, &MainWindow::quitRequested);
    h.dialogs.QueueButton(QMessageBox::No);
    Click(&h.window, "cmdCheckForUpdate");
    QCOMPARE(h.dialogs.shown.last().Title, QStringLiteral("Check for update"));
    QCOMPARE(
        h.dialogs.shown.last().Text,
        QStringLiteral("Make sure you are connected to the internet. Do you want to continue?"));
    QCOMPARE(h.dialogs.shown.last().Icon, QMessageBox::Question);
    QVERIFY(h.desktop.started.isEmpty());
    QCOMPARE(quit.count(), 0);
    QCOMPARE(h.Text("txtKills"), QStringLiteral("1"));
}

void MainWindowTest::checkForUpdateStartsUpdaterAndEnds() {
    Harness h;
    QSignalSpy quit(&h.window, &MainWindow::quitRequested);
    h.dialogs.QueueButton(QMessageBox::Yes);
    Click(&h.window, "cmdCheckForUpdate");
    const QString updater = QDir(QCoreApplication::applicationDirPath()).filePath("updater");
    QCOMPARE(h.desktop.started, QStringList({updater + QStringLiteral(" 0.8.2")}));
    QCOMPARE(quit.count(), 1);
}

void MainWindowTest::checkForUpdateReportsMissingUpdater() {
    Harness h;
    h.desktop.startSucceeds = false;
    QSignalSpy quit(&h.window, &MainWindow::quitRequested);
    h.dialogs.QueueButton(QMessageBox::Yes);
    h.dialogs.QueueButton(QMessageBox::Ok);
    Click(&h.window, "cmdCheckForUpdate");
    const QString updater = QDir(QCoreApplication::applicationDirPath()).filePath("updater");
    QCOMPARE(h.dialogs.shown.size(), 2);
    QVERIFY(h.dialogs.shown[1].Text.contains(QDir::toNativeSeparators(updater)));
    QCOMPARE(quit.count(), 0);
}

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
