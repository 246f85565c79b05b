// LogInfoPage on its own: a log is read on another thread while the page shows that it reads,
// and the page then shows what the read found.
#include "ui/log_info_page.h"

#include "ui/window_memory.h"
#include "ui_test_support.h"

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include <atomic>
#include <thread>

using namespace qla;
using namespace qla::ui;
using namespace qla::ui::test;

class LogInfoPageTest : public QObject {
    Q_OBJECT

  private slots:
    void showsABusyBarWhileTheLogIsRead();
    void openFailureThrownOnTheReaderReachesTheCaller();

  private:
    QTemporaryDir dir_;
};

void LogInfoPageTest::showsABusyBarWhileTheLogIsRead() {
    AnalysisStore store;
    FakeDialogs dialogs;
    WindowMemory memory;
    std::atomic<bool> looked{false};
    std::thread::id readerThread;
    // The read waits until the page has been looked at: the window must paint meanwhile.
    LogInfoPage page(store, dialogs, memory, [&](AnalysisStore& s, const std::string& path) {
        readerThread = std::this_thread::get_id();
        while (!looked)
            std::this_thread::yield();
        return OpenLogFile(s, path);
    });
    page.show();
    auto* bar = Control<QProgressBar>(&page, "pgbOpen");
    auto* reading = Control<QLabel>(&page, "lblReading");
    QVERIFY(bar->isHidden());
    QVERIFY(reading->isHidden());

    bool barShown = false;
    int barMaximum = -1;
    QString readingText;
    QTimer::singleShot(0, &page, [&] {
        barShown = bar->isVisible();
        barMaximum = bar->maximum();
        readingText = reading->text();
        looked = true;
    });
    const QString log = WriteLog(dir_, QStringLiteral("slow.log"), {KillLine("Al", "Bob"), "x"});
    page.OpenLog(log);
    QVERIFY(barShown);
    QCOMPARE(barMaximum, 0); // a moving bar
    QCOMPARE(readingText, QStringLiteral("Reading slow.log"));
    QVERIFY(readerThread != std::this_thread::get_id());
    QVERIFY(bar->isHidden());
    QVERIFY(reading->isHidden());
    QVERIFY(store.LogFileLoaded);
    QCOMPARE(Control<QLineEdit>(&page, "txtLines")->text(), QStringLiteral("2"));
    QCOMPARE(Control<QLineEdit>(&page, "txtFilename")->text(), log);
}

void LogInfoPageTest::openFailureThrownOnTheReaderReachesTheCaller() {
    AnalysisStore store;
    FakeDialogs dialogs;
    WindowMemory memory;
    LogInfoPage page(store, dialogs, memory,
                     [](AnalysisStore&, const std::string&) -> OpenLogResult {
                         throw std::runtime_error("disk gone");
                     });
    bool caught = false;
    try {
        page.OpenLog(QStringLiteral("/nowhere.log"));
    } catch (const std::runtime_error& error) {
        caught = QString::fromUtf8(error.what()) == QStringLiteral("disk gone");
    }
    QVERIFY(caught);
    QVERIFY(Control<QProgressBar>(&page, "pgbOpen")->isHidden());
}

QTEST_MAIN(LogInfoPageTest)
#include "log_info_page_test.moc"
