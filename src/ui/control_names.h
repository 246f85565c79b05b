// Object names of the window's controls: the tests and the screenshot tool find every control by
// the name given here.
#pragma once

#include <QString>

class QLabel;
class QWidget;

namespace qla::ui {

// The name of one member of a numbered group of controls: "chkStandard(0)".
QString IndexedName(const char* arrayName, int index);

// A label with the given object name and caption.
QLabel* NamedLabel(const char* name, const QString& text, QWidget* parent);

} // namespace qla::ui
