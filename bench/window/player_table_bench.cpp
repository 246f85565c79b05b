// qla_player_table_bench LOG: analyses LOG through the real main window, offscreen, then
// sorts its player table by every column in both orders and searches it. Prints the number of
// players, the time to build the table's rows and the slowest sort and search in milliseconds (a
// log of 20,000 players is what the table is built for: qla-loggen --players 20000).
#include "core/store.h"
#include "scripted_window.h"
#include "ui/main_window.h"
#include "ui/player_rows.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTableView>

#include <algorithm>
#include <cstdio>

namespace {

// Milliseconds `work` takes, with the repaint it causes.
template <class Work> double Milliseconds(Work&& work) {
    QElapsedTimer timer;
    timer.start();
    work();
    QCoreApplication::processEvents();
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: qla_player_table_bench LOG\n");
        return 2;
    }
    qla::AnalysisStore store;
    qla::bench::ScriptedDialogs dialogs(QString::fromLocal8Bit(argv[1]));
    qla::bench::NoDesktop desktop;
    qla::ui::MainWindow window(store, dialogs, desktop);
    window.show();
    QCoreApplication::processEvents();
    window.findChild<QAbstractButton*>(QStringLiteral("cmdOpen"))->click();
    window.findChild<QAbstractButton*>(QStringLiteral("cmdStart"))->click();
    if (dialogs.failed || !store.LogFileLoaded)
        return 1;

    auto* table = window.findChild<QTableView*>(QStringLiteral("tblPlayers"));
    auto* search = window.findChild<QLineEdit*>(QStringLiteral("txtPlayerSearch"));
    double slowestSort = 0;
    for (int column = table->model()->columnCount() - 1; column >= 0; --column)
        for (const Qt::SortOrder order : {Qt::DescendingOrder, Qt::AscendingOrder})
            slowestSort =
                std::max(slowestSort, Milliseconds([&] { table->sortByColumn(column, order); }));
    double slowestSearch = 0;
    // Typing a name letter by letter, then clearing the box: every step filters all players.
    for (const char* typed : {"m", "mu", "mul", "mull", "mulle", "muller", ""})
        slowestSearch = std::max(
            slowestSearch, Milliseconds([&] { search->setText(QString::fromLatin1(typed)); }));

    // Filling the table after a run: the rows with their search keys and name places.
    const double fill = Milliseconds([&] { (void)qla::ui::BuildPlayerRows(store); });

    std::printf("players: %d\n", store.PlayerCount());
    std::printf("fill_rows_ms: %.1f\n", fill);
    std::printf("slowest_sort_ms: %.1f\n", slowestSort);
    std::printf("slowest_search_step_ms: %.1f\n", slowestSearch);
    return 0;
}
