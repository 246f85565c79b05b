// The desktop's browser, mail program and program start behind the Desktop interface.
#include "ui/desktop.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>

namespace qla::ui {

bool SystemDesktop::openAddress(const QUrl& address) {
    return QDesktopServices::openUrl(address);
}

bool SystemDesktop::startProgram(const QString& program, const QStringList& arguments) {
    return QProcess::startDetached(program, arguments, QFileInfo(program).absolutePath());
}

void OpenInNewBrowserWindow(Desktop& desktop, const QString& address) {
    const bool isWebAddress = address.startsWith(QLatin1String("http://")) ||
                              address.startsWith(QLatin1String("https://"));
    desktop.openAddress(isWebAddress ? QUrl(address)
                                     : QUrl::fromLocalFile(QFileInfo(address).absoluteFilePath()));
}

void OpenMailLink(Desktop& desktop, const QString& address) {
    desktop.openAddress(QUrl(QStringLiteral("mailto:") + address));
}

} // namespace qla::ui
