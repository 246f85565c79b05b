// frmExportAllStatus, "Export All Data": asks for the output folder and what to do with existing
// pages, confirms the number of files, runs the whole-site export with progress, and can open
// the start page afterwards.
#pragma once

#include "core/store.h"
#include "export/export_all.h"

#include <QDialog>
#include <QElapsedTimer>

#include <array>
#include <string>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace qla::ui {

class Desktop;
class Dialogs;
class WindowMemory;

// What the main window hands over when it opens the dialog.
struct ExportAllContext {
    const AnalysisStore* Store = nullptr;
    QString GameTitle;
    QString DecimalSeparator;
    bool OpenAfterSave = false;     // "Open file after save" on the main window
    WindowMemory* Memory = nullptr; // the folder last written to, offered first
};

class frmExportAllStatus final : public QDialog {
    Q_OBJECT

  public:
    frmExportAllStatus(ExportAllContext context, Dialogs& dialogs, Desktop& desktop,
                       QWidget* parent = nullptr);

    // What the last run wrote where, in one line for the window's status line; empty when the
    // dialog closed without writing.
    const QString& Outcome() const { return outcome_; }

  protected:
    void reject() override;

  private:
    void cmdBrowse_Click();
    void cmdOK_Click();
    // False when the folder was refused and nothing was written.
    bool WriteSite(const QString& folder);
    // Tells why the folder cannot be used and leaves the dialog open at the folder box.
    void ShowRefusal(const QString& folder, const std::string& refusal);
    void ExportAllProgress(const std::string& fileName, std::int64_t number, std::int64_t count);
    // "N files written to FOLDER", with a button that opens the folder.
    void ShowSummary(const QString& folder, const ExportAllResult& result);

    ExportAllContext context_;
    Dialogs& dialogs_;
    Desktop& desktop_;
    bool running_ = false;
    bool cancelRequested_ = false; // Cancel during a run: stop before the next file
    QElapsedTimer sinceRepaint_;
    QString outcome_;

    QLineEdit* txtOutput_ = nullptr;
    std::array<QRadioButton*, 3> optFileExists_{};
    QLabel* lblCurrentFile_ = nullptr;
    QLabel* lblNumFiles_ = nullptr;
    QProgressBar* pgbAllData_ = nullptr;
    QPushButton* cmdOK_ = nullptr;
    QPushButton* cmdCancel_ = nullptr;
};

} // namespace qla::ui
