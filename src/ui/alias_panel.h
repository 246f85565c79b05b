// The Analyze page's aliases: the aliases file (chosen or created in the window), joining two
// selected players, splitting a name out of its player, and the alias suggestions of the log on
// show with their evidence, to accept (adds the join) or reject (not offered again). The file
// is the one `qla alias add/split --aliases FILE` changes, read and written the same way. While
// the page shows a statistics database, its own aliases take the file's place, as `qla alias
// --db` and `qla --db --merge-players` use them.
#pragma once

#include "analysis/alias_list.h"
#include "analysis/alias_suggestions.h"
#include "analysis/log_names.h"
#include "ui/rejected_suggestions.h"

#include <QWidget>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace qla::ui {

class Dialogs;
class WindowMemory;

class AliasPanel final : public QWidget {
    Q_OBJECT

  public:
    AliasPanel(Dialogs& dialogs, QWidget* parent = nullptr);

    // The aliases file and the rejected suggestions are kept in `memory` from now on;
    // ShowRemembered reads the file kept there.
    void KeepIn(WindowMemory& memory);
    void ShowRemembered();

    // The aliases the players are merged with; empty without a file.
    const AliasList& Aliases() const { return aliases_; }
    QString AliasesPath() const { return path_; }

    // Uses the aliases of the database at `database` (a file path or a PostgreSQL target) from
    // now on; an empty text goes back to the aliases file. False, after saying why, when the
    // database's aliases cannot be read (the panel then holds none).
    bool UseDatabase(const QString& database);

    // Aliases take effect only when players are merged; joining and splitting wait till then.
    void SetMerging(bool merging);
    // The names of each player selected on the page (each list in order of first appearance).
    void SetSelectedPlayers(std::vector<std::vector<std::string>> players);
    // The names of the log on show, from a run that followed renames (the store tracked its
    // holders); none when it did not, or when nothing is on show.
    void ShowSuggestionsFor(std::optional<LogNames> names);

  signals:
    // The aliases changed (a join, a split, an accepted suggestion or another file).
    void aliasesChanged();

  private:
    void ChooseFile();
    // Reads the file again (another program may have changed it), applies `change` and writes
    // the file. False, after saying why, when there is no file or it cannot be read or written.
    bool ChangeAliases(const std::function<std::string(AliasList&)>& change);
    void JoinSelected();
    void SplitChosenName();
    void AcceptSuggestion();
    void RejectSuggestion();
    void ShowFile();
    void ShowSuggestions();
    void ShowEvidence();
    void UpdateButtons();
    void Refuse(const QString& reason);

    Dialogs& dialogs_;
    WindowMemory* memory_ = nullptr;
    QString path_;
    QString database_; // the database whose aliases are in use; empty: the file's
    AliasList aliases_;
    QPushButton* cmdAliasesFile_ = nullptr;
    RejectedSuggestions rejected_;
    bool merging_ = false;
    std::vector<std::vector<std::string>> selected_;
    std::optional<LogNames> names_;
    std::vector<AliasSuggestion> suggestions_; // as listed in lstSuggestions

    QLabel* lblAliasesFile_ = nullptr;
    QListWidget* lstAliases_ = nullptr;
    QPushButton* cmdJoinPlayers_ = nullptr;
    QComboBox* cmbSplitName_ = nullptr;
    QPushButton* cmdSplitName_ = nullptr;
    QListWidget* lstSuggestions_ = nullptr;
    QLabel* lblSuggestionEvidence_ = nullptr;
    QPushButton* cmdAcceptSuggestion_ = nullptr;
    QPushButton* cmdRejectSuggestion_ = nullptr;
};

} // namespace qla::ui
