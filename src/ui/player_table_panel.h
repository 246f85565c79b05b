// The player table of the Analyze page: every player of the analysed log with kills, deaths,
// kill/death ratio, teamkills, suicides and chats, sortable by each; a search box; and the
// selected player's weapons and opponents beside it.
#pragma once

#include "core/store.h"

#include <QWidget>

#include <cstdint>
#include <future>
#include <string>
#include <vector>

class QLabel;
class QThread;
class QLineEdit;
class QTabWidget;
class QTableView;
class QTableWidget;

namespace qla::ui {

class PlayerFilterModel;
class PlayerTableModel;

class PlayerTablePanel final : public QWidget {
    Q_OBJECT

  public:
    // Reads `store` when filled and when a player is selected.
    explicit PlayerTablePanel(const AnalysisStore& store, QWidget* parent = nullptr);
    ~PlayerTablePanel() override;

    // Lists the store's players (after a run); the search text and sort order stay. `passing`,
    // when given, brings the names many people pass through (AnalysisStore::PassingKeys) that
    // the store does not hold yet; the fit waits for them.
    void ShowPlayers(std::shared_future<std::vector<std::string>> passing = {});
    // Empties the table and the selected player's lists (the store is about to change).
    void Clear();
    // Selects the player's row and shows it, when the search leaves it in the table.
    void SelectPlayer(PlayerIndex player);
    // Whether the rating column shows the ratings of the players listed (their fit is done).
    bool RatingsShown() const;

  signals:
    // The rating column was filled.
    void RatingsFilled();

  private:
    void ShowSelected();
    void ShowCount();
    // Fits the ratings on a thread of its own: the kills either way between the players are
    // taken from the store now, and the column is filled when the fit is done, unless the table
    // was filled again or emptied since.
    void FitRatings(std::shared_future<std::vector<std::string>> passing);

    const AnalysisStore& store_;
    PlayerTableModel* players_ = nullptr;
    PlayerFilterModel* shown_ = nullptr;
    QLineEdit* txtPlayerSearch_ = nullptr;
    QLabel* lblPlayerTable_ = nullptr;
    QTableView* tblPlayers_ = nullptr;
    QTableWidget* tblPlayerWeapons_ = nullptr;
    QTableWidget* tblPlayerOpponents_ = nullptr;
    QTabWidget* tabPlayerDetails_ = nullptr; // the weapons and the opponents
    std::uint64_t fill_ = 0;                 // counts the fillings and emptyings of the table
    std::vector<QThread*> fits_; // running; each deleted when done, or waited for on closing
};

} // namespace qla::ui
