// frmOptions: two thresholds in a frame, OK (Enter) and Cancel (Esc).
#include "ui/options_dialog.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qla::ui {

frmOptions::frmOptions(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(tr("Export Options"));

    auto* frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("fraOptions"));
    frame->setFrameShape(QFrame::StyledPanel);
    auto* grid = new QGridLayout(frame);
    const std::array<std::pair<const char*, const char*>, 2> rows{
        {{"Label1", QT_TR_NOOP("Minimal Kills to be listed:")},
         {"Label2", QT_TR_NOOP("Minimal Deaths to be listed")}}};
    const std::array<const char*, 2> boxes{"txtScore", "Text1"};
    for (int i = 0; i < 2; ++i) {
        auto* label = new QLabel(tr(rows[i].second), frame);
        label->setObjectName(QString::fromLatin1(rows[i].first));
        auto* box = new QLineEdit(QStringLiteral("5"), frame);
        box->setObjectName(QString::fromLatin1(boxes[i]));
        grid->addWidget(label, i, 0);
        grid->addWidget(box, i, 1);
    }

    auto* ok = new QPushButton(tr("OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(tr("Cancel"), this);
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    // QDialog closes on Esc by itself, which is the cancel button's role.
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace qla::ui
