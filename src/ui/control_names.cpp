// Object names of the window's controls.
#include "ui/control_names.h"

#include <QLabel>

namespace qla::ui {

QString IndexedName(const char* arrayName, int index) {
    return QStringLiteral("%1(%2)").arg(QLatin1String(arrayName)).arg(index);
}

QLabel* NamedLabel(const char* name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

} // namespace qla::ui
