#include "ui/window_memory.h"

#include <QSettings>

namespace qla::ui {

QVariant WindowMemory::Value(const char* key, const QVariant& fallback) const {
    return settings_ ? settings_->value(QLatin1String(key), fallback) : fallback;
}

void WindowMemory::Keep(const char* key, const QVariant& value) {
    if (settings_)
        settings_->setValue(QLatin1String(key), value);
}

} // namespace qla::ui
