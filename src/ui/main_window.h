// MainWindow, the analyzer's main window: places its four pages behind the tab strip tabMain,
// keeps every page's controls still while an analysis or export runs, and opens dropped files.
// The export page (six sub-pages behind tabExport and the export itself) is still built here.
#pragma once

#include "analysis/analysis.h"
#include "export/export_views.h"
#include "export/text_export.h"
#include "ui/control_names.h"

#include <QString>
#include <QWidget>

#include <array>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QTabBar;

namespace qla::ui {

class AboutPage;
class AnalyzePage;
class Dialogs;
class Desktop;
class LogInfoPage;

class MainWindow final : public QWidget {
    Q_OBJECT

  public:
    MainWindow(AnalysisStore& store, Dialogs& dialogs, Desktop& desktop, QWidget* parent = nullptr);

    // Opens a log as Open File does; ignored while an analysis or export runs.
    void OpenLog(const QString& path);

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
    void ShowPlayerChoices(const QStringList& names);
    // Disables what could start another run or change the store while one runs.
    void SetRunning(bool running);

    QWidget* BuildExportPage();
    QWidget* BuildStandardSubPage();
    QWidget* BuildPlayerSubPage();
    QWidget* BuildWeaponSubPage();
    QWidget* BuildChatSubPage(ExportView view, const char* titleName, const QString& title,
                              const char* arrayName);
    QWidget* BuildOtherSubPage();
    void tabExport_Click(int tab);
    void ChatTypeCheck(const std::vector<QCheckBox*>& boxes, int index);
    void cmdOptions_Click();
    void cmdExport_Click();
    ExportView SelectedExportView() const;
    QString AskExportPath(const ExportFormatInfo& format);
    ExportRequest ExportRequestFromPage(ExportView view, ExportFormat format) const;
    void ShowWriterError(const std::string& error);

    AnalysisStore& store_;
    Dialogs& dialogs_;
    Desktop& desktop_;

    // Chosen in "Export TXT"; kept from one OK to the next.
    TextExportOptions textOptions_;
    QString lastExportPath_;

    bool running_ = false;

    QTabBar* tabMain_ = nullptr;
    QStackedWidget* pages_ = nullptr;
    std::array<QWidget*, 4> fraPage_{};
    LogInfoPage* infoPage_ = nullptr;
    AnalyzePage* analyzePage_ = nullptr;
    AboutPage* aboutPage_ = nullptr;

    // The game title and the log date on the information page, read by the export.
    QLineEdit* txtServerName_ = nullptr;
    QLineEdit* txtDateTime_ = nullptr;

    // Export Logfile
    QTabBar* tabExport_ = nullptr;
    QStackedWidget* subPages_ = nullptr;
    std::array<QWidget*, 6> fraExport_{};
    // Per ExportView: its check boxes and "Order by" options by index, and its direction box.
    struct ExportViewControls {
        std::vector<QCheckBox*> Checks;
        std::vector<QRadioButton*> Orders;
        QComboBox* SortHow = nullptr;
    };
    std::vector<ExportViewControls> exportViews_;
    std::array<QComboBox*, 3> cmbSortHow_{};
    QComboBox* cmbPlayer_ = nullptr;
    // The views of the "Other" tab: Logfile Junk, All data.
    std::array<QRadioButton*, 2> optOther_{};
    QPushButton* cmdOptions_ = nullptr;
    QCheckBox* chkOpenSavedFile_ = nullptr;
    QComboBox* cmbExportType_ = nullptr;
    QPushButton* cmdExport_ = nullptr;
};

// The export page's files still define their members through this name.
using frmMain = MainWindow;

} // namespace qla::ui
