// frmUpdate: its controls, their states and the button actions. The check itself is in
// frm_update_check.cpp.
#include "frm_update.h"

#include "analyzer_location.h"
#include "desktop.h"
#include "message_boxes.h"
#include "update_texts.h"

#include <QCloseEvent>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qla::updater {

namespace {

QPushButton* MakeButton(const QString& name, const QString& caption, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

} // namespace

frmUpdate::frmUpdate(const UpdateSettings& settings, const UpdaterServices& services,
                     QWidget* parent)
    : QWidget(parent), settings_(settings), services_(services), fetch_(settings.DeadlineMs) {
    setObjectName(QStringLiteral("frmUpdate"));
    setWindowTitle(texts::Caption());

    statusCaption_ = new QLabel(tr("Status:"), this);
    statusCaption_->setObjectName(QStringLiteral("Label1"));
    txtStatus_ = new QPlainTextEdit(this);
    txtStatus_->setObjectName(QStringLiteral("txtStatus"));
    txtStatus_->setReadOnly(true);

    cmdChanges_ = MakeButton(QStringLiteral("cmdChanges"), tr("View changes"), this);
    cmdDownload_ = MakeButton(QStringLiteral("cmdDownload"), tr("Download"), this);
    cmdCancel_ = MakeButton(QStringLiteral("cmdCancel"), tr("Cancel"), this);
    cmdClose_ = MakeButton(QStringLiteral("cmdClose"), tr("Close"), this);
    cmdAbout_ = MakeButton(QStringLiteral("cmdAbout"), tr("About"), this);
    cmdChanges_->setEnabled(false);
    cmdDownload_->setEnabled(false);
    // Close takes Cancel's place: only one of them is ever visible.
    cmdClose_->setVisible(false);

    auto* statusColumn = new QVBoxLayout;
    statusColumn->addWidget(statusCaption_);
    statusColumn->addWidget(txtStatus_);
    auto* buttonColumn = new QVBoxLayout;
    buttonColumn->addWidget(cmdChanges_);
    buttonColumn->addWidget(cmdDownload_);
    buttonColumn->addWidget(cmdCancel_);
    buttonColumn->addWidget(cmdClose_);
    buttonColumn->addWidget(cmdAbout_);
    buttonColumn->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(statusColumn, 1);
    layout->addLayout(buttonColumn);
    resize(440, 200);

    connect(cmdChanges_, &QPushButton::clicked, this, &frmUpdate::OnChanges);
    connect(cmdDownload_, &QPushButton::clicked, this, &frmUpdate::OnDownload);
    connect(cmdCancel_, &QPushButton::clicked, this, &frmUpdate::OnCancel);
    connect(cmdClose_, &QPushButton::clicked, this, &frmUpdate::OnClose);
    connect(cmdAbout_, &QPushButton::clicked, this, &frmUpdate::OnAbout);
    connect(&fetch_, &UpdateFetch::finished, this, &frmUpdate::OnUpdateInformation);
}

QString frmUpdate::AnalyzerPath() const {
    return AnalyzerProgramPath(settings_.ProgramDir);
}

void frmUpdate::Unload() {
    unloaded_ = true;
    close();
}

void frmUpdate::closeEvent(QCloseEvent* event) {
    event->accept();
    if (unloaded_)
        return; // closed by Unload(), which came after its own start of the analyzer
    // Closing from the title bar ends the check like Close: the analyzer comes back.
    unloaded_ = true;
    cancelMark_ = true;
    fetch_.abort();
    StartAnalyzer();
}

void frmUpdate::SetStatus(const QString& text) {
    txtStatus_->setPlainText(text);
}

void frmUpdate::AppendStatus(const QString& line) {
    txtStatus_->appendPlainText(line);
}

void frmUpdate::OnChanges() {
    services_.Web.openAddress(QUrl(info_.ChangesAddress));
}

void frmUpdate::OnDownload() {
    services_.Boxes.show(this, QMessageBox::Information, texts::DownloadTitle(),
                         texts::DownloadText());
    services_.Web.openAddress(QUrl(info_.DownloadAddress));
}

void frmUpdate::OnCancel() {
    cancelMark_ = true;
    cmdCancel_->setEnabled(false);
    // Stays the last line until the window closes; aborting below may close it at once.
    AppendStatus(texts::Aborted());
    fetch_.abort();
}

void frmUpdate::OnClose() {
    StartAnalyzerAndUnload();
}

void frmUpdate::StartAnalyzerAndUnload() {
    StartAnalyzer();
    Unload();
}

void frmUpdate::StartAnalyzer() {
    const QString path = AnalyzerPath();
    if (!services_.Launcher.start(path)) {
        services_.Boxes.show(this, QMessageBox::Critical, texts::ProgramTitle(),
                             texts::StartFailedText(QDir::toNativeSeparators(path)));
    }
}

void frmUpdate::OnAbout() {
    services_.Boxes.show(this, QMessageBox::Information, texts::AboutTitle(), texts::AboutText());
}

} // namespace qla::updater
