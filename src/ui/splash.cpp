// frmSplash: the drawn picture, the program's name and version, and the start-up wait.
#include "ui/splash.h"

#include "ui/main_window.h"
#include "ui/version.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QThread>
#include <QVBoxLayout>

namespace qla::ui {

QPixmap SplashPicture() {
    QPixmap picture(360, 140);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);

    QLinearGradient sky(0, 0, 0, picture.height());
    sky.setColorAt(0.0, QColor(0x2b, 0x3a, 0x4a));
    sky.setColorAt(1.0, QColor(0x10, 0x16, 0x1d));
    painter.setBrush(sky);
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(picture.rect(), 12, 12);

    // A sight over a row of bars: aiming at statistics.
    const QColor accent(0xe0, 0x9a, 0x2f);
    const std::array<int, 7> bars{38, 62, 50, 88, 70, 104, 80};
    for (std::size_t i = 0; i < bars.size(); ++i) {
        painter.setBrush(QColor(0x6f, 0x8f, 0xa8, 170));
        painter.drawRect(QRectF(24 + 20.0 * i, 124 - bars[i], 14, bars[i]));
    }
    const QPointF centre(250, 70);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(accent, 4));
    painter.drawEllipse(centre, 46, 46);
    painter.setPen(QPen(accent, 2));
    painter.drawEllipse(centre, 22, 22);
    painter.drawLine(centre + QPointF(-62, 0), centre + QPointF(-10, 0));
    painter.drawLine(centre + QPointF(10, 0), centre + QPointF(62, 0));
    painter.drawLine(centre + QPointF(0, -62), centre + QPointF(0, -10));
    painter.drawLine(centre + QPointF(0, 10), centre + QPointF(0, 62));
    painter.setBrush(accent);
    painter.drawEllipse(centre, 3, 3);
    return picture;
}

frmSplash::frmSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(kProgramTitle);

    auto* image = new QLabel(this);
    image->setObjectName(QStringLiteral("Image1"));
    image->setPixmap(SplashPicture());
    auto* name = new QLabel(kProgramTitle, this);
    name->setObjectName(QStringLiteral("Label1"));
    QFont big = name->font();
    big.setPointSize(big.pointSize() + 6);
    big.setBold(true);
    name->setFont(big);
    auto* version = new QLabel(SplashVersionText(), this);
    version->setObjectName(QStringLiteral("Label2"));
    auto* wait = new QLabel(tr("Please wait... loading"), this);
    wait->setObjectName(QStringLiteral("Label3"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(image, 0, Qt::AlignHCenter);
    layout->addWidget(name, 0, Qt::AlignHCenter);
    layout->addWidget(version, 0, Qt::AlignHCenter);
    layout->addWidget(wait, 0, Qt::AlignHCenter);
}

std::unique_ptr<MainWindow> StartAnalyzer(AnalysisStore& store, Dialogs& dialogs, Desktop& desktop,
                                          std::chrono::milliseconds minimum) {
    QElapsedTimer started;
    started.start();
    frmSplash splash;
    splash.show();
    QCoreApplication::processEvents();

    auto window = std::make_unique<MainWindow>(store, dialogs, desktop);
    while (started.elapsed() < minimum.count()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(10);
    }
    splash.close();
    window->show();
    return window;
}

} // namespace qla::ui
