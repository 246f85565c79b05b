// frmSplash, shown while the program starts, and the start-up that shows the main window after
// at least a minimum time.
#pragma once

#include <QPixmap>
#include <QWidget>

#include <chrono>
#include <memory>

namespace qla {
class AnalysisStore;
}

namespace qla::ui {

class Desktop;
class Dialogs;
class MainWindow;

// The splash picture, drawn by the program itself.
QPixmap SplashPicture();

class frmSplash final : public QWidget {
    Q_OBJECT

  public:
    explicit frmSplash(QWidget* parent = nullptr);
};

// Shows the splash, prepares the main window, keeps the splash up for at least `minimum`
// (measured as elapsed time, so midnight does not matter), then closes it and shows the window.
std::unique_ptr<MainWindow> StartAnalyzer(AnalysisStore& store, Dialogs& dialogs, Desktop& desktop,
                                          std::chrono::milliseconds minimum);

} // namespace qla::ui
