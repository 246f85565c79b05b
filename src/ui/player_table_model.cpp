// The player table's model and its sorting and searching proxy.
#include "ui/player_table_model.h"

#include "stats/ratio.h"
#include "ui/player_search_key.h"

#include <QLocale>

#include <array>
#include <limits>

namespace qla::ui {

namespace {

constexpr std::array<const char*, PlayerTableModel::kColumnCount> kColumnCaptions{
    QT_TRANSLATE_NOOP("qla::ui::PlayerTableModel", "Name"),
    QT_TRANSLATE_NOOP("qla::ui::PlayerTableModel", "Kills"),
    QT_TRANSLATE_NOOP("qla::ui::PlayerTableModel", "Deaths"),
    QT_TRANSLATE_NOOP("qla::ui::PlayerTableModel", "K/D"),
    QT_TRANSLATE_NOOP("qla::ui::PlayerTableModel", "Teamkills"),
    QT_TRANSLATE_NOOP("qla::ui::PlayerTableModel", "Suicides"),
    QT_TRANSLATE_NOOP("qla::ui::PlayerTableModel", "Chats"),
    QT_TRANSLATE_NOOP("qla::ui::PlayerTableModel", "Rating")};

// The value a number column sorts by; the name column sorts by NamePlace.
std::int64_t SortValue(const PlayerRow& row, int column) {
    switch (column) {
    case PlayerTableModel::kKills:
        return row.Kills;
    case PlayerTableModel::kDeaths:
        return row.Deaths;
    case PlayerTableModel::kRatio:
        return row.RatioHundredths;
    case PlayerTableModel::kTeamkills:
        return row.Teamkills;
    case PlayerTableModel::kSuicides:
        return row.Suicides;
    case PlayerTableModel::kChats:
        return row.Chats;
    case PlayerTableModel::kRating:
        // Not fitted yet: below every rating, ties in name order.
        return row.RatingKnown ? row.Rating : std::numeric_limits<std::int64_t>::min();
    default:
        return row.NamePlace;
    }
}

} // namespace

void PlayerTableModel::SetRows(std::vector<PlayerRow> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

void PlayerTableModel::SetRatings(const std::vector<SkillRating>& fit) {
    if (rows_.empty())
        return;
    qla::ui::SetRatings(rows_, fit);
    emit dataChanged(index(0, kRating), index(rowCount() - 1, kRating));
}

int PlayerTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int PlayerTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant PlayerTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const PlayerRow& row = Row(index.row());
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        if (column == kName)
            return row.VisibleName;
        if (column == kRating && !row.RatingKnown)
            return {};
        if (column == kRatio)
            return QString::fromStdString(
                RatioText(row.RatioHundredths, QLocale().decimalPoint().toStdString()));
        return QVariant::fromValue<qlonglong>(SortValue(row, column));
    case Qt::ToolTipRole:
        if (column == kName)
            return QString::fromStdString(row.Name);
        if (column == kRating && row.RatingKnown)
            return tr("%1 ± %2 points, from %3 kills either way")
                .arg(row.Rating)
                .arg(row.RatingUncertainty)
                .arg(row.Encounters);
        return {};
    case Qt::TextAlignmentRole:
        return column == kName ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                               : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    case kColouredNameRole:
        return QString::fromStdString(row.Name);
    case kPlayerIndexRole:
        return row.Player;
    default:
        return {};
    }
}

QVariant PlayerTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= kColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    return tr(kColumnCaptions[static_cast<std::size_t>(section)]);
}

PlayerFilterModel::PlayerFilterModel(PlayerTableModel& players, QObject* parent)
    : QSortFilterProxyModel(parent), players_(players) {
    setSourceModel(&players_);
    setDynamicSortFilter(true);
}

void PlayerFilterModel::SetSearch(const QString& typed) {
    const QString key = PlayerSearchKey(typed);
    if (key == searchKey_)
        return;
    searchKey_ = key;
    invalidateFilter();
}

bool PlayerFilterModel::filterAcceptsRow(int sourceRow, const QModelIndex&) const {
    return searchKey_.isEmpty() || players_.Row(sourceRow).SearchKey.contains(searchKey_);
}

bool PlayerFilterModel::lessThan(const QModelIndex& left, const QModelIndex& right) const {
    const PlayerRow& a = players_.Row(left.row());
    const PlayerRow& b = players_.Row(right.row());
    const std::int64_t x = SortValue(a, left.column());
    const std::int64_t y = SortValue(b, left.column());
    if (x != y)
        return x < y;
    // Equal numbers list in name order either way: the view turns the comparison round for a
    // descending sort, so it is turned here too for the names.
    return sortOrder() == Qt::AscendingOrder ? a.NamePlace < b.NamePlace
                                             : a.NamePlace > b.NamePlace;
}

} // namespace qla::ui
