// The "About" page: the program's makers and addresses as links, the version, and "Check for
// update", which hands over to the updater.
#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace qla::ui {

class Desktop;
class Dialogs;

class AboutPage final : public QWidget {
    Q_OBJECT

  public:
    AboutPage(Dialogs& dialogs, Desktop& desktop, QWidget* parent = nullptr);

  signals:
    // The updater was started and the window closed: the program is to end.
    void quitRequested();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QLabel* AddLinkLabel(const char* name, const QString& text, const QString& tooltip);
    void CheckForUpdate();

    Dialogs& dialogs_;
    Desktop& desktop_;

    QLabel* lblVersion_ = nullptr;
    QPushButton* cmdCheckForUpdate_ = nullptr;
    QLabel* lblEmail_ = nullptr;
    QLabel* lblHomepage_ = nullptr;
    // The objects are named "Label27(0)", "Label28" and "Label27(1)", as the window always had
    // them.
    QLabel* testerMailLink_ = nullptr;
    QLabel* clanSiteLink_ = nullptr;
    QLabel* translatorMailLink_ = nullptr;
};

} // namespace qla::ui
