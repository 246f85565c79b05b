// The update information file and version numbers: parsing, comparing and the status texts the
// check writes. No window and no network here, so all of it is tested as plain functions.
#pragma once

#include <QString>
#include <QStringList>

#include <compare>
#include <optional>

namespace qla::updater {

// Parts are whole numbers without a sign, each held in 64 bits.
struct Version {
    quint64 Major = 0;
    quint64 Minor = 0;
    quint64 Revision = 0;

    auto operator<=>(const Version&) const = default;
};

struct UpdateInfo {
    Version NewVersion;
    QString ChangesAddress;
    QString DownloadAddress;
    QString UpdateSize;
};

// Decimal digits only: no blanks, no sign, nothing else. Empty is not a number.
std::optional<quint64> ParseWholeNumber(const QString& text);

// The command line "major.minor.revision". Returns nothing when the text is empty, does not
// hold exactly two dots, or a part is not a whole number.
std::optional<Version> ParseVersionArgument(const QString& text);

// Reads the update information file. On failure returns nothing and puts the reason into
// *error (when given); the user only ever sees the one wrong-data message.
std::optional<UpdateInfo> ParseUpdateInformation(const QString& text, QString* error = nullptr);

// Only web addresses may be handed to the browser: http or https, a host, no user information.
bool IsWebAddress(const QString& address);

// True when the announced version is newer than the installed one; equal or older is "latest".
bool IsNewer(const Version& installed, const Version& announced);

// "0.8 build 2"
QString VersionText(const Version& version);

// The lines appended to the status box after a finished check, newest first: starting with
// the "-----" separator.
QStringList NewerStatusLines(const Version& installed, const Version& announced);
QStringList LatestStatusLines(const Version& installed);

} // namespace qla::updater
