#include "cli/cli_common.h"

#include "analysis/alias_file.h"
#include "analysis/language_guess.h"
#include "analysis/log_file_check.h"
#include "analysis/log_stream.h"
#include "cli/database_source.h"
#include "cli/nearest_choice.h"
#include "core/control_chars.h"
#include "core/names.h"

#include <QFile>

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

std::string StoredNamesLike(const AnalysisStore& store, const std::string& name) {
    constexpr std::size_t kListed = 5;
    const std::string key = IdentityKey(name);
    std::vector<std::string> like;
    for (const PlayerRecord& player : RealEntries(store.Players))
        if (player.Name != name && IdentityKey(player.Name) == key && like.size() < kListed)
            like.push_back("'" + TerminalSafeText(player.Name) + "'");
    if (like.empty())
        return {};
    std::string text = " (stored names like it: ";
    for (std::size_t i = 0; i < like.size(); ++i)
        text += (i > 0 ? ", " : "") + like[i];
    return text + ")";
}

std::string LocalPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
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

void PlayerMerging::Apply(AnalysisStore& store) {
    if (Merge)
        Names = MergePlayers(store, Aliases);
}

std::optional<PlayerIndex> PlayerMerging::Find(const AnalysisStore& store,
                                               const std::string& name) const {
    return Names ? Names->Find(name) : store.FindPlayer(name);
}

std::optional<PlayerMerging> ReadPlayerMerging(const QCommandLineParser& parser, std::ostream& err,
                                               int& exitCode) {
    PlayerMerging merging;
    merging.Merge = parser.isSet(QStringLiteral("merge-players"));
    if (parser.isSet(QString::fromStdString(std::string(kMergeRuleOption)))) {
        const QString rule = parser.value(QString::fromStdString(std::string(kMergeRuleOption)));
        if (rule.compare(QStringLiteral("names"), Qt::CaseInsensitive) != 0) {
            err << "qla: --merge-players takes no value, or =names (identity keys only), not '"
                << TerminalSafeText(rule.toStdString()) << "'\n";
            exitCode = kExitUsage;
            return std::nullopt;
        }
        merging.ByNamesOnly = true;
    }
    // Given on the command line (optionNames lists those), without asking a parser that lacks it.
    const bool database = parser.optionNames().contains(QStringLiteral("db"));
    if (!parser.isSet(QStringLiteral("aliases"))) {
        if (merging.Merge && database) {
            auto aliases = ReadDatabaseAliases(LocalPath(parser.value(QStringLiteral("db"))), err);
            if (!aliases) {
                exitCode = kExitFailed;
                return std::nullopt;
            }
            merging.Aliases = std::move(*aliases);
        }
        return merging;
    }
    if (!merging.Merge || database) {
        err << (database ? "qla: --aliases is for logs; a database keeps its own aliases (qla "
                           "alias ... --db DB)\n"
                         : "qla: --aliases needs --merge-players\n");
        exitCode = kExitUsage;
        return std::nullopt;
    }
    const AliasFileResult read =
        ReadAliasFile(LocalPath(parser.value(QStringLiteral("aliases"))), false);
    if (!read.Ok()) {
        err << "qla: " << read.Error << "\n";
        exitCode = kExitFailed;
        return std::nullopt;
    }
    merging.Aliases = read.Aliases;
    return merging;
}

} // namespace qla::cli
