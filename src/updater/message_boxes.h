// Every message box of the updater goes through this interface, so tests can answer them
// without a modal loop and can see the titles and texts that were shown.
#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

namespace qla::updater {

class MessageBoxes {
  public:
    virtual ~MessageBoxes() = default;
    // Shows a box with an OK button and returns the button pressed.
    virtual QMessageBox::StandardButton show(QWidget* owner, QMessageBox::Icon icon,
                                             const QString& title, const QString& text) = 0;
};

class SystemMessageBoxes final : public MessageBoxes {
  public:
    QMessageBox::StandardButton show(QWidget* owner, QMessageBox::Icon icon, const QString& title,
                                     const QString& text) override;
};

} // namespace qla::updater
