// frmTextExport: initial choices, the live preview, and the options handed to the export.
#include "ui/text_export_dialog.h"

#include "ui_test_support.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

using namespace qla::ui;
using namespace qla::ui::test;

namespace {

// The preview as the box shows it: one line per row.
QString SampleRows(const QString& name, const QString& separator) {
    QString rows;
    for (int k = 1; k <= 5; ++k)
        rows += name + separator + QString::number(k) + separator + name + QString::number(k) +
                QStringLiteral("-3\n");
    return rows;
}

} // namespace

class TextExportDialogTest : public QObject {
    Q_OBJECT

  private slots:
    void opensWithInitialChoicesAndPreview();
    void previewFollowsEveryChoice();
    void emptyAndLongSeparatorsUsedAsTyped();
    void okHandsOverTheChoices();
    void escapeCancels();
};

void TextExportDialogTest::opensWithInitialChoicesAndPreview() {
    frmTextExport dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Export TXT"));
    QVERIFY(Control<QCheckBox>(&dialog, "chkInclude")->isChecked());
    QCOMPARE(Control<QCheckBox>(&dialog, "chkInclude")->text(),
             QStringLiteral("Include column Name"));
    QVERIFY(!Control<QCheckBox>(&dialog, "chkColor")->isChecked());
    QCOMPARE(Control<QLineEdit>(&dialog, "txtSeperator")->text(), QStringLiteral(","));
    QCOMPARE(Control<QLabel>(&dialog, "Label1")->text(), QStringLiteral("Seperator"));
    auto* preview = Control<QPlainTextEdit>(&dialog, "txtPreview");
    QVERIFY(preview->isReadOnly());
    QCOMPARE(preview->toPlainText(), QStringLiteral("Header1,Header2,Header3\n") +
                                         SampleRows(QStringLiteral("^7Color^1Name"), ","));
}

void TextExportDialogTest::previewFollowsEveryChoice() {
    frmTextExport dialog;
    auto* preview = Control<QPlainTextEdit>(&dialog, "txtPreview");
    Click(&dialog, "chkInclude");
    QCOMPARE(preview->toPlainText(), SampleRows(QStringLiteral("^7Color^1Name"), ","));
    Click(&dialog, "chkColor");
    QCOMPARE(preview->toPlainText(), SampleRows(QStringLiteral("ColorName"), ","));
    QTest::keyClicks(Control<QLineEdit>(&dialog, "txtSeperator"), QStringLiteral("|"));
    QCOMPARE(preview->toPlainText(), SampleRows(QStringLiteral("ColorName"), ",|"));
    Click(&dialog, "chkInclude");
    QCOMPARE(preview->toPlainText(), QStringLiteral("Header1,|Header2,|Header3\n") +
                                         SampleRows(QStringLiteral("ColorName"), ",|"));
}

void TextExportDialogTest::emptyAndLongSeparatorsUsedAsTyped() {
    frmTextExport dialog;
    auto* separator = Control<QLineEdit>(&dialog, "txtSeperator");
    separator->clear();
    QCOMPARE(Control<QPlainTextEdit>(&dialog, "txtPreview")->toPlainText(),
             QStringLiteral("Header1Header2Header3\n") +
                 SampleRows(QStringLiteral("^7Color^1Name"), ""));
    separator->setText(QStringLiteral(" ; "));
    QCOMPARE(dialog.Options().Separator, std::string(" ; "));
}

void TextExportDialogTest::okHandsOverTheChoices() {
    frmTextExport dialog;
    WhenDialogShows("frmTextExport", [](QDialog* d) {
        Click(d, "chkInclude");
        Click(d, "chkColor");
        Control<QLineEdit>(d, "txtSeperator")->setText(QStringLiteral("\t"));
        Click(d, "cmdOK");
    });
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    const qla::TextExportOptions options = dialog.Options();
    QVERIFY(!options.IncludeHeader);
    QVERIFY(options.RemoveColors);
    QCOMPARE(options.Separator, std::string("\t"));

    // A new dialog starts from the initial choices again.
    frmTextExport again;
    QVERIFY(again.Options().IncludeHeader);
    QCOMPARE(again.Options().Separator, std::string(","));
}

void TextExportDialogTest::escapeCancels() {
    frmTextExport dialog;
    WhenDialogShows("frmTextExport", [](QDialog* d) { QTest::keyClick(d, Qt::Key_Escape); });
    QCOMPARE(dialog.exec(), int(QDialog::Rejected));
}

QTEST_MAIN(TextExportDialogTest)
#include "text_export_dialog_test.moc"
