// AnalyzePage on its own: what it hands the analysis run, what it announces to the window, and
// how it survives a run that fails.
#include "ui/analyze_page.h"

#include "ui_test_support.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
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
    void mergeBoxJoinsTheNamesOfOnePlayerAndUndoes();
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

void AnalyzePageTest::mergeBoxJoinsTheNamesOfOnePlayerAndUndoes() {
    AnalysisStore store;
    FakeDialogs dialogs;
    AnalyzePage page(store, dialogs, [] { return AnalysisChoice{}; });
    QSignalSpy listed(&page, &AnalyzePage::playersListed);
    // bob, ^1BOB and (after the rename) Robert are one player.
    Open(store, {KillLine("Al", "bob"), KillLine("^1BOB", "Al"),
                 QStringLiteral("[skipnotify]bob^7 renamed to Robert"), KillLine("Cy", "Robert")});
    auto* merge = Control<QCheckBox>(&page, "chkMergePlayers");
    QVERIFY(!merge->isChecked());
    QVERIFY(!merge->toolTip().isEmpty());
    merge->setChecked(true); // nothing analysed yet: nothing runs
    QCOMPARE(listed.size(), 0);

    Click(&page, "cmdStart");
    QCOMPARE(Control<QLabel>(&page, "lblPlayers")->text(), QStringLiteral("Players (3)"));
    QCOMPARE(store.PlayerCount(), 3);
    QCOMPARE(Control<QLineEdit>(&page, "txtKills")->text(), QStringLiteral("3"));

    merge->setChecked(false); // a shown analysis follows the box at once
    QCOMPARE(Control<QLabel>(&page, "lblPlayers")->text(), QStringLiteral("Players (5)"));
    QCOMPARE(Control<QLineEdit>(&page, "txtKills")->text(), QStringLiteral("3"));
    merge->setChecked(true);
    QCOMPARE(listed.last().at(0).toStringList().size(), 3);
    QCOMPARE(dialogs.shown.size(), 0);
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
