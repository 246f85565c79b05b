// MainWindow: places the pages, switches between them, keeps the controls still during a run,
// and opens dropped files.
#include "ui/main_window.h"

#include "db/database_file.h"
#include "front/database_site_source.h"
#include "front/streamed_lines.h"
#include "front/view_texts.h"
#include "ui/about_page.h"
#include "ui/analyze_page.h"
#include "ui/database_window.h"
#include "ui/export_page.h"
#include "ui/log_info_page.h"
#include "ui/version.h"
#include "ui/work_beside_window.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QHBoxLayout>
#include <QMimeData>
#include <QPushButton>
#include <QShortcut>
#include <QStackedWidget>
#include <QTabBar>
#include <QTimer>
#include <QVBoxLayout>

#include <sstream>
#include <stdexcept>
#include <unordered_set>

namespace qla::ui {

namespace {

// The smallest size the window opens with; larger where the pages' captions need it.
constexpr QSize kMinimumOpeningSize(493, 327);

// The reason in a database reader's "qla: <reason>" line, for a message box.
std::string ReasonOf(std::string line) {
    if (line.rfind("qla: ", 0) == 0)
        line.erase(0, 5);
    while (!line.empty() && line.back() == '\n')
        line.pop_back();
    return line;
}

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
    analyzePage_->UseAwardsSource(LogAwardsSource());
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

    // The statistics database opens in a window of its own beside the tab strip, so the four
    // pages stay as they are.
    databaseWindow_ = new DatabaseWindow(dialogs, memory_, this);
    cmdDatabase_ = new QPushButton(tr("Statistics Database..."), this);
    cmdDatabase_->setObjectName(QStringLiteral("cmdDatabase"));
    connect(cmdDatabase_, &QPushButton::clicked, this, [this] {
        databaseWindow_->show();
        databaseWindow_->raise();
    });
    connect(databaseWindow_, &DatabaseWindow::selectionChosen, this,
            &MainWindow::ShowDatabaseSelection);
    connect(infoPage_, &LogInfoPage::logOpened, this, [this] {
        analyzePage_->UseRun({});
        analyzePage_->UseDatabaseAliases({});
        exportPage_->UseSourceDate(std::nullopt);
        exportPage_->UseSiteSource({});
        // An export's ratings leave out the names many people pass through, as qla's do.
        exportPage_->UseStoreCompletion([this](ExportView) {
            analyzePage_->SettlePassingKeys();
            return true;
        });
        analyzePage_->UseAwardsSource(LogAwardsSource());
    });

    auto* layout = new QVBoxLayout(this);
    auto* strip = new QHBoxLayout;
    strip->addWidget(tabMain_, 1);
    strip->addWidget(cmdDatabase_);
    layout->addLayout(strip);
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
    if (const QString database = databaseWindow_->RememberedDatabase(); !database.isEmpty())
        databaseWindow_->OpenDatabase(database, false);
}

void MainWindow::ShowDatabaseSelection(const db::DatabaseSource& source) {
    if (running_)
        return;
    // Merged as `qla --db --merge-players` merges: with the database's own aliases.
    analyzePage_->UseDatabaseAliases(QString::fromStdString(source.Path));
    // The selection's chats and other lines are most of what a long history holds, and only
    // some views show them: the player table is shown without them, the chat views, the other
    // lines and the statistics site stream them from the database as they are written, and
    // Export All (and a selection merged over time, whose chats go by their holdings) reads the
    // selection again with them first.
    struct Texts {
        bool Wanted = false, Held = false;
        // The order of the kills alone, for the awards' streaks and first blood.
        bool OrderWanted = false, OrderHeld = false;
        // Whether the last reading may stream the rows, and what it read (the figures that show
        // whether the database still holds the same selection).
        bool Streams = false;
        db::LoadedStore Read;
    };
    const auto texts = std::make_shared<Texts>();
    exportPage_->UseStoreCompletion([this, texts](ExportView view) {
        const db::StoreParts shown = front::PartsShownBy(view);
        if (texts->Held || (!shown.Chats && !shown.UnknownLines))
            return true;
        if (texts->Streams && front::StreamsLines(view)) {
            if (!shown.KillOrder || texts->OrderHeld)
                return true;
            texts->OrderWanted = true;
            analyzePage_->AnalyzeNow();
            return texts->OrderHeld;
        }
        texts->Wanted = true;
        analyzePage_->AnalyzeNow();
        return texts->Held;
    });
    exportPage_->UseLineSource([this, source, texts](ExportView view, std::string& error)
                                   -> std::optional<std::shared_ptr<const LineSource>> {
        if (texts->Held || !texts->Streams || !front::StreamsLines(view))
            return nullptr;
        const std::optional<MergedNames>& merged = analyzePage_->Merged();
        const std::unordered_set<std::string> hidden(texts->Read.HiddenKeys.begin(),
                                                     texts->Read.HiddenKeys.end());
        std::ostringstream err;
        auto streamed = front::StreamedLines::Open(
            source, texts->Read,
            [this, &merged, hidden](std::string_view name) {
                return front::FiledUnder(store_, merged ? &*merged : nullptr, hidden, name);
            },
            err);
        if (!streamed) {
            error = ReasonOf(err.str());
            return std::nullopt;
        }
        if (*streamed) {
            const std::shared_ptr<front::StreamedLines> owner = std::move(*streamed);
            return std::shared_ptr<const LineSource>(owner, &owner->Lines());
        }
        // The database changed since the selection was read: it is read again, with the
        // texts, and the export writes what it holds now.
        texts->Wanted = true;
        analyzePage_->AnalyzeNow();
        if (!texts->Held)
            return std::nullopt; // the run said why
        return nullptr;
    });
    analyzePage_->UseAwardsSource([this, texts](std::string& error) {
        if (texts->OrderHeld) // held with the texts too
            return exportPage_->SiteSourceNow(error);
        if (!texts->OrderWanted) {
            // After the run that shows them: the Awards tab asks while a run ends.
            texts->OrderWanted = true;
            QTimer::singleShot(0, analyzePage_, [this] { analyzePage_->AnalyzeNow(); });
        }
        return std::optional<StatisticsSiteSource>();
    });
    // Read as `qla --db` reads it for the views: without the renames, which no view shows.
    analyzePage_->UseRun([this, source, texts](AnalysisStore& store, LogLanguage, Recognition,
                                               const AnalysisProgressCallback&) {
        std::ostringstream err;
        auto loaded = RunBesideWindow([&] {
            const bool tracksHolders = store.TracksHolders;
            store.Reset();
            store.TracksHolders = tracksHolders;
            texts->Held = texts->OrderHeld = false;
            texts->Streams = !tracksHolders;
            // The texts are wanted by the views that show them, the site among them, whose
            // awards also need the order of the kills.
            return db::LoadFromDatabase(
                source, store, err,
                db::StoreParts{.Chats = texts->Wanted,
                               .UnknownLines = texts->Wanted,
                               .Renames = false,
                               .KillOrder = texts->Wanted || texts->OrderWanted,
                               .PassingNames = !tracksHolders}); // the player table's ratings
        });
        if (!loaded)
            throw std::runtime_error(ReasonOf(err.str()));
        texts->Held = texts->Wanted;
        texts->OrderHeld = texts->Wanted || texts->OrderWanted;
        // What the rows streamed at an export must still stand beside (not the kills' order).
        texts->Read = db::LoadedStore{loaded->Totals, loaded->DateText, {}, loaded->HiddenKeys};
        texts->Read.Logs.Ids = loaded->Logs.Ids;
        texts->Read.Logs.Paths = loaded->Logs.Paths;
        texts->Read.Logs.Dates = loaded->Logs.Dates;
        analyzePage_->UseHiddenKeys(loaded->HiddenKeys);
        exportPage_->UseSourceDate(loaded->DateText.value_or(""));
        // The site's figures as qla export --db --view dashboard reads them.
        exportPage_->UseSiteSource([this, source, loaded = *loaded](std::string& error) {
            std::ostringstream reason;
            auto history =
                RunBesideWindow([&] { return db::ReadDashboardHistory(source, reason); });
            if (!history) {
                error = ReasonOf(reason.str());
                return std::optional<StatisticsSiteSource>();
            }
            return std::optional<StatisticsSiteSource>(
                front::DatabaseSiteSource(source.Path, loaded.Totals, loaded.DateText, loaded.Logs,
                                          std::move(*history), store_, analyzePage_->Merged()));
        });
        return loaded->Totals;
    });
    tabMain_->setCurrentIndex(1);
    analyzePage_->AnalyzeNow();
}

AwardsSource MainWindow::LogAwardsSource() {
    return [this](std::string& error) { return exportPage_->SiteSourceNow(error); };
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
    if (running_)
        return;
    if (db::IsStatisticsDatabaseFile(QFile::encodeName(path).toStdString())) {
        if (databaseWindow_->OpenDatabase(path, false))
            databaseWindow_->show();
        return;
    }
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
