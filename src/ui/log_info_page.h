// The "Logfile Information" page: Open File, the game title, the opened file's name, date and
// line count, and the language the log is analysed in.
#pragma once

#include "analysis/analysis.h"

#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <string>

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace qla::ui {

class Dialogs;
class RecognitionHintBar;
class WindowMemory;

// How the page reads a log into the store: the core's OpenLogFile. It runs on another thread
// while the window shows that it is busy.
using LogOpenRun = std::function<OpenLogResult(AnalysisStore&, const std::string& path)>;

class LogInfoPage final : public QWidget {
    Q_OBJECT

  public:
    LogInfoPage(AnalysisStore& store, Dialogs& dialogs, WindowMemory& memory,
                LogOpenRun open = OpenLogFile, QWidget* parent = nullptr);

    // The game title, language and recognition kept from an earlier run.
    void ShowRemembered();

    // Reads the file into the store and shows its facts; a file that cannot be read is reported
    // (unless `path` is empty: the open dialog was cancelled) and changes nothing on the page.
    void OpenLog(const QString& path);

    // Asks for a log and opens it: Open File and Ctrl+O.
    void ChooseAndOpenLog();

    // Open File and the language stay disabled while an analysis or export runs.
    void SetControlsEnabled(bool enabled);

    QString GameTitle() const;
    QString LogDateText() const;
    // The opened log's file name without its folder; empty before a log is open.
    QString LogFileName() const;
    // The opened log's path as it was opened; empty before a log is open.
    QString LogFilePath() const;
    LogLanguage Language() const;
    // Classic unless "Full" is chosen.
    Recognition LineRecognition() const;

  signals:
    // A file was read into the store; results shown from an earlier file no longer apply.
    void logOpened();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void SelectGameTitle();
    // After Open: when the log's kill and death lines are far better read in the other
    // language, asks whether to switch to it; once for each language, and never again in a later
    // run once the window remembers choices.
    void ProposeOtherLanguage();

    AnalysisStore& store_;
    Dialogs& dialogs_;
    WindowMemory& memory_;
    LogOpenRun open_;

    QPushButton* cmdOpen_ = nullptr;
    QLineEdit* txtServerName_ = nullptr;
    QLineEdit* txtFilename_ = nullptr;
    QLineEdit* txtDateTime_ = nullptr;
    QLineEdit* txtLines_ = nullptr;
    QComboBox* cmbLanguage_ = nullptr;
    QComboBox* cmbRecognition_ = nullptr;
    QLabel* lblReading_ = nullptr;
    QProgressBar* pgbOpen_ = nullptr;
    RecognitionHintBar* hintBar_ = nullptr;
    // The languages asked about in this run (and kept in memory_ when it is in use).
    QStringList languagesAsked_;
};

} // namespace qla::ui
