// frmOptions, "Export Options": its captions and that it keeps nothing between showings.
#include "ui/options_dialog.h"

#include "ui_test_support.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace qla::ui;
using namespace qla::ui::test;

class OptionsDialogTest : public QObject {
    Q_OBJECT

  private slots:
    void showsThresholdsOfFive();
    void okKeepsNothingForTheNextShowing();
};

void OptionsDialogTest::showsThresholdsOfFive() {
    frmOptions dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Export Options"));
    QCOMPARE(Control<QLabel>(&dialog, "Label1")->text(),
             QStringLiteral("Minimal Kills to be listed:"));
    QCOMPARE(Control<QLabel>(&dialog, "Label2")->text(),
             QStringLiteral("Minimal Deaths to be listed"));
    QCOMPARE(Control<QLineEdit>(&dialog, "txtScore")->text(), QStringLiteral("5"));
    QCOMPARE(Control<QLineEdit>(&dialog, "Text1")->text(), QStringLiteral("5"));
    QVERIFY(Control<QPushButton>(&dialog, "cmdOK")->isDefault());
}

void OptionsDialogTest::okKeepsNothingForTheNextShowing() {
    Harness h;
    for (int showing = 0; showing < 2; ++showing) {
        QString kills;
        WhenDialogShows("frmOptions", [&](QDialog* d) {
            kills = Control<QLineEdit>(d, "txtScore")->text();
            Control<QLineEdit>(d, "txtScore")->setText(QStringLiteral("12"));
            Control<QLineEdit>(d, "Text1")->setText(QStringLiteral("3"));
            Click(d, "cmdOK");
        });
        Click(&h.window, "cmdOptions");
        QCOMPARE(kills, QStringLiteral("5"));
    }
    QVERIFY(h.dialogs.shown.isEmpty());
}

QTEST_MAIN(OptionsDialogTest)
#include "options_dialog_test.moc"
