// The desktop's own message boxes and file dialogs behind the Dialogs interface.
#include "ui/dialogs.h"

#include <QFileDialog>

namespace qla::ui {

QMessageBox::StandardButton SystemDialogs::message(QWidget* owner, QMessageBox::Icon icon,
                                                   const QString& title, const QString& text,
                                                   QMessageBox::StandardButtons buttons) {
    QMessageBox box(icon, title, text, buttons, owner);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

QString SystemDialogs::openFile(QWidget* owner, const QString& title, const QStringList& filters,
                                const QString& startFolder) {
    return QFileDialog::getOpenFileName(owner, title, startFolder,
                                        filters.join(QStringLiteral(";;")));
}

QStringList SystemDialogs::openFiles(QWidget* owner, const QString& title,
                                     const QStringList& filters, const QString& startFolder) {
    return QFileDialog::getOpenFileNames(owner, title, startFolder,
                                         filters.join(QStringLiteral(";;")));
}

QString SystemDialogs::saveFile(QWidget* owner, const QString& title, const QStringList& filters,
                                const QString& proposed) {
    // The overwrite question is the analyzer's own (Yes/No/Cancel), not the dialog's.
    return QFileDialog::getSaveFileName(owner, title, proposed, filters.join(QStringLiteral(";;")),
                                        nullptr, QFileDialog::DontConfirmOverwrite);
}

QString SystemDialogs::folder(QWidget* owner, const QString& title, const QString& startFolder) {
    return QFileDialog::getExistingDirectory(owner, title, startFolder);
}

} // namespace qla::ui
