// The Awards tab of the Analyze page: the awards over everything analysed and the records of
// any one session, worked out as the statistics site's awards and records pages work them out,
// after the same award table.
#pragma once

#include "core/store.h"
#include "export/statistics_site_settings.h"

#include <QWidget>

#include <functional>
#include <optional>
#include <string>

class QLabel;
class QTableWidget;

namespace qla::ui {

// What the site would be made of now: a log's name and date, or a database's history. Nothing
// with an empty error while the analysis is read again with what the awards need.
using AwardsSource = std::function<std::optional<StatisticsSiteSource>(std::string& error)>;

class AwardsPanel final : public QWidget {
    Q_OBJECT

  public:
    AwardsPanel(const AnalysisStore& store, AwardsSource source, QWidget* parent = nullptr);

    void UseSource(AwardsSource source) { source_ = std::move(source); }
    // Works the awards out again from the store (after a run); shown at once when visible,
    // else when the tab is next shown.
    void ResultsChanged();
    // Empties both tables (the store is about to change).
    void Clear();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void ShowAwards();

    const AnalysisStore& store_;
    AwardsSource source_;
    bool stale_ = false; // the tables do not show the store's awards yet
    QLabel* lblAwardsNote_ = nullptr;
    QTableWidget* tblAwards_ = nullptr;
    QTableWidget* tblRecords_ = nullptr;
};

} // namespace qla::ui
