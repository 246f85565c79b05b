// The player table of the Analyze page, driven through the real window: sorting by the visible
// name and by every number, searching without colour codes, case or accents, the selected
// player's weapons and opponents, and the names drawn in their colours.
#include "ui_test_support.h"

#include "ui/player_rows.h"
#include "ui/player_table_model.h"
#include "ui/player_table_panel.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QSignalSpy>
#include <QTabBar>
#include <QTableView>
#include <QTableWidget>

using namespace qla;
using namespace qla::ui;
using namespace qla::ui::test;

namespace {

enum Column { kName, kKills, kDeaths, kRatio, kTeamkills, kSuicides, kChats, kRating };

QString Stabbing(const QString& victim, const QString& killer) {
    return QStringLiteral("[skipnotify]%1^7 was stabbed by %2^7's Knife").arg(victim, killer);
}

// Six players: "Müller" and "^3MÜLLER" differ only in case and colour, "^1{TKS}Ghost" starts
// with a colour code and sorts by "{", after the letters.
QStringList SampleLog() {
    QStringList lines;
    for (int i = 0; i < 3; ++i)
        lines << KillLine("Müller", "^1{TKS}Ghost");
    lines << Stabbing("^1{TKS}Ghost", "Müller") << KillLine("Müller", "alpha")
          << KillLine("Zed", "Müller") << KillLine("Zed", "Müller")
          << QStringLiteral("[skipnotify]Bravo killed himself.")
          << QStringLiteral("[skipnotify]Bravo drowned.")
          << QStringLiteral("[skipnotify]Zed^7: ^2hello there")
          << QStringLiteral("[skipnotify]: Zed^7 (Base): ^2Medic!")
          << QStringLiteral("[skipnotify]^3MÜLLER^7: ^2hi");
    return lines;
}

QStringList Column(QTableView* table, int column) {
    QStringList cells;
    const QAbstractItemModel* model = table->model();
    for (int row = 0; row < model->rowCount(); ++row)
        cells << model->index(row, column).data().toString();
    return cells;
}

QStringList Cells(QTableWidget* table) {
    QStringList rows;
    for (int row = 0; row < table->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < table->columnCount(); ++column)
            cells << table->item(row, column)->text();
        rows << cells.join(QLatin1Char('|'));
    }
    return rows;
}

void Select(QTableView* table, const QString& visibleName) {
    const QStringList names = Column(table, kName);
    const int row = static_cast<int>(names.indexOf(visibleName));
    QVERIFY2(row >= 0, qPrintable(visibleName));
    table->setCurrentIndex(table->model()->index(row, kKills));
}

} // namespace

class PlayerTableTest : public QObject {
    Q_OBJECT

  private slots:
    void listsEveryPlayerByVisibleNameBesideTheOldList();
    void sortsByEveryNumberWithTiesInNameOrder();
    void headerClickSortsAndTurnsTheOrder();
    void searchIgnoresColourCodesCaseAndAccents();
    void selectionShowsWeaponsAndOpponentsEvenSortedAndFiltered();
    void choosingInThePlayerListSelectsInTheTable();
    void newLogEmptiesTheTableAndTheSelectedLists();
    void ratingsFittedBesideAreTheStoresAndNeverThoseOfAnEarlierTable();
    void aNameManyPassThroughIsNotRated();
    void namesAreDrawnInTheirColours();

  private:
    void Analyze(Harness& h) {
        h.OpenAndAnalyze(WriteLog(dir_, QStringLiteral("players.log"), SampleLog()));
    }
    QTemporaryDir dir_;
};

void PlayerTableTest::listsEveryPlayerByVisibleNameBesideTheOldList() {
    Harness h;
    Analyze(h);
    auto* table = Control<QTableView>(&h.window, "tblPlayers");
    // Case-insensitive order of what a reader sees; names equal but for case by exact text.
    QCOMPARE(Column(table, kName),
             QStringList({"alpha", "Bravo", "MÜLLER", "Müller", "Zed", "{TKS}Ghost"}));
    QCOMPARE(Control<QLabel>(&h.window, "lblPlayerTable")->text(),
             QStringLiteral("Player table (6 of 6)"));
    // The list and its caption are as they were.
    QCOMPARE(Control<QListWidget>(&h.window, "lstNames")->count(), 6);
    QCOMPARE(Control<QLabel>(&h.window, "lblPlayers")->text(), QStringLiteral("Players (6)"));
}

void PlayerTableTest::sortsByEveryNumberWithTiesInNameOrder() {
    Harness h;
    Analyze(h);
    auto* table = Control<QTableView>(&h.window, "tblPlayers");

    table->sortByColumn(kKills, Qt::DescendingOrder);
    QCOMPARE(Column(table, kName).mid(0, 3), QStringList({"Müller", "{TKS}Ghost", "alpha"}));
    QCOMPARE(Column(table, kKills).mid(0, 3), QStringList({"3", "3", "1"}));
    // Ties keep name order in a descending sort too.
    QCOMPARE(Column(table, kName).mid(3), QStringList({"Bravo", "MÜLLER", "Zed"}));

    // Deaths count kills by others and suicides alike.
    table->sortByColumn(kDeaths, Qt::DescendingOrder);
    QCOMPARE(Column(table, kName).mid(0, 4), QStringList({"Müller", "Bravo", "Zed", "{TKS}Ghost"}));
    QCOMPARE(Column(table, kDeaths).mid(0, 4), QStringList({"4", "2", "2", "1"}));

    // The ratio sorts by its value, not its text ("0.75" < "3" < "0" as texts would not).
    table->sortByColumn(kRatio, Qt::AscendingOrder);
    QCOMPARE(Column(table, kName),
             QStringList({"Bravo", "MÜLLER", "Zed", "Müller", "alpha", "{TKS}Ghost"}));
    // Written with the desktop's decimal point.
    const QString threeQuarters = QStringLiteral("0") + QLocale().decimalPoint() + "75";
    QCOMPARE(Column(table, kRatio), QStringList({"0", "0", "0", threeQuarters, "1", "3"}));

    table->sortByColumn(kSuicides, Qt::DescendingOrder);
    QCOMPARE(Column(table, kName).first(), QStringLiteral("Bravo"));
    QCOMPARE(Column(table, kSuicides).first(), QStringLiteral("2"));
    QCOMPARE(Column(table, kSuicides).mid(1), QStringList(5, QStringLiteral("0")));

    // Voice and text chats together.
    table->sortByColumn(kChats, Qt::DescendingOrder);
    QCOMPARE(Column(table, kName).mid(0, 2), QStringList({"Zed", "MÜLLER"}));
    QCOMPARE(Column(table, kChats).mid(0, 2), QStringList({"2", "1"}));

    // The skill rating: Ghost beat Müller three kills to one, alpha one to none, Müller beat
    // Zed twice; Bravo and MÜLLER met nobody and stand at the middle, 1500, in name order. The
    // ratings are fitted on a thread of their own and fill the column when done, sorted as
    // asked.
    table->sortByColumn(kRating, Qt::DescendingOrder);
    QTRY_VERIFY(!Column(table, kRating).contains(QString()));
    const QStringList byRating = Column(table, kName);
    QCOMPARE(byRating.first(), QStringLiteral("{TKS}Ghost"));
    QCOMPARE(byRating.last(), QStringLiteral("Zed"));
    QVERIFY(byRating.indexOf("Bravo") + 1 == byRating.indexOf("MÜLLER"));
    const QStringList ratings = Column(table, kRating);
    QCOMPARE(ratings.at(byRating.indexOf("Bravo")), QStringLiteral("1500"));
    QVERIFY(ratings.first().toInt() > 1500 && ratings.last().toInt() < 1500);
    for (int row = 1; row < ratings.size(); ++row)
        QVERIFY(ratings[row - 1].toInt() >= ratings[row].toInt());
    const QString ghostTip = table->model()->index(0, kRating).data(Qt::ToolTipRole).toString();
    QVERIFY2(ghostTip.endsWith(QStringLiteral("from 4 kills either way")), qPrintable(ghostTip));

    table->sortByColumn(kName, Qt::DescendingOrder);
    QCOMPARE(Column(table, kName),
             QStringList({"{TKS}Ghost", "Zed", "Müller", "MÜLLER", "Bravo", "alpha"}));
}

void PlayerTableTest::headerClickSortsAndTurnsTheOrder() {
    Harness h;
    h.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&h.window));
    Control<QTabBar>(&h.window, "tabMain")->setCurrentIndex(1);
    Analyze(h);
    auto* table = Control<QTableView>(&h.window, "tblPlayers");
    QHeaderView* header = table->horizontalHeader();
    const QPoint kills(header->sectionViewportPosition(kKills) + header->sectionSize(kKills) / 2,
                       header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, kills);
    QCOMPARE(header->sortIndicatorSection(), int(kKills));
    const QStringList first = Column(table, kKills);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, kills);
    QStringList reversed = Column(table, kKills);
    std::reverse(reversed.begin(), reversed.end());
    QCOMPARE(reversed, first);
    QVERIFY(first.first() != first.last());
}

void PlayerTableTest::searchIgnoresColourCodesCaseAndAccents() {
    Harness h;
    Analyze(h);
    auto* table = Control<QTableView>(&h.window, "tblPlayers");
    auto* search = Control<QLineEdit>(&h.window, "txtPlayerSearch");
    auto* count = Control<QLabel>(&h.window, "lblPlayerTable");

    const std::vector<std::pair<QString, QStringList>> cases{
        {"muller", {"MÜLLER", "Müller"}}, // accents and case
        {"LLER", {"MÜLLER", "Müller"}},   // any part of the name
        {"Mü", {"MÜLLER", "Müller"}},     // an accent typed finds both too
        {"^1{tks}gh", {"{TKS}Ghost"}},    // colour codes typed are ignored
        {"s}g", {"{TKS}Ghost"}},          // the code in the name does not split it
        {"^", {}},                        // nor is it searched for
        {"nobody", {}},
        {"", {"alpha", "Bravo", "MÜLLER", "Müller", "Zed", "{TKS}Ghost"}},
    };
    for (const auto& [typed, expected] : cases) {
        search->setText(typed);
        QCOMPARE(Column(table, kName), expected);
        QCOMPARE(count->text(), QStringLiteral("Player table (%1 of 6)").arg(expected.size()));
    }

    // The search stays while the table is sorted again and refilled by a new run.
    search->setText(QStringLiteral("MULLER"));
    table->sortByColumn(kKills, Qt::DescendingOrder);
    QCOMPARE(Column(table, kName), QStringList({"Müller", "MÜLLER"}));
    Click(&h.window, QStringLiteral("cmdStart"));
    QCOMPARE(Column(table, kName), QStringList({"Müller", "MÜLLER"}));
}

void PlayerTableTest::selectionShowsWeaponsAndOpponentsEvenSortedAndFiltered() {
    Harness h;
    Analyze(h);
    auto* table = Control<QTableView>(&h.window, "tblPlayers");
    auto* weapons = Control<QTableWidget>(&h.window, "tblPlayerWeapons");
    auto* opponents = Control<QTableWidget>(&h.window, "tblPlayerOpponents");
    QCOMPARE(weapons->rowCount(), 0);

    table->sortByColumn(kDeaths, Qt::AscendingOrder);
    Control<QLineEdit>(&h.window, "txtPlayerSearch")->setText(QStringLiteral("ll"));
    Select(table, QStringLiteral("Müller"));
    // Weapon | kills with it | deaths by it, in weapon order.
    QCOMPARE(Cells(weapons), QStringList({"Knife|1|0", "MP40|2|4"}));
    // Opponent | killed by the player | killed the player, most encounters first.
    QCOMPARE(Cells(opponents), QStringList({"{TKS}Ghost|1|3", "Zed|2|0", "alpha|0|1"}));
    QCOMPARE(opponents->item(0, 0)->toolTip(), QStringLiteral("^1{TKS}Ghost"));

    Select(table, QStringLiteral("MÜLLER"));
    QCOMPARE(weapons->rowCount(), 0);
    QCOMPARE(opponents->rowCount(), 0);

    Control<QLineEdit>(&h.window, "txtPlayerSearch")->clear();
    Select(table, QStringLiteral("{TKS}Ghost"));
    QCOMPARE(Cells(weapons), QStringList({"Knife|0|1", "MP40|3|0"}));
    QCOMPARE(Cells(opponents), QStringList({"Müller|3|1"}));
}

void PlayerTableTest::choosingInThePlayerListSelectsInTheTable() {
    Harness h;
    Analyze(h);
    auto* table = Control<QTableView>(&h.window, "tblPlayers");
    auto* list = Control<QListWidget>(&h.window, "lstNames");
    table->sortByColumn(kKills, Qt::AscendingOrder);
    list->setCurrentItem(list->findItems(QStringLiteral("^1{TKS}Ghost"), Qt::MatchExactly)[0]);
    QCOMPARE(table->currentIndex().siblingAtColumn(kName).data().toString(),
             QStringLiteral("{TKS}Ghost"));
    QCOMPARE(Cells(Control<QTableWidget>(&h.window, "tblPlayerOpponents")),
             QStringList({"Müller|3|1"}));
    // The list's own column is as it was.
    QCOMPARE(h.Text(QStringLiteral("txtPKills")), QStringLiteral("3"));
    // A player the search hides is not selected; the table keeps its search.
    Control<QLineEdit>(&h.window, "txtPlayerSearch")->setText(QStringLiteral("zed"));
    list->setCurrentItem(list->findItems(QStringLiteral("alpha"), Qt::MatchExactly)[0]);
    QCOMPARE(Column(table, kName), QStringList({"Zed"}));
    QCOMPARE(h.Text(QStringLiteral("txtPKills")), QStringLiteral("1"));
}

// The ratings are fitted on a thread of their own after the table shows: they are those of the
// store worked out at once, and a fit begun for a table filled again or emptied since is never
// shown.
void PlayerTableTest::ratingsFittedBesideAreTheStoresAndNeverThoseOfAnEarlierTable() {
    Harness h;
    Analyze(h);
    auto* panel = h.window.findChild<PlayerTablePanel*>();
    QVERIFY(panel);
    QTRY_VERIFY(panel->RatingsShown());
    auto* table = Control<QTableView>(&h.window, "tblPlayers");
    const std::vector<PlayerRow> expected = BuildPlayerRows(h.store);
    for (int row = 0; row < table->model()->rowCount(); ++row) {
        const int player =
            table->model()->index(row, kName).data(PlayerTableModel::kPlayerIndexRole).toInt();
        QCOMPARE(table->model()->index(row, kRating).data().toLongLong(),
                 expected[static_cast<std::size_t>(player - 1)].Rating);
    }

    // Filled twice before the first fit is shown: only the second fills the column.
    QSignalSpy filled(panel, &PlayerTablePanel::RatingsFilled);
    panel->ShowPlayers();
    QVERIFY(!panel->RatingsShown());
    QVERIFY(Column(table, kRating).contains(QString())); // empty until the fit is done
    panel->ShowPlayers();
    QTRY_VERIFY(panel->RatingsShown());
    QTest::qWait(100);
    QCOMPARE(filled.count(), 1);

    // Emptied (the store is about to change) before the fit is shown: nothing fills it.
    panel->ShowPlayers();
    panel->Clear();
    QTest::qWait(200);
    QCOMPARE(filled.count(), 1);
    QVERIFY(!panel->RatingsShown());
}

// Two newcomers connect as "Player" and rename away: the connect name is many people, and the
// table, read by name, does not rate it. The names are found beside the run and kept in the store
// once the table is rated, so every later reader of the ratings leaves them out too.
void PlayerTableTest::aNameManyPassThroughIsNotRated() {
    const auto rename = [](const QString& from, const QString& to) {
        return QStringLiteral("[skipnotify]%1^7 renamed to %2").arg(from, to);
    };
    Harness h;
    h.OpenAndAnalyze(
        WriteLog(dir_, QStringLiteral("connect.log"),
                 {KillLine("Player", "Zed"), rename("Player", "Anna"), KillLine("Anna", "Zed"),
                  KillLine("Anna", "Zed"), KillLine("Zed", "Player"), rename("Player", "Bert"),
                  KillLine("Bert", "Zed"), KillLine("Zed", "Bert")}));
    auto* panel = h.window.findChild<PlayerTablePanel*>();
    QVERIFY(panel);
    QTRY_VERIFY(panel->RatingsShown());
    QCOMPARE(h.store.PassingKeys, std::vector<std::string>({"player"}));
    QVERIFY(!h.store.TracksHolders); // the run itself counted by name

    const std::vector<PlayerRow> expected = BuildPlayerRows(h.store);
    auto* table = Control<QTableView>(&h.window, "tblPlayers");
    for (int row = 0; row < table->model()->rowCount(); ++row) {
        const int player =
            table->model()->index(row, kName).data(PlayerTableModel::kPlayerIndexRole).toInt();
        const PlayerRow& shown = expected[static_cast<std::size_t>(player - 1)];
        QCOMPARE(table->model()->index(row, kRating).data().toLongLong(), shown.Rating);
        QCOMPARE(shown.Encounters == 0, shown.Name == "Player");
    }
    const PlayerIndex connect = h.store.FindPlayer("Player").value_or(0);
    QVERIFY(connect > 0);
    QCOMPARE(h.store.Players[static_cast<std::size_t>(connect)].Kills[0], 1);
    QCOMPARE(expected[static_cast<std::size_t>(connect - 1)].Rating, 1500);
}

void PlayerTableTest::newLogEmptiesTheTableAndTheSelectedLists() {
    Harness h;
    Analyze(h);
    auto* table = Control<QTableView>(&h.window, "tblPlayers");
    Select(table, QStringLiteral("Zed"));
    QVERIFY(Control<QTableWidget>(&h.window, "tblPlayerOpponents")->rowCount() > 0);

    h.dialogs.QueuePath(WriteLog(dir_, QStringLiteral("other.log"), {KillLine("Al", "Cy")}));
    Click(&h.window, QStringLiteral("cmdOpen"));
    QCOMPARE(table->model()->rowCount(), 0);
    QCOMPARE(Control<QTableWidget>(&h.window, "tblPlayerOpponents")->rowCount(), 0);
    QCOMPARE(Control<QTableWidget>(&h.window, "tblPlayerWeapons")->rowCount(), 0);
    QCOMPARE(Control<QLabel>(&h.window, "lblPlayerTable")->text(),
             QStringLiteral("Player table (0 of 0)"));
    Click(&h.window, QStringLiteral("cmdStart"));
    QCOMPARE(Column(table, kName), QStringList({"Al", "Cy"}));
}

void PlayerTableTest::namesAreDrawnInTheirColours() {
    Harness h;
    h.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&h.window));
    Control<QTabBar>(&h.window, "tabMain")->setCurrentIndex(1);
    h.OpenAndAnalyze(WriteLog(dir_, QStringLiteral("colours.log"),
                              {KillLine("^1Redman", "^4Blueman"), KillLine("Plain", "Other")}));
    auto* table = Control<QTableView>(&h.window, "tblPlayers");
    table->clearSelection();
    const auto strongest = [&](const QString& name) {
        const int row = static_cast<int>(Column(table, kName).indexOf(name));
        const QImage cell =
            table->viewport()->grab(table->visualRect(table->model()->index(row, kName))).toImage();
        // The most saturated pixel's hue: the colour the text was drawn in.
        QColor best(Qt::white);
        for (int y = 0; y < cell.height(); ++y)
            for (int x = 0; x < cell.width(); ++x)
                if (const QColor c = cell.pixelColor(x, y);
                    c.hsvSaturation() > best.hsvSaturation())
                    best = c;
        return best;
    };
    const QColor red = strongest(QStringLiteral("Redman"));
    QVERIFY2(red.hsvSaturation() > 150 && (red.hue() < 15 || red.hue() > 345),
             qPrintable(red.name()));
    const QColor blue = strongest(QStringLiteral("Blueman"));
    QVERIFY2(blue.hsvSaturation() > 150 && blue.hue() > 210 && blue.hue() < 270,
             qPrintable(blue.name()));
    // A name without codes is plain text: no colour in it.
    QVERIFY2(strongest(QStringLiteral("Plain")).hsvSaturation() < 60,
             qPrintable(strongest(QStringLiteral("Plain")).name()));
}

QTEST_MAIN(PlayerTableTest)
#include "player_table_test.moc"
