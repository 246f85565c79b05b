// AnalyzePage on its own: what it hands the analysis run, what it announces to the window, and
// how it survives a run that fails.
#include "ui/analyze_page.h"

#include "ui/window_memory.h"
#include "ui_test_support.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTimer>

#include <stdexcept>

using namespace qla;
using namespace qla::ui;
using namespace qla::ui::test;

namespace {

// What the page handed to the run, call by call.
struct RunCall {
    std::int32_t PlayersOnEntry = 0;
    LogLanguage Language = LogLanguage::English;
    Recognition LineRecognition = Recognition::Classic;
};

// One log for the merge choices: bob renames to Robert and someone else takes "bob" up while
// Robert still plays, Al renames to Alf and back, and ^1CY and Cy differ only in colour codes
// and case.
QStringList RenamesAndColourVariants() {
    return {KillLine("bob", "Al"),      QStringLiteral("[skipnotify]bob^7 renamed to Robert"),
            KillLine("Al", "Robert"),   KillLine("bob", "^1CY"),
            KillLine("^1CY", "Robert"), QStringLiteral("[skipnotify]Al^7 renamed to Alf"),
            KillLine("Cy", "Alf"),      QStringLiteral("[skipnotify]Alf^7 renamed to Al"),
            KillLine("bob", "Al")};
}

// The list's names, each with its tooltip (empty for a player of one name).
QMap<QString, QString> ListedWithTooltips(QWidget* page) {
    QMap<QString, QString> listed;
    auto* list = Control<QListWidget>(page, "lstNames");
    for (int row = 0; row < list->count(); ++row)
        listed.insert(list->item(row)->text(), list->item(row)->toolTip());
    return listed;
}

// Selects the listed player `name` and returns its kills as the page shows them.
QString KillsOfSelected(QWidget* page, const QString& name) {
    auto* list = Control<QListWidget>(page, "lstNames");
    const QList<QListWidgetItem*> found = list->findItems(name, Qt::MatchExactly);
    if (found.size() != 1)
        return QStringLiteral("not listed once");
    list->setCurrentItem(found.first());
    return Control<QLineEdit>(page, "txtPKills")->text();
}

QList<bool> RunningStates(const QSignalSpy& spy) {
    QList<bool> states;
    for (const QList<QVariant>& arguments : spy)
        states << arguments.at(0).toBool();
    return states;
}

} // namespace

class AnalyzePageTest : public QObject {
    Q_OBJECT

  private slots:
    void everyClickRunsOnceOnTheStoreAsItWas();
    void failingRunIsReportedAndLeavesUsableControls();
    void mergeChoiceJoinsNamesOrFollowsRenamesAndUndoes();
    void mergedPlayersShowTheNamesTheyWereSeenUnder();
    void mergeChoiceIsRememberedAndAnUnknownOneMergesNothing();
    void cancelMidRunLeavesTheStoreAsAfterAReset();

  private:
    void Open(AnalysisStore& store, const QStringList& lines);
    QTemporaryDir dir_;
};

void AnalyzePageTest::Open(AnalysisStore& store, const QStringList& lines) {
    const QString log = WriteLog(dir_, QStringLiteral("page.log"), lines);
    QVERIFY(OpenLogFile(store, QFile::encodeName(log).toStdString()).Opened);
}

void AnalyzePageTest::everyClickRunsOnceOnTheStoreAsItWas() {
    AnalysisStore store;
    FakeDialogs dialogs;
    AnalysisChoice chosen;
    QList<RunCall> calls;
    // The real run, watched: the page must leave emptying the store to it, so a second click
    // still hands over the players of the first run.
    AnalyzePage page(
        store, dialogs, [&] { return chosen; },
        [&](AnalysisStore& s, LogLanguage language, Recognition recognition,
            const AnalysisProgressCallback& progress) {
            calls.push_back({s.PlayerCount(), language, recognition});
            return AnalyzeLog(s, language, recognition, progress);
        });
    QSignalSpy running(&page, &AnalyzePage::runningChanged);
    QSignalSpy listed(&page, &AnalyzePage::playersListed);
    Open(store, {KillLine("Al", "bob"), KillLine("Cy", "bob")});

    Click(&page, "cmdStart");
    QCOMPARE(calls.size(), 1);
    QCOMPARE(calls[0].PlayersOnEntry, 0);
    QCOMPARE(Control<QLineEdit>(&page, "txtKills")->text(), QStringLiteral("2"));
    QCOMPARE(listed.last().at(0).toStringList(), QStringList({"Al", "bob", "Cy"}));

    Click(&page, "cmdStart");
    QCOMPARE(calls.size(), 2);
    QCOMPARE(calls[1].PlayersOnEntry, 3);
    QCOMPARE(RunningStates(running), QList<bool>({true, false, true, false}));
    // Each click clears the list once before the run fills it again.
    QCOMPARE(listed.size(), 4);
    QCOMPARE(listed[2].at(0).toStringList(), QStringList());

    // Clearing the results touches only what the page shows.
    page.ClearResults();
    QCOMPARE(Control<QListWidget>(&page, "lstNames")->count(), 0);
    QCOMPARE(Control<QLineEdit>(&page, "txtTotal")->text(), QStringLiteral("0"));
    QCOMPARE(store.PlayerCount(), 3);

    QCOMPARE(calls[1].LineRecognition, Recognition::Classic);
    chosen = {LogLanguage::German, Recognition::Full};
    Click(&page, "cmdStart");
    QCOMPARE(calls.size(), 3);
    QCOMPARE(calls[2].Language, LogLanguage::German);
    QCOMPARE(calls[2].LineRecognition, Recognition::Full);
}

void AnalyzePageTest::failingRunIsReportedAndLeavesUsableControls() {
    AnalysisStore store;
    FakeDialogs dialogs;
    AnalyzePage page(
        store, dialogs, [] { return AnalysisChoice{}; },
        [](AnalysisStore&, LogLanguage, Recognition,
           const AnalysisProgressCallback& progress) -> AnalysisTotals {
            progress({2, 4, nullptr});
            throw std::runtime_error("out of memory");
        });
    QSignalSpy running(&page, &AnalyzePage::runningChanged);
    Open(store, {KillLine("Al", "bob"), "loading", "map", "end", "quit"});

    dialogs.QueueButton(QMessageBox::Ok);
    Click(&page, "cmdStart");
    QCOMPARE(dialogs.shown.size(), 1);
    QCOMPARE(dialogs.shown[0].Title, QStringLiteral("Start analyze"));
    QCOMPARE(dialogs.shown[0].Text, QStringLiteral("The analysis stopped: out of memory"));
    QCOMPARE(dialogs.shown[0].Icon, QMessageBox::Critical);
    QCOMPARE(RunningStates(running), QList<bool>({true, false}));
    QCOMPARE(Control<QProgressBar>(&page, "pgbAnalyze")->value(), 0);
    QCOMPARE(Control<QLineEdit>(&page, "txtKills")->text(), QStringLiteral("0"));
    QCOMPARE(Control<QListWidget>(&page, "lstNames")->count(), 0);
}

void AnalyzePageTest::mergeChoiceJoinsNamesOrFollowsRenamesAndUndoes() {
    AnalysisStore store;
    FakeDialogs dialogs;
    QList<bool> trackedOnEntry;
    AnalyzePage page(
        store, dialogs, [] { return AnalysisChoice{}; },
        [&](AnalysisStore& s, LogLanguage language, Recognition recognition,
            const AnalysisProgressCallback& progress) {
            trackedOnEntry << s.TracksHolders;
            return AnalyzeLog(s, language, recognition, progress);
        });
    QSignalSpy listed(&page, &AnalyzePage::playersListed);
    Open(store, RenamesAndColourVariants());
    auto* merge = Control<QComboBox>(&page, "cmbMergePlayers");
    QCOMPARE(merge->currentIndex(), 0);
    QCOMPARE(merge->count(), 3);
    QVERIFY(!merge->toolTip().isEmpty());
    merge->setCurrentIndex(2); // nothing analysed yet: nothing runs
    QCOMPARE(listed.size(), 0);
    merge->setCurrentIndex(0);

    Click(&page, "cmdStart");
    const QStringList perName = listed.last().at(0).toStringList();
    QCOMPARE(perName, QStringList({"^1CY", "Al", "Alf", "bob", "Cy", "Robert"}));
    QCOMPARE(KillsOfSelected(&page, "Al"), QStringLiteral("2"));

    // Names only: the colour variants join, the renames do not.
    merge->setCurrentIndex(1); // a shown analysis follows the choice at once
    QCOMPARE(listed.last().at(0).toStringList(),
             QStringList({"^1CY", "Al", "Alf", "bob", "Robert"}));
    QCOMPARE(Control<QLineEdit>(&page, "txtKills")->text(), QStringLiteral("6"));
    QCOMPARE(KillsOfSelected(&page, "Al"), QStringLiteral("2"));

    // Names and renames: Al and Alf are one person, bob and Robert another (shown by the name
    // of more lines), and the later holder of "bob" a third.
    merge->setCurrentIndex(2);
    QCOMPARE(listed.last().at(0).toStringList(), QStringList({"^1CY", "Al", "bob", "Robert"}));
    QCOMPARE(Control<QLineEdit>(&page, "txtKills")->text(), QStringLiteral("6"));
    QCOMPARE(KillsOfSelected(&page, "Al"), QStringLiteral("3"));

    // No merging again: the classic per-name players, from a run that tracks no holders.
    merge->setCurrentIndex(0);
    QCOMPARE(listed.last().at(0).toStringList(), perName);
    QCOMPARE(KillsOfSelected(&page, "Al"), QStringLiteral("2"));
    QCOMPARE(KillsOfSelected(&page, "Alf"), QStringLiteral("1"));
    QCOMPARE(trackedOnEntry, QList<bool>({false, false, true, false}));
    QCOMPARE(dialogs.shown.size(), 0);
}

void AnalyzePageTest::mergedPlayersShowTheNamesTheyWereSeenUnder() {
    AnalysisStore store;
    FakeDialogs dialogs;
    AnalyzePage page(store, dialogs, [] { return AnalysisChoice{}; });
    Open(store, RenamesAndColourVariants());
    auto* merge = Control<QComboBox>(&page, "cmbMergePlayers");
    auto* names = Control<QLabel>(&page, "lblMergedNames");
    merge->setCurrentIndex(2);
    Click(&page, "cmdStart");

    const QMap<QString, QString> listed = ListedWithTooltips(&page);
    QCOMPARE(listed.value("Al"), QStringLiteral("Names: Al, Alf"));
    QCOMPARE(listed.value("^1CY"), QStringLiteral("Names: ^1CY, Cy"));
    QCOMPARE(listed.value("Robert"), QStringLiteral("Names: bob, Robert"));
    // The later holder of "bob" had one name and shows none.
    QCOMPARE(listed.value("bob"), QString());

    // The selected player's names stand under the list while it has more than one.
    KillsOfSelected(&page, "Al");
    QVERIFY(!names->isHidden());
    QCOMPARE(names->text(), QStringLiteral("Names: Al, Alf"));
    QCOMPARE(KillsOfSelected(&page, "bob"), QStringLiteral("0"));
    QVERIFY(names->isHidden());

    merge->setCurrentIndex(1);
    QCOMPARE(ListedWithTooltips(&page).value("^1CY"), QStringLiteral("Names: ^1CY, Cy"));
    QCOMPARE(ListedWithTooltips(&page).value("Al"), QString());
    KillsOfSelected(&page, "^1CY");
    QCOMPARE(names->text(), QStringLiteral("Names: ^1CY, Cy"));

    // Without merging no player has a list of names.
    merge->setCurrentIndex(0);
    QVERIFY(names->isHidden());
    for (const QString& tooltip : ListedWithTooltips(&page))
        QCOMPARE(tooltip, QString());
}

void AnalyzePageTest::mergeChoiceIsRememberedAndAnUnknownOneMergesNothing() {
    QTemporaryDir settingsDir;
    QSettings settings(settingsDir.filePath("window.conf"), QSettings::IniFormat);
    WindowMemory memory;
    memory.UseSettings(&settings);
    AnalysisStore store;
    FakeDialogs dialogs;
    {
        AnalyzePage page(store, dialogs, [] { return AnalysisChoice{}; });
        page.KeepChoiceIn(memory);
        Control<QComboBox>(&page, "cmbMergePlayers")->setCurrentIndex(2);
    }
    QCOMPARE(settings.value(memory_keys::kMergePlayers).toString(), QStringLiteral("renames"));

    AnalyzePage later(store, dialogs, [] { return AnalysisChoice{}; });
    later.KeepChoiceIn(memory);
    later.ShowRemembered();
    QCOMPARE(later.MergeChoice(), PlayerMergeChoice::WithRenames);
    Control<QComboBox>(&later, "cmbMergePlayers")->setCurrentIndex(1);
    QCOMPARE(settings.value(memory_keys::kMergePlayers).toString(), QStringLiteral("names"));

    settings.setValue(memory_keys::kMergePlayers, QStringLiteral("everything"));
    later.ShowRemembered();
    QCOMPARE(later.MergeChoice(), PlayerMergeChoice::None);
}

QTEST_MAIN(AnalyzePageTest)
#include "analyze_page_test.moc"

void AnalyzePageTest::cancelMidRunLeavesTheStoreAsAfterAReset() {
    AnalysisStore store;
    FakeDialogs dialogs;
    std::uint64_t lastPosition = 0;
    AnalyzePage page(
        store, dialogs, [] { return AnalysisChoice{}; },
        [&](AnalysisStore& s, LogLanguage language, Recognition recognition,
            const AnalysisProgressCallback& progress) {
            return AnalyzeLog(s, language, recognition, [&](const AnalysisProgress& p) {
                lastPosition = p.Position;
                progress(p);
            });
        });
    QSignalSpy running(&page, &AnalyzePage::runningChanged);
    QStringList lines;
    for (int i = 0; i < 100000; ++i)
        lines << KillLine(QStringLiteral("P%1").arg(i % 30), QStringLiteral("V%1").arg(i % 20));
    Open(store, lines);
    auto* cancel = Control<QPushButton>(&page, "cmdCancelAnalyze");
    QVERIFY(!cancel->isEnabled());

    // The click arrives with the first repaint of the progress, long before the last line.
    bool enabledWhenClicked = false;
    QTimer::singleShot(0, cancel, [&] {
        enabledWhenClicked = cancel->isEnabled();
        cancel->click();
    });
    Click(&page, "cmdStart");
    QVERIFY(enabledWhenClicked);
    QVERIFY(lastPosition < 99999);
    QVERIFY(!cancel->isEnabled());
    QCOMPARE(dialogs.shown.size(), 0);
    QCOMPARE(RunningStates(running), QList<bool>({true, false}));
    QCOMPARE(store.PlayerCount(), 0);
    QCOMPARE(store.KillEvents.size(), 1u); // the placeholder only
    QCOMPARE(store.LogLines.size(), 100000u);
    for (const char* box : {"txtKills", "txtDeaths", "txtTotal"})
        QCOMPARE(Control<QLineEdit>(&page, box)->text(), QStringLiteral("0"));
    QCOMPARE(Control<QListWidget>(&page, "lstNames")->count(), 0);

    // The same lines analyse again in full.
    Click(&page, "cmdStart");
    QCOMPARE(Control<QLineEdit>(&page, "txtKills")->text(), QStringLiteral("100000"));
    QCOMPARE(store.PlayerCount(), 50);
}
