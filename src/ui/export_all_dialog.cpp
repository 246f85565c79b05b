// frmExportAllStatus: the folder and "If file exists:" choices, the run with its progress, and
// the questions about existing pages.
#include "ui/export_all_dialog.h"

#include "export/export_views.h"
#include "ui/control_names.h"
#include "ui/desktop.h"
#include "ui/dialogs.h"
#include "ui/output_folder.h"
#include "ui/version.h"
#include "ui/window_memory.h"

#include <QButtonGroup>

#include <QCoreApplication>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QUrl>
#include <QVBoxLayout>

#include <new>
#include <optional>

namespace qla::ui {

namespace {

constexpr qint64 kRepaintIntervalMs = 50;
// More page errors than this are summed up, so the message box stays readable.
constexpr std::size_t kListedErrors = 10;

} // namespace

frmExportAllStatus::frmExportAllStatus(ExportAllContext context, Dialogs& dialogs, Desktop& desktop,
                                       QWidget* parent)
    : QDialog(parent), context_(std::move(context)), dialogs_(dialogs), desktop_(desktop) {
    setObjectName(QStringLiteral("frmExportAllStatus"));
    setWindowTitle(tr("Export All Data"));

    auto* options = new QGroupBox(tr("Options"), this);
    options->setObjectName(QStringLiteral("fraOptions"));
    txtOutput_ = new QLineEdit(options);
    txtOutput_->setObjectName(QStringLiteral("txtOutput"));
    txtOutput_->setMinimumWidth(260);
    connect(txtOutput_, &QLineEdit::textChanged, txtOutput_, &QLineEdit::setToolTip);
    if (context_.Memory)
        txtOutput_->setText(context_.Memory->Value(memory_keys::kSiteFolder).toString());
    auto* browse = new QPushButton(QStringLiteral("..."), options);
    browse->setObjectName(QStringLiteral("cmdBrowse"));
    browse->setToolTip(tr("Browse..."));
    connect(browse, &QPushButton::clicked, this, &frmExportAllStatus::cmdBrowse_Click);
    auto* group = new QButtonGroup(this);
    const std::array<QString, 3> captions{tr("Overwrite existing files"), tr("Skip file"),
                                          tr("Ask what to do")};
    for (int i = 0; i < 3; ++i) {
        optFileExists_[i] = new QRadioButton(captions[i], options);
        optFileExists_[i]->setObjectName(IndexedName("optFileExists", i));
        group->addButton(optFileExists_[i], i);
    }
    optFileExists_[0]->setChecked(true);
    auto* optionsGrid = new QGridLayout(options);
    optionsGrid->addWidget(NamedLabel("Label1", tr("Output directory"), options), 0, 0, 1, 2);
    optionsGrid->addWidget(txtOutput_, 1, 0);
    optionsGrid->addWidget(browse, 1, 1);
    optionsGrid->addWidget(NamedLabel("Label4", tr("If file exists:"), options), 2, 0, 1, 2);
    for (int i = 0; i < 3; ++i)
        optionsGrid->addWidget(optFileExists_[i], 3 + i, 0, 1, 2);

    auto* status = new QGroupBox(tr("Status"), this);
    status->setObjectName(QStringLiteral("fraStatus"));
    lblCurrentFile_ = NamedLabel("lblCurrentFile", tr("file"), status);
    lblNumFiles_ = NamedLabel("lblNumFiles", QStringLiteral("0 / 0"), status);
    pgbAllData_ = new QProgressBar(status);
    pgbAllData_->setObjectName(QStringLiteral("pgbAllData"));
    pgbAllData_->setRange(0, 100);
    pgbAllData_->setValue(0);
    pgbAllData_->setTextVisible(false);
    auto* statusGrid = new QGridLayout(status);
    statusGrid->addWidget(NamedLabel("Label2", tr("Current file:"), status), 0, 0);
    statusGrid->addWidget(lblCurrentFile_, 0, 1);
    statusGrid->addWidget(NamedLabel("Label5", tr("Files:"), status), 1, 0);
    statusGrid->addWidget(lblNumFiles_, 1, 1);
    statusGrid->addWidget(NamedLabel("Label3", tr("Total Progress"), status), 2, 0, 1, 2);
    statusGrid->addWidget(pgbAllData_, 3, 0, 1, 2);
    statusGrid->setColumnStretch(1, 1);

    cmdOK_ = new QPushButton(tr("OK"), this);
    cmdOK_->setObjectName(QStringLiteral("cmdOK"));
    cmdCancel_ = new QPushButton(tr("Cancel"), this);
    cmdCancel_->setObjectName(QStringLiteral("cmdCancel"));
    connect(cmdOK_, &QPushButton::clicked, this, &frmExportAllStatus::cmdOK_Click);
    connect(cmdCancel_, &QPushButton::clicked, this, &frmExportAllStatus::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK_);
    buttons->addWidget(cmdCancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(options);
    layout->addWidget(status);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void frmExportAllStatus::reject() {
    // During a run Cancel, Esc and the close box stop it after the file being written; the
    // dialog then ends by itself with the summary.
    if (running_) {
        cancelRequested_ = true;
        cmdCancel_->setEnabled(false);
        return;
    }
    if (!cmdCancel_->isEnabled())
        return;
    QDialog::reject();
}

void frmExportAllStatus::cmdBrowse_Click() {
    // A cancelled picker answers the empty text, which empties the box.
    txtOutput_->setText(dialogs_.folder(this, tr("Select output directory"), txtOutput_->text()));
}

void frmExportAllStatus::cmdOK_Click() {
    // The run yields to the window; a second OK meanwhile must not start another run.
    if (running_)
        return;
    // A folder that cannot take the pages is refused before the question, not after it; one
    // that does not exist yet is made once the user agreed to the export.
    const QString folder = txtOutput_->text();
    const std::string path = QFile::encodeName(folder).toStdString();
    if (const std::string refusal = OutputFolderRefusal(path); !refusal.empty()) {
        ShowRefusal(folder, refusal);
        return;
    }
    cmdCancel_->setEnabled(false);
    const std::int64_t count = CountExportAllFiles(*context_.Store);
    const auto answer =
        dialogs_.message(this, QMessageBox::Question, tr("Export All Data?"),
                         tr("%1 files will be created. Do you want to continue?").arg(count),
                         QMessageBox::Yes | QMessageBox::No);
    if (answer == QMessageBox::Yes) {
        cmdCancel_->setEnabled(true); // now it cancels the run
        if (const std::string error = MakeOutputFolder(path); !error.empty()) {
            ShowRefusal(folder, error);
            return;
        }
        if (!WriteSite(folder))
            return; // refused: the dialog stays for another folder
    }
    accept();
}

void frmExportAllStatus::ShowRefusal(const QString& folder, const std::string& refusal) {
    dialogs_.message(this, QMessageBox::Warning, kProgramTitle,
                     tr("The output directory cannot be used:\r\n%1\r\n%2")
                         .arg(folder, QString::fromStdString(refusal)));
    txtOutput_->setFocus();
    txtOutput_->selectAll();
}

bool frmExportAllStatus::WriteSite(const QString& folder) {
    running_ = true;
    // The site goes through the one export request like every other export.
    ExportRequest request = RequestFor(ExportView::AllData, ExportFormat::Html, {});
    request.Path = QFile::encodeName(folder).toStdString();
    request.GameTitle = context_.GameTitle.toStdString();
    request.DecimalSeparator = context_.DecimalSeparator.toStdString();
    request.Site.IfExists = optFileExists_[1]->isChecked()   ? IfFileExists::Skip
                            : optFileExists_[2]->isChecked() ? IfFileExists::Ask
                                                             : IfFileExists::Overwrite;
    // "Yes to all" and "No to all" answer every later question of this run.
    request.Site.Ask =
        [this, toAll = std::optional<ExistingFileAnswer>()](const std::string& fileName) mutable {
            if (toAll)
                return *toAll;
            const auto answer = dialogs_.message(
                this, QMessageBox::Question, tr("Export All Data"),
                tr("%1\r\nFile exists! Overwrite?").arg(QString::fromStdString(fileName)),
                QMessageBox::Yes | QMessageBox::YesToAll | QMessageBox::No | QMessageBox::NoToAll |
                    QMessageBox::Cancel);
            if (answer == QMessageBox::YesToAll)
                toAll = ExistingFileAnswer::Replace;
            else if (answer == QMessageBox::NoToAll)
                toAll = ExistingFileAnswer::Keep;
            return toAll                        ? *toAll
                   : answer == QMessageBox::Yes ? ExistingFileAnswer::Replace
                   : answer == QMessageBox::No  ? ExistingFileAnswer::Keep
                                                : ExistingFileAnswer::Stop;
        };
    cancelRequested_ = false;
    request.Site.Cancelled = [this] { return cancelRequested_; };
    request.Site.Progress = [this](const std::string& name, std::int64_t number,
                                   std::int64_t count) { ExportAllProgress(name, number, count); };
    sinceRepaint_.start();
    if (context_.Memory)
        context_.Memory->Keep(memory_keys::kSiteFolder, folder);
    ExportAllResult result;
    try {
        result = qla::RunExport(*context_.Store, request).Site;
    } catch (const std::bad_alloc&) {
        result.Refused = tr("There is not enough memory to write the pages.").toStdString();
    }
    running_ = false;
    cmdCancel_->setEnabled(false);

    if (!result.Refused.empty()) {
        cmdCancel_->setEnabled(true);
        ShowRefusal(folder, result.Refused);
        return false;
    }
    if (!result.Errors.empty()) {
        QStringList lines;
        for (std::size_t i = 0; i < result.Errors.size() && i < kListedErrors; ++i)
            lines << QString::fromStdString(result.Errors[i].FileName) + QStringLiteral(": ") +
                         QString::fromStdString(result.Errors[i].Error);
        if (result.Errors.size() > kListedErrors)
            lines << tr("... and %1 more").arg(result.Errors.size() - kListedErrors);
        dialogs_.message(this, QMessageBox::NoIcon, kProgramTitle,
                         lines.join(QStringLiteral("\r\n")));
    }
    ShowSummary(folder, result);
    if (context_.OpenAfterSave && !result.Stopped && !result.Cancelled)
        OpenInNewBrowserWindow(desktop_,
                               QString::fromStdString(PathInFolder(request.Path, "index.html")));
    return true;
}

void frmExportAllStatus::ShowSummary(const QString& folder, const ExportAllResult& result) {
    QString text = result.FilesWritten == 1
                       ? tr("1 file written to %1").arg(folder)
                       : tr("%1 files written to %2").arg(result.FilesWritten).arg(folder);
    if (result.Cancelled || result.Stopped)
        text += QStringLiteral("\r\n") +
                tr("The export was stopped; the other files were not written.");
    outcome_ = QString(text).replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    const auto answer = dialogs_.message(this, QMessageBox::Information, kProgramTitle, text,
                                         QMessageBox::Ok | QMessageBox::Open);
    if (answer == QMessageBox::Open)
        desktop_.openAddress(QUrl::fromLocalFile(folder));
}

void frmExportAllStatus::ExportAllProgress(const std::string& fileName, std::int64_t number,
                                           std::int64_t count) {
    lblCurrentFile_->setText(QString::fromStdString(fileName));
    lblNumFiles_->setText(QStringLiteral("%1 / %2").arg(number).arg(count));
    if (pgbAllData_->maximum() != count)
        pgbAllData_->setMaximum(static_cast<int>(count));
    pgbAllData_->setValue(static_cast<int>(number - 1));
    // Repaint at a bounded rate: a site of thousands of players calls this per page.
    if (sinceRepaint_.elapsed() >= kRepaintIntervalMs) {
        sinceRepaint_.restart();
        QCoreApplication::processEvents();
    }
}

} // namespace qla::ui
