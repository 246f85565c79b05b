// The "About" page: the program's makers and addresses, its links, and "Check for update".
#include "ui/main_window.h"

#include "ui/about_info.h"
#include "ui/desktop.h"
#include "ui/dialogs.h"
#include "ui/version.h"

#include <QCoreApplication>
#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace qla::ui {

namespace {

QLabel* NamedLabel(const char* name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

} // namespace

QLabel* frmMain::AddLinkLabel(const char* name, const QString& text, const QString& tooltip) {
    auto* label = new QLabel(text);
    label->setObjectName(QString::fromLatin1(name));
    label->setToolTip(tooltip);
    label->setCursor(Qt::PointingHandCursor);
    label->setStyleSheet(QStringLiteral("color: palette(link); text-decoration: underline;"));
    label->installEventFilter(this);
    return label;
}

QWidget* frmMain::BuildAboutPage() {
    auto* page = new QWidget;
    auto* outer = new QVBoxLayout(page);

    auto* title =
        NamedLabel("lblAboutTitle", QStringLiteral("About Quarvel Logfile Analyzer"), page);
    QFont titleFont = title->font();
    titleFont.setPointSize(18);
    title->setFont(titleFont);
    outer->addWidget(title);

    lblEmail_ = AddLinkLabel("lblEmail", about::kMakerEmail, QStringLiteral("Send me an email"));
    lblEmail_->setProperty("address", about::kMakerEmail);
    lblHomepage_ =
        AddLinkLabel("lblHomepage", about::kHomepage, QStringLiteral("Go to my website"));
    label27_[0] = AddLinkLabel("Label27(0)", about::kTester,
                               QStringLiteral("Send the beta testers an email"));
    label27_[0]->setProperty("address", about::kTesterEmail);
    label28_ = AddLinkLabel("Label28", about::kClanSite,
                            QStringLiteral("Visit the %1 website").arg(about::kClan));
    label27_[1] = AddLinkLabel("Label27(1)", about::kTranslator,
                               QStringLiteral("Send the translator an email"));
    label27_[1]->setProperty("address", about::kTranslatorEmail);
    lblVersion_ = NamedLabel("lblVersion", AboutVersionText(), page);

    const std::array<std::pair<QLabel*, QLabel*>, 7> rows{{
        {NamedLabel("Label14", QStringLiteral("Made by:"), page),
         NamedLabel("lblMadeBy", about::kMaker, page)},
        {NamedLabel("Label15", QStringLiteral("Email:"), page), lblEmail_},
        {NamedLabel("Label16", QStringLiteral("Homepage:"), page), lblHomepage_},
        {NamedLabel("Label20", QStringLiteral("Version:"), page), lblVersion_},
        {NamedLabel("Label26", QStringLiteral("Beta Testing:"), page), label27_[0]},
        {NamedLabel("Label29", about::kClan + QStringLiteral(" Website:"), page), label28_},
        {NamedLabel("Label32", QStringLiteral("German translation:"), page), label27_[1]},
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

    cmdCheckForUpdate_ = new QPushButton(QStringLiteral("Check for update"), page);
    cmdCheckForUpdate_->setObjectName(QStringLiteral("cmdCheckForUpdate"));
    connect(cmdCheckForUpdate_, &QPushButton::clicked, this, &frmMain::cmdCheckForUpdate_Click);
    outer->addWidget(cmdCheckForUpdate_, 0, Qt::AlignLeft);
    outer->addStretch(1);
    return page;
}

void frmMain::cmdCheckForUpdate_Click() {
    const auto answer = dialogs_.message(
        this, QMessageBox::Question, QStringLiteral("Check for update"),
        QStringLiteral("Make sure you are connected to the internet. Do you want to continue?"),
        QMessageBox::Yes | QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return;
    const QString updater =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("updater"));
    if (!desktop_.startProgram(updater, {UpdaterVersionArgument()})) {
        // The analyzer ends only once the updater runs; otherwise it stays with its data.
        dialogs_.message(this, QMessageBox::Critical, kProgramTitle,
                         QStringLiteral("The updater could not be started:\r\n%1")
                             .arg(QDir::toNativeSeparators(updater)));
        return;
    }
    close();
    emit quitRequested();
}

} // namespace qla::ui
