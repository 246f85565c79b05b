#include "cli/log_opening.h"

#include "analysis/language_guess.h"
#include "analysis/log_file_check.h"
#include "analysis/log_stream.h"
#include "core/control_chars.h"

#include <QFile>

namespace qla::cli {

std::string LocalPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

std::optional<AnalysedLog> OpenAndAnalyze(AnalysisStore& store, const QString& path,
                                          const LanguageChoice& language, std::ostream& err,
                                          Recognition recognition, unsigned threads) {
    const std::string local = LocalPath(path);
    LogLanguage chosen = language.Language;
    if (language.Auto) {
        // A log that cannot be opened is reported before any language is chosen for it; without
        // the guess, the analysis itself reports it.
        if (const std::string problem = OpenProblem(local); !problem.empty()) {
            store.LogFileLoaded = false;
            err << "qla: " << TerminalSafeText(problem) << "\n";
            return std::nullopt;
        }
        chosen = LikelyLogLanguage(WeighLogLanguages(FirstLogLines(local, kLinesJudged)));
        ReportChosenLanguage(err, path.toStdString(), chosen);
    }
    StreamOptions options;
    options.Threads = threads;
    const LogFileAnalysis analysed = AnalyzeLogFile(store, local, chosen, recognition, options);
    if (!analysed.Error.empty()) {
        err << "qla: " << TerminalSafeText(analysed.Error) << "\n";
        return std::nullopt;
    }
    return AnalysedLog{analysed.Analysis.Totals, analysed.Analysis.DateText};
}

} // namespace qla::cli
