// Object names of the window's controls.
#include "ui/control_names.h"

namespace qla::ui {

QString IndexedName(const char* arrayName, int index) {
    return QStringLiteral("%1(%2)").arg(QLatin1String(arrayName)).arg(index);
}

} // namespace qla::ui
