// The "About" page: the program's makers and addresses, its links, and "Check for update".
#include "ui/about_page.h"

#include "ui/about_info.h"
#include "ui/control_names.h"
#include "ui/desktop.h"
#include "ui/dialogs.h"
#include "ui/updater_location.h"
#include "ui/version.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace qla::ui {

QLabel* AboutPage::AddLinkLabel(const char* name, const QString& text, const QString& tooltip) {
    auto* label = new QLabel(text);
    label->setObjectName(QString::fromLatin1(name));
    label->setToolTip(tooltip);
    label->setCursor(Qt::PointingHandCursor);
    label->setStyleSheet(QStringLiteral("color: palette(link); text-decoration: underline;"));
    label->installEventFilter(this);
    return label;
}

AboutPage::AboutPage(Dialogs& dialogs, Desktop& desktop, QWidget* parent)
    : QWidget(parent), dialogs_(dialogs), desktop_(desktop) {
    auto* outer = new QVBoxLayout(this);

    auto* title = NamedLabel("lblAboutTitle", tr("About Quarvel Logfile Analyzer"), this);
    QFont titleFont = title->font();
    titleFont.setPointSize(18);
    title->setFont(titleFont);
    outer->addWidget(title);

    lblEmail_ = AddLinkLabel("lblEmail", about::kMakerEmail, tr("Send me an email"));
    lblEmail_->setProperty("address", about::kMakerEmail);
    lblHomepage_ = AddLinkLabel("lblHomepage", about::kHomepage, tr("Go to my website"));
    testerMailLink_ =
        AddLinkLabel("Label27(0)", about::kTester, tr("Send the beta testers an email"));
    testerMailLink_->setProperty("address", about::kTesterEmail);
    clanSiteLink_ =
        AddLinkLabel("Label28", about::kClanSite, tr("Visit the %1 website").arg(about::kClan));
    translatorMailLink_ =
        AddLinkLabel("Label27(1)", about::kTranslator, tr("Send the translator an email"));
    translatorMailLink_->setProperty("address", about::kTranslatorEmail);
    lblVersion_ = NamedLabel("lblVersion", AboutVersionText(), this);

    const std::array<std::pair<QLabel*, QLabel*>, 7> rows{{
        {NamedLabel("Label14", tr("Made by:"), this), NamedLabel("lblMadeBy", about::kMaker, this)},
        {NamedLabel("Label15", tr("Email:"), this), lblEmail_},
        {NamedLabel("Label16", tr("Homepage:"), this), lblHomepage_},
        {NamedLabel("Label20", tr("Version:"), this), lblVersion_},
        {NamedLabel("Label26", tr("Beta Testing:"), this), testerMailLink_},
        {NamedLabel("Label29", tr("%1 Website:").arg(about::kClan), this), clanSiteLink_},
        {NamedLabel("Label32", tr("German translation:"), this), translatorMailLink_},
    }};
    auto* grid = new QGridLayout;
    int row = 0;
    for (const auto& [caption, value] : rows) {
        grid->addWidget(caption, row, 0);
        grid->addWidget(value, row, 1);
        ++row;
    }
    grid->setColumnStretch(1, 1);
    outer->addLayout(grid);

    cmdCheckForUpdate_ = new QPushButton(tr("Check for update"), this);
    cmdCheckForUpdate_->setObjectName(QStringLiteral("cmdCheckForUpdate"));
    connect(cmdCheckForUpdate_, &QPushButton::clicked, this, &AboutPage::CheckForUpdate);
    outer->addWidget(cmdCheckForUpdate_, 0, Qt::AlignLeft);
    outer->addStretch(1);
}

bool AboutPage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease) {
        if (watched == lblHomepage_)
            OpenInNewBrowserWindow(desktop_, lblHomepage_->text());
        else if (watched == clanSiteLink_)
            OpenInNewBrowserWindow(desktop_, clanSiteLink_->text());
        else if (watched == lblEmail_)
            OpenMailLink(desktop_, lblEmail_->property("address").toString());
        else if (watched == testerMailLink_ || watched == translatorMailLink_)
            OpenMailLink(desktop_, watched->property("address").toString());
    }
    return QWidget::eventFilter(watched, event);
}

void AboutPage::CheckForUpdate() {
    const auto answer = dialogs_.message(
        this, QMessageBox::Question, tr("Check for update"),
        tr("Make sure you are connected to the internet. Do you want to continue?"),
        QMessageBox::Yes | QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return;
    const QString updater = UpdaterProgramPath(QCoreApplication::applicationDirPath());
    if (!desktop_.startProgram(updater, {UpdaterVersionArgument()})) {
        // The analyzer ends only once the updater runs; otherwise it stays with its data.
        dialogs_.message(
            this, QMessageBox::Critical, kProgramTitle,
            tr("The updater could not be started:\r\n%1").arg(QDir::toNativeSeparators(updater)));
        return;
    }
    window()->close();
    emit quitRequested();
}

} // namespace qla::ui
