// Loads the compiled translations built into the program (resource folder :/i18n) and Qt's own
// from the system's Qt translations folder.
#include "window_language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace qla {

bool InstallWindowLanguage(QCoreApplication& app, const QLocale& locale) {
    auto* ours = new QTranslator(&app);
    // Tries each of the locale's languages in order: "quarvel_de_DE", "quarvel_de", ...
    if (!ours->load(locale, QStringLiteral("quarvel"), QStringLiteral("_"),
                    QStringLiteral(":/i18n"))) {
        delete ours;
        return false;
    }
    QCoreApplication::installTranslator(ours);
    // Yes, No, Cancel and the file dialogs in the same language; without Qt's translations
    // installed they stay English, which is no reason to refuse ours.
    auto* qt = new QTranslator(&app);
    if (qt->load(QLocale(ours->language()), QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qt);
    else
        delete qt;
    return true;
}

} // namespace qla
