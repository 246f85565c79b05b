// frmMain: construction, page switching, drag and drop, and the state shared by the pages.
#include "ui/main_window.h"

#include "ui/desktop.h"
#include "ui/dialogs.h"
#include "ui/version.h"

#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QTimer>
#include <QVBoxLayout>

namespace qla::ui {

QString IndexedName(const char* arrayName, int index) {
    return QStringLiteral("%1(%2)").arg(QLatin1String(arrayName)).arg(index);
}

frmMain::frmMain(AnalysisStore& store, Dialogs& dialogs, Desktop& desktop, QWidget* parent)
    : QWidget(parent), store_(store), dialogs_(dialogs), desktop_(desktop) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(kProgramTitle);
    setAcceptDrops(true);

    tabMain_ = new QTabBar(this);
    tabMain_->setObjectName(QStringLiteral("tabMain"));
    for (const char* caption :
         {"Logfile Information", "Analyze Logfile", "Export Logfile", "About"})
        tabMain_->addTab(QString::fromLatin1(caption));

    // A stacked widget keeps the window as large as its largest page, so switching pages never
    // resizes it; the pages are still shown and hidden one at a time.
    pages_ = new QStackedWidget(this);
    pages_->setObjectName(QStringLiteral("stackPages"));
    const std::array<QWidget*, 4> built{BuildInfoPage(), BuildAnalyzePage(), BuildExportPage(),
                                        BuildAboutPage()};
    for (int i = 0; i < 4; ++i) {
        fraPage_[i] = built[i];
        fraPage_[i]->setObjectName(IndexedName("fraPage", i));
        pages_->addWidget(fraPage_[i]);
    }

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabMain_);
    layout->addWidget(pages_, 1);
    connect(tabMain_, &QTabBar::currentChanged, this, &frmMain::tabMain_Click);

    // Start-up state: nothing loaded, export only after the first analysis, first entries chosen.
    store_.LogFileLoaded = false;
    cmdExport_->setEnabled(false);
    for (QComboBox* box : cmbSortHow_)
        box->setCurrentIndex(0);
    cmbExportType_->setCurrentIndex(0);
    cmbLanguage_->setCurrentIndex(0);
    tabMain_Click(0);
    tabExport_Click(0);

    // At least the designed 7400 x 4900 twips, larger where the captions need it.
    resize(sizeHint().expandedTo(QSize(493, 327)));
}

void frmMain::tabMain_Click(int tab) {
    if (tab < 0 || tab > 3)
        return;
    pages_->setCurrentIndex(tab);
    for (int i = 0; i < 4; ++i)
        fraPage_[i]->setVisible(i == tab);
}

void frmMain::tabExport_Click(int tab) {
    if (tab < 0 || tab > 5)
        return;
    subPages_->setCurrentIndex(tab);
    for (int i = 0; i < 6; ++i)
        fraExport_[i]->setVisible(i == tab);
}

void frmMain::dragEnterEvent(QDragEnterEvent* event) {
    const QMimeData* data = event->mimeData();
    if (!running_ && data->hasUrls() && !data->urls().isEmpty() &&
        data->urls().first().isLocalFile())
        event->acceptProposedAction();
}

void frmMain::dropEvent(QDropEvent* event) {
    const QMimeData* data = event->mimeData();
    if (running_ || !data->hasUrls() || data->urls().isEmpty() ||
        !data->urls().first().isLocalFile())
        return;
    event->acceptProposedAction();
    OpenLog(data->urls().first().toLocalFile());
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtServerName_ && event->type() == QEvent::FocusIn) {
        txtServerName_GotFocus();
    } else if (event->type() == QEvent::MouseButtonRelease) {
        if (watched == lblHomepage_)
            OpenInNewBrowserWindow(desktop_, lblHomepage_->text());
        else if (watched == label28_)
            OpenInNewBrowserWindow(desktop_, label28_->text());
        else if (watched == lblEmail_)
            OpenMailLink(desktop_, lblEmail_->property("address").toString());
        else if (watched == label27_[0] || watched == label27_[1])
            OpenMailLink(desktop_, watched->property("address").toString());
    }
    return QWidget::eventFilter(watched, event);
}

void frmMain::txtServerName_GotFocus() {
    if (txtServerName_->text() == kPlaceholderTitle)
        txtServerName_->clear();
    txtServerName_->selectAll();
    // A mouse click places the cursor after focus arrives; select again once it has.
    QTimer::singleShot(0, txtServerName_, [box = txtServerName_] { box->selectAll(); });
}

void frmMain::SetRunning(bool running) {
    running_ = running;
    cmdOpen_->setEnabled(!running);
    cmdStart_->setEnabled(!running);
    cmbLanguage_->setEnabled(!running);
    // No export may read a half-rebuilt store; the first run enables Export for good.
    cmdExport_->setEnabled(!running);
}

void frmMain::ShowWriterError(const std::string& error) {
    dialogs_.message(this, QMessageBox::NoIcon, kProgramTitle, QString::fromStdString(error));
}

} // namespace qla::ui
