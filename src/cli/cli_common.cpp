#include "cli/cli_common.h"

#include "analysis/alias_file.h"
#include "cli/database_source.h"
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

QList<QCommandLineOption> PlayerMergingOptions() {
    return {QCommandLineOption(QStringLiteral("merge-players"),
                               QStringLiteral("One record per player: names that differ only in "
                                              "colour codes, case or blanks, renames and aliases "
                                              "are joined.")),
            QCommandLineOption(QStringLiteral("aliases"),
                               QStringLiteral("The aliases file for --merge-players."),
                               QStringLiteral("FILE"))};
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
