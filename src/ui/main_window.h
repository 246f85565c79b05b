// frmMain, the analyzer's main window: four pages behind the tab strip tabMain, the export page's
// six sub-pages behind tabExport, and the handlers that read the controls, call the core and
// show what it returns.
#pragma once

#include "analysis/analysis.h"
#include "export/export_views.h"
#include "export/text_export.h"

#include <QElapsedTimer>
#include <QString>
#include <QWidget>

#include <array>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QTabBar;

namespace qla::ui {

class Dialogs;
class Desktop;

// The Qt objectName of one member of a control array: "chkStandard(0)".
QString IndexedName(const char* arrayName, int index);

class frmMain final : public QWidget {
    Q_OBJECT

  public:
    frmMain(AnalysisStore& store, Dialogs& dialogs, Desktop& desktop, QWidget* parent = nullptr);

    // The open sequence of Open File, also used for a dropped file.
    void OpenLog(const QString& path);

    // How often the analysis progress repainted the window during the last run.
    int ProgressRepaints() const { return progressRepaints_; }
    bool AnalysisRunning() const { return running_; }

  signals:
    // The updater was started: the program is to end.
    void quitRequested();

  protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* BuildInfoPage();
    QWidget* BuildAnalyzePage();
    QWidget* BuildExportPage();
    QWidget* BuildStandardSubPage();
    QWidget* BuildPlayerSubPage();
    QWidget* BuildWeaponSubPage();
    QWidget* BuildChatSubPage(ExportView view, const char* titleName, const QString& title,
                              const char* arrayName);
    QWidget* BuildOtherSubPage();
    QWidget* BuildAboutPage();
    QLabel* AddLinkLabel(const char* name, const QString& text, const QString& tooltip);

    void tabMain_Click(int tab);
    void tabExport_Click(int tab);
    void ChatTypeCheck(const std::vector<QCheckBox*>& boxes, int index);
    void txtServerName_GotFocus();
    void cmdOpen_Click();
    void cmdStart_Click();
    void AnalyzeLog(LogLanguage language);
    void ShowProgress(const AnalysisProgress& progress);
    void ShowTotals(const AnalysisTotals& totals);
    void ResetAnalysis();
    void FillPlayerList();
    void lstNames_Click();
    void cmdOptions_Click();
    void cmdExport_Click();
    ExportView SelectedExportView() const;
    QString AskExportPath(const ExportFormatInfo& format);
    ExportRequest ExportRequestFromPage(ExportView view, ExportFormat format) const;
    void cmdCheckForUpdate_Click();
    void SetRunning(bool running);
    void ShowWriterError(const std::string& error);

    AnalysisStore& store_;
    Dialogs& dialogs_;
    Desktop& desktop_;

    // Chosen in "Export TXT"; kept from one OK to the next.
    TextExportOptions textOptions_;
    QString lastExportPath_;

    bool running_ = false;
    int progressRepaints_ = 0;
    QElapsedTimer sinceRepaint_;

    QTabBar* tabMain_ = nullptr;
    QStackedWidget* pages_ = nullptr;
    std::array<QWidget*, 4> fraPage_{};

    // Logfile Information
    QPushButton* cmdOpen_ = nullptr;
    QLineEdit* txtServerName_ = nullptr;
    QLineEdit* txtFilename_ = nullptr;
    QLineEdit* txtDateTime_ = nullptr;
    QLineEdit* txtLines_ = nullptr;
    QComboBox* cmbLanguage_ = nullptr;

    // Analyze Logfile: whole-log column, selected-player column, in the order of the rows.
    QPushButton* cmdStart_ = nullptr;
    std::array<QLineEdit*, 7> totals_{};
    std::array<QLineEdit*, 7> playerTotals_{};
    QLabel* lblPlayername_ = nullptr;
    QLabel* lblPlayers_ = nullptr;
    QListWidget* lstNames_ = nullptr;
    QProgressBar* pgbAnalyze_ = nullptr;

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

    // About
    QLabel* lblVersion_ = nullptr;
    QPushButton* cmdCheckForUpdate_ = nullptr;
    QLabel* lblEmail_ = nullptr;
    QLabel* lblHomepage_ = nullptr;
    QLabel* label28_ = nullptr;
    std::array<QLabel*, 2> label27_{};
};

} // namespace qla::ui
