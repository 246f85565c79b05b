// The hint bar: the check itself is the analysis layer's; this only shows its result.
#include "ui/recognition_hint_bar.h"

#include "analysis/recognition_hint.h"
#include "ui/window_memory.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace qla::ui {

RecognitionHintBar::RecognitionHintBar(WindowMemory& memory, QWidget* parent)
    : QFrame(parent), memory_(memory) {
    setObjectName(QStringLiteral("frmRecognitionHint"));
    setFrameShape(QFrame::StyledPanel);
    auto* column = new QVBoxLayout(this);
    lblHint_ = new QLabel(this);
    lblHint_->setObjectName(QStringLiteral("lblRecognitionHint"));
    // The example is a log line: shown as text, whatever markup it holds.
    lblHint_->setTextFormat(Qt::PlainText);
    lblHint_->setWordWrap(true);
    lblHint_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    column->addWidget(lblHint_);

    auto* buttons = new QHBoxLayout;
    cmdReadFull_ = new QPushButton(tr("Read in full recognition"), this);
    cmdReadFull_->setObjectName(QStringLiteral("cmdReadFull"));
    cmdKeepClassic_ = new QPushButton(tr("Keep classic recognition"), this);
    cmdKeepClassic_->setObjectName(QStringLiteral("cmdKeepClassic"));
    buttons->addWidget(cmdReadFull_);
    buttons->addWidget(cmdKeepClassic_);
    buttons->addStretch(1);
    column->addLayout(buttons);

    connect(cmdReadFull_, &QPushButton::clicked, this, [this] {
        Answer(QStringLiteral("full"));
        emit fullRecognitionChosen();
    });
    connect(cmdKeepClassic_, &QPushButton::clicked, this,
            [this] { Answer(QStringLiteral("classic")); });
    hide();
}

void RecognitionHintBar::ShowFor(const QString& path, const LogLineList& lines,
                                 LogLanguage language, Recognition current) {
    hide(); // a hint of the log opened before does not apply to this one
    if (current == Recognition::Full || answered_ || logsHinted_.contains(path) ||
        memory_.Value(memory_keys::kRecognitionHintAnswer).isValid())
        return;
    logsHinted_ << path;
    const auto hint = FindRecognitionHint(lines, language);
    if (!hint)
        return;
    lblHint_->setText(tr("Full recognition reads %1 of the %2 lines checked in this log "
                         "otherwise than classic recognition, for example:\n%3")
                          .arg(hint->LinesReadOtherwise)
                          .arg(hint->LinesChecked)
                          .arg(QString::fromUtf8(hint->Example)));
    show();
}

void RecognitionHintBar::Answer(const QString& recognition) {
    answered_ = true;
    memory_.Keep(memory_keys::kRecognitionHintAnswer, recognition);
    hide();
}

} // namespace qla::ui
