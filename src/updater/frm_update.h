// The updater window: runs the update check once it is shown, reports in its status box, and
// starts the analyzer again from the updater's own folder on every way out (Close, Cancel, an
// error, closing the window), so a check never ends the user's session.
#pragma once

#include "update_fetch.h"
#include "update_info.h"

#include <QString>
#include <QUrl>
#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace qla::updater {

class Browser;
class MessageBoxes;
class ProgramLauncher;

struct UpdaterServices {
    MessageBoxes& Boxes;
    Browser& Web;
    ProgramLauncher& Launcher;
};

struct UpdateSettings {
    Version ThisVersion;
    QUrl UpdateAddress;
    QString ProgramDir;     // folder the analyzer is started from on the way out
    int DeadlineMs = 30000; // for the whole fetch of the update information
};

class frmUpdate : public QWidget {
    Q_OBJECT

  public:
    frmUpdate(const UpdateSettings& settings, const UpdaterServices& services,
              QWidget* parent = nullptr);

    // Shows the window and starts the check.
    void Start();
    // Stops here with the window closed; the analyzer is not started by this.
    void Unload();

    QString AnalyzerPath() const;
    bool IsUnloaded() const { return unloaded_; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void RunUpdateCheck();
    void FetchUpdateInformation(const QUrl& address);
    void OnUpdateInformation(bool ok, const QString& text, const QString& error, bool wrongData);
    void ShowResult(const UpdateInfo& info);
    void WrongData();
    void CannotReach(const QString& reason);
    // Starts the analyzer, saying so when it cannot; the second also unloads.
    void StartAnalyzer();
    void StartAnalyzerAndUnload();

    void SetStatus(const QString& text);
    void AppendStatus(const QString& line);

    void OnChanges();
    void OnDownload();
    void OnCancel();
    void OnClose();
    void OnAbout();

    UpdateSettings settings_;
    UpdaterServices services_;
    UpdateFetch fetch_;
    UpdateInfo info_;
    QString updateText_;
    bool cancelMark_ = false;
    bool unloaded_ = false;

    QLabel* statusCaption_;
    QPlainTextEdit* txtStatus_;
    QPushButton* cmdChanges_;
    QPushButton* cmdDownload_;
    QPushButton* cmdCancel_;
    QPushButton* cmdClose_;
    QPushButton* cmdAbout_;
};

} // namespace qla::updater
