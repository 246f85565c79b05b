// qla_database_window_bench DB [SITE]: opens the statistics database DB in the real window,
// offscreen, shows all its logs and waits until the Analyze page's player table holds their
// players. Prints the logs, the players and the milliseconds from opening to the filled table;
// with SITE (an empty folder) it then exports the statistics site of the selection into it and
// prints the milliseconds of the export and the process's peak memory.
#include "core/store.h"
#include "scripted_window.h"
#include "ui/database_window.h"
#include "ui/main_window.h"
#include "ui/player_table_model.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QTabBar>
#include <QTableView>
#include <QTreeWidget>

#include <cstdio>

#include <sys/resource.h>

namespace {

// Handles events until `done` holds or a minute has passed; whether it holds.
template <class Done> bool WaitFor(Done&& done) {
    QElapsedTimer limit;
    limit.start();
    while (!done() && limit.elapsed() < 60000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return done();
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: qla_database_window_bench DB [SITE]\n");
        return 2;
    }
    const QString site = argc == 3 ? QString::fromLocal8Bit(argv[2]) : QString();
    qla::AnalysisStore store;
    qla::bench::ScriptedDialogs dialogs({}, site);
    qla::bench::NoDesktop desktop;
    qla::ui::MainWindow window(store, dialogs, desktop);
    window.show();
    QCoreApplication::processEvents();
    auto* logs = window.Database().findChild<QTreeWidget*>(QStringLiteral("lstDatabaseLogs"));
    auto* show = window.Database().findChild<QAbstractButton*>(QStringLiteral("cmdShowSelection"));
    auto* table = window.findChild<QTableView*>(QStringLiteral("tblPlayers"));

    QElapsedTimer timer;
    timer.start();
    if (!window.Database().OpenDatabase(QString::fromLocal8Bit(argv[1]), false) ||
        !WaitFor([&] { return logs->topLevelItemCount() > 0 && show->isEnabled(); }))
        return 1;
    const double listed = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    show->click();
    if (!WaitFor([&] { return table->model()->rowCount() > 0; }) || dialogs.failed)
        return 1;
    const double shown = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    // The rating column fills when its fit, on a thread of its own, is done.
    if (!WaitFor([&] {
            return table->model()->index(0, qla::ui::PlayerTableModel::kRating).data().isValid();
        }))
        return 1;
    const double rated = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    std::printf("logs: %d\n", logs->topLevelItemCount());
    std::printf("players: %d\n", table->model()->rowCount());
    std::printf("listed_ms: %.1f\n", listed);
    std::printf("table_ms: %.1f\n", shown);
    std::printf("rated_ms: %.1f\n", rated);
    if (site.isEmpty())
        return 0;
    // The statistics site: the Export page's last tab, its third choice, as HTML.
    window.findChild<QTabBar*>(QStringLiteral("tabExport"))->setCurrentIndex(5);
    window.findChild<QComboBox*>(QStringLiteral("cmbExportType"))->setCurrentIndex(0);
    window.findChild<QAbstractButton*>(QStringLiteral("optOther(2)"))->click();
    timer.restart();
    window.findChild<QAbstractButton*>(QStringLiteral("cmdExport"))->click();
    if (dialogs.failed)
        return 1;
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("site_ms: %.1f\n", static_cast<double>(timer.nsecsElapsed()) / 1e6);
    std::printf("peak_kb: %ld\n", usage.ru_maxrss);
    return 0;
}
