// The statistics database window (frmDatabase): opens or creates an SQLite database file or
// connects to a PostgreSQL database by address, lists its logs, imports logs (chosen in a file
// dialog or dropped on it) on a thread of its own with progress and Cancel, forgets logs, and
// hands the chosen logs or date range to the Analyze and Export pages.
#pragma once

#include "db/database_reading.h"
#include "ui/database_import.h"

#include <QString>
#include <QStringList>
#include <QWidget>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTreeWidget;

namespace qla::ui {

class Dialogs;
class WindowMemory;

class DatabaseWindow final : public QWidget {
    Q_OBJECT

  public:
    DatabaseWindow(Dialogs& dialogs, WindowMemory& memory, QWidget* parent = nullptr);

    // Opens `target` (a file path or a postgresql:// address); `create` makes a missing SQLite
    // file. False after saying why.
    bool OpenDatabase(const QString& target, bool create);
    // The database last opened, as kept; empty when none.
    QString RememberedDatabase() const;
    // The open database as given; empty when none.
    const std::string& Target() const { return target_; }

    // Imports `files` into the open database off the window's thread.
    void ImportFiles(const QStringList& files);
    bool Importing() const { return import_.Running(); }
    void SetLogStarting(DatabaseImport::LogStarting starting) {
        logStarting_ = std::move(starting);
    }
    // Reads the database's logs into the list again.
    void RefreshLogs();

  signals:
    // The logs to show on the Analyze and Export pages.
    void selectionChosen(const qla::db::DatabaseSource& source);
    void importFinished();

  protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void ChooseAndOpen(bool create);
    void ChooseAndImport();
    void ForgetSelectedLogs();
    void ChooseSelection();
    void ShowImportDone(const QStringList& reports, bool cancelled, const QString& error);
    void UpdateEnabled();

    Dialogs& dialogs_;
    WindowMemory& memory_;
    std::string target_;
    DatabaseImport import_;
    DatabaseImport::LogStarting logStarting_;
    int importCount_ = 0;

    QLineEdit* txtDatabase_ = nullptr;
    QPushButton* cmdOpenDatabase_ = nullptr;
    QPushButton* cmdNewDatabase_ = nullptr;
    QPushButton* cmdConnectDatabase_ = nullptr;
    QTreeWidget* lstDatabaseLogs_ = nullptr;
    QPushButton* cmdImportLogs_ = nullptr;
    QPushButton* cmdForgetLogs_ = nullptr;
    QLineEdit* txtSince_ = nullptr;
    QLineEdit* txtUntil_ = nullptr;
    QPushButton* cmdShowSelection_ = nullptr;
    QProgressBar* pgbImport_ = nullptr;
    QPushButton* cmdCancelImport_ = nullptr;
    QLabel* lblDatabaseStatus_ = nullptr;
};

} // namespace qla::ui
