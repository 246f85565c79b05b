// MainWindow: places the pages, switches between them, keeps the controls still during a run,
// and opens dropped files.
#include "ui/main_window.h"

#include "ui/about_page.h"
#include "ui/analyze_page.h"
#include "ui/dialogs.h"
#include "ui/log_info_page.h"
#include "ui/version.h"

#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>

namespace qla::ui {

namespace {

// The smallest size the window opens with; larger where the pages' captions need it.
constexpr QSize kMinimumOpeningSize(493, 327);

} // namespace

MainWindow::MainWindow(AnalysisStore& store, Dialogs& dialogs, Desktop& desktop, QWidget* parent)
    : QWidget(parent), store_(store), dialogs_(dialogs), desktop_(desktop) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(kProgramTitle);
    setAcceptDrops(true);

    tabMain_ = new QTabBar(this);
    tabMain_->setObjectName(QStringLiteral("tabMain"));
    for (const char* caption :
         {"Logfile Information", "Analyze Logfile", "Export Logfile", "About"})
        tabMain_->addTab(QString::fromLatin1(caption));

    infoPage_ = new LogInfoPage(store_, dialogs_);
    txtServerName_ = infoPage_->findChild<QLineEdit*>(QStringLiteral("txtServerName"));
    txtDateTime_ = infoPage_->findChild<QLineEdit*>(QStringLiteral("txtDateTime"));
    analyzePage_ = new AnalyzePage(store_, dialogs_, [this] { return infoPage_->Language(); });
    QWidget* exportPage = BuildExportPage();
    aboutPage_ = new AboutPage(dialogs_, desktop_);

    // A stacked widget keeps the window as large as its largest page, so switching pages never
    // resizes it; the pages are still shown and hidden one at a time.
    pages_ = new QStackedWidget(this);
    pages_->setObjectName(QStringLiteral("stackPages"));
    const std::array<QWidget*, 4> built{infoPage_, analyzePage_, exportPage, aboutPage_};
    for (int i = 0; i < 4; ++i) {
        fraPage_[i] = built[i];
        fraPage_[i]->setObjectName(IndexedName("fraPage", i));
        pages_->addWidget(fraPage_[i]);
    }

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabMain_);
    layout->addWidget(pages_, 1);
    connect(tabMain_, &QTabBar::currentChanged, this, &MainWindow::ShowPage);
    connect(infoPage_, &LogInfoPage::logOpened, analyzePage_, &AnalyzePage::ClearResults);
    connect(analyzePage_, &AnalyzePage::runningChanged, this, &MainWindow::SetRunning);
    connect(analyzePage_, &AnalyzePage::playersListed, this, &MainWindow::ShowPlayerChoices);
    connect(aboutPage_, &AboutPage::quitRequested, this, &MainWindow::quitRequested);

    // Start-up state: nothing loaded, export only after the first analysis, first entries chosen.
    store_.LogFileLoaded = false;
    cmdExport_->setEnabled(false);
    for (QComboBox* box : cmbSortHow_)
        box->setCurrentIndex(0);
    cmbExportType_->setCurrentIndex(0);
    ShowPage(0);
    tabExport_Click(0);

    resize(sizeHint().expandedTo(kMinimumOpeningSize));
}

int MainWindow::ProgressRepaints() const {
    return analyzePage_->ProgressRepaints();
}

void MainWindow::ShowPage(int tab) {
    if (tab < 0 || tab > 3)
        return;
    pages_->setCurrentIndex(tab);
    for (int i = 0; i < 4; ++i)
        fraPage_[i]->setVisible(i == tab);
}

void MainWindow::tabExport_Click(int tab) {
    if (tab < 0 || tab > 5)
        return;
    subPages_->setCurrentIndex(tab);
    for (int i = 0; i < 6; ++i)
        fraExport_[i]->setVisible(i == tab);
}

void MainWindow::ShowPlayerChoices(const QStringList& names) {
    cmbPlayer_->clear();
    cmbPlayer_->addItems(names);
    // Like the player list, the choice starts without a chosen player.
    cmbPlayer_->setCurrentIndex(-1);
}

void MainWindow::OpenLog(const QString& path) {
    if (!running_)
        infoPage_->OpenLog(path);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    const QMimeData* data = event->mimeData();
    if (!running_ && data->hasUrls() && !data->urls().isEmpty() &&
        data->urls().first().isLocalFile())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QMimeData* data = event->mimeData();
    if (running_ || !data->hasUrls() || data->urls().isEmpty() ||
        !data->urls().first().isLocalFile())
        return;
    event->acceptProposedAction();
    OpenLog(data->urls().first().toLocalFile());
}

void MainWindow::SetRunning(bool running) {
    running_ = running;
    infoPage_->SetControlsEnabled(!running);
    analyzePage_->SetControlsEnabled(!running);
    // No export may read a half-rebuilt store; the first run enables Export for good.
    cmdExport_->setEnabled(!running);
}

void MainWindow::ShowWriterError(const std::string& error) {
    dialogs_.message(this, QMessageBox::NoIcon, kProgramTitle, QString::fromStdString(error));
}

} // namespace qla::ui
