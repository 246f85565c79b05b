// MainWindow, the analyzer's main window: places its four pages behind the tab strip tabMain,
// keeps every page's controls still while an analysis or export runs, and opens dropped files.
#pragma once

#include "analysis/analysis.h"
#include "db/database_reading.h"
#include "ui/awards_panel.h"
#include "ui/control_names.h"
#include "ui/window_memory.h"

#include <QString>
#include <QWidget>

#include <array>

class QSettings;
class QStackedWidget;
class QPushButton;
class QTabBar;

namespace qla::ui {

class AboutPage;
class AnalyzePage;
class DatabaseWindow;
class Desktop;
class Dialogs;
class ExportPage;
class LogInfoPage;

class MainWindow final : public QWidget {
    Q_OBJECT

  public:
    MainWindow(AnalysisStore& store, Dialogs& dialogs, Desktop& desktop, QWidget* parent = nullptr);

    // Opens a log as Open File does; ignored while an analysis or export runs. A statistics
    // database file (told by its content) opens in the database window instead.
    void OpenLog(const QString& path);

    // The statistics database window (frmDatabase), shown by cmdDatabase.
    DatabaseWindow& Database() { return *databaseWindow_; }
    // Analyses the database's logs `source` chooses; the Analyze and Export pages then show them
    // until a log is opened.
    void ShowDatabaseSelection(const db::DatabaseSource& source);

    // From now on the game title, the log language and recognition, the merge choice and the
    // folders last used are kept in `settings`; what was kept before is shown now.
    void RememberIn(QSettings& settings);

    // How often the analysis progress repainted the window during the last run.
    int ProgressRepaints() const;

  signals:
    // The updater was started: the program is to end.
    void quitRequested();

  protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void ShowPage(int tab);
    // The Awards tab's source for a log read alone: its name and date, as its site has them.
    AwardsSource LogAwardsSource();
    // Disables what could start another run or change the store while one runs.
    void SetRunning(bool running);

    AnalysisStore& store_;
    WindowMemory memory_;
    bool running_ = false;

    QTabBar* tabMain_ = nullptr;
    QStackedWidget* pages_ = nullptr;
    std::array<QWidget*, 4> fraPage_{};
    LogInfoPage* infoPage_ = nullptr;
    AnalyzePage* analyzePage_ = nullptr;
    ExportPage* exportPage_ = nullptr;
    AboutPage* aboutPage_ = nullptr;
    QPushButton* cmdDatabase_ = nullptr;
    DatabaseWindow* databaseWindow_ = nullptr;
};

} // namespace qla::ui
