// frmSplash and the start-up: version, picture, the minimum time and the main window it opens.
#include "ui/splash.h"

#include "ui/version.h"
#include "ui_test_support.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QTimer>

using namespace qla::ui;
using namespace qla::ui::test;

class SplashTest : public QObject {
    Q_OBJECT

  private slots:
    void showsNameVersionAndDrawnPicture();
    void startUpWaitsAtLeastTheMinimumThenShowsWindow();
    void versionForms();
};

void SplashTest::showsNameVersionAndDrawnPicture() {
    frmSplash splash;
    QCOMPARE(Control<QLabel>(&splash, "Label1")->text(),
             QStringLiteral("Quarvel Logfile Analyzer"));
    QCOMPARE(Control<QLabel>(&splash, "Label2")->text(), QStringLiteral("v 0.8 build 2"));
    QCOMPARE(Control<QLabel>(&splash, "Label3")->text(), QStringLiteral("Please wait... loading"));
    const QPixmap picture = Control<QLabel>(&splash, "Image1")->pixmap();
    QVERIFY(!picture.isNull());
    // Drawn, not blank: the corner is transparent, the middle painted.
    const QImage image = picture.toImage();
    QVERIFY(image.pixelColor(image.width() / 2, image.height() / 2).alpha() > 0);
    QCOMPARE(image.pixelColor(0, 0).alpha(), 0);
}

void SplashTest::startUpWaitsAtLeastTheMinimumThenShowsWindow() {
    qla::AnalysisStore store;
    FakeDialogs dialogs;
    FakeDesktop desktop;
    bool splashSeen = false;
    QTimer::singleShot(100, [&] {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (widget->objectName() == QLatin1String("frmSplash") && widget->isVisible())
                splashSeen = true;
    });
    QElapsedTimer timer;
    timer.start();
    const auto window = StartAnalyzer(store, dialogs, desktop, std::chrono::milliseconds(1000));
    QVERIFY(timer.elapsed() >= 1000);
    QVERIFY(splashSeen);
    QVERIFY(window->isVisible());
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->objectName() == QLatin1String("frmSplash"))
            QVERIFY(!widget->isVisible());
    QCOMPARE(Control<QLabel>(window.get(), "lblVersion")->text(), QStringLiteral("0.8 build 2"));
    QCOMPARE(Control<QComboBox>(window.get(), "cmbLanguage")->currentIndex(), 0);
    QVERIFY(!store.LogFileLoaded);
}

void SplashTest::versionForms() {
    QCOMPARE(SplashVersionText(), QStringLiteral("v 0.8 build 2"));
    QCOMPARE(AboutVersionText(), QStringLiteral("0.8 build 2"));
    QCOMPARE(UpdaterVersionArgument(), QStringLiteral("0.8.2"));
}

QTEST_MAIN(SplashTest)
#include "splash_test.moc"
