// The updater's fixed texts and addresses, kept in one place because users and tests rely on
// their exact wording.
#pragma once

#include "core/product.h"

#include <QString>

namespace qla::updater::texts {

// Over https, so a hostile network cannot hand out another download address.
inline const QString kDefaultUpdateAddress =
    QStringLiteral("https://quarvel.example.org/analyzer/analyzer.update");
// Names another update address, for self-hosting and tests.
inline constexpr char kUpdateAddressVariable[] = "QLA_UPDATE_URL";
inline const QString kAnalyzerFileName = QStringLiteral("Quarvel_Logfile_Analyzer");

inline const QString kProgramTitle = QStringLiteral("Updater");
inline const QString kCaption = QStringLiteral("Checking for update...");
inline const QString kCaptionDone = QStringLiteral("Checking for update... [done]");

inline const QString kConnecting = QStringLiteral("Connecting Update Site");
inline const QString kDownloading = QStringLiteral("Downloading update information");
inline const QString kReading = QStringLiteral("Reading update information");
inline const QString kAborted = QStringLiteral("Check for update aborted... please wait");

inline const QString kWrongDataTitle = QStringLiteral("Update Error");
inline const QString kUpdatePage = QStringLiteral("https://quarvel.example.org/update");
inline const QString kWrongDataText =
    QStringLiteral("Update information file contains wrong data. Update cannot continue, please "
                   "visit ") +
    kUpdatePage + QStringLiteral(" for more information!");

inline const QString kCommandLineTitle = QStringLiteral("Check for Update - error");
inline const QString kCommandLineText =
    QStringLiteral("To check for updates, click on the 'Check for Updates' button in the About "
                   "screen of Quarvel Logfile Analyzer");

inline const QString kDownloadTitle = QStringLiteral("Download");
inline const QString kDownloadText =
    QStringLiteral("Save the file to the directory where you installed Quarvel Logfile Analyzer, "
                   "and overwrite the existing 'Quarvel_Logfile_Analyzer.exe' file");

inline const QString kMakerName = QStringLiteral("Quarvel Analyzer team");
inline const QString kMakerEmail = QStringLiteral("analyzer@quarvel.example.org");
inline const QString kMakerHomePage =
    QString::fromUtf8(kHomePage.data(), static_cast<qsizetype>(kHomePage.size()));
inline const QString kAboutTitle = QStringLiteral("About Updater");
inline const QString kAboutText = QStringLiteral("About Quarvel Logfile Analyzer Updater\r\n\r\n"
                                                 "Made by:\r\n") +
                                  kMakerName + QStringLiteral("\r\n") + kMakerEmail +
                                  QStringLiteral("\r\n") + kMakerHomePage;

inline QString CannotReachText(const QString& reason) {
    return QStringLiteral("Cannot reach the update server: ") + reason;
}

inline QString StartFailedText(const QString& path) {
    return QStringLiteral("Quarvel Logfile Analyzer could not be started from:\r\n") + path;
}

} // namespace qla::updater::texts
