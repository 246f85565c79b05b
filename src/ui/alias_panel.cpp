// The Analyze page's aliases: the file, join, split and the suggestions with their evidence.
#include "ui/alias_panel.h"

#include "analysis/alias_file.h"
#include "core/names.h"
#include "db/alias_table.h"
#include "db/database_reading.h"
#include "ui/dialogs.h"
#include "ui/window_memory.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <sstream>
#include <utility>

namespace qla::ui {

namespace {

// A name as lists show it: without colour codes, which read as noise in plain text.
QString Shown(const std::string& name) {
    return QString::fromStdString(StripColourCodes(name));
}

QString EntryText(const AliasEntry& entry) {
    if (entry.Kind == AliasKind::Split)
        return AliasPanel::tr("Split: %1").arg(Shown(entry.Name));
    return AliasPanel::tr("Join: %1 and %2").arg(Shown(entry.Name), Shown(entry.Other));
}

} // namespace

AliasPanel::AliasPanel(Dialogs& dialogs, QWidget* parent) : QWidget(parent), dialogs_(dialogs) {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);

    auto* fileBox = new QGroupBox(tr("Aliases"), this);
    fileBox->setObjectName(QStringLiteral("grpAliases"));
    auto* fileLayout = new QGridLayout(fileBox);
    lblAliasesFile_ = new QLabel(fileBox);
    lblAliasesFile_->setObjectName(QStringLiteral("lblAliasesFile"));
    lblAliasesFile_->setTextFormat(Qt::PlainText);
    lblAliasesFile_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    auto* cmdAliasesFile = new QPushButton(tr("Aliases file..."), fileBox);
    cmdAliasesFile_ = cmdAliasesFile;
    cmdAliasesFile->setObjectName(QStringLiteral("cmdAliasesFile"));
    cmdAliasesFile->setToolTip(
        tr("Choose the file that keeps your joins and splits, or name a new one to create it. "
           "It is the file qla alias --aliases changes."));
    connect(cmdAliasesFile, &QPushButton::clicked, this, &AliasPanel::ChooseFile);
    lstAliases_ = new QListWidget(fileBox);
    lstAliases_->setObjectName(QStringLiteral("lstAliases"));
    lstAliases_->setToolTip(tr("The joins and splits of the aliases file"));
    cmdJoinPlayers_ = new QPushButton(tr("Join"), fileBox);
    cmdJoinPlayers_->setObjectName(QStringLiteral("cmdJoinPlayers"));
    cmdJoinPlayers_->setToolTip(tr("Join the two players selected in the player list into one"));
    connect(cmdJoinPlayers_, &QPushButton::clicked, this, &AliasPanel::JoinSelected);
    cmbSplitName_ = new QComboBox(fileBox);
    cmbSplitName_->setObjectName(QStringLiteral("cmbSplitName"));
    cmbSplitName_->setToolTip(tr("The names of the selected player"));
    cmdSplitName_ = new QPushButton(tr("Split"), fileBox);
    cmdSplitName_->setObjectName(QStringLiteral("cmdSplitName"));
    cmdSplitName_->setToolTip(
        tr("Take this name out of its player: your joins of it are removed and it stays apart "
           "from automatic joins"));
    connect(cmdSplitName_, &QPushButton::clicked, this, &AliasPanel::SplitChosenName);
    fileLayout->addWidget(lblAliasesFile_, 0, 0, 1, 2);
    fileLayout->addWidget(cmdAliasesFile, 0, 2);
    fileLayout->addWidget(lstAliases_, 1, 0, 1, 3);
    fileLayout->addWidget(cmdJoinPlayers_, 2, 0);
    fileLayout->addWidget(cmbSplitName_, 2, 1);
    fileLayout->addWidget(cmdSplitName_, 2, 2);
    fileLayout->setColumnStretch(1, 1);
    outer->addWidget(fileBox, 1);

    auto* suggestionBox = new QGroupBox(tr("Suggested joins"), this);
    suggestionBox->setObjectName(QStringLiteral("grpSuggestions"));
    auto* suggestionLayout = new QVBoxLayout(suggestionBox);
    lstSuggestions_ = new QListWidget(suggestionBox);
    lstSuggestions_->setObjectName(QStringLiteral("lstSuggestions"));
    connect(lstSuggestions_, &QListWidget::currentRowChanged, this, &AliasPanel::ShowEvidence);
    lblSuggestionEvidence_ = new QLabel(suggestionBox);
    lblSuggestionEvidence_->setObjectName(QStringLiteral("lblSuggestionEvidence"));
    lblSuggestionEvidence_->setTextFormat(Qt::PlainText);
    lblSuggestionEvidence_->setWordWrap(true);
    cmdAcceptSuggestion_ = new QPushButton(tr("Accept"), suggestionBox);
    cmdAcceptSuggestion_->setObjectName(QStringLiteral("cmdAcceptSuggestion"));
    cmdAcceptSuggestion_->setToolTip(tr("Add this join to the aliases file"));
    connect(cmdAcceptSuggestion_, &QPushButton::clicked, this, &AliasPanel::AcceptSuggestion);
    cmdRejectSuggestion_ = new QPushButton(tr("Reject"), suggestionBox);
    cmdRejectSuggestion_->setObjectName(QStringLiteral("cmdRejectSuggestion"));
    cmdRejectSuggestion_->setToolTip(
        tr("Do not suggest this join again; the window's settings remember it"));
    connect(cmdRejectSuggestion_, &QPushButton::clicked, this, &AliasPanel::RejectSuggestion);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdAcceptSuggestion_);
    buttons->addWidget(cmdRejectSuggestion_);
    buttons->addStretch(1);
    suggestionLayout->addWidget(lstSuggestions_, 1);
    suggestionLayout->addWidget(lblSuggestionEvidence_);
    suggestionLayout->addLayout(buttons);
    outer->addWidget(suggestionBox, 1);

    ShowFile();
    ShowSuggestions();
}

void AliasPanel::KeepIn(WindowMemory& memory) {
    memory_ = &memory;
    rejected_.KeepIn(memory);
}

void AliasPanel::ShowRemembered() {
    if (!memory_ || !memory_->InUse())
        return;
    const QString path = memory_->Value(memory_keys::kAliasesFile).toString();
    if (path.isEmpty())
        return;
    // A remembered file that has gone or was damaged since is left unused, without a question
    // at start; choosing it again says why it cannot be read.
    const AliasFileResult read = ReadAliasFile(QDir::toNativeSeparators(path).toStdString(), true);
    if (!read.Ok())
        return;
    path_ = path;
    aliases_ = read.Aliases;
    ShowFile();
    ShowSuggestions();
}

bool AliasPanel::UseDatabase(const QString& database) {
    if (database == database_)
        return true;
    database_ = database;
    aliases_ = AliasList{};
    bool read = true;
    if (!database_.isEmpty()) {
        std::ostringstream err;
        if (auto stored = db::ReadDatabaseAliases(database_.toStdString(), err))
            aliases_ = std::move(*stored);
        else
            read = false;
        if (!read) {
            QString reason = QString::fromStdString(err.str()).trimmed();
            if (reason.startsWith(QLatin1String("qla: ")))
                reason.remove(0, 5);
            Refuse(reason);
        }
    } else if (!path_.isEmpty()) {
        const AliasFileResult file =
            ReadAliasFile(QDir::toNativeSeparators(path_).toStdString(), true);
        if (file.Ok())
            aliases_ = file.Aliases;
    }
    ShowFile();
    ShowSuggestions();
    return read;
}

void AliasPanel::SetMerging(bool merging) {
    merging_ = merging;
    UpdateButtons();
}

void AliasPanel::SetSelectedPlayers(std::vector<std::vector<std::string>> players) {
    selected_ = std::move(players);
    cmbSplitName_->clear();
    if (selected_.size() == 1)
        for (const std::string& name : selected_.front())
            cmbSplitName_->addItem(Shown(name), QString::fromStdString(name));
    UpdateButtons();
}

void AliasPanel::ShowSuggestionsFor(std::optional<LogNames> names) {
    names_ = std::move(names);
    ShowSuggestions();
}

void AliasPanel::ChooseFile() {
    const QString proposed =
        path_.isEmpty() ? QDir::home().filePath(QStringLiteral("aliases.txt")) : path_;
    const QString path =
        dialogs_.saveFile(this, tr("Choose or create the aliases file"),
                          {tr("Aliases files (*.txt)"), tr("All files (*)")}, proposed);
    if (path.isEmpty())
        return;
    const std::string local = QDir::toNativeSeparators(path).toStdString();
    const AliasFileResult read = ReadAliasFile(local, true);
    if (!read.Ok()) {
        Refuse(QString::fromStdString(read.Error));
        return;
    }
    // A new name makes the file at once, so that the choice is a file qla can be given too.
    if (!QFileInfo::exists(path)) {
        const std::string failed = WriteAliasFile(local, read.Aliases);
        if (!failed.empty()) {
            Refuse(QString::fromStdString(failed));
            return;
        }
    }
    path_ = path;
    aliases_ = read.Aliases;
    if (memory_)
        memory_->Keep(memory_keys::kAliasesFile, path_);
    ShowFile();
    emit aliasesChanged();
}

bool AliasPanel::ChangeAliases(const std::function<std::string(AliasList&)>& change) {
    if (!database_.isEmpty()) {
        AliasList changed;
        const std::string failed =
            db::ChangeStoredAliases(database_.toStdString(), change, changed);
        if (!failed.empty()) {
            Refuse(QString::fromStdString(failed));
            return false;
        }
        aliases_ = std::move(changed);
        ShowFile();
        emit aliasesChanged();
        return true;
    }
    if (path_.isEmpty())
        ChooseFile();
    if (path_.isEmpty())
        return false;
    const std::string local = QDir::toNativeSeparators(path_).toStdString();
    AliasFileResult read = ReadAliasFile(local, true);
    std::string failed = read.Error;
    if (failed.empty())
        failed = change(read.Aliases);
    if (failed.empty())
        failed = WriteAliasFile(local, read.Aliases);
    if (!failed.empty()) {
        Refuse(QString::fromStdString(failed));
        return false;
    }
    aliases_ = std::move(read.Aliases);
    ShowFile();
    emit aliasesChanged();
    return true;
}

void AliasPanel::JoinSelected() {
    if (!merging_ || selected_.size() != 2)
        return;
    // A merged player's first name stands for it: a join of any of its names joins it.
    const std::string name = selected_[0].front();
    const std::string other = selected_[1].front();
    ChangeAliases([&](AliasList& aliases) { return aliases.Add(name, other); });
}

void AliasPanel::SplitChosenName() {
    if (!merging_ || cmbSplitName_->currentIndex() < 0)
        return;
    const std::string name = cmbSplitName_->currentData().toString().toStdString();
    ChangeAliases([&](AliasList& aliases) { return aliases.Split(name); });
}

void AliasPanel::AcceptSuggestion() {
    const int row = lstSuggestions_->currentRow();
    if (!merging_ || row < 0 || row >= static_cast<int>(suggestions_.size()))
        return;
    const AliasSuggestion suggestion = suggestions_[static_cast<std::size_t>(row)];
    ChangeAliases(
        [&](AliasList& aliases) { return aliases.Add(suggestion.Name, suggestion.Other); });
}

void AliasPanel::RejectSuggestion() {
    const int row = lstSuggestions_->currentRow();
    if (row < 0 || row >= static_cast<int>(suggestions_.size()))
        return;
    rejected_.Reject(suggestions_[static_cast<std::size_t>(row)]);
    ShowSuggestions();
}

void AliasPanel::ShowFile() {
    cmdAliasesFile_->setEnabled(database_.isEmpty());
    if (!database_.isEmpty()) {
        lblAliasesFile_->setText(tr("The database's aliases"));
        lblAliasesFile_->setToolTip(database_);
    } else if (path_.isEmpty()) {
        lblAliasesFile_->setText(tr("No aliases file"));
        lblAliasesFile_->setToolTip(QString());
    } else {
        lblAliasesFile_->setText(QFileInfo(path_).fileName());
        lblAliasesFile_->setToolTip(QDir::toNativeSeparators(path_));
    }
    lstAliases_->clear();
    for (const AliasEntry& entry : aliases_.Entries())
        lstAliases_->addItem(EntryText(entry));
    UpdateButtons();
}

void AliasPanel::ShowSuggestions() {
    lstSuggestions_->clear();
    suggestions_.clear();
    if (!names_) {
        lblSuggestionEvidence_->setText(
            tr("Suggestions are made for a log analysed with players merged by names and "
               "renames."));
        UpdateButtons();
        return;
    }
    suggestions_ = rejected_.WithoutRejected(SuggestAliases({*names_}, aliases_));
    for (const AliasSuggestion& suggestion : suggestions_) {
        auto* item = new QListWidgetItem(
            tr("%1 and %2").arg(Shown(suggestion.Name), Shown(suggestion.Other)), lstSuggestions_);
        QStringList reasons;
        for (const std::string& reason : suggestion.Reasons)
            reasons << QString::fromStdString(reason);
        item->setToolTip(reasons.join(QLatin1Char('\n')));
    }
    if (suggestions_.empty())
        lblSuggestionEvidence_->setText(tr("No joins to suggest."));
    else
        lstSuggestions_->setCurrentRow(0);
    ShowEvidence();
}

void AliasPanel::ShowEvidence() {
    const int row = lstSuggestions_->currentRow();
    if (row >= 0 && row < static_cast<int>(suggestions_.size())) {
        // The reasons are the analysis' own words, as qla alias suggest prints them.
        QStringList reasons;
        for (const std::string& reason : suggestions_[static_cast<std::size_t>(row)].Reasons)
            reasons << QString::fromStdString(reason);
        lblSuggestionEvidence_->setText(reasons.join(QLatin1Char('\n')));
    }
    UpdateButtons();
}

void AliasPanel::UpdateButtons() {
    cmdJoinPlayers_->setEnabled(merging_ && selected_.size() == 2);
    cmbSplitName_->setEnabled(merging_ && selected_.size() == 1);
    cmdSplitName_->setEnabled(merging_ && selected_.size() == 1);
    const bool chosen = lstSuggestions_->currentRow() >= 0;
    cmdAcceptSuggestion_->setEnabled(merging_ && chosen);
    cmdRejectSuggestion_->setEnabled(chosen);
}

void AliasPanel::Refuse(const QString& reason) {
    dialogs_.message(this, QMessageBox::Warning, tr("Aliases"), reason);
}

} // namespace qla::ui
