// qla_database_window_bench DB: opens the statistics database DB in the real window, offscreen,
// shows all its logs and waits until the Analyze page's player table holds their players.
// Prints the logs, the players and the milliseconds from opening to the filled table.
#include "core/store.h"
#include "ui/database_window.h"
#include "ui/desktop.h"
#include "ui/dialogs.h"
#include "ui/main_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QTableView>
#include <QTreeWidget>

#include <cstdio>

namespace {

class NoDialogs final : public qla::ui::Dialogs {
  public:
    QMessageBox::StandardButton message(QWidget*, QMessageBox::Icon, const QString& title,
                                        const QString& text,
                                        QMessageBox::StandardButtons) override {
        std::fprintf(stderr, "unexpected message: %s: %s\n", qPrintable(title), qPrintable(text));
        failed = true;
        return QMessageBox::Ok;
    }
    QString openFile(QWidget*, const QString&, const QStringList&, const QString&) override {
        return {};
    }
    QString saveFile(QWidget*, const QString&, const QStringList&, const QString&) override {
        return {};
    }
    QString folder(QWidget*, const QString&, const QString&) override { return {}; }
    bool failed = false;
};

class NoDesktop final : public qla::ui::Desktop {
  public:
    bool openAddress(const QUrl&) override { return false; }
    bool startProgram(const QString&, const QStringList&) override { return false; }
};

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
    if (argc != 2) {
        std::fprintf(stderr, "usage: qla_database_window_bench DB\n");
        return 2;
    }
    qla::AnalysisStore store;
    NoDialogs dialogs;
    NoDesktop desktop;
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
    std::printf("logs: %d\n", logs->topLevelItemCount());
    std::printf("players: %d\n", table->model()->rowCount());
    std::printf("listed_ms: %.1f\n", listed);
    std::printf("table_ms: %.1f\n", shown);
    return 0;
}
