// qla_screenshots LOG FOLDER [--german]: opens and analyses LOG in the real main window and saves
// a PNG of every page, the Analyze page's Awards tab, every export sub-page, the dialogs and the
// splash into FOLDER, for the user guide. With --german the window speaks German, LOG is read as a
// German log, and only the Analyze page is saved, as de-page-2-analyze.png. Both save the
// statistics database window with LOG imported into a database in a temporary folder (database.png,
// de-database.png).
#include "core/store.h"
#include "ui/database_window.h"
#include "ui/desktop.h"
#include "ui/dialogs.h"
#include "ui/export_all_dialog.h"
#include "ui/main_window.h"
#include "ui/options_dialog.h"
#include "ui/splash.h"
#include "ui/text_export_dialog.h"
#include "window_language.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>

namespace {

class ScriptedDialogs final : public qla::ui::Dialogs {
  public:
    explicit ScriptedDialogs(QString log) : log_(std::move(log)) {}
    QMessageBox::StandardButton message(QWidget*, QMessageBox::Icon, const QString&, const QString&,
                                        QMessageBox::StandardButtons) override {
        return QMessageBox::Ok;
    }
    QString openFile(QWidget*, const QString&, const QStringList&, const QString&) override {
        return log_;
    }
    QString saveFile(QWidget*, const QString&, const QStringList&, const QString&) override {
        return {};
    }
    QString folder(QWidget*, const QString&, const QString&) override { return {}; }

  private:
    QString log_;
};

class NoDesktop final : public qla::ui::Desktop {
  public:
    bool openAddress(const QUrl&) override { return false; }
    bool startProgram(const QString&, const QStringList&) override { return false; }
};

bool Save(QWidget* widget, const QDir& folder, const QString& name) {
    widget->show();
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::processEvents();
        QThread::msleep(20);
    }
    const QString path = folder.filePath(name + QStringLiteral(".png"));
    if (!widget->grab().save(path)) {
        std::fprintf(stderr, "cannot save %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

// The database window with `log` imported into a fresh database, the log selected.
bool SaveDatabaseWindow(qla::ui::MainWindow& window, const QString& log, const QDir& folder,
                        const QString& name) {
    QTemporaryDir scratch;
    qla::ui::DatabaseWindow& database = window.Database();
    if (!database.OpenDatabase(scratch.filePath(QStringLiteral("statistics.sqlite")), true))
        return false;
    database.ImportFiles({log});
    while (database.Importing())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    database.resize(760, 300);
    return Save(&database, folder, name);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const bool german = argc == 4 && QByteArray(argv[3]) == "--german";
    if (argc != 3 && !german) {
        std::fprintf(stderr, "usage: qla_screenshots LOG FOLDER [--german]\n");
        return 2;
    }
    if (german && !qla::InstallWindowLanguage(app, QLocale(QLocale::German, QLocale::Germany))) {
        std::fprintf(stderr, "qla_screenshots: the German translation is missing\n");
        return 1;
    }
    const QDir folder(QString::fromLocal8Bit(argv[2]));
    QDir().mkpath(folder.path());
    qla::AnalysisStore store;
    ScriptedDialogs dialogs(QString::fromLocal8Bit(argv[1]));
    NoDesktop desktop;
    bool ok = true;

    if (!german) {
        qla::ui::frmSplash splash;
        ok &= Save(&splash, folder, QStringLiteral("splash"));
        splash.close();
    }

    qla::ui::MainWindow window(store, dialogs, desktop);
    window.show();
    window.findChild<QLineEdit*>(QStringLiteral("txtServerName"))
        ->setText(german ? QStringLiteral("Freitagsturnier") : QStringLiteral("Friday Cup"));
    if (german)
        window.findChild<QComboBox*>(QStringLiteral("cmbLanguage"))->setCurrentIndex(1);
    window.findChild<QAbstractButton*>(QStringLiteral("cmdOpen"))->click();
    window.findChild<QAbstractButton*>(QStringLiteral("cmdStart"))->click();
    auto* list = window.findChild<QListWidget*>(QStringLiteral("lstNames"));
    if (list->count() > 0)
        list->setCurrentRow(list->count() / 2);
    auto* players = window.findChild<QComboBox*>(QStringLiteral("cmbPlayer"));
    if (players->count() > 0)
        players->setCurrentIndex(players->count() / 2);

    auto* tabs = window.findChild<QTabBar*>(QStringLiteral("tabMain"));
    const char* pages[] = {"page-1-logfile-information", "page-2-analyze", "page-3-export",
                           "page-4-about"};
    if (german) {
        tabs->setCurrentIndex(1);
        ok &= Save(&window, folder, QStringLiteral("de-page-2-analyze"));
        ok &= SaveDatabaseWindow(window, QString::fromLocal8Bit(argv[1]), folder,
                                 QStringLiteral("de-database"));
        return ok ? 0 : 1;
    }
    for (int i = 0; i < 4; ++i) {
        tabs->setCurrentIndex(i);
        ok &= Save(&window, folder, QString::fromLatin1(pages[i]));
    }
    // The Awards tab beside the player table: worked out as it is shown.
    tabs->setCurrentIndex(1);
    auto* results = window.findChild<QTabWidget*>(QStringLiteral("tabResults"));
    results->setCurrentIndex(1);
    ok &= Save(&window, folder, QStringLiteral("page-2-awards"));
    results->setCurrentIndex(0);
    tabs->setCurrentIndex(2);
    auto* exportTabs = window.findChild<QTabBar*>(QStringLiteral("tabExport"));
    for (int i = 0; i < 6; ++i) {
        exportTabs->setCurrentIndex(i);
        ok &= Save(&window, folder, QStringLiteral("export-%1").arg(i + 1));
    }

    qla::ui::frmTextExport text(&window);
    ok &= Save(&text, folder, QStringLiteral("dialog-export-txt"));
    text.close();
    qla::ui::frmOptions options(&window);
    ok &= Save(&options, folder, QStringLiteral("dialog-export-options"));
    options.close();
    qla::ui::frmExportAllStatus all({&store, QString(), QStringLiteral("."), false}, dialogs,
                                    desktop, &window);
    ok &= Save(&all, folder, QStringLiteral("dialog-export-all"));
    all.close();
    ok &= SaveDatabaseWindow(window, QString::fromLocal8Bit(argv[1]), folder,
                             QStringLiteral("database"));
    return ok ? 0 : 1;
}
