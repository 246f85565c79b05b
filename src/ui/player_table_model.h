// The player table's model: one row per player, the columns the table sorts by. The rows are
// copies made when the table is filled, so the view never reads a store that is being rebuilt.
#pragma once

#include "ui/player_rows.h"

#include <QAbstractTableModel>
#include <QSortFilterProxyModel>

namespace qla::ui {

class PlayerTableModel final : public QAbstractTableModel {
    Q_OBJECT

  public:
    enum Column {
        kName,
        kKills,
        kDeaths,
        kRatio,
        kTeamkills,
        kSuicides,
        kChats,
        kRating,
        kColumnCount
    };
    // The stored name with its colour codes, for the delegate that draws it in colour.
    static constexpr int kColouredNameRole = Qt::UserRole + 1;
    static constexpr int kPlayerIndexRole = Qt::UserRole + 2;

    using QAbstractTableModel::QAbstractTableModel;

    void SetRows(std::vector<PlayerRow> rows);
    // The rows' ratings, once their fit is done; the rating column is empty until then.
    void SetRatings(const std::vector<SkillRating>& fit);
    // Whether rows are listed and their ratings fitted.
    bool RatingsKnown() const { return !rows_.empty() && rows_.front().RatingKnown; }
    const PlayerRow& Row(int row) const { return rows_[static_cast<std::size_t>(row)]; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    std::vector<PlayerRow> rows_;
};

// Sorts the rows by the numbers themselves (names by their place in name order) rather than by
// their display texts, and keeps only the players whose search key holds the typed text.
class PlayerFilterModel final : public QSortFilterProxyModel {
    Q_OBJECT

  public:
    explicit PlayerFilterModel(PlayerTableModel& players, QObject* parent = nullptr);

    // The typed text; colour codes, case and accents in it are ignored as in the names.
    void SetSearch(const QString& typed);

  protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

  private:
    PlayerTableModel& players_;
    QString searchKey_;
};

} // namespace qla::ui
