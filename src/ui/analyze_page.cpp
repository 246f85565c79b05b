// The "Analyze Logfile" page: the analysis run with its progress, the whole-log totals, the
// player list and the selected player's column.
#include "ui/analyze_page.h"

#include "analysis/hidden_players.h"
#include "analysis/holder_identity.h"
#include "analysis/log_names.h"
#include "analysis/merge_players.h"
#include "core/names.h"
#include "ui/alias_panel.h"
#include "ui/busy_pointer.h"
#include "ui/dialogs.h"
#include "ui/player_table_panel.h"
#include "ui/window_memory.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <future>
#include <new>
#include <utility>
#include <vector>

namespace qla::ui {

namespace {

// The display repaints at most this often during a run; the final totals come from the result.
constexpr qint64 kRepaintIntervalMs = 50;

// Thrown by the progress report when Cancel was clicked: it leaves the run between two lines.
struct AnalysisCancelled {};

constexpr std::array<const char*, 7> kRowLabelNames{"Label3", "Label5", "Label6", "Label7",
                                                    "Label8", "Label9", "Label10"};
constexpr std::array<const char*, 7> kRowCaptions{
    QT_TRANSLATE_NOOP("qla::ui::AnalyzePage", "Kills"),
    QT_TRANSLATE_NOOP("qla::ui::AnalyzePage", "Deaths"),
    QT_TRANSLATE_NOOP("qla::ui::AnalyzePage", "Teamkills"),
    QT_TRANSLATE_NOOP("qla::ui::AnalyzePage", "Voicechats"),
    QT_TRANSLATE_NOOP("qla::ui::AnalyzePage", "Textchats"),
    QT_TRANSLATE_NOOP("qla::ui::AnalyzePage", "Unknown"),
    QT_TRANSLATE_NOOP("qla::ui::AnalyzePage", "Total")};
constexpr std::array<const char*, 7> kTotalNames{"txtKills",      "txtDeaths",    "txtTeamkills",
                                                 "txtVoiceChats", "txtTextChats", "txtUnknown",
                                                 "txtTotal"};
constexpr std::array<const char*, 7> kPlayerNames{
    "txtPKills",     "txtPDeaths",  "txtPTeamkills", "txtPVoiceChats",
    "txtPTextChats", "txtPUnknown", "txtPTotal"};

QLineEdit* NumberBox(const char* name, QWidget* parent) {
    auto* box = new QLineEdit(QStringLiteral("0"), parent);
    box->setObjectName(QLatin1String(name));
    box->setReadOnly(true);
    box->setAlignment(Qt::AlignRight);
    box->setMinimumWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("00000000000")));
    return box;
}

// The values of one column of number boxes, in the order of the rows.
template <class Totals> std::array<std::int64_t, 7> RowValues(const Totals& totals) {
    return {totals.Kills,     totals.Deaths,  totals.Teamkills, totals.VoiceChats,
            totals.TextChats, totals.Unknown, totals.Total};
}

// Names are listed alphabetically with case ignored; names equal but for case by exact text.
bool ListOrder(const QString& a, const QString& b) {
    const int folded = QString::compare(a, b, Qt::CaseInsensitive);
    return folded != 0 ? folded < 0 : a < b;
}

} // namespace

AnalyzePage::AnalyzePage(AnalysisStore& store, Dialogs& dialogs,
                         std::function<AnalysisChoice()> chosen, AnalysisRun run, QWidget* parent)
    : QWidget(parent), store_(store), dialogs_(dialogs), chosen_(std::move(chosen)),
      run_(std::move(run)) {
    auto* outer = new QVBoxLayout(this);

    cmdStart_ = new QPushButton(tr("Analyze"), this);
    cmdStart_->setObjectName(QStringLiteral("cmdStart"));
    cmdStart_->setToolTip(tr("Analyze current logfile"));
    connect(cmdStart_, &QPushButton::clicked, this, &AnalyzePage::AnalyzeCurrentLog);
    auto* mergeLabel = new QLabel(tr("Merge players:"), this);
    mergeLabel->setObjectName(QStringLiteral("lblMergePlayers"));
    cmbMergePlayers_ = new QComboBox(this);
    cmbMergePlayers_->setObjectName(QStringLiteral("cmbMergePlayers"));
    // The items follow the order of PlayerMergeChoice: an item's index is its choice.
    cmbMergePlayers_->addItems({tr("No merging"), tr("Names only"), tr("Names and renames")});
    cmbMergePlayers_->setToolTip(
        tr("No merging: each name is a player of its own.\n"
           "Names only: names that differ only in colour codes, upper and lower case or blanks at "
           "the ends become one player.\n"
           "Names and renames: also follows each person through his renames and across the "
           "log's sessions; people who play under one name at the same time stay apart, and two "
           "merged players of the same name are told apart by a number.\n"
           "The merged players are used in the player list and in every export; the totals stay "
           "the same."));
    mergeLabel->setBuddy(cmbMergePlayers_);
    // A shown analysis follows the choice at once; otherwise the next Analyze click does.
    connect(cmbMergePlayers_, &QComboBox::currentIndexChanged, this, [this] {
        if (memory_)
            memory_->Keep(memory_keys::kMergePlayers, MemoryWordOf(MergeChoice()));
        aliasPanel_->SetMerging(MergeChoice() != PlayerMergeChoice::None);
        if (analysed_)
            RunAnalysis(lastChoice_);
    });
    auto* top = new QHBoxLayout;
    top->addWidget(cmdStart_);
    top->addWidget(mergeLabel);
    top->addWidget(cmbMergePlayers_);
    top->addStretch(1);
    outer->addLayout(top);

    auto* middle = new QHBoxLayout;
    auto* grid = new QGridLayout;
    auto* label12 = new QLabel(tr("Total"), this);
    label12->setObjectName(QStringLiteral("Label12"));
    lblPlayername_ = new QLabel(tr("Selected player"), this);
    lblPlayername_->setObjectName(QStringLiteral("lblPlayername"));
    // A long name must not widen the column and with it the window: the label takes the
    // column's width and shows the name shortened, in full in its tooltip.
    lblPlayername_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    grid->addWidget(label12, 0, 1);
    grid->addWidget(lblPlayername_, 0, 2);
    int gridRow = 1;
    for (int i = 0; i < 7; ++i) {
        if (i == 6) {
            // The line under "Unknown", as above a sum.
            auto* line = new QFrame(this);
            line->setObjectName(QStringLiteral("Line1"));
            line->setFrameShape(QFrame::HLine);
            line->setFrameShadow(QFrame::Sunken);
            grid->addWidget(line, gridRow++, 0, 1, 3);
        }
        auto* label = new QLabel(tr(kRowCaptions[i]), this);
        label->setObjectName(QLatin1String(kRowLabelNames[i]));
        totals_[i] = NumberBox(kTotalNames[i], this);
        playerTotals_[i] = NumberBox(kPlayerNames[i], this);
        grid->addWidget(label, gridRow, 0);
        grid->addWidget(totals_[i], gridRow, 1);
        grid->addWidget(playerTotals_[i], gridRow, 2);
        ++gridRow;
    }
    grid->setRowStretch(gridRow, 1);
    middle->addLayout(grid);

    auto* listColumn = new QVBoxLayout;
    lblPlayers_ = new QLabel(tr("Players"), this);
    lblPlayers_->setObjectName(QStringLiteral("lblPlayers"));
    lstNames_ = new QListWidget(this);
    lstNames_->setObjectName(QStringLiteral("lstNames"));
    lstNames_->setToolTip(tr("Select player to view details"));
    lstNames_->setMinimumWidth(160);
    connect(lstNames_, &QListWidget::currentRowChanged, this, &AnalyzePage::ShowSelectedPlayer);
    // Two players selected together can be joined in the aliases panel.
    lstNames_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    connect(lstNames_, &QListWidget::itemSelectionChanged, this,
            &AnalyzePage::ShowSelectionToAliases);
    listColumn->addWidget(lblPlayers_);
    listColumn->addWidget(lstNames_, 1);
    // The selected merged player's names, shown only when it has more than one.
    lblMergedNames_ = new QLabel(this);
    lblMergedNames_->setObjectName(QStringLiteral("lblMergedNames"));
    lblMergedNames_->setWordWrap(true);
    lblMergedNames_->setTextFormat(Qt::PlainText);
    lblMergedNames_->setVisible(false);
    listColumn->addWidget(lblMergedNames_);
    middle->addLayout(listColumn, 1);
    aliasPanel_ = new AliasPanel(dialogs_, this);
    aliasPanel_->setObjectName(QStringLiteral("aliasPanel"));
    // Changed aliases show at once in the analysis on show, as a changed merge choice does.
    connect(aliasPanel_, &AliasPanel::aliasesChanged, this, [this] {
        if (analysed_)
            RunAnalysis(lastChoice_);
    });
    middle->addWidget(aliasPanel_, 1);
    outer->addLayout(middle, 1);
    playerTable_ = new PlayerTablePanel(store_, this);
    // Once the table is rated the store holds the passing names its fit left out.
    connect(playerTable_, &PlayerTablePanel::RatingsFilled, this, &AnalyzePage::SettlePassingKeys);
    awardsPanel_ = new AwardsPanel(store_, Settling({}), this);
    tabResults_ = new QTabWidget(this);
    tabResults_->setObjectName(QStringLiteral("tabResults"));
    tabResults_->addTab(playerTable_, tr("Players"));
    tabResults_->addTab(awardsPanel_, tr("Awards"));
    outer->addWidget(tabResults_, 2);

    auto* bottom = new QHBoxLayout;
    auto* label4 = new QLabel(tr("Progress"), this);
    label4->setObjectName(QStringLiteral("Label4"));
    pgbAnalyze_ = new QProgressBar(this);
    pgbAnalyze_->setObjectName(QStringLiteral("pgbAnalyze"));
    pgbAnalyze_->setRange(0, 1);
    pgbAnalyze_->setValue(0);
    pgbAnalyze_->setTextVisible(false);
    cmdCancelAnalyze_ = new QPushButton(tr("Cancel"), this);
    cmdCancelAnalyze_->setObjectName(QStringLiteral("cmdCancelAnalyze"));
    cmdCancelAnalyze_->setToolTip(tr("Stop the analysis; what it found so far is dropped"));
    cmdCancelAnalyze_->setEnabled(false);
    connect(cmdCancelAnalyze_, &QPushButton::clicked, this, [this] { cancelRequested_ = true; });
    bottom->addWidget(label4);
    bottom->addWidget(pgbAnalyze_, 1);
    bottom->addWidget(cmdCancelAnalyze_);
    outer->addLayout(bottom);
}

void AnalyzePage::KeepChoiceIn(WindowMemory& memory) {
    memory_ = &memory;
    aliasPanel_->KeepIn(memory);
}

void AnalyzePage::ShowRemembered() {
    if (!memory_)
        return;
    aliasPanel_->ShowRemembered();
    const QString word = memory_->Value(memory_keys::kMergePlayers).toString();
    cmbMergePlayers_->setCurrentIndex(static_cast<int>(MergeChoiceFromMemory(word)));
}

PlayerMergeChoice AnalyzePage::MergeChoice() const {
    return static_cast<PlayerMergeChoice>(cmbMergePlayers_->currentIndex());
}

void AnalyzePage::AnalyzeCurrentLog() {
    if (!sourceRun_ && !store_.LogFileLoaded) {
        dialogs_.message(this, QMessageBox::Warning, tr("Start analyze"),
                         tr("Open a logfile first"));
        return;
    }
    RunAnalysis(chosen_());
}

void AnalyzePage::RunAnalysis(const AnalysisChoice& choice) {
    const BusyPointer busy;
    const auto upperBound = store_.LogLines.size() > 0 ? store_.LogLines.size() - 1 : 0;
    // A range of 0..0 would make the bar a busy indicator; a one-line log shows 0 of 1.
    pgbAnalyze_->setRange(0, static_cast<int>(std::max<std::size_t>(upperBound, 1)));
    emit runningChanged(true);
    // The run resets the store itself; the page only clears what it shows.
    ClearResults();
    progressRepaints_ = 0;
    sinceRepaint_.start();
    cancelRequested_ = false;
    cmdCancelAnalyze_->setEnabled(true);
    struct CancelOff {
        QPushButton* button;
        ~CancelOff() { button->setEnabled(false); }
    } const cancelOff{cmdCancelAnalyze_};

    // Persons over time need each holder's use of a name as a record of its own; any other
    // choice analyses per name, as the classic outputs count. The run's reset keeps the flag.
    const PlayerMergeChoice merge = MergeChoice();
    store_.TracksHolders = merge == PlayerMergeChoice::WithRenames;
    AnalysisTotals totals;
    hiddenKeys_.clear();
    try {
        totals = (sourceRun_ ? sourceRun_
                             : run_)(store_, choice.Language, choice.LineRecognition,
                                     [this](const AnalysisProgress& p) { ShowProgress(p); });
    } catch (const AnalysisCancelled&) {
        // The store holds part of the log: it is emptied as by a reset, so every total is 0 and
        // Analyze can run again on the same lines.
        store_.Reset();
        ClearResults();
        pgbAnalyze_->setValue(0);
        emit runningChanged(false);
        return;
    } catch (const std::bad_alloc&) {
        // A log with more players or lines than memory holds: what was found so far is dropped.
        store_.Reset();
        ClearResults();
        emit runningChanged(false);
        pgbAnalyze_->setValue(0);
        dialogs_.message(this, QMessageBox::Critical, tr("Start analyze"),
                         tr("There is not enough memory to analyse this log."));
        return;
    } catch (const std::exception& error) {
        // Nothing in the run is expected to throw; if it does, say so and leave usable controls.
        emit runningChanged(false);
        pgbAnalyze_->setValue(0);
        dialogs_.message(this, QMessageBox::Critical, tr("Start analyze"),
                         tr("The analysis stopped: %1").arg(QString::fromUtf8(error.what())));
        return;
    }
    // The suggestions need the names and renames as analysed, before merging changes them.
    std::optional<LogNames> names;
    if (store_.TracksHolders)
        names = NamesOfStore(store_);
    if (merge == PlayerMergeChoice::None && !sourceRun_)
        FindPassingNamesBeside(choice);
    if (merge != PlayerMergeChoice::None)
        merged_ = MergePlayers(store_, aliasPanel_->Aliases());
    HidePlayers(store_, hiddenKeys_, merged_ ? &*merged_ : nullptr);
    aliasPanel_->ShowSuggestionsFor(std::move(names));
    analysed_ = true;
    lastChoice_ = choice;
    ShowTotals(totals);
    lastTotals_ = totals;
    FillPlayerList();
    pgbAnalyze_->setValue(0);
    emit runningChanged(false);
}

// A log read by name is read once more with its holders, on a thread of its own, to tell the
// names many people pass through: the ratings leave them out, as qla's readings by name do.
// Tracking the holders in the run itself would hold the player table back by half as long again
// on a log whose names all pass around.
void AnalyzePage::FindPassingNamesBeside(const AnalysisChoice& choice) {
    passing_ = std::async(std::launch::async, [lines = store_.LogLines, choice] {
                   try {
                       AnalysisStore holders;
                       holders.TracksHolders = true;
                       holders.LogLines = lines;
                       AnalyzeLog(holders, choice.Language, choice.LineRecognition);
                       return PassingNameKeys(holders);
                   } catch (const std::bad_alloc&) {
                       // Without the memory for a second reading every name is
                       // rated, as the classic counts would rate them.
                       return std::vector<std::string>();
                   }
               }).share();
}

void AnalyzePage::SettlePassingKeys() {
    if (!passing_.valid())
        return;
    store_.PassingKeys = passing_.get();
    passing_ = {};
}

AwardsSource AnalyzePage::Settling(AwardsSource source) {
    return [this, source = std::move(source)](std::string& error) {
        SettlePassingKeys();
        return source ? source(error) : std::optional<StatisticsSiteSource>(StatisticsSiteSource());
    };
}

void AnalyzePage::ShowProgress(const AnalysisProgress& progress) {
    // Every 4096 lines is still far too often to repaint; a bounded rate keeps the run fast. The
    // first report always repaints: a short run may end before the first interval is over.
    if (progressRepaints_ > 0 && sinceRepaint_.elapsed() < kRepaintIntervalMs)
        return;
    sinceRepaint_.restart();
    pgbAnalyze_->setValue(static_cast<int>(progress.Position));
    if (progress.Totals)
        ShowTotals(*progress.Totals);
    ++progressRepaints_;
    QCoreApplication::processEvents();
    if (cancelRequested_)
        throw AnalysisCancelled{};
}

void AnalyzePage::ShowTotals(const AnalysisTotals& totals) {
    const auto values = RowValues(totals);
    for (int i = 0; i < 7; ++i)
        totals_[i]->setText(QString::number(values[i]));
}

void AnalyzePage::ClearResults() {
    analysed_ = false;
    passing_ = {}; // never settled into a store that changed since
    lastTotals_ = {};
    merged_.reset();
    lblMergedNames_->clear();
    lblMergedNames_->setVisible(false);
    for (int i = 0; i < 7; ++i) {
        totals_[i]->setText(QStringLiteral("0"));
        playerTotals_[i]->setText(QStringLiteral("0"));
    }
    lblPlayername_->setText(tr("Selected player"));
    lblPlayername_->setToolTip(QString());
    lstNames_->clear();
    playerTable_->Clear();
    awardsPanel_->Clear();
    lblPlayers_->setText(tr("Players (%1)").arg(0));
    aliasPanel_->ShowSuggestionsFor(std::nullopt);
    emit playersListed({});
}

void AnalyzePage::SetControlsEnabled(bool enabled) {
    cmdStart_->setEnabled(enabled);
    cmbMergePlayers_->setEnabled(enabled);
    aliasPanel_->setEnabled(enabled);
}

void AnalyzePage::FillPlayerList() {
    lstNames_->clear();
    std::vector<std::pair<QString, PlayerIndex>> players;
    players.reserve(store_.Players.size());
    for (const PlayerIndex index : store_.PlayerIndexes())
        players.emplace_back(
            QString::fromStdString(store_.Players[static_cast<std::size_t>(index)].Name), index);
    std::stable_sort(players.begin(), players.end(),
                     [](const auto& a, const auto& b) { return ListOrder(a.first, b.first); });
    QStringList sorted;
    sorted.reserve(static_cast<qsizetype>(players.size()));
    for (const auto& [name, index] : players) {
        sorted << name;
        auto* item = new QListWidgetItem(name, lstNames_);
        item->setToolTip(NamesOfMergedPlayer(index));
        // The record itself: after a merge over time a shown name need not find it by name.
        item->setData(Qt::UserRole, index);
    }
    playerTable_->ShowPlayers(passing_);
    awardsPanel_->ResultsChanged();
    lblPlayers_->setText(tr("Players (%1)").arg(lstNames_->count()));
    emit playersListed(sorted);
}

void AnalyzePage::ShowSelectedPlayer() {
    const QListWidgetItem* item = lstNames_->currentItem();
    if (!item)
        return;
    const QString name = item->text();
    const PlayerIndex index = item->data(Qt::UserRole).value<PlayerIndex>();
    if (index < 1 || index > store_.PlayerCount())
        return;
    const PlayerRecord& player = store_.Players[static_cast<std::size_t>(index)];
    const int width = std::max(lblPlayername_->width(), playerTotals_[0]->minimumWidth());
    lblPlayername_->setText(lblPlayername_->fontMetrics().elidedText(
        QString::fromStdString(StripColourCodes(player.Name)), Qt::ElideRight, width));
    lblPlayername_->setToolTip(name);
    const QString names = NamesOfMergedPlayer(index);
    lblMergedNames_->setText(names);
    lblMergedNames_->setVisible(!names.isEmpty());
    const PlayerTotals totals = TotalsOfPlayer(player);
    const auto values = RowValues(totals);
    for (int i = 0; i < 7; ++i)
        playerTotals_[i]->setText(QString::number(values[i]));
    // The player table follows the list, with the player's weapons and opponents.
    playerTable_->SelectPlayer(index);
}

void AnalyzePage::UseAwardsSource(AwardsSource source) {
    awardsPanel_->UseSource(Settling(std::move(source)));
}

QString AnalyzePage::NamesOfMergedPlayer(PlayerIndex player) const {
    if (!merged_)
        return {};
    const std::vector<std::string>& names = merged_->NamesOf(player);
    if (names.size() < 2)
        return {};
    QStringList shown;
    for (const std::string& name : names)
        shown << QString::fromStdString(name);
    return tr("Names: %1").arg(shown.join(QStringLiteral(", ")));
}

void AnalyzePage::UseDatabaseAliases(const QString& database) {
    aliasPanel_->UseDatabase(database);
}

void AnalyzePage::ShowSelectionToAliases() {
    std::vector<std::vector<std::string>> players;
    for (const QListWidgetItem* item : lstNames_->selectedItems()) {
        const PlayerIndex index = item->data(Qt::UserRole).value<PlayerIndex>();
        if (index < 1 || index > store_.PlayerCount())
            continue;
        std::vector<std::string> names;
        if (merged_)
            names = merged_->NamesOf(index);
        if (names.empty())
            names.push_back(store_.Players[static_cast<std::size_t>(index)].Name);
        players.push_back(std::move(names));
    }
    aliasPanel_->SetSelectedPlayers(std::move(players));
}

} // namespace qla::ui
