// Every message box and file or folder dialog of the analyzer goes through this interface, so
// tests can queue the answers and read back what was shown instead of blocking in a modal loop.
#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>

class QWidget;

namespace qla::ui {

class Dialogs {
  public:
    virtual ~Dialogs() = default;

    // Returns the button pressed; `buttons` are standard buttons such as OK, Yes|No, or
    // Yes|Yes to all|No|No to all|Cancel.
    virtual QMessageBox::StandardButton
    message(QWidget* owner, QMessageBox::Icon icon, const QString& title, const QString& text,
            QMessageBox::StandardButtons buttons = QMessageBox::Ok) = 0;

    // Returns the chosen path, or the empty text when the user cancels. The dialog starts in
    // `startFolder` (the last one used) when it is not empty.
    virtual QString openFile(QWidget* owner, const QString& title, const QStringList& filters,
                             const QString& startFolder) = 0;

    // Several files chosen at once (the logs to import); none when the user cancels. Where a
    // dialog cannot choose several, the one file openFile chooses.
    virtual QStringList openFiles(QWidget* owner, const QString& title, const QStringList& filters,
                                  const QString& startFolder) {
        const QString file = openFile(owner, title, filters, startFolder);
        return file.isEmpty() ? QStringList() : QStringList{file};
    }

    // `proposed` is the name offered in the dialog. The caller asks about overwriting itself.
    virtual QString saveFile(QWidget* owner, const QString& title, const QStringList& filters,
                             const QString& proposed) = 0;

    // Returns the chosen folder, or the empty text when the user cancels; starts as openFile.
    virtual QString folder(QWidget* owner, const QString& title, const QString& startFolder) = 0;
};

// The real dialogs of the desktop.
class SystemDialogs final : public Dialogs {
  public:
    QMessageBox::StandardButton message(QWidget* owner, QMessageBox::Icon icon,
                                        const QString& title, const QString& text,
                                        QMessageBox::StandardButtons buttons) override;
    QString openFile(QWidget* owner, const QString& title, const QStringList& filters,
                     const QString& startFolder) override;
    QStringList openFiles(QWidget* owner, const QString& title, const QStringList& filters,
                          const QString& startFolder) override;
    QString saveFile(QWidget* owner, const QString& title, const QStringList& filters,
                     const QString& proposed) override;
    QString folder(QWidget* owner, const QString& title, const QString& startFolder) override;
};

} // namespace qla::ui
