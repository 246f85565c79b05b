// The GUI tests' fakes and helpers.
#include "ui_test_support.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QTimer>

namespace qla::ui::test {

QMessageBox::StandardButton FakeDialogs::message(QWidget*, QMessageBox::Icon icon,
                                                 const QString& title, const QString& text,
                                                 QMessageBox::StandardButtons buttons) {
    shown.push_back({QStringLiteral("message"), title, text, icon, buttons, {}});
    if (onMessage)
        onMessage(shown.last());
    const auto* button =
        answers_.empty() ? nullptr : std::get_if<QMessageBox::StandardButton>(&answers_.front());
    if (!button) {
        QTest::qFail(qPrintable(QStringLiteral("unexpected message box: %1 / %2").arg(title, text)),
                     __FILE__, __LINE__);
        return buttons.testFlag(QMessageBox::Cancel) ? QMessageBox::Cancel
               : buttons.testFlag(QMessageBox::No)   ? QMessageBox::No
                                                     : QMessageBox::Ok;
    }
    const QMessageBox::StandardButton answer = *button;
    answers_.pop_front();
    if (!buttons.testFlag(answer))
        QTest::qFail(qPrintable(QStringLiteral("queued a button the box does not offer: ") + text),
                     __FILE__, __LINE__);
    return answer;
}

QString FakeDialogs::NextPath(const ShownDialog& dialog) {
    shown.push_back(dialog);
    const auto* path = answers_.empty() ? nullptr : std::get_if<QString>(&answers_.front());
    if (!path) {
        QTest::qFail(
            qPrintable(QStringLiteral("unexpected %1 dialog: %2").arg(dialog.Kind, dialog.Title)),
            __FILE__, __LINE__);
        return QString();
    }
    const QString answer = *path;
    answers_.pop_front();
    return answer;
}

QString FakeDialogs::openFile(QWidget*, const QString& title, const QStringList& filters,
                              const QString& startFolder) {
    return NextPath({QStringLiteral("open"), title, startFolder, QMessageBox::NoIcon, {}, filters});
}

QString FakeDialogs::saveFile(QWidget*, const QString& title, const QStringList& filters,
                              const QString& proposed) {
    return NextPath({QStringLiteral("save"), title, proposed, QMessageBox::NoIcon, {}, filters});
}

QString FakeDialogs::folder(QWidget*, const QString& title, const QString& startFolder) {
    return NextPath({QStringLiteral("folder"), title, startFolder, QMessageBox::NoIcon, {}, {}});
}

QString WriteLog(const QTemporaryDir& dir, const QString& name, const QStringList& lines) {
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        QTest::qFail("cannot write the test log", __FILE__, __LINE__);
    for (const QString& line : lines)
        file.write(line.toUtf8() + "\r\n");
    return path;
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString KillLine(const QString& victim, const QString& killer) {
    return QStringLiteral("[skipnotify]%1^7 was killed by %2^7's MP40").arg(victim, killer);
}

void Click(QObject* root, const QString& name) {
    // click() acts like the user's click whether or not the button's page is on screen.
    if (auto* button = Control<QAbstractButton>(root, name))
        button->click();
}

void WhenDialogShows(const QString& objectName, std::function<void(QDialog*)> drive) {
    auto attempts = std::make_shared<int>(0);
    auto poll = std::make_shared<std::function<void()>>();
    // The poll holds itself only weakly; each pending timer holds it strongly, so it is freed
    // once it stops rescheduling (a strong self-capture would leak it).
    const std::weak_ptr<std::function<void()>> self = poll;
    *poll = [=] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog && dialog->objectName() == objectName) {
            drive(dialog);
            if (dialog->isVisible())
                dialog->reject();
            return;
        }
        if (++*attempts > 200) {
            QTest::qFail(qPrintable(QStringLiteral("dialog never shown: ") + objectName), __FILE__,
                         __LINE__);
            return;
        }
        QTimer::singleShot(10, [next = self.lock()] { (*next)(); });
    };
    QTimer::singleShot(0, [poll] { (*poll)(); });
}

void Harness::OpenAndAnalyze(const QString& path) {
    dialogs.QueuePath(path);
    Click(&window, QStringLiteral("cmdOpen"));
    Click(&window, QStringLiteral("cmdStart"));
}

QString Harness::Text(const QString& lineEditName) {
    auto* box = Control<QLineEdit>(&window, lineEditName);
    return box ? box->text() : QString();
}

} // namespace qla::ui::test
