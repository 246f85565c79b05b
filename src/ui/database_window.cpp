// DatabaseWindow: the controls, the log list read from the open database, and the selection.
#include "ui/database_window.h"

#include "analysis/recognition.h"
#include "db/dashboard_history.h"
#include "db/database_target.h"
#include "db/log_catalog.h"
#include "db/log_date.h"
#include "db/stats_database.h"
#include "ui/control_names.h"
#include "ui/dialogs.h"
#include "ui/window_memory.h"
#include "ui/work_beside_window.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

#include <map>

namespace qla::ui {

namespace {

constexpr int kShareSteps = 1000; // the progress bar's steps per log

QPushButton* NamedButton(const char* name, const QString& text, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

QLineEdit* NamedLine(const char* name, const QString& placeholder, QWidget* parent) {
    auto* line = new QLineEdit(parent);
    line->setObjectName(QString::fromLatin1(name));
    line->setPlaceholderText(placeholder);
    return line;
}

// The players of each log (by its place in import order), counted from the site's history.
std::map<std::size_t, int> PlayersPerLog(db::StatsDatabase& database) {
    std::map<std::size_t, int> players;
    std::string error;
    if (const auto history = db::ReadDashboardHistory(database, db::LogSelection{}, error))
        for (const PlayerHistory& player : history->Players)
            for (const PlayerLogFigures& log : player.Logs)
                ++players[log.Log];
    return players;
}

} // namespace

DatabaseWindow::DatabaseWindow(Dialogs& dialogs, WindowMemory& memory, QWidget* parent)
    : QWidget(parent, Qt::Window), dialogs_(dialogs), memory_(memory) {
    setObjectName(QStringLiteral("frmDatabase"));
    setWindowTitle(tr("Statistics Database"));
    setAcceptDrops(true);

    auto* outer = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    txtDatabase_ = NamedLine("txtDatabase", tr("Database file or postgresql:// address"), this);
    cmdOpenDatabase_ = NamedButton("cmdOpenDatabase", tr("Open..."), this);
    cmdNewDatabase_ = NamedButton("cmdNewDatabase", tr("New..."), this);
    cmdConnectDatabase_ = NamedButton("cmdConnectDatabase", tr("Connect"), this);
    cmdConnectDatabase_->setToolTip(
        tr("Opens the file or PostgreSQL address typed here; the password is read from the "
           "password file or the environment and is never kept"));
    top->addWidget(NamedLabel("lblDatabase", tr("Database:"), this));
    top->addWidget(txtDatabase_, 1);
    top->addWidget(cmdConnectDatabase_);
    top->addWidget(cmdOpenDatabase_);
    top->addWidget(cmdNewDatabase_);
    outer->addLayout(top);

    lstDatabaseLogs_ = new QTreeWidget(this);
    lstDatabaseLogs_->setObjectName(QStringLiteral("lstDatabaseLogs"));
    lstDatabaseLogs_->setRootIsDecorated(false);
    lstDatabaseLogs_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lstDatabaseLogs_->setHeaderLabels({tr("Id"), tr("Date"), tr("Lines"), tr("Players"),
                                       tr("Language"), tr("Recognition"), tr("Held back"),
                                       tr("Server")});
    outer->addWidget(lstDatabaseLogs_, 1);

    auto* actions = new QHBoxLayout;
    cmdImportLogs_ = NamedButton("cmdImportLogs", tr("Import logs..."), this);
    cmdForgetLogs_ = NamedButton("cmdForgetLogs", tr("Forget logs"), this);
    actions->addWidget(cmdImportLogs_);
    actions->addWidget(cmdForgetLogs_);
    actions->addStretch(1);
    actions->addWidget(NamedLabel("lblSince", tr("Since:"), this));
    txtSince_ = NamedLine("txtSince", tr("YYYY-MM-DD"), this);
    actions->addWidget(txtSince_);
    actions->addWidget(NamedLabel("lblUntil", tr("Until:"), this));
    txtUntil_ = NamedLine("txtUntil", tr("YYYY-MM-DD"), this);
    actions->addWidget(txtUntil_);
    cmdShowSelection_ = NamedButton("cmdShowSelection", tr("Analyze selection"), this);
    cmdShowSelection_->setToolTip(tr("The selected logs (all when none is selected), within the "
                                     "dates given, on the Analyze and Export pages"));
    actions->addWidget(cmdShowSelection_);
    outer->addLayout(actions);

    auto* progress = new QHBoxLayout;
    pgbImport_ = new QProgressBar(this);
    pgbImport_->setObjectName(QStringLiteral("pgbImport"));
    pgbImport_->setValue(0);
    cmdCancelImport_ = NamedButton("cmdCancelImport", tr("Cancel"), this);
    progress->addWidget(pgbImport_, 1);
    progress->addWidget(cmdCancelImport_);
    outer->addLayout(progress);
    lblDatabaseStatus_ = new QLabel(this);
    lblDatabaseStatus_->setObjectName(QStringLiteral("lblDatabaseStatus"));
    lblDatabaseStatus_->setWordWrap(true);
    lblDatabaseStatus_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    outer->addWidget(lblDatabaseStatus_);

    connect(cmdOpenDatabase_, &QPushButton::clicked, this, [this] { ChooseAndOpen(false); });
    connect(cmdNewDatabase_, &QPushButton::clicked, this, [this] { ChooseAndOpen(true); });
    connect(cmdConnectDatabase_, &QPushButton::clicked, this, [this] {
        // An empty PostgreSQL database gets its tables; a file must exist (New... makes one).
        const QString typed = txtDatabase_->text().trimmed();
        OpenDatabase(typed, db::LooksLikeConnection(typed.toStdString()));
    });
    connect(cmdImportLogs_, &QPushButton::clicked, this, &DatabaseWindow::ChooseAndImport);
    connect(cmdForgetLogs_, &QPushButton::clicked, this, &DatabaseWindow::ForgetSelectedLogs);
    connect(cmdShowSelection_, &QPushButton::clicked, this, &DatabaseWindow::ChooseSelection);
    connect(cmdCancelImport_, &QPushButton::clicked, this, [this] { import_.Cancel(); });
    connect(&import_, &DatabaseImport::progressed, this, [this](int done, double share) {
        pgbImport_->setValue(done * kShareSteps + static_cast<int>(share * kShareSteps));
    });
    connect(&import_, &DatabaseImport::finished, this, &DatabaseWindow::ShowImportDone);
    UpdateEnabled();
}

QString DatabaseWindow::RememberedDatabase() const {
    return memory_.Value(memory_keys::kDatabase).toString();
}

bool DatabaseWindow::OpenDatabase(const QString& target, bool create) {
    if (target.isEmpty() || import_.Running())
        return false;
    // A connection text that carries a password is refused (as qla refuses it), so what is
    // kept below never holds one: libpq reads it from PGPASSWORD or the password file.
    const std::string given = db::LooksLikeConnection(target.toStdString())
                                  ? target.toStdString()
                                  : QFile::encodeName(target).toStdString();
    // A server may take its time to answer: the window paints meanwhile.
    std::string error;
    const bool opened = RunBesideWindow([&] {
        return db::StatsDatabase::Open(given,
                                       create ? db::OpenMode::ReadWrite : db::OpenMode::ReadOnly,
                                       error) != nullptr;
    });
    if (!opened) {
        dialogs_.message(this, QMessageBox::Warning, tr("Statistics Database"),
                         QString::fromStdString(error));
        return false;
    }
    target_ = given;
    txtDatabase_->setText(target);
    memory_.Keep(memory_keys::kDatabase, target);
    RefreshLogs();
    return true;
}

void DatabaseWindow::RefreshLogs() {
    lstDatabaseLogs_->clear();
    // Counting the players reads every log's statistics: on a thread of its own, with a
    // connection of its own, while the window paints.
    struct Listing {
        std::optional<std::vector<db::LogEntry>> Logs;
        std::map<std::size_t, int> Players;
        std::string Error;
    };
    const Listing listing = RunBesideWindow([target = target_] {
        Listing read;
        const auto database = db::StatsDatabase::Open(target, db::OpenMode::ReadOnly, read.Error);
        read.Logs = database ? db::ListLogs(*database, read.Error) : std::nullopt;
        if (read.Logs)
            read.Players = PlayersPerLog(*database);
        return read;
    });
    const auto& logs = listing.Logs;
    const auto& players = listing.Players;
    if (!logs) {
        lblDatabaseStatus_->setText(QString::fromStdString(listing.Error));
        UpdateEnabled();
        return;
    }
    for (std::size_t i = 0; i < logs->size(); ++i) {
        const db::LogEntry& log = (*logs)[i];
        const auto count = players.find(i);
        auto* row = new QTreeWidgetItem(
            lstDatabaseLogs_,
            {QString::number(log.Id), QString::fromStdString(log.DateHeader.value_or("")),
             QString::number(log.Lines),
             QString::number(count == players.end() ? 0 : count->second),
             QString::fromStdString(db::LanguageName(log.Language)),
             QString::fromUtf8(RecognitionText(log.LineRecognition)),
             QString::number(log.HeldBackBytes()),
             QString::fromStdString(log.Server.value_or(""))});
        row->setData(0, Qt::UserRole, QVariant::fromValue<qlonglong>(log.Id));
        row->setToolTip(1, QString::fromStdString(log.Path));
    }
    for (int column = 0; column < lstDatabaseLogs_->columnCount(); ++column)
        lstDatabaseLogs_->resizeColumnToContents(column);
    lblDatabaseStatus_->setText(
        tr("Logs in %1: %2").arg(QString::fromStdString(target_)).arg(logs->size()));
    UpdateEnabled();
}

void DatabaseWindow::ChooseAndOpen(bool create) {
    const QStringList filters{tr("Statistics databases (*.sqlite *.db)"), tr("All files (*)")};
    const QString path =
        create ? dialogs_.saveFile(this, tr("New statistics database"), filters,
                                   QStringLiteral("statistics.sqlite"))
               : dialogs_.openFile(this, tr("Open statistics database"), filters, QString());
    if (!path.isEmpty())
        OpenDatabase(path, create);
}

void DatabaseWindow::ChooseAndImport() {
    const QStringList files = dialogs_.openFiles(
        this, tr("Import logs"), {tr("Log files (*.log *.txt)"), tr("All files (*)")},
        memory_.Value(memory_keys::kOpenFolder).toString());
    if (!files.isEmpty())
        ImportFiles(files);
}

void DatabaseWindow::ImportFiles(const QStringList& files) {
    if (target_.empty() || files.isEmpty())
        return;
    importCount_ = static_cast<int>(files.size());
    pgbImport_->setRange(0, importCount_ * kShareSteps);
    pgbImport_->setValue(0);
    if (!import_.Start(target_, files, logStarting_))
        return;
    lblDatabaseStatus_->setText(tr("Importing logs: %1...").arg(importCount_));
    UpdateEnabled();
}

void DatabaseWindow::ShowImportDone(const QStringList& reports, bool cancelled,
                                    const QString& error) {
    QStringList lines = reports;
    if (cancelled)
        lines << tr("Import cancelled: the log being imported was left out.");
    if (!error.isEmpty())
        lines << error;
    RefreshLogs();
    lblDatabaseStatus_->setText(lines.join(QLatin1Char('\n')));
    pgbImport_->setValue(0);
    emit importFinished();
}

void DatabaseWindow::ForgetSelectedLogs() {
    std::vector<db::LogId> ids;
    for (const QTreeWidgetItem* row : lstDatabaseLogs_->selectedItems())
        ids.push_back(row->data(0, Qt::UserRole).toLongLong());
    if (ids.empty())
        return;
    const auto answer = dialogs_.message(
        this, QMessageBox::Question, tr("Forget logs"),
        tr("Remove the selected logs (%1) and their statistics from the database?").arg(ids.size()),
        QMessageBox::Yes | QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return;
    std::string error;
    const auto database = db::StatsDatabase::Open(target_, db::OpenMode::ReadWrite, error);
    if (!database || !db::ForgetLogs(*database, ids, error))
        dialogs_.message(this, QMessageBox::Warning, tr("Forget logs"),
                         QString::fromStdString(error));
    RefreshLogs();
}

void DatabaseWindow::ChooseSelection() {
    db::DatabaseSource source;
    source.Path = target_;
    for (const QTreeWidgetItem* row : lstDatabaseLogs_->selectedItems())
        source.Selection.Ids.push_back(row->data(0, Qt::UserRole).toLongLong());
    std::sort(source.Selection.Ids.begin(), source.Selection.Ids.end());
    for (const auto& [line, endOfDay] : {std::pair{txtSince_, false}, std::pair{txtUntil_, true}}) {
        const QString text = line->text().trimmed();
        if (text.isEmpty())
            continue;
        const auto bound = db::DateBound(text.toStdString(), endOfDay);
        if (!bound) {
            dialogs_.message(this, QMessageBox::Warning, tr("Statistics Database"),
                             tr("Dates are written YYYY-MM-DD, YYYY-MM-DD HH:MM or YYYY-MM-DD "
                                "HH:MM:SS, not '%1'")
                                 .arg(text));
            return;
        }
        (endOfDay ? source.Selection.Until : source.Selection.Since) = *bound;
    }
    emit selectionChosen(source);
}

void DatabaseWindow::UpdateEnabled() {
    const bool open = !target_.empty();
    const bool importing = import_.Running();
    for (QWidget* control : std::initializer_list<QWidget*>{cmdOpenDatabase_, cmdNewDatabase_,
                                                            cmdConnectDatabase_, txtDatabase_})
        control->setEnabled(!importing);
    for (QWidget* control : std::initializer_list<QWidget*>{cmdImportLogs_, cmdForgetLogs_,
                                                            cmdShowSelection_, lstDatabaseLogs_})
        control->setEnabled(open && !importing);
    cmdCancelImport_->setEnabled(importing);
}

void DatabaseWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!target_.empty() && !import_.Running() && event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void DatabaseWindow::dropEvent(QDropEvent* event) {
    QStringList files;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile())
            files << url.toLocalFile();
    if (files.isEmpty() || target_.empty() || import_.Running())
        return;
    event->acceptProposedAction();
    ImportFiles(files);
}

} // namespace qla::ui
