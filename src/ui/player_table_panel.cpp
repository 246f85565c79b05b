// The player table of the Analyze page, its search box and the selected player's weapons and
// opponents.
#include "ui/player_table_panel.h"

#include "core/names.h"
#include "stats/skill_rating.h"
#include "ui/one_line_rows.h"
#include "ui/player_encounters.h"
#include "ui/player_name_delegate.h"
#include "ui/player_table_model.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QThread>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <memory>

namespace qla::ui {

namespace {

// The tables take the room the window gives them: they do not make the window taller than
// it was before the player table came, only a few rows' height.
constexpr int kSmallestTableHeight = 120;

void FitRows(QTableView* table) {
    UseOneLineRows(table);
    table->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);
    table->setMinimumHeight(kSmallestTableHeight);
}

// A number column as wide as its title or a number of `digits`, with room for the sort arrow
// where the table sorts.
void FitNumberColumn(QTableView* table, int column, const QString& caption, int digits) {
    const QFontMetrics metrics = table->horizontalHeader()->fontMetrics();
    const int width = std::max(metrics.horizontalAdvance(caption),
                               metrics.horizontalAdvance(QString(digits, QLatin1Char('0'))));
    table->horizontalHeader()->resizeSection(column, width + (table->isSortingEnabled() ? 24 : 12));
}

struct Caption {
    QString Title;
    QString Tip;
};

QTableWidget* DetailTable(const char* name, const std::array<Caption, 3>& captions,
                          QWidget* parent) {
    auto* table = new QTableWidget(0, static_cast<int>(captions.size()), parent);
    table->setObjectName(QLatin1String(name));
    for (int column = 0; column < static_cast<int>(captions.size()); ++column) {
        const Caption& caption = captions[static_cast<std::size_t>(column)];
        auto* header = new QTableWidgetItem(caption.Title);
        header->setToolTip(caption.Tip);
        table->setHorizontalHeaderItem(column, header);
        if (column > 0)
            FitNumberColumn(table, column, caption.Title, 4);
    }
    FitRows(table);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    return table;
}

void SetRow(QTableWidget* table, int row, const QString& name, std::int64_t first,
            std::int64_t second) {
    table->setItem(row, 0, new QTableWidgetItem(name));
    for (const auto& [column, value] : {std::pair{1, first}, std::pair{2, second}}) {
        auto* item = new QTableWidgetItem(QString::number(value));
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        table->setItem(row, column, item);
    }
}

} // namespace

PlayerTablePanel::PlayerTablePanel(const AnalysisStore& store, QWidget* parent)
    : QWidget(parent), store_(store) {
    setObjectName(QStringLiteral("fraPlayerTable"));
    players_ = new PlayerTableModel(this);
    shown_ = new PlayerFilterModel(*players_, this);

    lblPlayerTable_ = new QLabel(this);
    lblPlayerTable_->setObjectName(QStringLiteral("lblPlayerTable"));
    txtPlayerSearch_ = new QLineEdit(this);
    txtPlayerSearch_->setObjectName(QStringLiteral("txtPlayerSearch"));
    txtPlayerSearch_->setPlaceholderText(tr("Search players"));
    txtPlayerSearch_->setToolTip(
        tr("Shows the players whose name holds this text; colour codes, upper and lower case "
           "and accents do not matter"));
    txtPlayerSearch_->setClearButtonEnabled(true);
    connect(txtPlayerSearch_, &QLineEdit::textChanged, this, [this](const QString& text) {
        shown_->SetSearch(text);
        ShowCount();
    });

    tblPlayers_ = new QTableView(this);
    tblPlayers_->setObjectName(QStringLiteral("tblPlayers"));
    tblPlayers_->setModel(shown_);
    tblPlayers_->setItemDelegateForColumn(
        PlayerTableModel::kName,
        new PlayerNameDelegate(PlayerTableModel::kColouredNameRole, tblPlayers_));
    tblPlayers_->setSortingEnabled(true);
    tblPlayers_->sortByColumn(PlayerTableModel::kName, Qt::AscendingOrder);
    tblPlayers_->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblPlayers_->setSelectionMode(QAbstractItemView::SingleSelection);
    tblPlayers_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblPlayers_->setWordWrap(false);
    // Fixed row heights and no row numbers: the view then never measures 20,000 rows.
    FitRows(tblPlayers_);
    QHeaderView* columns = tblPlayers_->horizontalHeader();
    columns->setSectionResizeMode(PlayerTableModel::kName, QHeaderView::Stretch);
    for (int column = PlayerTableModel::kKills; column < PlayerTableModel::kColumnCount; ++column)
        FitNumberColumn(tblPlayers_, column,
                        players_->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString(),
                        6);
    tblPlayers_->setToolTip(tr("Click a column's title to sort by it"));
    connect(tblPlayers_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &PlayerTablePanel::ShowSelected);

    tblPlayerWeapons_ = DetailTable("tblPlayerWeapons",
                                    {Caption{tr("Weapon"), {}},
                                     {tr("Kills"), tr("The player's kills with the weapon")},
                                     {tr("Deaths"), tr("The player's deaths by the weapon")}},
                                    this);
    tblPlayerOpponents_ =
        DetailTable("tblPlayerOpponents",
                    {Caption{tr("Opponent"), {}},
                     {tr("Kills"), tr("How often the player killed the opponent")},
                     {tr("Deaths"), tr("How often the opponent killed the player")}},
                    this);
    tblPlayerOpponents_->setItemDelegateForColumn(
        0, new PlayerNameDelegate(PlayerTableModel::kColouredNameRole, tblPlayerOpponents_));
    // One of the two lists at a time keeps the panel low.
    tabPlayerDetails_ = new QTabWidget(this);
    tabPlayerDetails_->setObjectName(QStringLiteral("tabPlayerDetails"));
    tabPlayerDetails_->addTab(tblPlayerWeapons_, tr("Weapons"));
    tabPlayerDetails_->addTab(tblPlayerOpponents_, tr("Opponents"));
    tabPlayerDetails_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Ignored);

    auto* tableSide = new QWidget(this);
    auto* tableLayout = new QGridLayout(tableSide);
    tableLayout->setContentsMargins(0, 0, 0, 0);
    tableLayout->addWidget(lblPlayerTable_, 0, 0);
    tableLayout->addWidget(txtPlayerSearch_, 0, 1);
    tableLayout->addWidget(tblPlayers_, 1, 0, 1, 2);
    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setObjectName(QStringLiteral("splitPlayerTable"));
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(tableSide);
    splitter->addWidget(tabPlayerDetails_);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);
    ShowCount();
}

// A fit still running is waited for: its thread, a child of the panel, goes with it.
PlayerTablePanel::~PlayerTablePanel() {
    for (QThread* fit : fits_)
        fit->wait();
}

void PlayerTablePanel::ShowPlayers(std::shared_future<std::vector<std::string>> passing) {
    players_->SetRows(BuildPlayerRowsWithoutRatings(store_));
    ShowCount();
    FitRatings(std::move(passing));
}

namespace {

// What the fit reads of a store, its kill entries and the number of its records, copied: the fit
// then runs while the store may be filled again.
std::shared_ptr<AnalysisStore> KillsToFit(const AnalysisStore& store, bool passingToCome) {
    auto kills = std::make_shared<AnalysisStore>();
    kills->Players.resize(store.Players.size());
    // The fit leaves out the names many people pass through: it finds them by name.
    kills->PassingKeys = store.PassingKeys;
    if (!kills->PassingKeys.empty() || passingToCome)
        for (std::size_t p = 1; p < store.Players.size(); ++p)
            kills->Players[p].Name = store.Players[p].Name;
    kills->KillEvents = store.KillEvents;
    kills->KillEventCounts = store.KillEventCounts;
    return kills;
}

} // namespace

// The fit over a long history's pairs takes longer than the rest of the table (half the
// analysis of a 1M-line log): the table shows at once, its ratings a moment later.
void PlayerTablePanel::FitRatings(std::shared_future<std::vector<std::string>> passing) {
    const std::uint64_t fill = ++fill_;
    auto fit = std::make_shared<std::vector<SkillRating>>();
    // Taken before the lambda: the order its captures are made in is unspecified.
    std::shared_ptr<AnalysisStore> kills = KillsToFit(store_, passing.valid());
    QThread* thread =
        QThread::create([kills = std::move(kills), passing = std::move(passing), fit] {
            if (passing.valid())
                kills->PassingKeys = passing.get();
            *fit = FitSkill(EncountersOf(*kills));
        });
    thread->setParent(this);
    fits_.push_back(thread);
    connect(thread, &QThread::finished, this, [this, thread, fit, fill] {
        std::erase(fits_, thread);
        thread->wait(); // finished is sent just before the thread ends
        thread->deleteLater();
        if (fill != fill_)
            return;
        players_->SetRatings(*fit);
        emit RatingsFilled();
    });
    thread->start();
}

bool PlayerTablePanel::RatingsShown() const {
    return players_->RatingsKnown();
}

void PlayerTablePanel::Clear() {
    ++fill_;
    players_->SetRows({});
    tblPlayerWeapons_->setRowCount(0);
    tblPlayerOpponents_->setRowCount(0);
    ShowCount();
}

void PlayerTablePanel::SelectPlayer(PlayerIndex player) {
    // The rows are the store's players in store order.
    const int row = player - 1;
    if (row < 0 || row >= players_->rowCount())
        return;
    const QModelIndex shown = shown_->mapFromSource(players_->index(row, PlayerTableModel::kName));
    if (!shown.isValid())
        return;
    tblPlayers_->setCurrentIndex(shown);
    tblPlayers_->scrollTo(shown);
}

void PlayerTablePanel::ShowCount() {
    lblPlayerTable_->setText(
        tr("Player table (%1 of %2)").arg(shown_->rowCount()).arg(players_->rowCount()));
}

void PlayerTablePanel::ShowSelected() {
    tblPlayerWeapons_->setRowCount(0);
    tblPlayerOpponents_->setRowCount(0);
    const QModelIndex current = tblPlayers_->currentIndex();
    if (!current.isValid())
        return;
    const auto player = current.data(PlayerTableModel::kPlayerIndexRole).value<PlayerIndex>();
    if (player <= 0 || player > store_.PlayerCount())
        return;

    const std::vector<WeaponEncounter> weapons =
        WeaponsOf(store_.Players[static_cast<std::size_t>(player)]);
    tblPlayerWeapons_->setRowCount(static_cast<int>(weapons.size()));
    for (int row = 0; row < static_cast<int>(weapons.size()); ++row) {
        const WeaponEncounter& weapon = weapons[static_cast<std::size_t>(row)];
        const std::string_view caption = WeaponDisplayName(weapon.Weapon);
        SetRow(tblPlayerWeapons_, row,
               QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())),
               weapon.Kills, weapon.Deaths);
    }

    const std::vector<OpponentEncounter> opponents = OpponentsOf(store_, player);
    tblPlayerOpponents_->setRowCount(static_cast<int>(opponents.size()));
    for (int row = 0; row < static_cast<int>(opponents.size()); ++row) {
        const OpponentEncounter& opponent = opponents[static_cast<std::size_t>(row)];
        const std::string& name = store_.Players[static_cast<std::size_t>(opponent.Opponent)].Name;
        SetRow(tblPlayerOpponents_, row, QString::fromStdString(StripColourCodes(name)),
               opponent.Kills, opponent.Deaths);
        QTableWidgetItem* item = tblPlayerOpponents_->item(row, 0);
        item->setToolTip(QString::fromStdString(name));
        item->setData(PlayerTableModel::kColouredNameRole, QString::fromStdString(name));
    }
}

} // namespace qla::ui
