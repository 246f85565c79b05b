// Turns the command line's log argument into the path the Open File sequence takes.
#include "ui/startup_log.h"

#include <QFileInfo>
#include <QUrl>

namespace qla::ui {

QString StartupLogPath(const QStringList& positionalArguments) {
    if (positionalArguments.isEmpty() || positionalArguments.front().isEmpty())
        return {};
    const QString& argument = positionalArguments.front();
    const QUrl address(argument);
    const QString path = address.isLocalFile() ? address.toLocalFile() : argument;
    return QFileInfo(path).absoluteFilePath();
}

} // namespace qla::ui
