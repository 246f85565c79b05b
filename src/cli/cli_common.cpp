#include "cli/cli_common.h"

#include "core/control_chars.h"

#include <QFile>

namespace qla::cli {

QCommandLineOption LanguageOption() {
    return QCommandLineOption(QStringLiteral("language"),
                              QStringLiteral("Log language: english (default) or german."),
                              QStringLiteral("L"), QStringLiteral("english"));
}

std::optional<LogLanguage> ParseLanguage(const QString& value, std::ostream& err) {
    const QString lower = value.toLower();
    if (lower == QLatin1String("english"))
        return LogLanguage::English;
    if (lower == QLatin1String("german"))
        return LogLanguage::German;
    err << "qla: unknown language '" << TerminalSafeText(value.toStdString())
        << "' (use english or german)\n";
    return std::nullopt;
}

QCommandLineOption RecognitionOption() {
    return QCommandLineOption(QStringLiteral("recognition"),
                              QStringLiteral("Line recognition: classic (default) or full."),
                              QStringLiteral("M"), QStringLiteral("classic"));
}

std::optional<Recognition> ParseRecognition(const QString& value, std::ostream& err) {
    if (const auto recognition = RecognitionFromText(value.toLower().toStdString()))
        return recognition;
    err << "qla: unknown recognition '" << value.toStdString() << "' (use classic or full)\n";
    return std::nullopt;
}

std::string LocalPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

bool OpenLog(AnalysisStore& store, const QString& path, std::ostream& err) {
    const OpenLogResult opened = OpenLogFile(store, LocalPath(path));
    if (!opened.Opened) {
        err << "qla: " << TerminalSafeText(opened.Error) << "\n";
        return false;
    }
    return true;
}

std::optional<AnalysisTotals> OpenAndAnalyze(AnalysisStore& store, const QString& path,
                                             LogLanguage language, std::ostream& err,
                                             Recognition recognition) {
    if (!OpenLog(store, path, err))
        return std::nullopt;
    return AnalyzeLog(store, language, recognition);
}

} // namespace qla::cli
