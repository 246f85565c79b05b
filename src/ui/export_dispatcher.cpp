// cmdExport_Click: reads the export page into an export request, asks for the target file, runs
// the request and shows its result.
#include "ui/main_window.h"

#include "ui/busy_pointer.h"
#include "ui/desktop.h"
#include "ui/dialogs.h"
#include "ui/export_all_dialog.h"
#include "ui/text_export_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QLocale>
#include <QRadioButton>
#include <QTabBar>

#include <algorithm>

namespace qla::ui {

namespace {

QString FromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The first selected option from index 0 up; the last index when none is selected.
std::optional<int> SelectedOrder(const std::vector<QRadioButton*>& options) {
    if (options.empty())
        return std::nullopt;
    const auto selected =
        std::find_if(options.begin(), options.end(),
                     [](const QRadioButton* option) { return option->isChecked(); });
    return static_cast<int>(std::min(selected, options.end() - 1) - options.begin());
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

} // namespace

ExportView frmMain::SelectedExportView() const {
    // Views with a choice caption share one tab and are told apart by its options.
    const int tab = tabExport_->currentIndex();
    int number = -1;
    std::size_t choice = 0;
    std::string_view lastTab;
    const ExportViewInfo* shown = nullptr;
    for (const ExportViewInfo& view : ExportViews()) {
        if (view.Tab != lastTab) {
            ++number;
            choice = 0;
            lastTab = view.Tab;
        }
        if (number != tab)
            continue;
        if (view.Choice.empty())
            return view.View;
        if (shown == nullptr)
            shown = &view; // the first choice when none is selected
        if (choice < optOther_.size() && optOther_[choice++]->isChecked())
            return view.View;
    }
    return shown ? shown->View : ExportView::Junk;
}

QString frmMain::AskExportPath(const ExportFormatInfo& format) {
    for (;;) {
        const QString path = dialogs_.saveFile(this, QStringLiteral("Export as HTML"),
                                               {FromView(format.FileFilter)}, lastExportPath_);
        if (path.isEmpty())
            return {}; // Cancel ends the export; nothing is written.
        lastExportPath_ = path;
        if (!FileExists(QFile::encodeName(path).toStdString()))
            return path;
        const auto answer =
            dialogs_.message(this, QMessageBox::Question, QStringLiteral("HTML Export"),
                             QStringLiteral("File exists! Overwrite?"),
                             QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        if (answer == QMessageBox::Yes)
            return path;
        if (answer != QMessageBox::No)
            return {};
    }
}

ExportRequest frmMain::ExportRequestFromPage(ExportView view, ExportFormat format) const {
    const ExportViewControls& controls = exportViews_[static_cast<std::size_t>(view)];
    PageChoices choices;
    for (const QCheckBox* box : controls.Checks)
        choices.Checks.push_back(box->isChecked());
    choices.Order = SelectedOrder(controls.Orders);
    choices.Ascending = controls.SortHow == nullptr || controls.SortHow->currentIndex() == 0;

    ExportRequest request = RequestFor(view, format, choices);
    request.GameTitle = txtServerName_->text().toStdString();
    request.DecimalSeparator = QString(QLocale::system().decimalPoint()).toStdString();
    request.Text = textOptions_;
    request.Junk.LogDateText = txtDateTime_->text().toStdString();
    request.Junk.Progress = RepaintingProgress();
    return request;
}

void frmMain::cmdExport_Click() {
    const ExportViewInfo& view = InfoOf(SelectedExportView());
    const auto formats = ExportFormats();
    const ExportFormatInfo& format = formats[static_cast<std::size_t>(
        std::clamp<int>(cmbExportType_->currentIndex(), 0, static_cast<int>(formats.size()) - 1))];

    if (view.NeedsPlayer && cmbPlayer_->currentIndex() < 0) {
        dialogs_.message(this, QMessageBox::Warning, QStringLiteral("Export"),
                         QStringLiteral("Select a player first"));
        return;
    }
    if (format.TakesTextOptions) {
        frmTextExport options(this);
        if (options.exec() != QDialog::Accepted)
            return;
        textOptions_ = options.Options();
    }
    const bool takesFormat = ViewTakes(view.View, format.Format);
    if (view.WritesSite) {
        if (takesFormat) {
            frmExportAllStatus dialog({&store_, txtServerName_->text(),
                                       QLocale::system().decimalPoint(),
                                       chkOpenSavedFile_->isChecked()},
                                      dialogs_, desktop_, this);
            dialog.exec();
        } else {
            const QString kind = FromView(format.Kind);
            dialogs_.message(this, QMessageBox::Warning,
                             QStringLiteral("All Data - %1 export").arg(kind),
                             QStringLiteral("All Data '%1 export' not supported").arg(kind));
        }
        return;
    }
    // Say so before a file is chosen.
    if (!takesFormat) {
        const auto sole = SoleViewTaking(format.Format);
        dialogs_.message(this, QMessageBox::Warning, QStringLiteral("Export"),
                         sole ? QStringLiteral("%1 export is only supported for the %2 info")
                                    .arg(FromView(format.Kind), FromView(InfoOf(*sole).Name))
                              : QStringLiteral("%1 export is not supported for this page")
                                    .arg(FromView(format.Kind)));
        return;
    }

    const QString path = AskExportPath(format);
    if (path.isEmpty())
        return;
    ExportRequest request = ExportRequestFromPage(view.View, format.Format);
    request.Path = QFile::encodeName(path).toStdString();
    if (view.NeedsPlayer) {
        const auto player = store_.FindPlayer(cmbPlayer_->currentText().toStdString());
        if (!player)
            return;
        request.PlayerDetails.Player = *player;
    }

    // The writers yield to the window; nothing may change the store meanwhile.
    SetRunning(true);
    ExportOutcome outcome;
    {
        const BusyPointer busy;
        outcome = RunExport(store_, request);
    }
    SetRunning(false);

    if (!outcome.Ok()) {
        ShowWriterError(outcome.File.Error);
        return; // a failed file is not handed to the browser
    }
    if (chkOpenSavedFile_->isChecked())
        OpenInNewBrowserWindow(desktop_, path);
}

} // namespace qla::ui
