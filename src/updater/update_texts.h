// The updater's fixed texts and addresses, kept in one place because users and tests rely on
// their exact wording. What the user reads goes through Qt's translation (context "Updater"):
// English as written here, German when the window language is German.
#pragma once

#include "core/product.h"

#include <QCoreApplication>
#include <QString>

namespace qla::updater::texts {

// Over https, so a hostile network cannot hand out another download address.
inline const QString kDefaultUpdateAddress =
    QStringLiteral("https://quarvel.example.org/analyzer/analyzer.update");
// Names another update address, for self-hosting and tests.
inline constexpr char kUpdateAddressVariable[] = "QLA_UPDATE_URL";
inline const QString kAnalyzerFileName = QStringLiteral("Quarvel_Logfile_Analyzer");
inline const QString kUpdatePage = QStringLiteral("https://quarvel.example.org/update");

inline const QString kMakerName = QStringLiteral("Quarvel Analyzer team");
inline const QString kMakerEmail = QStringLiteral("analyzer@quarvel.example.org");
inline const QString kMakerHomePage =
    QString::fromUtf8(kHomePage.data(), static_cast<qsizetype>(kHomePage.size()));

inline QString ProgramTitle() {
    return QCoreApplication::translate("Updater", "Updater");
}
inline QString Caption() {
    return QCoreApplication::translate("Updater", "Checking for update...");
}
inline QString CaptionDone() {
    return QCoreApplication::translate("Updater", "Checking for update... [done]");
}

inline QString Connecting() {
    return QCoreApplication::translate("Updater", "Connecting Update Site");
}
inline QString Downloading() {
    return QCoreApplication::translate("Updater", "Downloading update information");
}
inline QString Reading() {
    return QCoreApplication::translate("Updater", "Reading update information");
}
inline QString Aborted() {
    return QCoreApplication::translate("Updater", "Check for update aborted... please wait");
}

inline QString WrongDataTitle() {
    return QCoreApplication::translate("Updater", "Update Error");
}
inline QString WrongDataText() {
    return QCoreApplication::translate("Updater",
                                       "Update information file contains wrong data. Update "
                                       "cannot continue, please visit %1 for more information!")
        .arg(kUpdatePage);
}

inline QString CommandLineTitle() {
    return QCoreApplication::translate("Updater", "Check for Update - error");
}
inline QString CommandLineText() {
    return QCoreApplication::translate("Updater",
                                       "To check for updates, click on the 'Check for Updates' "
                                       "button in the About screen of Quarvel Logfile Analyzer");
}

inline QString DownloadTitle() {
    return QCoreApplication::translate("Updater", "Download");
}
inline QString DownloadText() {
    return QCoreApplication::translate(
        "Updater", "Save the file to the directory where you installed Quarvel Logfile Analyzer, "
                   "and overwrite the existing 'Quarvel_Logfile_Analyzer.exe' file");
}

inline QString AboutTitle() {
    return QCoreApplication::translate("Updater", "About Updater");
}
inline QString AboutText() {
    return QCoreApplication::translate("Updater", "About Quarvel Logfile Analyzer Updater\r\n\r\n"
                                                  "Made by:\r\n%1\r\n%2\r\n%3")
        .arg(kMakerName, kMakerEmail, kMakerHomePage);
}

inline QString CannotReachText(const QString& reason) {
    return QCoreApplication::translate("Updater", "Cannot reach the update server: %1").arg(reason);
}

inline QString StartFailedText(const QString& path) {
    return QCoreApplication::translate("Updater",
                                       "Quarvel Logfile Analyzer could not be started from:\r\n%1")
        .arg(path);
}

} // namespace qla::updater::texts
