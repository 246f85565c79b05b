// What the window benchmarks give the real window in place of a person: dialogs that answer the
// open dialog with one file and count any other message as a failure, and a desktop that opens
// nothing.
#pragma once

#include "ui/desktop.h"
#include "ui/dialogs.h"

#include <cstdio>
#include <utility>

namespace qla::bench {

class ScriptedDialogs final : public ui::Dialogs {
  public:
    // `file` answers every open dialog and `folder` every folder dialog; empty: none is
    // expected.
    explicit ScriptedDialogs(QString file = {}, QString folder = {})
        : file_(std::move(file)), folder_(std::move(folder)) {}
    QMessageBox::StandardButton message(QWidget*, QMessageBox::Icon, const QString& title,
                                        const QString& text,
                                        QMessageBox::StandardButtons) override {
        std::fprintf(stderr, "unexpected message: %s: %s\n", qPrintable(title), qPrintable(text));
        failed = true;
        return QMessageBox::Ok;
    }
    QString openFile(QWidget*, const QString&, const QStringList&, const QString&) override {
        return file_;
    }
    QString saveFile(QWidget*, const QString&, const QStringList&, const QString&) override {
        return {};
    }
    QString folder(QWidget*, const QString&, const QString&) override { return folder_; }
    bool failed = false;

  private:
    QString file_, folder_;
};

class NoDesktop final : public ui::Desktop {
  public:
    bool openAddress(const QUrl&) override { return false; }
    bool startProgram(const QString&, const QStringList&) override { return false; }
};

} // namespace qla::bench
