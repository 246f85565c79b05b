// frmTextExport: options on top, the preview below, OK and Cancel (Esc).
#include "ui/text_export_dialog.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qla::ui {

frmTextExport::frmTextExport(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmTextExport"));
    setWindowTitle(tr("Export TXT"));

    auto* options = new QGroupBox(tr("Options"), this);
    options->setObjectName(QStringLiteral("fraOptions"));
    chkInclude_ = new QCheckBox(tr("Include column Name"), options);
    chkInclude_->setObjectName(QStringLiteral("chkInclude"));
    chkInclude_->setChecked(true);
    auto* label = new QLabel(tr("Seperator"), options);
    label->setObjectName(QStringLiteral("Label1"));
    txtSeperator_ = new QLineEdit(QStringLiteral(","), options);
    txtSeperator_->setObjectName(QStringLiteral("txtSeperator"));
    chkColor_ = new QCheckBox(tr("Remove colors from names"), options);
    chkColor_->setObjectName(QStringLiteral("chkColor"));
    auto* optionsGrid = new QGridLayout(options);
    optionsGrid->addWidget(chkInclude_, 0, 0, 1, 2);
    optionsGrid->addWidget(label, 1, 0);
    optionsGrid->addWidget(txtSeperator_, 1, 1);
    optionsGrid->addWidget(chkColor_, 2, 0, 1, 2);

    auto* preview = new QGroupBox(tr("Preview"), this);
    preview->setObjectName(QStringLiteral("fraPreview"));
    txtPreview_ = new QPlainTextEdit(preview);
    txtPreview_->setObjectName(QStringLiteral("txtPreview"));
    txtPreview_->setReadOnly(true);
    txtPreview_->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtPreview_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtPreview_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSizeF(9.75);
    txtPreview_->setFont(fixed);
    txtPreview_->setMinimumSize(
        QFontMetrics(fixed).horizontalAdvance(QStringLiteral("^7Color^1Name,5,^7Color^1Name5-3")) +
            60,
        QFontMetrics(fixed).lineSpacing() * 8);
    auto* previewLayout = new QVBoxLayout(preview);
    previewLayout->addWidget(txtPreview_);

    auto* ok = new QPushButton(tr("OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(tr("Cancel"), this);
    cancel->setObjectName(QStringLiteral("Command1"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    // Esc and closing the window cancel too, through QDialog::reject.
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(options);
    layout->addWidget(preview, 1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(chkInclude_, &QCheckBox::clicked, this, &frmTextExport::UpdatePreview);
    connect(chkColor_, &QCheckBox::clicked, this, &frmTextExport::UpdatePreview);
    connect(txtSeperator_, &QLineEdit::textChanged, this, &frmTextExport::UpdatePreview);
    UpdatePreview();
}

TextExportOptions frmTextExport::Options() const {
    TextExportOptions options;
    options.IncludeHeader = chkInclude_->isChecked();
    options.Separator = txtSeperator_->text().toStdString();
    options.RemoveColors = chkColor_->isChecked();
    return options;
}

void frmTextExport::UpdatePreview() {
    // The preview's lines end in CR LF like the file; the box shows them as plain lines.
    QString text = QString::fromStdString(PreviewText(Options()));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    txtPreview_->setPlainText(text);
}

} // namespace qla::ui
