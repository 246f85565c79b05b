// The updater is looked for beside the analyzer first, then where the install rules put it.
#include "ui/updater_location.h"

#include <QDir>
#include <QFileInfo>

namespace qla::ui {

namespace {

bool IsProgram(const QString& path) {
    const QFileInfo file(path);
    return file.isFile() && file.isExecutable();
}

} // namespace

QString InstalledUpdaterFolder() {
    return QStringLiteral(QLA_UPDATER_FROM_ANALYZER);
}

QString UpdaterProgramPath(const QString& analyzerFolder) {
    const QDir folder(analyzerFolder);
    const QString beside = folder.filePath(QStringLiteral("updater"));
    if (IsProgram(beside))
        return beside;
    const QString installed =
        QDir::cleanPath(folder.filePath(InstalledUpdaterFolder() + QStringLiteral("/updater")));
    return IsProgram(installed) ? installed : beside;
}

} // namespace qla::ui
