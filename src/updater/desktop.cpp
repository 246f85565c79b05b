// Real desktop access: the registered browser and detached processes.
#include "desktop.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>

namespace qla::updater {

void SystemBrowser::openAddress(const QUrl& address) {
    QDesktopServices::openUrl(address);
}

bool SystemProgramLauncher::start(const QString& programPath) {
    // Run it in its own folder, as if the user had started it from there.
    return QProcess::startDetached(programPath, {}, QFileInfo(programPath).absolutePath());
}

} // namespace qla::updater
