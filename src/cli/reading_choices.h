// The choices of how a log is read, as the command line gives them: --language,
// --recognition and --threads.
#pragma once

#include "analysis/analysis.h"
#include "core/store.h"

#include <QCommandLineParser>
#include <QString>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace qla::cli {

// The values of --language: "english", "german", "auto".
std::vector<std::string> LanguageNames();

// What --language chose: one language, or "auto": each log read in the language its first lines
// are written in.
struct LanguageChoice {
    LogLanguage Language = LogLanguage::English;
    bool Auto = false;
};

// "english", "german" or "auto" in any case; nullopt (with a message on err) for anything else.
std::optional<LanguageChoice> ParseLanguage(const QString& value, std::ostream& err);

// The language to read the opened log in: the chosen one, or with auto the likely one, which is
// then reported on err.
LogLanguage LanguageFor(const LanguageChoice& choice, const AnalysisStore& store,
                        const QString& path, std::ostream& err);

// The line that reports the language auto chose for a log.
void ReportChosenLanguage(std::ostream& err, const std::string& path, LogLanguage language);

// The values of --recognition: "classic", "full".
std::vector<std::string> RecognitionNames();

// "classic" or "full" in any case; an empty value is classic. nullopt (with a message on err)
// for anything else.
std::optional<Recognition> ParseRecognition(const QString& value, std::ostream& err);

// The value of --threads: 0 (every core) when not given; nullopt after a message on err for a
// value that is no number from 1 to kMostThreads.
inline constexpr unsigned kMostThreads = 256;
std::optional<unsigned> ParseThreads(const QCommandLineParser& parser, std::ostream& err);

} // namespace qla::cli
