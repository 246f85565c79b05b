// frmOptions, "Export Options": asks for minimum kills and deaths. No export applies them, so
// the dialog keeps nothing; both buttons just close it.
#pragma once

#include <QDialog>

namespace qla::ui {

class frmOptions final : public QDialog {
    Q_OBJECT

  public:
    explicit frmOptions(QWidget* parent = nullptr);
};

} // namespace qla::ui
