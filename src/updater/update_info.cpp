// Parsing of the update information file and of the command-line version.
#include "update_info.h"

#include <QCoreApplication>
#include <QUrl>

#include <limits>

namespace qla::updater {

namespace {

const QString kMarker = QStringLiteral("[update=analyzer]");
constexpr int kRequiredLines = 7;

struct KeyedLine {
    QString Key;
    QString Value;
};

// Key is the text before the first "=", value the text up to the second "=" (a value holding
// "=" is cut there on purpose: that is the file format).
std::optional<KeyedLine> SplitKeyedLine(const QString& line) {
    const QStringList parts = line.split(QLatin1Char('='));
    if (parts.size() < 2)
        return std::nullopt;
    return KeyedLine{parts[0], parts[1]};
}

} // namespace

std::optional<quint64> ParseWholeNumber(const QString& text) {
    if (text.isEmpty())
        return std::nullopt;
    quint64 value = 0;
    constexpr quint64 kMax = std::numeric_limits<quint64>::max();
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        const quint64 digit = c.unicode() - u'0';
        if (value > (kMax - digit) / 10)
            return std::nullopt;
        value = value * 10 + digit;
    }
    return value;
}

std::optional<Version> ParseVersionArgument(const QString& text) {
    if (text.isEmpty() || text.count(QLatin1Char('.')) != 2)
        return std::nullopt;
    const QStringList parts = text.split(QLatin1Char('.'));
    const auto major = ParseWholeNumber(parts[0]);
    const auto minor = ParseWholeNumber(parts[1]);
    const auto revision = ParseWholeNumber(parts[2]);
    if (!major || !minor || !revision)
        return std::nullopt;
    return Version{*major, *minor, *revision};
}

bool IsWebAddress(const QString& address) {
    const QUrl url(address, QUrl::StrictMode);
    // A user name in an address ("http://a@b/") can make it look like another site.
    if (!url.isValid() || url.host().isEmpty() || !url.userInfo().isEmpty())
        return false;
    const QString scheme = url.scheme().toLower();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https");
}

std::optional<UpdateInfo> ParseUpdateInformation(const QString& text, QString* error) {
    auto fail = [error](const QString& reason) -> std::optional<UpdateInfo> {
        if (error)
            *error = reason;
        return std::nullopt;
    };

    // Lines are separated by CR LF only; a file with bare LF is one long line and fails below.
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    if (lines[0] != kMarker)
        return fail(QStringLiteral("line 0 is not the marker"));
    if (lines.size() < kRequiredLines)
        return fail(QStringLiteral("only %1 lines").arg(lines.size()));

    // Each value is taken as soon as its key matched, so the first fault in file order is the
    // one reported.
    static const char* const kKeys[] = {"major",   "minor",    "revision",
                                        "changes", "download", "size"};
    UpdateInfo info;
    quint64* const numbers[] = {&info.NewVersion.Major, &info.NewVersion.Minor,
                                &info.NewVersion.Revision};
    QString* const texts[] = {&info.ChangesAddress, &info.DownloadAddress, &info.UpdateSize};
    for (int i = 0; i < 6; ++i) {
        const int lineNo = i + 1;
        const auto keyed = SplitKeyedLine(lines[lineNo]);
        if (!keyed)
            return fail(QStringLiteral("line %1 has no \"=\"").arg(lineNo));
        if (keyed->Key != QLatin1String(kKeys[i]))
            return fail(QStringLiteral("line %1 key is not \"%2\"").arg(lineNo).arg(kKeys[i]));
        if (i < 3) {
            const auto number = ParseWholeNumber(keyed->Value);
            if (!number)
                return fail(QStringLiteral("%1 is not a whole number").arg(kKeys[i]));
            *numbers[i] = *number;
        } else {
            if (i < 5 && !IsWebAddress(keyed->Value))
                return fail(QStringLiteral("%1 is not a web address").arg(kKeys[i]));
            *texts[i - 3] = keyed->Value;
        }
    }
    return info;
}

bool IsNewer(const Version& installed, const Version& announced) {
    return installed < announced;
}

QString VersionText(const Version& version) {
    return QCoreApplication::translate("Updater", "%1.%2 build %3")
        .arg(version.Major)
        .arg(version.Minor)
        .arg(version.Revision);
}

QStringList NewerStatusLines(const Version& installed, const Version& announced) {
    return {QStringLiteral("-----"),
            QCoreApplication::translate("Updater", "New update available!! "),
            QCoreApplication::translate("Updater", "This version: %1").arg(VersionText(installed)),
            QCoreApplication::translate("Updater", "New version: %1").arg(VersionText(announced))};
}

QStringList LatestStatusLines(const Version& installed) {
    return {QStringLiteral("-----"),
            QCoreApplication::translate("Updater", "You have the latest version! (v%1)")
                .arg(VersionText(installed))};
}

} // namespace qla::updater
