// The language of the windows: German when the desktop asks for it, English otherwise.
#pragma once

#include <QLocale>

class QCoreApplication;

namespace qla {

// Installs our German translation, and Qt's own for its standard buttons and dialogs, into
// `app` when German comes first among `locale`'s languages that we translate. Installs nothing
// otherwise, so the windows keep the English they are written in. Returns whether a
// translation was installed. The translators belong to `app`.
bool InstallWindowLanguage(QCoreApplication& app, const QLocale& locale = QLocale::system());

} // namespace qla
