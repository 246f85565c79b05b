// Shared pieces of the GUI tests: the dialog fake with queued answers, the desktop fake, and
// helpers that write small logs and find controls by objectName.
#pragma once

#include "core/store.h"
#include "ui/desktop.h"
#include "ui/dialogs.h"
#include "ui/main_window.h"

#include <QAbstractButton>
#include <QDialog>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <deque>
#include <functional>
#include <variant>

namespace qla::ui::test {

// One dialog as it was shown.
struct ShownDialog {
    QString Kind; // "message", "open", "save" or "folder"
    QString Title;
    QString Text; // the message text, the proposed name of a save dialog or an open or
                  // folder dialog's start folder
    QMessageBox::Icon Icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons Buttons;
    QStringList Filters;
};

// Answers dialogs from a queue in the order they appear. A dialog with no answer queued (or of
// the wrong kind) fails the running test and is cancelled instead of blocking.
class FakeDialogs final : public Dialogs {
  public:
    void QueueButton(QMessageBox::StandardButton button) { answers_.push_back(button); }
    // Answer to the next open, save or folder dialog; empty text cancels it.
    void QueuePath(const QString& path) { answers_.push_back(path); }
    bool AllAnswersUsed() const { return answers_.empty(); }
    void Clear() {
        answers_.clear();
        shown.clear();
    }

    QList<ShownDialog> shown;
    // Runs while a message box is "open", before its answer is returned.
    std::function<void(const ShownDialog&)> onMessage;

    QMessageBox::StandardButton message(QWidget* owner, QMessageBox::Icon icon,
                                        const QString& title, const QString& text,
                                        QMessageBox::StandardButtons buttons) override;
    QString openFile(QWidget* owner, const QString& title, const QStringList& filters,
                     const QString& startFolder) override;
    QString saveFile(QWidget* owner, const QString& title, const QStringList& filters,
                     const QString& proposed) override;
    QString folder(QWidget* owner, const QString& title, const QString& startFolder) override;

  private:
    QString NextPath(const ShownDialog& dialog);
    std::deque<std::variant<QMessageBox::StandardButton, QString>> answers_;
};

class FakeDesktop final : public Desktop {
  public:
    bool openAddress(const QUrl& address) override {
        opened.push_back(address);
        return true;
    }
    bool startProgram(const QString& program, const QStringList& arguments) override {
        started.push_back(program + QLatin1Char(' ') + arguments.join(QLatin1Char(' ')));
        return startSucceeds;
    }

    QList<QUrl> opened;
    QStringList started;
    bool startSucceeds = true;
};

// Writes `lines` joined by CR LF (and one after the last) into `dir`; returns the path.
QString WriteLog(const QTemporaryDir& dir, const QString& name, const QStringList& lines);

// A file's bytes; empty when it cannot be read.
QByteArray ReadAll(const QString& path);

// A kill line "<victim> was killed by <killer>'s MP40" as the game writes it.
QString KillLine(const QString& victim, const QString& killer);

template <class T> T* Control(QObject* root, const QString& name) {
    T* control = root->findChild<T*>(name);
    if (!control)
        QTest::qFail(qPrintable(QStringLiteral("no control named ") + name), __FILE__, __LINE__);
    return control;
}

void Click(QObject* root, const QString& name);

// Runs `drive` on the modal dialog named `objectName` once it is shown (queue this before the
// click that opens it). The dialog is closed afterwards if `drive` left it open.
void WhenDialogShows(const QString& objectName, std::function<void(QDialog*)> drive);

// The window with its fakes, as the tests drive it.
struct Harness {
    AnalysisStore store;
    FakeDialogs dialogs;
    FakeDesktop desktop;
    MainWindow window{store, dialogs, desktop};

    // Open File answered with `path`, then Analyze.
    void OpenAndAnalyze(const QString& path);
    QString Text(const QString& lineEditName);
};

} // namespace qla::ui::test
