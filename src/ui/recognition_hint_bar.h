// The recognition hint on the Logfile Information page: when full recognition reads some of an
// opened log's lines otherwise than classic recognition, a bar says how many, shows the first,
// and offers to read the log in full recognition. It never blocks: the log opens as before.
#pragma once

#include "analysis/recognition.h"
#include "core/log_lines.h"
#include "languages/languages.h"

#include <QFrame>
#include <QString>
#include <QStringList>

class QLabel;
class QPushButton;

namespace qla::ui {

class WindowMemory;

class RecognitionHintBar final : public QFrame {
    Q_OBJECT

  public:
    explicit RecognitionHintBar(WindowMemory& memory, QWidget* parent = nullptr);

    // Shows the hint for the log at `path` once: not again for a log already hinted at in this
    // run, not when it is read in full recognition already, and never once the user answered
    // the offer (the answer counts for every later log, as the language question's does).
    void ShowFor(const QString& path, const LogLineList& lines, LogLanguage language,
                 Recognition current);

  signals:
    // The user chose to read the log in full recognition.
    void fullRecognitionChosen();

  private:
    void Answer(const QString& recognition);

    WindowMemory& memory_;
    QLabel* lblHint_ = nullptr;
    QPushButton* cmdReadFull_ = nullptr;
    QPushButton* cmdKeepClassic_ = nullptr;
    QStringList logsHinted_; // the logs hinted at in this run
    bool answered_ = false;  // answered in this run (kept in memory_ too when it is in use)
};

} // namespace qla::ui
