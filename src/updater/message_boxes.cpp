// Real message boxes for the updater.
#include "message_boxes.h"

namespace qla::updater {

QMessageBox::StandardButton SystemMessageBoxes::show(QWidget* owner, QMessageBox::Icon icon,
                                                     const QString& title, const QString& text) {
    // Our texts break lines with CR LF; a label would draw the CR as a glyph.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox box(icon, title, shown, QMessageBox::Ok, owner);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

} // namespace qla::updater
