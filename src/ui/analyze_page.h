// The "Analyze Logfile" page: the Analyze button, the analysis run with its progress, the
// whole-log totals, the player list and the selected player's totals, and the player table.
#pragma once

#include "analysis/analysis.h"
#include "analysis/merge_players.h"
#include "ui/awards_panel.h"
#include "ui/player_merge_choice.h"

#include <QElapsedTimer>
#include <QStringList>
#include <QWidget>

#include <array>
#include <functional>
#include <future>
#include <optional>
#include <utility>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTabWidget;

namespace qla::ui {

class AliasPanel;
class Dialogs;
class PlayerTablePanel;
class WindowMemory;

// The analysis the page runs: the core's AnalyzeLog, which resets the store first.
using AnalysisRun = std::function<AnalysisTotals(AnalysisStore&, LogLanguage, Recognition,
                                                 const AnalysisProgressCallback&)>;

inline AnalysisTotals CoreAnalysis(AnalysisStore& store, LogLanguage language,
                                   Recognition recognition,
                                   const AnalysisProgressCallback& progress) {
    return AnalyzeLog(store, language, recognition, progress);
}

// What the Logfile Information page has chosen, asked at every Analyze click.
struct AnalysisChoice {
    LogLanguage Language = LogLanguage::English;
    Recognition LineRecognition = Recognition::Classic;
};

class AnalyzePage final : public QWidget {
    Q_OBJECT

  public:
    // `chosen` is asked at every Analyze click.
    AnalyzePage(AnalysisStore& store, Dialogs& dialogs, std::function<AnalysisChoice()> chosen,
                AnalysisRun run = CoreAnalysis, QWidget* parent = nullptr);

    // Zeroes every number box and empties the player list; the store is left alone.
    void ClearResults();

    // Analyze stays disabled while an analysis or export runs.
    void SetControlsEnabled(bool enabled);

    // The totals of the last run (lines by kind included); zero before a run and once cleared.
    const AnalysisTotals& LastTotals() const { return lastTotals_; }

    // How often the progress repainted the window during the last run.
    int ProgressRepaints() const { return progressRepaints_; }

    // The merge choice and the aliases file are kept in `memory` from now on; ShowRemembered
    // shows what it holds.
    void KeepChoiceIn(WindowMemory& memory);
    void ShowRemembered();
    PlayerMergeChoice MergeChoice() const;

    // Analyze runs `run` from now on instead of analysing the open log (a statistics database's
    // selection); an empty run analyses the log again. AnalyzeNow clicks Analyze.
    void UseRun(AnalysisRun run) { sourceRun_ = std::move(run); }
    // The aliases of the database on show (AliasPanel::UseDatabase); empty: the aliases file.
    void UseDatabaseAliases(const QString& database);
    bool UsesOwnRun() const { return static_cast<bool>(sourceRun_); }
    // The identity keys a database's run hides (HidePlayers, once merged); each run starts with
    // none, and a database's run sets its own.
    void UseHiddenKeys(std::vector<std::string> keys) { hiddenKeys_ = std::move(keys); }
    // The names of each merged player of the run on show; nullopt when it merged nothing.
    const std::optional<MergedNames>& Merged() const { return merged_; }
    void AnalyzeNow() { AnalyzeCurrentLog(); }
    // Where the Awards tab finds the log's name and date, or a database's history.
    void UseAwardsSource(AwardsSource source);
    // Puts the names many people pass through, found beside a run by name, into the store,
    // waiting for them if need be: what every reader of the store's ratings asks first.
    void SettlePassingKeys();

  signals:
    // True as a run starts, false once it ended (also when it failed).
    void runningChanged(bool running);
    // The player names in list order after a run; empty when the results were cleared.
    void playersListed(const QStringList& names);

  private:
    void AnalyzeCurrentLog();
    void RunAnalysis(const AnalysisChoice& choice);
    void ShowProgress(const AnalysisProgress& progress);
    void ShowTotals(const AnalysisTotals& totals);
    void FillPlayerList();
    void FindPassingNamesBeside(const AnalysisChoice& choice);
    // `source` asked after the passing names are settled; empty: the log on its own.
    AwardsSource Settling(AwardsSource source);
    void ShowSelectedPlayer();
    // The names a merged player was seen under, for its tooltip and detail line; empty when
    // the run merged nothing or the player kept one name.
    QString NamesOfMergedPlayer(PlayerIndex player) const;
    // Hands the names of the players selected in the list to the aliases panel.
    void ShowSelectionToAliases();

    AnalysisStore& store_;
    Dialogs& dialogs_;
    std::function<AnalysisChoice()> chosen_;
    AnalysisRun run_;
    AnalysisRun sourceRun_; // set: the source is not the open log

    int progressRepaints_ = 0;
    QElapsedTimer sinceRepaint_;

    // Whether the results on show come from a run, and its choice, so that changing the merge
    // choice analyses again.
    bool analysed_ = false;
    AnalysisChoice lastChoice_;
    AnalysisTotals lastTotals_;
    // The names of each merged player of the run on show; none when it merged nothing.
    std::optional<MergedNames> merged_;
    std::vector<std::string> hiddenKeys_;
    // The passing names of the run on show, while they are worked out beside it.
    std::shared_future<std::vector<std::string>> passing_;
    WindowMemory* memory_ = nullptr;

    QPushButton* cmdStart_ = nullptr;
    QComboBox* cmbMergePlayers_ = nullptr;
    std::array<QLineEdit*, 7> totals_{};
    std::array<QLineEdit*, 7> playerTotals_{};
    QLabel* lblPlayername_ = nullptr;
    QLabel* lblPlayers_ = nullptr;
    QListWidget* lstNames_ = nullptr;
    QLabel* lblMergedNames_ = nullptr;
    PlayerTablePanel* playerTable_ = nullptr;
    AwardsPanel* awardsPanel_ = nullptr;
    QTabWidget* tabResults_ = nullptr; // the player table and the awards
    AliasPanel* aliasPanel_ = nullptr;
    QProgressBar* pgbAnalyze_ = nullptr;
    QPushButton* cmdCancelAnalyze_ = nullptr;
    bool cancelRequested_ = false;
};

} // namespace qla::ui
