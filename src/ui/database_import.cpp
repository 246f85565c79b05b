// DatabaseImport: one thread per run, its own connection (a Qt SQL connection belongs to the
// thread that opened it), and the outcome handed back to the window's thread.
#include "ui/database_import.h"

#include "db/kept_persons.h"
#include "db/stats_database.h"

#include <QFile>
#include <QMetaObject>

#include <memory>
#include <string>

namespace qla::ui {

namespace {

// Thrown from the progress callback: ImportLog's transaction then rolls the log back.
struct ImportCancelled {};

QString Report(const QString& path, const db::ImportResult& result) {
    using db::ImportOutcome;
    switch (result.Outcome) {
    case ImportOutcome::Added:
        return DatabaseImport::tr("%1: new, %2 lines imported").arg(path).arg(result.LinesAdded);
    case ImportOutcome::Grew:
        return DatabaseImport::tr("%1: grew, %2 lines imported").arg(path).arg(result.LinesAdded);
    case ImportOutcome::Replaced:
        return DatabaseImport::tr("%1: a new log at a known path, %2 lines imported")
            .arg(path)
            .arg(result.LinesAdded);
    case ImportOutcome::Failed:
        return DatabaseImport::tr("%1: not imported: %2")
            .arg(path, QString::fromStdString(result.Error));
    case ImportOutcome::Unchanged:
    case ImportOutcome::Copy:
    case ImportOutcome::Empty:
    case ImportOutcome::Waiting:
        break;
    }
    return DatabaseImport::tr("%1: nothing new imported").arg(path);
}

} // namespace

DatabaseImport::DatabaseImport(QObject* parent) : QObject(parent) {}

DatabaseImport::~DatabaseImport() {
    cancelled_ = true;
    if (worker_.joinable())
        worker_.join();
}

bool DatabaseImport::Start(const std::string& target, const QStringList& files,
                           LogStarting starting) {
    if (running_)
        return false;
    if (worker_.joinable())
        worker_.join();
    running_ = true;
    cancelled_ = false;
    worker_ = std::thread(&DatabaseImport::Work, this, target, files, std::move(starting));
    return true;
}

void DatabaseImport::Work(std::string target, QStringList files, LogStarting starting) {
    QStringList reports;
    QString error;
    bool cancelled = false;
    {
        std::string openError;
        const auto database = db::StatsDatabase::Open(target, db::OpenMode::ReadWrite, openError);
        if (!database)
            error = QString::fromStdString(openError);
        bool wrote = false;
        db::ImportOptions options;
        options.GuessLanguage = true; // each new log in the language its lines are written in
        for (int i = 0; database && i < files.size(); ++i) {
            if (starting)
                starting(i);
            if (cancelled_) {
                cancelled = true;
                break;
            }
            const QString& path = files.at(i);
            const auto progress = [this, i](double share) {
                if (cancelled_)
                    throw ImportCancelled{};
                QMetaObject::invokeMethod(
                    this, [this, i, share] { emit progressed(i, share); }, Qt::QueuedConnection);
            };
            try {
                const db::ImportResult result =
                    db::ImportLog(*database, path.toStdString(),
                                  QFile::encodeName(path).toStdString(), options, progress);
                reports << Report(path, result);
                wrote = wrote || result.Outcome == db::ImportOutcome::Added ||
                        result.Outcome == db::ImportOutcome::Grew ||
                        result.Outcome == db::ImportOutcome::Replaced;
            } catch (const ImportCancelled&) {
                cancelled = true;
                break;
            }
        }
        // Once for all the files, as qla import does.
        std::string keepError;
        if (wrote && !db::KeepPersons(*database, keepError))
            error = QString::fromStdString(keepError);
    } // the connection closes on this thread, where it was opened
    QMetaObject::invokeMethod(
        this,
        [this, reports, cancelled, error] {
            running_ = false;
            emit progressed(static_cast<int>(reports.size()), 0);
            emit finished(reports, cancelled, error);
        },
        Qt::QueuedConnection);
}

} // namespace qla::ui
