// Importing logs into a statistics database on a thread of its own, as `qla import` imports them
// (db::ImportLog), while the window keeps painting and Cancel stays clickable. Cancel rolls back
// the log being imported: the database keeps whole logs only.
#pragma once

#include "db/log_import.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <thread>

namespace qla::ui {

class DatabaseImport final : public QObject {
    Q_OBJECT

  public:
    // Called on the import's thread as each log begins, before a line of it is read (a seam the
    // tests hold the import with).
    using LogStarting = std::function<void(int index)>;

    explicit DatabaseImport(QObject* parent = nullptr);
    ~DatabaseImport() override; // waits for the thread

    // Starts importing `files` into `target` (a path or a postgresql:// address); false when an
    // import still runs.
    bool Start(const std::string& target, const QStringList& files, LogStarting starting = {});
    void Cancel() { cancelled_ = true; }
    bool Running() const { return running_; }

  signals:
    // Files done and the share of the current one, 0 to 1.
    void progressed(int filesDone, double share);
    // Once the thread ended: the lines it reported for each log ("PATH: new, 12 lines") and
    // whether Cancel stopped it; `error` names what failed.
    void finished(const QStringList& reports, bool cancelled, const QString& error);

  private:
    void Work(std::string target, QStringList files, LogStarting starting);

    std::thread worker_;
    std::atomic<bool> cancelled_ = false;
    bool running_ = false;
};

} // namespace qla::ui
