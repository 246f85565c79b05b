// Proposed names for the save dialog of an export.
#include "ui/export_file_name.h"

#include "core/names.h"

#include <QDir>
#include <QFileInfo>

namespace qla::ui {

QString FileNameOfPlayer(const QString& name) {
    QString safe = QString::fromStdString(StripColourCodes(name.toStdString())).trimmed();
    for (QChar& c : safe)
        if (c.unicode() < 0x20 || QStringLiteral("/\\:*?\"<>|.").contains(c))
            c = QLatin1Char('_');
    return safe.isEmpty() ? QStringLiteral("player") : safe;
}

QString ProposedExportPath(const QString& lastPath, bool sameAsLast, std::string_view viewName,
                           const QString& player, const QString& logPath) {
    if (sameAsLast && !lastPath.isEmpty())
        return lastPath;
    QString name = QString::fromUtf8(viewName.data(), static_cast<qsizetype>(viewName.size()));
    if (!player.isEmpty())
        name += QLatin1Char('-') + FileNameOfPlayer(player);
    const QString folder = !lastPath.isEmpty()  ? QFileInfo(lastPath).absolutePath()
                           : !logPath.isEmpty() ? QFileInfo(logPath).absolutePath()
                                                : QString();
    return folder.isEmpty() ? name : QDir(folder).filePath(name);
}

} // namespace qla::ui
