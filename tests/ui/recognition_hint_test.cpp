// The recognition hint on the Logfile Information page: shown once for each log that full
// recognition reads otherwise, with the count and the first such line; its offer switches the
// window to full recognition, and either answer is kept for later logs and later runs.
#include "ui/window_memory.h"
#include "ui_test_support.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QSettings>

using namespace qla;
using namespace qla::ui;
using namespace qla::ui::test;

class RecognitionHintTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void shownOnceForEachLogThatReadsOtherwise();
    void readingInFullSwitchesAndIsKept();
    void keepingClassicIsKeptForLaterRuns();
    void noHintWhenReadInFullAlready();

  private:
    void Open(Harness& h, const QString& log);
    bool HintShown(Harness& h);

    QTemporaryDir dir_;
    QString otherwise_, alike_;
};

void RecognitionHintTest::init() {
    // Two kills both recognitions read alike, and two deaths only full recognition knows.
    const QString kill = KillLine(QStringLiteral("Bob"), QStringLiteral("Al"));
    const QString crushed = QStringLiteral("[skipnotify]Bob^7 was crushed.");
    otherwise_ = WriteLog(dir_, "otherwise.log", {kill, crushed, kill, crushed});
    alike_ = WriteLog(dir_, "alike.log", {kill, kill});
}

void RecognitionHintTest::Open(Harness& h, const QString& log) {
    h.dialogs.Clear();
    h.dialogs.QueuePath(log);
    Click(&h.window, "cmdOpen");
    // The hint asks nothing: the open dialog is the only one shown.
    QCOMPARE(h.dialogs.shown.size(), 1);
}

bool RecognitionHintTest::HintShown(Harness& h) {
    return !Control<QFrame>(&h.window, "frmRecognitionHint")->isHidden();
}

void RecognitionHintTest::shownOnceForEachLogThatReadsOtherwise() {
    Harness h;
    QVERIFY(!HintShown(h));
    Open(h, otherwise_);
    QVERIFY(HintShown(h));
    QCOMPARE(Control<QLabel>(&h.window, "lblRecognitionHint")->text(),
             QStringLiteral("Full recognition reads 2 of the 4 lines checked in this log "
                            "otherwise than classic recognition, for example:\n"
                            "[skipnotify]Bob^7 was crushed."));
    // The log is still read in classic recognition until the user chooses.
    QCOMPARE(Control<QComboBox>(&h.window, "cmbRecognition")->currentIndex(), 0);
    Click(&h.window, "cmdStart");
    QCOMPARE(h.Text("txtDeaths"), QStringLiteral("2"));

    // A log that reads alike hides the hint of the one before.
    Open(h, alike_);
    QVERIFY(!HintShown(h));
    // The first log again: it was hinted at already.
    Open(h, otherwise_);
    QVERIFY(!HintShown(h));
}

void RecognitionHintTest::readingInFullSwitchesAndIsKept() {
    QTemporaryDir settingsDir;
    QSettings settings(settingsDir.filePath("window.conf"), QSettings::IniFormat);
    {
        Harness h;
        h.window.RememberIn(settings);
        Open(h, otherwise_);
        QVERIFY(HintShown(h));
        Click(&h.window, "cmdReadFull");
        QVERIFY(!HintShown(h));
        QCOMPARE(Control<QComboBox>(&h.window, "cmbRecognition")->currentIndex(), 1);
        // Full recognition counts the two deaths that classic keeps as other lines.
        Click(&h.window, "cmdStart");
        QCOMPARE(h.Text("txtDeaths"), QStringLiteral("4"));
        QCOMPARE(settings.value(memory_keys::kRecognitionHintAnswer).toString(),
                 QStringLiteral("full"));
    }
    // The next run reads in full recognition; back in classic, the answer given holds.
    Harness h;
    h.window.RememberIn(settings);
    auto* recognition = Control<QComboBox>(&h.window, "cmbRecognition");
    QCOMPARE(recognition->currentIndex(), 1);
    recognition->setCurrentIndex(0);
    Open(h, otherwise_);
    QVERIFY(!HintShown(h));
}

void RecognitionHintTest::keepingClassicIsKeptForLaterRuns() {
    QTemporaryDir settingsDir;
    QSettings settings(settingsDir.filePath("window.conf"), QSettings::IniFormat);
    {
        Harness h;
        h.window.RememberIn(settings);
        Open(h, otherwise_);
        Click(&h.window, "cmdKeepClassic");
        QVERIFY(!HintShown(h));
        QCOMPARE(Control<QComboBox>(&h.window, "cmbRecognition")->currentIndex(), 0);
        // Another log that reads otherwise: the answer counts for it too.
        const QString another = WriteLog(
            dir_, "another.log", {QStringLiteral("[skipnotify]Al^7 was killed by Bob^7's Colt")});
        Open(h, another);
        QVERIFY(!HintShown(h));
    }
    Harness h;
    h.window.RememberIn(settings);
    Open(h, otherwise_);
    QVERIFY(!HintShown(h));
    QCOMPARE(settings.value(memory_keys::kRecognitionHintAnswer).toString(),
             QStringLiteral("classic"));

    // Without kept settings, a new window offers again.
    Harness fresh;
    Open(fresh, otherwise_);
    QVERIFY(HintShown(fresh));
}

void RecognitionHintTest::noHintWhenReadInFullAlready() {
    Harness h;
    Control<QComboBox>(&h.window, "cmbRecognition")->setCurrentIndex(1);
    Open(h, otherwise_);
    QVERIFY(!HintShown(h));
    // Switching to full by hand hides a hint shown in classic.
    Harness other;
    Open(other, otherwise_);
    QVERIFY(HintShown(other));
    Control<QComboBox>(&other.window, "cmbRecognition")->setCurrentIndex(1);
    QVERIFY(!HintShown(other));
}

QTEST_MAIN(RecognitionHintTest)
#include "recognition_hint_test.moc"
