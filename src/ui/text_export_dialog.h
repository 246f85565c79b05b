// frmTextExport, "Export TXT": the text export's separator, title row and colour choices with a
// live preview. Created for every export, so it always opens with its initial choices.
#pragma once

#include "export/text_export.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;

namespace qla::ui {

class frmTextExport final : public QDialog {
    Q_OBJECT

  public:
    explicit frmTextExport(QWidget* parent = nullptr);

    // The choices as the controls show them; read after OK.
    TextExportOptions Options() const;

  private:
    void UpdatePreview();

    QCheckBox* chkInclude_ = nullptr;
    QLineEdit* txtSeperator_ = nullptr;
    QCheckBox* chkColor_ = nullptr;
    QPlainTextEdit* txtPreview_ = nullptr;
};

} // namespace qla::ui
