// cmdExport_Click: reads the export page, asks for the target file and calls the one writer
// that fits the sub-page and the type of file.
#include "ui/main_window.h"

#include "export/html_export.h"
#include "export/text_export.h"
#include "export/xml_export.h"
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

namespace qla::ui {

namespace {

enum ExportType { kHtml = 0, kText = 1, kXml = 2 };
enum ExportPage { kStandard = 0, kPlayer = 1, kWeapon = 2, kVoice = 3, kTextChat = 4, kOther = 5 };

QStringList FiltersOf(int type) {
    switch (type) {
    case kText:
        return {QStringLiteral("Text files (*.txt)")};
    case kXml:
        return {QStringLiteral("XML Files (*.xml)")};
    default:
        return {QStringLiteral("HTML Files (*.html *.htm)")};
    }
}

template <std::size_t N> std::array<bool, N> Flags(const std::array<QCheckBox*, N>& boxes) {
    std::array<bool, N> flags{};
    for (std::size_t i = 0; i < N; ++i)
        flags[i] = boxes[i]->isChecked();
    return flags;
}

// The first selected option from index 0 up; the last index when none is selected.
template <std::size_t N> int OrderKey(const std::array<QRadioButton*, N>& options) {
    for (std::size_t i = 0; i < N; ++i)
        if (options[i]->isChecked())
            return static_cast<int>(i);
    return static_cast<int>(N) - 1;
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

void frmMain::cmdExport_Click() {
    const int type = cmbExportType_->currentIndex();
    const int page = tabExport_->currentIndex();
    const bool allData = page == kOther && optOther_[1]->isChecked();

    if (page == kPlayer && cmbPlayer_->currentIndex() < 0) {
        dialogs_.message(this, QMessageBox::Warning, QStringLiteral("Export"),
                         QStringLiteral("Select a player first"));
        return;
    }
    if (type == kText) {
        frmTextExport options(this);
        if (options.exec() != QDialog::Accepted)
            return;
        textOptions_ = options.Options();
    }
    if (allData) {
        if (type == kHtml) {
            frmExportAllStatus dialog({&store_, txtServerName_->text(),
                                       QLocale::system().decimalPoint(),
                                       chkOpenSavedFile_->isChecked()},
                                      dialogs_, desktop_, this);
            dialog.exec();
        } else {
            const QString kind = type == kText ? QStringLiteral("Text") : QStringLiteral("XML");
            dialogs_.message(this, QMessageBox::Warning,
                             QStringLiteral("All Data - %1 export").arg(kind),
                             QStringLiteral("All Data '%1 export' not supported").arg(kind));
        }
        return;
    }
    // Only the standard table has an XML form; say so before a file is chosen.
    if (type == kXml && page != kStandard) {
        dialogs_.message(this, QMessageBox::Warning, QStringLiteral("Export"),
                         QStringLiteral("XML export is only supported for the standard info"));
        return;
    }

    QString path;
    for (;;) {
        path = dialogs_.saveFile(this, QStringLiteral("Export as HTML"), FiltersOf(type),
                                 lastExportPath_);
        if (path.isEmpty())
            return; // Cancel ends the export; nothing is written.
        lastExportPath_ = path;
        if (!FileExists(QFile::encodeName(path).toStdString()))
            break;
        const auto answer =
            dialogs_.message(this, QMessageBox::Question, QStringLiteral("HTML Export"),
                             QStringLiteral("File exists! Overwrite?"),
                             QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        if (answer == QMessageBox::Yes)
            break;
        if (answer != QMessageBox::No)
            return;
    }

    const std::string file = QFile::encodeName(path).toStdString();
    const std::string title = txtServerName_->text().toStdString();
    const std::string decimal = QString(QLocale::system().decimalPoint()).toStdString();
    std::optional<PlayerIndex> player;
    if (page == kPlayer) {
        player = store_.FindPlayer(cmbPlayer_->currentText().toStdString());
        if (!player)
            return;
    }

    // The writers yield to the window; nothing may change the store meanwhile.
    SetRunning(true);
    ExportResult result;
    {
        const BusyPointer busy;
        switch (page) {
        case kStandard:
            if (type == kHtml)
                result = WriteStandardHtml(
                    store_, file, Flags(chkStandard_), OrderKey(optStandardOrder_),
                    cmbSortHow_[0]->currentIndex() == 0, false, title, decimal);
            else if (type == kText)
                result = WriteStandardText(
                    store_, file, Flags(chkStandard_), OrderKey(optStandardOrder_),
                    cmbSortHow_[0]->currentIndex() == 0, textOptions_, decimal);
            else
                result = WriteXml(store_, file, OrderKey(optStandardOrder_),
                                  cmbSortHow_[0]->currentIndex() == 0, decimal);
            break;
        case kPlayer:
            if (type == kHtml)
                result = WritePlayerDetailsHtml(
                    store_, file, Flags(chkPlayerDetails_), OrderKey(optPlayerDetails_),
                    cmbSortHow_[1]->currentIndex() == 0, *player, false, title);
            else
                result = WritePlayerDetailsText(
                    store_, file, Flags(chkPlayerDetails_), OrderKey(optPlayerDetails_),
                    cmbSortHow_[1]->currentIndex() == 0, *player, textOptions_);
            break;
        case kWeapon:
            if (type == kHtml)
                result = WriteWeaponHtml(store_, file, Flags(chkWeaponDetails_),
                                         OrderKey(optWeaponDetails_),
                                         cmbSortHow_[2]->currentIndex() == 0, false, title);
            else
                result = WriteWeaponText(store_, file, Flags(chkWeaponDetails_),
                                         OrderKey(optWeaponDetails_),
                                         cmbSortHow_[2]->currentIndex() == 0, textOptions_);
            break;
        case kVoice:
            result = type == kHtml
                         ? WriteVoiceChatHtml(store_, file, Flags(chkVoiceChat_), title)
                         : WriteVoiceChatText(store_, file, Flags(chkVoiceChat_), textOptions_);
            break;
        case kTextChat:
            result = type == kHtml
                         ? WriteTextChatHtml(store_, file, Flags(chkTextChat_), title)
                         : WriteTextChatText(store_, file, Flags(chkTextChat_), textOptions_);
            break;
        default:
            result = type == kHtml
                         ? WriteJunkHtml(store_, file, title, txtDateTime_->text().toStdString(),
                                         RepaintingProgress())
                         : WriteJunkText(store_, file, RepaintingProgress());
            break;
        }
    }
    SetRunning(false);

    if (!result.Ok()) {
        ShowWriterError(result.Error);
        return; // a failed file is not handed to the browser
    }
    if (chkOpenSavedFile_->isChecked())
        OpenInNewBrowserWindow(desktop_, path);
}

} // namespace qla::ui
