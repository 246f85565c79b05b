// The analyzer is looked for beside the updater first, then where the install rules put it.
#include "analyzer_location.h"

#include "update_texts.h"

#include <QDir>
#include <QFileInfo>

namespace qla::updater {

namespace {

bool IsProgram(const QString& path) {
    const QFileInfo file(path);
    return file.isFile() && file.isExecutable();
}

} // namespace

QString InstalledAnalyzerFolder() {
    return QStringLiteral(QLA_ANALYZER_FROM_UPDATER);
}

QString AnalyzerProgramPath(const QString& updaterFolder) {
    const QDir folder(updaterFolder);
    const QString beside = folder.filePath(texts::kAnalyzerFileName);
    if (IsProgram(beside))
        return beside;
    const QString installed = QDir::cleanPath(
        folder.filePath(InstalledAnalyzerFolder() + QLatin1Char('/') + texts::kAnalyzerFileName));
    return IsProgram(installed) ? installed : beside;
}

} // namespace qla::updater
