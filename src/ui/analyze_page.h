// The "Analyze Logfile" page: the Analyze button, the analysis run with its progress, the
// whole-log totals, the player list and the selected player's totals.
#pragma once

#include "analysis/analysis.h"

#include <QElapsedTimer>
#include <QStringList>
#include <QWidget>

#include <array>
#include <functional>

class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;

namespace qla::ui {

class Dialogs;

// The analysis the page runs: the core's AnalyzeLog (classic recognition), which resets the store
// first.
using AnalysisRun =
    std::function<AnalysisTotals(AnalysisStore&, LogLanguage, const AnalysisProgressCallback&)>;

inline AnalysisTotals ClassicAnalysis(AnalysisStore& store, LogLanguage language,
                                      const AnalysisProgressCallback& progress) {
    return AnalyzeLog(store, language, progress);
}

class AnalyzePage final : public QWidget {
    Q_OBJECT

  public:
    // `chosenLanguage` is asked at every Analyze click.
    AnalyzePage(AnalysisStore& store, Dialogs& dialogs, std::function<LogLanguage()> chosenLanguage,
                AnalysisRun run = ClassicAnalysis, QWidget* parent = nullptr);

    // Zeroes every number box and empties the player list; the store is left alone.
    void ClearResults();

    // Analyze stays disabled while an analysis or export runs.
    void SetControlsEnabled(bool enabled);

    // How often the progress repainted the window during the last run.
    int ProgressRepaints() const { return progressRepaints_; }

  signals:
    // True as a run starts, false once it ended (also when it failed).
    void runningChanged(bool running);
    // The player names in list order after a run; empty when the results were cleared.
    void playersListed(const QStringList& names);

  private:
    void AnalyzeCurrentLog();
    void RunAnalysis(LogLanguage language);
    void ShowProgress(const AnalysisProgress& progress);
    void ShowTotals(const AnalysisTotals& totals);
    void FillPlayerList();
    void ShowSelectedPlayer();

    AnalysisStore& store_;
    Dialogs& dialogs_;
    std::function<LogLanguage()> chosenLanguage_;
    AnalysisRun run_;

    int progressRepaints_ = 0;
    QElapsedTimer sinceRepaint_;

    // Whole-log column and selected-player column, in the order of the rows.
    QPushButton* cmdStart_ = nullptr;
    std::array<QLineEdit*, 7> totals_{};
    std::array<QLineEdit*, 7> playerTotals_{};
    QLabel* lblPlayername_ = nullptr;
    QLabel* lblPlayers_ = nullptr;
    QListWidget* lstNames_ = nullptr;
    QProgressBar* pgbAnalyze_ = nullptr;
};

} // namespace qla::ui
