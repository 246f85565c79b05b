// Test doubles for the updater's desktop seams. Message boxes are answered from a queue; one
// that nobody expected fails the running test instead of waiting for a click. Boxes and
// browser calls go into one shared journal so tests can check their order.
#pragma once

#include "desktop.h"
#include "message_boxes.h"

#include <QQueue>
#include <QStringList>
#include <QTest>

struct ShownBox {
    QMessageBox::Icon Icon;
    QString Title;
    QString Text;
};

class FakeMessageBoxes final : public qla::updater::MessageBoxes {
  public:
    explicit FakeMessageBoxes(QStringList* journal = nullptr) : journal_(journal) {}

    void Expect(QMessageBox::StandardButton answer = QMessageBox::Ok) { answers_.enqueue(answer); }
    bool AllAnswersUsed() const { return answers_.isEmpty(); }
    const QList<ShownBox>& Shown() const { return shown_; }

    QMessageBox::StandardButton show(QWidget*, QMessageBox::Icon icon, const QString& title,
                                     const QString& text) override {
        shown_.append({icon, title, text});
        if (journal_)
            journal_->append(QStringLiteral("box: ") + title);
        if (answers_.isEmpty()) {
            const QByteArray what = ("unexpected message box: " + title + " / " + text).toUtf8();
            QTest::qFail(what.constData(), __FILE__, __LINE__);
            return QMessageBox::Ok;
        }
        return answers_.dequeue();
    }

  private:
    QStringList* journal_;
    QQueue<QMessageBox::StandardButton> answers_;
    QList<ShownBox> shown_;
};

class FakeBrowser final : public qla::updater::Browser {
  public:
    explicit FakeBrowser(QStringList* journal = nullptr) : journal_(journal) {}

    const QList<QUrl>& Opened() const { return opened_; }

    void openAddress(const QUrl& address) override {
        opened_.append(address);
        if (journal_)
            journal_->append(QStringLiteral("open: ") + address.toString());
    }

  private:
    QStringList* journal_;
    QList<QUrl> opened_;
};

class FakeLauncher final : public qla::updater::ProgramLauncher {
  public:
    bool Succeeds = true;
    const QStringList& Started() const { return started_; }

    bool start(const QString& programPath) override {
        started_.append(programPath);
        return Succeeds;
    }

  private:
    QStringList started_;
};
