// ExportChoices on its own: which view the shown sub-page stands for, and how each view's
// check boxes, "Order by" options and direction read back as the choices of a request.
#include "ui/export_choices.h"

#include "ui_test_support.h"

#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <QTabBar>

using namespace qla;
using namespace qla::ui;
using namespace qla::ui::test;

namespace {

std::vector<bool> AllChecked(std::size_t count) {
    return std::vector<bool>(count, true);
}

} // namespace

class ExportChoicesTest : public QObject {
    Q_OBJECT

  private slots:
    void selectedViewFollowsTabAndOtherOption();
    void choicesReadBackFromTheControls();
    void playerChoiceStartsUnchosen();
};

void ExportChoicesTest::selectedViewFollowsTabAndOtherOption() {
    FakeDialogs dialogs;
    ExportChoices choices(dialogs);
    auto* tabs = Control<QTabBar>(&choices, "tabExport");
    const std::vector<ExportView> byTab{ExportView::Standard, ExportView::PlayerDetails,
                                        ExportView::Weapons,  ExportView::VoiceChat,
                                        ExportView::TextChat, ExportView::AllData};
    for (int tab : {0, 3, 1, 5, 2, 4}) {
        tabs->setCurrentIndex(tab);
        QCOMPARE(choices.SelectedView(), byTab[static_cast<std::size_t>(tab)]);
    }
    tabs->setCurrentIndex(5);
    Control<QRadioButton>(&choices, "optOther(0)")->click();
    QCOMPARE(choices.SelectedView(), ExportView::Junk);
    Control<QRadioButton>(&choices, "optOther(1)")->click();
    QCOMPARE(choices.SelectedView(), ExportView::AllData);
}

void ExportChoicesTest::choicesReadBackFromTheControls() {
    FakeDialogs dialogs;
    ExportChoices choices(dialogs);

    // Start-up: everything checked, the page's default order, ascending.
    PageChoices standard = choices.ChoicesOf(ExportView::Standard);
    QCOMPARE(standard.Checks, AllChecked(5));
    QCOMPARE(standard.Order, std::optional<int>(5));
    QVERIFY(standard.Ascending);
    QCOMPARE(choices.ChoicesOf(ExportView::PlayerDetails).Order, std::optional<int>(2));
    QCOMPARE(choices.ChoicesOf(ExportView::Weapons).Order, std::optional<int>(5));
    const PageChoices voice = choices.ChoicesOf(ExportView::VoiceChat);
    QCOMPARE(voice.Checks, AllChecked(5));
    QCOMPARE(voice.Order, std::optional<int>());

    // Each view reads its own controls only.
    Click(&choices, "chkStandard(1)");
    Control<QRadioButton>(&choices, "optStandardOrder(2)")->click();
    Control<QComboBox>(&choices, "cmbSortHow(0)")->setCurrentIndex(1);
    Click(&choices, "chkTextChat(2)");
    standard = choices.ChoicesOf(ExportView::Standard);
    QCOMPARE(standard.Checks, std::vector<bool>({true, false, true, true, true}));
    QCOMPARE(standard.Order, std::optional<int>(2));
    QVERIFY(!standard.Ascending);
    QVERIFY(choices.ChoicesOf(ExportView::Weapons).Ascending);
    QCOMPARE(choices.ChoicesOf(ExportView::Weapons).Checks, AllChecked(5));
    QCOMPARE(choices.ChoicesOf(ExportView::TextChat).Checks,
             std::vector<bool>({true, true, false, true, true}));
    QCOMPARE(choices.ChoicesOf(ExportView::VoiceChat).Checks, AllChecked(5));
    QVERIFY(dialogs.shown.isEmpty());
}

void ExportChoicesTest::playerChoiceStartsUnchosen() {
    FakeDialogs dialogs;
    ExportChoices choices(dialogs);
    QCOMPARE(choices.ChosenPlayer(), std::optional<QString>());
    choices.ShowPlayerChoices({"Al", "^1Bob"});
    QCOMPARE(choices.ChosenPlayer(), std::optional<QString>());
    Control<QComboBox>(&choices, "cmbPlayer")->setCurrentIndex(1);
    QCOMPARE(choices.ChosenPlayer(), std::optional<QString>("^1Bob"));
    choices.ShowPlayerChoices({});
    QCOMPARE(choices.ChosenPlayer(), std::optional<QString>());
}

QTEST_MAIN(ExportChoicesTest)
#include "export_choices_test.moc"
