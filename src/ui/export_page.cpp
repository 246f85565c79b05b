// The "Export Logfile" page: reads the choices into an export request, asks for the target file,
// runs the request and shows its result.
#include "ui/export_page.h"

#include "export/export_all.h"
#include "export/output_file.h"
#include "export/statistics_site_settings.h"
#include "ui/busy_pointer.h"
#include "ui/control_names.h"
#include "ui/desktop.h"
#include "ui/dialogs.h"
#include "ui/export_all_dialog.h"
#include "ui/export_captions.h"
#include "ui/export_choices.h"
#include "ui/export_file_name.h"
#include "ui/log_info_page.h"
#include "ui/options_dialog.h"
#include "ui/text_export_dialog.h"
#include "ui/version.h"
#include "ui/window_memory.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>
#include <new>
#include <utility>

namespace qla::ui {

namespace {

// A typed name without an extension gets the format's first one ("*.html" of the filter). A name
// that exists as it is (a file or a device chosen in the dialog) is left alone.
QString WithDefaultExtension(const QString& path, const ExportFormatInfo& format) {
    if (!QFileInfo(path).suffix().isEmpty() || PathExists(QFile::encodeName(path).toStdString()))
        return path;
    const QString filter = QString::fromUtf8(format.FileFilter.data(),
                                             static_cast<qsizetype>(format.FileFilter.size()));
    const qsizetype star = filter.indexOf(QStringLiteral("*."));
    if (star < 0)
        return path;
    qsizetype end = star + 2;
    while (end < filter.size() && filter[end].isLetterOrNumber())
        ++end;
    const QString extension = filter.mid(star + 2, end - star - 2);
    return path.endsWith(QLatin1Char('.')) ? path + extension : path + QLatin1Char('.') + extension;
}

// Lets the window repaint during long writers, at a bounded rate.
LineProgress RepaintingProgress() {
    auto timer = std::make_shared<QElapsedTimer>();
    timer->start();
    return [timer](std::int64_t, std::int64_t) {
        if (timer->elapsed() >= 50) {
            timer->restart();
            QCoreApplication::processEvents();
        }
    };
}

QString DecimalSeparator() {
    return QLocale::system().decimalPoint();
}

} // namespace

ExportPage::ExportPage(const AnalysisStore& store, const LogInfoPage& logInfo, Dialogs& dialogs,
                       Desktop& desktop, WindowMemory& memory,
                       std::function<AnalysisTotals()> lastTotals, QWidget* parent)
    : QWidget(parent), store_(store), logInfo_(logInfo), dialogs_(dialogs), desktop_(desktop),
      memory_(memory), lastTotals_(std::move(lastTotals)) {
    auto* outer = new QVBoxLayout(this);
    choices_ = new ExportChoices(dialogs_, this);
    outer->addWidget(choices_, 1);

    auto* bottom = new QHBoxLayout;
    cmdOptions_ = new QPushButton(tr("Options..."), this);
    cmdOptions_->setObjectName(QStringLiteral("cmdOptions"));
    connect(cmdOptions_, &QPushButton::clicked, this, &ExportPage::ShowExportOptions);
    chkOpenSavedFile_ = new QCheckBox(tr("Open file after save"), this);
    chkOpenSavedFile_->setObjectName(QStringLiteral("chkOpenSavedFile"));
    cmbExportType_ = new QComboBox(this);
    cmbExportType_->setObjectName(QStringLiteral("cmbExportType"));
    for (const ExportFormatInfo* format : TypeListFormats())
        cmbExportType_->addItem(ExportCaption(format->Caption));
    cmbExportType_->setCurrentIndex(0);
    cmdExport_ = new QPushButton(tr("Export"), this);
    cmdExport_->setObjectName(QStringLiteral("cmdExport"));
    // Nothing to export before the first analysis.
    cmdExport_->setEnabled(false);
    connect(cmdExport_, &QPushButton::clicked, this, &ExportPage::ExportCurrentView);
    bottom->addWidget(cmdOptions_);
    bottom->addWidget(chkOpenSavedFile_);
    bottom->addStretch(1);
    bottom->addWidget(NamedLabel("Label30", tr("Type of file"), this));
    bottom->addWidget(cmbExportType_);
    bottom->addWidget(cmdExport_);
    outer->addLayout(bottom);
    lblExportStatus_ = new QLabel(this);
    lblExportStatus_->setObjectName(QStringLiteral("lblExportStatus"));
    lblExportStatus_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // A long path must not widen the window.
    lblExportStatus_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    outer->addWidget(lblExportStatus_);
}

void ExportPage::ShowRemembered() {
    lastExportPath_ = memory_.Value(memory_keys::kExportPath).toString();
}

void ExportPage::ShowPlayerChoices(const QStringList& names) {
    choices_->ShowPlayerChoices(names);
}

void ExportPage::SetControlsEnabled(bool enabled) {
    cmdExport_->setEnabled(enabled);
}

void ExportPage::ShowExportOptions() {
    frmOptions dialog(this);
    dialog.exec();
}

void ExportPage::ExportCurrentView() {
    const ExportViewInfo& view = InfoOf(choices_->SelectedView());
    const auto formats = TypeListFormats();
    const ExportFormatInfo& format = *formats[static_cast<std::size_t>(
        std::clamp<int>(cmbExportType_->currentIndex(), 0, static_cast<int>(formats.size()) - 1))];

    if (view.NeedsPlayer && !choices_->ChosenPlayer()) {
        dialogs_.message(this, QMessageBox::Warning, tr("Export"), tr("Select a player first"));
        return;
    }
    if (completeStore_ && !completeStore_(view.View))
        return;
    if (format.TakesTextOptions) {
        frmTextExport options(this);
        if (options.exec() != QDialog::Accepted)
            return;
        textOptions_ = options.Options();
    }
    const bool takesFormat = ViewTakes(view.View, format.Format);
    if (view.WritesSite) {
        if (takesFormat && view.View == ExportView::Dashboard) {
            ExportStatisticsSite();
        } else if (takesFormat) {
            frmExportAllStatus dialog({&store_, logInfo_.GameTitle(), DecimalSeparator(),
                                       chkOpenSavedFile_->isChecked(), &memory_},
                                      dialogs_, desktop_, this);
            dialog.exec();
            // The line tells what this export wrote, never what an earlier one did.
            lblExportStatus_->setText(dialog.Outcome());
        } else {
            const QString kind = ExportCaption(format.Kind);
            if (view.View == ExportView::Dashboard)
                dialogs_.message(this, QMessageBox::Warning,
                                 tr("Statistics site - %1 export").arg(kind),
                                 tr("Statistics site '%1 export' not supported").arg(kind));
            else
                dialogs_.message(this, QMessageBox::Warning, tr("All Data - %1 export").arg(kind),
                                 tr("All Data '%1 export' not supported").arg(kind));
        }
        return;
    }
    // Say so before a file is chosen.
    if (!takesFormat) {
        const auto sole = SoleViewTaking(format.Format);
        dialogs_.message(
            this, QMessageBox::Warning, tr("Export"),
            sole ? tr("%1 export is only supported for the %2 info")
                       .arg(ExportCaption(format.Kind), FromUtf8(InfoOf(*sole).Name))
                 : tr("%1 export is not supported for this page").arg(ExportCaption(format.Kind)));
        return;
    }
    ExportToFile(view, format);
}

void ExportPage::ExportToFile(const ExportViewInfo& view, const ExportFormatInfo& format) {
    const QString path = AskExportPath(view, format);
    if (path.isEmpty())
        return;
    ExportRequest request = RequestFromPage(view.View, format.Format);
    request.Path = QFile::encodeName(path).toStdString();
    if (view.NeedsPlayer) {
        const auto player =
            store_.FindPlayer(choices_->ChosenPlayer().value_or(QString()).toStdString());
        if (!player)
            return;
        request.PlayerDetails.Player = *player;
    }
    std::shared_ptr<const LineSource> lines;
    if (!StreamedLinesFor(view.View, lines))
        return;
    if (RunAndReport(request, path, lines.get()) && chkOpenSavedFile_->isChecked())
        OpenInNewBrowserWindow(desktop_, path); // a failed file is not handed to the browser
}

bool ExportPage::StreamedLinesFor(ExportView view, std::shared_ptr<const LineSource>& lines) {
    if (!lineSource_)
        return true;
    std::string error;
    auto streamed = lineSource_(view, error);
    if (!streamed) {
        if (!error.empty())
            dialogs_.message(this, QMessageBox::Warning, tr("Export"),
                             QString::fromStdString(error));
        return false;
    }
    lines = std::move(*streamed);
    return true;
}

bool ExportPage::RunAndReport(const ExportRequest& request, const QString& shown,
                              const LineSource* lines) {
    // The writers yield to the window; nothing may change the store meanwhile.
    emit runningChanged(true);
    ExportOutcome outcome;
    try {
        const BusyPointer busy;
        outcome =
            lines ? RunExport(Statistics{store_, *lines}, request) : RunExport(store_, request);
    } catch (const std::bad_alloc&) {
        outcome.File.Error = tr("There is not enough memory to write the file.").toStdString();
    }
    emit runningChanged(false);

    if (!outcome.Ok()) {
        dialogs_.message(this, QMessageBox::NoIcon, kProgramTitle,
                         QString::fromStdString(outcome.File.Error) + QStringLiteral("\r\n") +
                             shown);
        lblExportStatus_->setText(tr("Not saved: %1").arg(shown));
        return false;
    }
    lblExportStatus_->setText(tr("Saved to %1").arg(shown));
    return true;
}

void ExportPage::ExportStatisticsSite() {
    const QString folder =
        dialogs_.folder(this, tr("Select output directory"),
                        memory_.Value(memory_keys::kStatisticsSiteFolder).toString());
    if (folder.isEmpty())
        return;
    memory_.Keep(memory_keys::kStatisticsSiteFolder, folder);
    ExportRequest request = RequestFromPage(ExportView::Dashboard, ExportFormat::Html);
    request.Path = QFile::encodeName(folder).toStdString();
    const std::string start = PathInFolder(request.Path, "index.html");
    // Another site (Export All Data writes an index.html too) is replaced only when confirmed.
    if (PathExists(start)) {
        const auto answer =
            dialogs_.message(this, QMessageBox::Question, tr("Export statistics site"),
                             tr("%1\r\nholds a site already. Replace its pages?").arg(folder),
                             QMessageBox::Yes | QMessageBox::No);
        if (answer != QMessageBox::Yes)
            return;
    }
    // The rows first: when they cannot be streamed the store reads them, and the site's figures
    // are then those of that reading.
    std::shared_ptr<const LineSource> lines;
    if (!StreamedLinesFor(ExportView::Dashboard, lines))
        return;
    StatisticsSiteChoices choices;
    choices.GameTitle = logInfo_.GameTitle().toStdString();
    std::string error;
    std::optional<StatisticsSiteSource> source = SiteSourceNow(error);
    if (!source) {
        dialogs_.message(this, QMessageBox::Warning, tr("Export statistics site"),
                         QString::fromStdString(error));
        return;
    }
    SetStatisticsSite(request, choices, std::move(*source));
    request.Dashboard.Progress = RepaintingProgress();

    // The writer's text names the page; the folder follows on its own line.
    if (RunAndReport(request, folder, lines.get()) && chkOpenSavedFile_->isChecked())
        OpenInNewBrowserWindow(desktop_, QString::fromStdString(start));
}

std::optional<StatisticsSiteSource> ExportPage::SiteSourceNow(std::string& error) const {
    if (siteSource_)
        return siteSource_(error);
    StatisticsSiteSource source;
    source.SourceName = logInfo_.LogFileName().toStdString();
    source.LogDate = logInfo_.LogDateText().toStdString();
    if (lastTotals_)
        source.Totals = lastTotals_();
    return source;
}

QString ExportPage::AskExportPath(const ExportViewInfo& view, const ExportFormatInfo& format) {
    const QString player =
        view.NeedsPlayer ? choices_->ChosenPlayer().value_or(QString()) : QString();
    const QString kind =
        FromUtf8(view.Name) + QLatin1Char('/') + FromUtf8(format.Name) + QLatin1Char('/') + player;
    QString proposed =
        WithDefaultExtension(ProposedExportPath(lastExportPath_, kind == lastExportKind_, view.Name,
                                                player, logInfo_.LogFilePath()),
                             format);
    for (;;) {
        QString path = dialogs_.saveFile(this, tr("Export as HTML"),
                                         {ExportCaption(format.FileFilter)}, proposed);
        if (path.isEmpty())
            return {}; // Cancel ends the export; nothing is written.
        path = WithDefaultExtension(path, format);
        lastExportPath_ = path;
        lastExportKind_ = kind;
        proposed = path; // asked again after No: the name just chosen
        memory_.Keep(memory_keys::kExportPath, path);
        // Any name counts, a dangling link too: the writer then refuses what it cannot replace.
        if (!PathExists(QFile::encodeName(path).toStdString()))
            return path;
        const auto answer = dialogs_.message(
            this, QMessageBox::Question, tr("HTML Export"), tr("File exists! Overwrite?"),
            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        if (answer == QMessageBox::Yes)
            return path;
        if (answer != QMessageBox::No)
            return {};
    }
}

ExportRequest ExportPage::RequestFromPage(ExportView view, ExportFormat format) const {
    ExportRequest request = RequestFor(view, format, choices_->ChoicesOf(view));
    request.GameTitle = logInfo_.GameTitle().toStdString();
    request.DecimalSeparator = DecimalSeparator().toStdString();
    request.Text = textOptions_;
    request.Junk.LogDateText = sourceDate_ ? *sourceDate_ : logInfo_.LogDateText().toStdString();
    request.Junk.Progress = RepaintingProgress();
    return request;
}

} // namespace qla::ui
