// The analyzer's version and the fixed texts that name the program.
#pragma once

#include <QString>

namespace qla::ui {

inline constexpr int kVersionMajor = 0;
inline constexpr int kVersionMinor = 8;
inline constexpr int kVersionRevision = 2;

inline const QString kProgramTitle = QStringLiteral("Quarvel Logfile Analyzer");

// "v 0.8 build 2" on the splash.
inline QString SplashVersionText() {
    return QStringLiteral("v %1.%2 build %3")
        .arg(kVersionMajor)
        .arg(kVersionMinor)
        .arg(kVersionRevision);
}

// "0.8 build 2" on the About page.
inline QString AboutVersionText() {
    return QStringLiteral("%1.%2 build %3")
        .arg(kVersionMajor)
        .arg(kVersionMinor)
        .arg(kVersionRevision);
}

// "0.8.2", the updater's only argument.
inline QString UpdaterVersionArgument() {
    return QStringLiteral("%1.%2.%3").arg(kVersionMajor).arg(kVersionMinor).arg(kVersionRevision);
}

} // namespace qla::ui
