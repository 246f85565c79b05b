// qla_window_bench LOG: Open File and Analyze of LOG through the real main window, offscreen.
// Prints the wall time of both (the table shown), the time until its rating column was filled,
// and how often per second of analysis the progress repainted the window.
#include "core/store.h"
#include "scripted_window.h"
#include "ui/main_window.h"
#include "ui/player_table_model.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTableView>

#include <cstdio>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: qla_window_bench LOG\n");
        return 2;
    }
    qla::AnalysisStore store;
    qla::bench::ScriptedDialogs dialogs(QString::fromLocal8Bit(argv[1]));
    qla::bench::NoDesktop desktop;
    qla::ui::MainWindow window(store, dialogs, desktop);
    window.show();
    QCoreApplication::processEvents();

    QElapsedTimer timer;
    timer.start();
    window.findChild<QAbstractButton*>(QStringLiteral("cmdOpen"))->click();
    if (!store.LogFileLoaded) {
        std::fprintf(stderr, "cannot open %s\n", argv[1]);
        return 1;
    }
    const qint64 opened = timer.nsecsElapsed();
    window.findChild<QAbstractButton*>(QStringLiteral("cmdStart"))->click();
    const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    // Repaints happen only during the analysis, so their rate is taken over it alone.
    const double analyzing = seconds - static_cast<double>(opened) / 1e9;
    if (dialogs.failed)
        return 1;

    // The rating column fills when its fit, on a thread of its own, is done.
    auto* table = window.findChild<QTableView*>(QStringLiteral("tblPlayers"));
    while (table->model()->rowCount() > 0 &&
           !table->model()->index(0, qla::ui::PlayerTableModel::kRating).data().isValid())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    const double rated = static_cast<double>(timer.nsecsElapsed()) / 1e9;

    std::printf("lines: %s\n", qPrintable(window.findChild<QLineEdit*>("txtTotal")->text()));
    std::printf("seconds: %.3f\n", seconds);
    std::printf("rated_seconds: %.3f\n", rated);
    std::printf("repaints_per_second: %.1f\n",
                analyzing > 0 ? window.ProgressRepaints() / analyzing : 0.0);
    return 0;
}
