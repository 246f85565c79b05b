// The update check of frmUpdate. The download runs on the window's event loop, so the window
// stays responsive and Cancel works while it runs; the check continues when the fetch reports.
#include "frm_update.h"

#include "message_boxes.h"
#include "update_texts.h"

#include <QPushButton>

namespace qla::updater {

void frmUpdate::Start() {
    show();
    RunUpdateCheck();
}

void frmUpdate::RunUpdateCheck() {
    cmdDownload_->setEnabled(false);
    cmdChanges_->setEnabled(false);
    if (cancelMark_) {
        StartAnalyzerAndUnload();
        return;
    }
    show();
    FetchUpdateInformation(settings_.UpdateAddress);
}

void frmUpdate::FetchUpdateInformation(const QUrl& address) {
    SetStatus(texts::Connecting());
    fetch_.start(address);
    AppendStatus(texts::Downloading());
}

void frmUpdate::OnUpdateInformation(bool ok, const QString& text, const QString& error,
                                    bool wrongData) {
    if (unloaded_)
        return;
    if (cancelMark_) {
        StartAnalyzerAndUnload();
        return;
    }
    updateText_ = text;
    AppendStatus(texts::Reading());
    // No answer, or an error status, is told apart from an answer that is not update
    // information: the first is the network's or the server's fault, not the file's.
    if (!ok && !wrongData) {
        CannotReach(error);
        return;
    }
    const auto info = ok ? ParseUpdateInformation(updateText_) : std::nullopt;
    if (!info) {
        WrongData();
        return;
    }
    ShowResult(*info);
}

void frmUpdate::ShowResult(const UpdateInfo& info) {
    info_ = info;
    const bool newer = IsNewer(settings_.ThisVersion, info.NewVersion);
    const QStringList lines = newer ? NewerStatusLines(settings_.ThisVersion, info.NewVersion)
                                    : LatestStatusLines(settings_.ThisVersion);
    for (const QString& line : lines)
        AppendStatus(line);
    cmdDownload_->setEnabled(newer);
    cmdChanges_->setEnabled(newer);
    cmdCancel_->setVisible(false);
    cmdClose_->setVisible(true);
    setWindowTitle(texts::CaptionDone());
}

void frmUpdate::WrongData() {
    services_.Boxes.show(this, QMessageBox::Critical, texts::WrongDataTitle(),
                         texts::WrongDataText());
    StartAnalyzerAndUnload();
}

void frmUpdate::CannotReach(const QString& reason) {
    services_.Boxes.show(this, QMessageBox::Critical, texts::WrongDataTitle(),
                         texts::CannotReachText(reason));
    StartAnalyzerAndUnload();
}

} // namespace qla::updater
