// The busy mouse pointer for the length of a scope, restored however the scope ends.
#pragma once

#include <QApplication>

namespace qla::ui {

struct BusyPointer {
    BusyPointer() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyPointer() { QApplication::restoreOverrideCursor(); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
};

} // namespace qla::ui
