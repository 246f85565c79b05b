// The aliases on the Analyze page: joining and splitting with an aliases file gives back the
// merged players exactly, and suggestions are accepted into the file or rejected for good.
#include "ui/analyze_page.h"

#include "ui/window_memory.h"
#include "ui_test_support.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>

using namespace qla;
using namespace qla::ui;
using namespace qla::ui::test;

namespace {

// The list's names, each with its tooltip (the names of a merged player) and kills.
QMap<QString, QString> Listed(QWidget* page) {
    QMap<QString, QString> listed;
    auto* list = Control<QListWidget>(page, "lstNames");
    for (int row = 0; row < list->count(); ++row) {
        list->setCurrentRow(row);
        listed.insert(list->item(row)->text(), list->item(row)->toolTip() + QStringLiteral(" / ") +
                                                   Control<QLineEdit>(page, "txtPKills")->text());
    }
    return listed;
}

// Selects exactly the listed players `names` (as a user does with Ctrl held).
void SelectPlayers(QWidget* page, const QStringList& names) {
    auto* list = Control<QListWidget>(page, "lstNames");
    list->clearSelection();
    for (const QString& name : names) {
        const QList<QListWidgetItem*> found = list->findItems(name, Qt::MatchExactly);
        QCOMPARE(found.size(), 1);
        list->setCurrentItem(found.first(), QItemSelectionModel::Select);
    }
}

QStringList Items(QWidget* page, const QString& listName) {
    QStringList items;
    auto* list = Control<QListWidget>(page, listName);
    for (int row = 0; row < list->count(); ++row)
        items << list->item(row)->text();
    return items;
}

QString FileText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

class AliasPanelTest : public QObject {
    Q_OBJECT

  private slots:
    void joinAndSplitGiveBackTheMergedPlayersExactly();
    void unreadableAliasesFileIsRefusedWithItsLine();
    void suggestionsAreAcceptedIntoTheFileOrRejectedForGood();

  private:
    void Open(AnalysisStore& store, const QStringList& lines);
    QTemporaryDir dir_;
};

void AliasPanelTest::Open(AnalysisStore& store, const QStringList& lines) {
    const QString log = WriteLog(dir_, QStringLiteral("aliases.log"), lines);
    QVERIFY(OpenLogFile(store, QFile::encodeName(log).toStdString()).Opened);
}

void AliasPanelTest::joinAndSplitGiveBackTheMergedPlayersExactly() {
    AnalysisStore store;
    FakeDialogs dialogs;
    AnalyzePage page(store, dialogs, [] { return AnalysisChoice{}; });
    // ^1Bravo and bravo are one player by name; Alpha and Bravo only by the user's join.
    Open(store, {KillLine("Alpha", "^1Bravo"), KillLine("Charlie", "bravo"),
                 KillLine("Bravo", "Alpha"), KillLine("Alpha", "Charlie")});
    Click(&page, "cmdStart");
    SelectPlayers(&page, {"Alpha", "Charlie"});
    // Without merging there is nothing for aliases to act on.
    QVERIFY(!Control<QPushButton>(&page, "cmdJoinPlayers")->isEnabled());

    Control<QComboBox>(&page, "cmbMergePlayers")->setCurrentIndex(1);
    const QMap<QString, QString> before = Listed(&page);
    QCOMPARE(before.keys(), QStringList({"Alpha", "Charlie", "^1Bravo"}));
    QCOMPARE(before.value("^1Bravo"), QStringLiteral("Names: ^1Bravo, bravo, Bravo / 2"));

    // The first join asks for the file and creates it.
    const QString aliases = dir_.filePath(QStringLiteral("join-split.txt"));
    dialogs.QueuePath(aliases);
    SelectPlayers(&page, {"^1Bravo", "Alpha"});
    QVERIFY(Control<QPushButton>(&page, "cmdJoinPlayers")->isEnabled());
    QVERIFY(!Control<QPushButton>(&page, "cmdSplitName")->isEnabled());
    Click(&page, "cmdJoinPlayers");
    QVERIFY(dialogs.AllAnswersUsed());
    QCOMPARE(dialogs.shown.size(), 1);
    QCOMPARE(dialogs.shown[0].Kind, QStringLiteral("save"));
    QVERIFY(FileText(aliases).contains(QStringLiteral("join\t^1Bravo\tAlpha\n")));
    QCOMPARE(Control<QLabel>(&page, "lblAliasesFile")->text(), QStringLiteral("join-split.txt"));
    QCOMPARE(Items(&page, "lstAliases"), QStringList({"Join: Bravo and Alpha"}));
    const QMap<QString, QString> joined = Listed(&page);
    QCOMPARE(joined.size(), 2);
    QCOMPARE(joined.value("Charlie"), before.value("Charlie"));
    // The joined player is named by its name of most lines and adds up the kills.
    const QString joinedName =
        joined.firstKey() == "Charlie" ? joined.lastKey() : joined.firstKey();
    QCOMPARE(joined.value(joinedName), QStringLiteral("Names: Alpha, ^1Bravo, bravo, Bravo / 3"));

    // Splitting Alpha back out: the file is already known, no dialog.
    SelectPlayers(&page, {joinedName});
    auto* splitName = Control<QComboBox>(&page, "cmbSplitName");
    QCOMPARE(splitName->count(), 4);
    splitName->setCurrentIndex(splitName->findText(QStringLiteral("Alpha")));
    Click(&page, "cmdSplitName");
    QCOMPARE(dialogs.shown.size(), 1);
    QCOMPARE(Listed(&page), before);
    // Splitting a name the user joined only takes the join back: the file holds nothing.
    QVERIFY(!FileText(aliases).contains(QStringLiteral("join\t")));
    QVERIFY(!FileText(aliases).contains(QStringLiteral("split\t")));
    QCOMPARE(Items(&page, "lstAliases"), QStringList());

    // Splitting a name joined by the merge itself keeps a split that holds it apart.
    SelectPlayers(&page, {"^1Bravo"});
    splitName->setCurrentIndex(splitName->findText(QStringLiteral("bravo")));
    Click(&page, "cmdSplitName");
    QVERIFY(FileText(aliases).contains(QStringLiteral("split\tbravo\n")));
    QCOMPARE(Items(&page, "lstAliases"), QStringList({"Split: bravo"}));
    QCOMPARE(Listed(&page).keys(), QStringList({"Alpha", "Charlie", "^1Bravo", "bravo"}));
    QCOMPARE(Listed(&page).value("bravo"), QStringLiteral(" / 1"));

    // Back to no merging: the classic per-name players, whatever the file holds.
    Control<QComboBox>(&page, "cmbMergePlayers")->setCurrentIndex(0);
    QCOMPARE(Listed(&page).keys(), QStringList({"Alpha", "Bravo", "Charlie", "^1Bravo", "bravo"}));
}

void AliasPanelTest::unreadableAliasesFileIsRefusedWithItsLine() {
    AnalysisStore store;
    FakeDialogs dialogs;
    AnalyzePage page(store, dialogs, [] { return AnalysisChoice{}; });
    const QString damaged = dir_.filePath(QStringLiteral("damaged.txt"));
    QFile file(damaged);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("# mine\njoin\tAlpha\n");
    file.close();
    dialogs.QueuePath(damaged);
    dialogs.QueueButton(QMessageBox::Ok);
    Click(&page, "cmdAliasesFile");
    QCOMPARE(dialogs.shown.size(), 2);
    QCOMPARE(dialogs.shown[1].Icon, QMessageBox::Warning);
    QCOMPARE(dialogs.shown[1].Text,
             damaged +
                 QStringLiteral(": line 2: expected join<TAB>NAME<TAB>OTHER or split<TAB>NAME"));
    QCOMPARE(Control<QLabel>(&page, "lblAliasesFile")->text(), QStringLiteral("No aliases file"));
    QCOMPARE(FileText(damaged), QStringLiteral("# mine\njoin\tAlpha\n"));
}

void AliasPanelTest::suggestionsAreAcceptedIntoTheFileOrRejectedForGood() {
    QTemporaryDir settingsDir;
    QSettings settings(settingsDir.filePath("window.conf"), QSettings::IniFormat);
    WindowMemory memory;
    memory.UseSettings(&settings);
    // [TKS]Ghost and Ghost differ by a clan tag, Viper and Viper2 by a trailing number.
    const QStringList lines{KillLine("[TKS]Ghost", "Viper"), KillLine("Viper2", "Ghost"),
                            KillLine("Ghost", "Viper2"), KillLine("Viper", "[TKS]Ghost")};
    const QString aliases = dir_.filePath(QStringLiteral("suggested.txt"));
    {
        AnalysisStore store;
        FakeDialogs dialogs;
        AnalyzePage page(store, dialogs, [] { return AnalysisChoice{}; });
        page.KeepChoiceIn(memory);
        Open(store, lines);
        // Names only does not follow holders: no suggestions, and the list says when there are.
        Control<QComboBox>(&page, "cmbMergePlayers")->setCurrentIndex(1);
        Click(&page, "cmdStart");
        QCOMPARE(Items(&page, "lstSuggestions"), QStringList());
        QVERIFY(Control<QLabel>(&page, "lblSuggestionEvidence")->text().contains("renames"));

        Control<QComboBox>(&page, "cmbMergePlayers")->setCurrentIndex(2);
        QCOMPARE(Items(&page, "lstSuggestions"),
                 QStringList({"[TKS]Ghost and Ghost", "Viper and Viper2"}));
        QCOMPARE(Control<QLabel>(&page, "lblSuggestionEvidence")->text(),
                 QStringLiteral("same name apart from a clan tag"));

        // Accepting asks for the aliases file (none chosen yet) and joins the two.
        dialogs.QueuePath(aliases);
        Click(&page, "cmdAcceptSuggestion");
        QVERIFY(dialogs.AllAnswersUsed());
        QCOMPARE(FileText(aliases).count(QStringLiteral("join\t")), 1);
        QVERIFY(FileText(aliases).contains(QStringLiteral("join\t[TKS]Ghost\tGhost\n")));
        QCOMPARE(Items(&page, "lstNames").size(), 3);
        QCOMPARE(Items(&page, "lstSuggestions"), QStringList({"Viper and Viper2"}));
        QCOMPARE(Control<QLabel>(&page, "lblSuggestionEvidence")->text(),
                 QStringLiteral("same name apart from a trailing number"));

        // Rejecting leaves the file and the players alone.
        Click(&page, "cmdRejectSuggestion");
        QCOMPARE(Items(&page, "lstSuggestions"), QStringList());
        QCOMPARE(FileText(aliases).count(QStringLiteral("join\t")), 1);
        QCOMPARE(Items(&page, "lstNames").size(), 3);
        QCOMPARE(dialogs.shown.size(), 1);
    }
    // A later window remembers the file and the rejection.
    AnalysisStore store;
    FakeDialogs dialogs;
    AnalyzePage later(store, dialogs, [] { return AnalysisChoice{}; });
    later.KeepChoiceIn(memory);
    later.ShowRemembered();
    Open(store, lines);
    Click(&later, "cmdStart");
    QCOMPARE(Control<QComboBox>(&later, "cmbMergePlayers")->currentIndex(), 2);
    QCOMPARE(Control<QLabel>(&later, "lblAliasesFile")->text(), QStringLiteral("suggested.txt"));
    QCOMPARE(Items(&later, "lstNames").size(), 3);
    QCOMPARE(Items(&later, "lstSuggestions"), QStringList());
    QCOMPARE(dialogs.shown.size(), 0);
}

QTEST_MAIN(AliasPanelTest)
#include "alias_panel_test.moc"
