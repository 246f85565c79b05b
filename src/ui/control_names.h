// Object names of the window's controls: the tests and the screenshot tool find every control by
// the name given here.
#pragma once

#include <QString>

namespace qla::ui {

// The name of one member of a numbered group of controls: "chkStandard(0)".
QString IndexedName(const char* arrayName, int index);

} // namespace qla::ui
