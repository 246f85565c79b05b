#include "cli/reading_choices.h"

#include "analysis/language_guess.h"
#include "cli/nearest_choice.h"
#include "core/control_chars.h"

namespace qla::cli {

std::vector<std::string> LanguageNames() {
    return {"english", "german", "auto"};
}

std::optional<LanguageChoice> ParseLanguage(const QString& value, std::ostream& err) {
    const QString lower = value.toLower();
    if (lower == QLatin1String("english"))
        return LanguageChoice{LogLanguage::English};
    if (lower == QLatin1String("german"))
        return LanguageChoice{LogLanguage::German};
    if (lower == QLatin1String("auto"))
        return LanguageChoice{LogLanguage::English, true};
    err << "qla: unknown language '" << TerminalSafeText(value.toStdString())
        << "' (use english, german or auto)"
        << DidYouMean(value.toStdString(), {"english", "german", "auto"}) << "\n";
    return std::nullopt;
}

void ReportChosenLanguage(std::ostream& err, const std::string& path, LogLanguage language) {
    err << "qla: " << TerminalSafeText(path) << ": read as "
        << (language == LogLanguage::German ? "german" : "english")
        << " (--language auto, from its first " << kLinesJudged << " lines)\n";
}

LogLanguage LanguageFor(const LanguageChoice& choice, const AnalysisStore& store,
                        const QString& path, std::ostream& err) {
    if (!choice.Auto)
        return choice.Language;
    const LogLanguage language = LikelyLogLanguage(WeighLogLanguages(store.LogLines));
    ReportChosenLanguage(err, path.toStdString(), language);
    return language;
}

std::vector<std::string> RecognitionNames() {
    return {"classic", "full"};
}

std::optional<Recognition> ParseRecognition(const QString& value, std::ostream& err) {
    if (const auto recognition = RecognitionFromText(value.toLower().toStdString()))
        return recognition;
    err << "qla: unknown recognition '" << TerminalSafeText(value.toStdString())
        << "' (use classic or full)" << DidYouMean(value.toStdString(), {"classic", "full"})
        << "\n";
    return std::nullopt;
}

std::optional<unsigned> ParseThreads(const QCommandLineParser& parser, std::ostream& err) {
    const QString option = QStringLiteral("threads");
    if (!parser.optionNames().contains(option))
        return 0u;
    bool number = false;
    const uint threads = parser.value(option).toUInt(&number);
    if (!number || threads < 1 || threads > kMostThreads) {
        err << "qla: --threads takes a number from 1 to " << kMostThreads << ", not '"
            << TerminalSafeText(parser.value(option).toStdString()) << "'\n";
        return std::nullopt;
    }
    return threads;
}

} // namespace qla::cli
