// MainWindow: places the pages, switches between them, keeps the controls still during a run,
// and opens dropped files.
#include "ui/main_window.h"

#include "ui/about_page.h"
#include "ui/analyze_page.h"
#include "ui/export_page.h"
#include "ui/log_info_page.h"
#include "ui/version.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QShortcut>
#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>

namespace qla::ui {

namespace {

// The smallest size the window opens with; larger where the pages' captions need it.
constexpr QSize kMinimumOpeningSize(493, 327);

} // namespace

MainWindow::MainWindow(AnalysisStore& store, Dialogs& dialogs, Desktop& desktop, QWidget* parent)
    : QWidget(parent), store_(store) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(kProgramTitle);
    setAcceptDrops(true);
    store_.LogFileLoaded = false;

    tabMain_ = new QTabBar(this);
    tabMain_->setObjectName(QStringLiteral("tabMain"));
    for (const QString& caption :
         {tr("Logfile Information"), tr("Analyze Logfile"), tr("Export Logfile"), tr("About")})
        tabMain_->addTab(caption);

    infoPage_ = new LogInfoPage(store_, dialogs, memory_);
    analyzePage_ = new AnalyzePage(store_, dialogs, [this] {
        return AnalysisChoice{infoPage_->Language(), infoPage_->LineRecognition()};
    });
    analyzePage_->KeepChoiceIn(memory_);
    exportPage_ = new ExportPage(store_, *infoPage_, dialogs, desktop, memory_,
                                 [this] { return analyzePage_->LastTotals(); });
    aboutPage_ = new AboutPage(dialogs, desktop);

    // A stacked widget keeps the window as large as its largest page, so switching pages never
    // resizes it; the pages are still shown and hidden one at a time.
    pages_ = new QStackedWidget(this);
    pages_->setObjectName(QStringLiteral("stackPages"));
    const std::array<QWidget*, 4> pages{infoPage_, analyzePage_, exportPage_, aboutPage_};
    for (int i = 0; i < 4; ++i) {
        fraPage_[i] = pages[i];
        fraPage_[i]->setObjectName(IndexedName("fraPage", i));
        pages_->addWidget(fraPage_[i]);
    }

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabMain_);
    layout->addWidget(pages_, 1);
    connect(tabMain_, &QTabBar::currentChanged, this, &MainWindow::ShowPage);
    connect(infoPage_, &LogInfoPage::logOpened, analyzePage_, &AnalyzePage::ClearResults);
    connect(analyzePage_, &AnalyzePage::playersListed, exportPage_, &ExportPage::ShowPlayerChoices);
    connect(analyzePage_, &AnalyzePage::runningChanged, this, &MainWindow::SetRunning);
    connect(exportPage_, &ExportPage::runningChanged, this, &MainWindow::SetRunning);
    connect(aboutPage_, &AboutPage::quitRequested, this, &MainWindow::quitRequested);
    ShowPage(0);

    // Ctrl+O opens a log from every page, as Open File does on the first.
    auto* open = new QShortcut(QKeySequence::Open, this);
    open->setObjectName(QStringLiteral("shortcutOpen"));
    connect(open, &QShortcut::activated, this, [this] {
        if (!running_)
            infoPage_->ChooseAndOpenLog();
    });

    resize(sizeHint().expandedTo(kMinimumOpeningSize));
}

void MainWindow::RememberIn(QSettings& settings) {
    memory_.UseSettings(&settings);
    infoPage_->ShowRemembered();
    analyzePage_->ShowRemembered();
    exportPage_->ShowRemembered();
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
    exportPage_->SetControlsEnabled(!running);
}

} // namespace qla::ui
