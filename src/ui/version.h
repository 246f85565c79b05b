// The analyzer's version texts and the fixed texts that name the program.
#pragma once

#include "core/product.h"

#include <QCoreApplication>
#include <QString>

#include <string_view>

namespace qla::ui {

inline const QString kProgramTitle = QStringLiteral("Quarvel Logfile Analyzer");

inline QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline const QString kPlaceholderTitle = FromUtf8(kPlaceholderGameTitle);

// "v 0.8 build 2" on the splash.
inline QString SplashVersionText() {
    return QCoreApplication::translate("qla::ui::Version", "v %1.%2 build %3")
        .arg(kVersionMajor)
        .arg(kVersionMinor)
        .arg(kVersionRevision);
}

// "0.8 build 2" on the About page.
inline QString AboutVersionText() {
    return QCoreApplication::translate("qla::ui::Version", "%1.%2 build %3")
        .arg(kVersionMajor)
        .arg(kVersionMinor)
        .arg(kVersionRevision);
}

// "0.8.2", the updater's only argument.
inline QString UpdaterVersionArgument() {
    return QStringLiteral("%1.%2.%3").arg(kVersionMajor).arg(kVersionMinor).arg(kVersionRevision);
}

} // namespace qla::ui
