#include "cli/awards_command.h"

#include "cli/award_sessions.h"
#include "cli/command_table.h"
#include "cli/exit_codes.h"
#include "cli/log_source.h"
#include "export/data/awards_export.h"
#include "stats/award_report.h"

#include <QCommandLineParser>

namespace qla::cli {
namespace {

struct AwardsRequest {
    LogSource Source;
    AwardPeriodKind Period = AwardPeriodKind::All;
    QString Format;
};

// The command line checked; nullopt with `exitCode` set when the command ends here.
std::optional<AwardsRequest> ParseAwards(const QStringList& arguments, std::ostream& out,
                                         std::ostream& err, int& exitCode) {
    const CommandInfo& command = *FindCommand(QStringLiteral("awards"));
    const auto refuse = [&](const std::string& message) {
        exitCode = CommandUsageError(command, message, err);
        return std::nullopt;
    };
    QCommandLineParser parser;
    AwardsRequest request;
    if (const auto exit =
            StartReadingCommand(parser, command, arguments, request.Source, out, err)) {
        exitCode = *exit;
        return std::nullopt;
    }
    const QStringList positional = parser.positionalArguments();
    const qsizetype expected = request.Source.Database ? 0 : 1;
    if (positional.size() != expected)
        return refuse(request.Source.Database ? "takes no LOG with --db" : "needs LOG");
    if (!request.Source.Database)
        request.Source.Logs = positional;
    if (const auto exit = ReadReadingOptions(parser, command, request.Source, err)) {
        exitCode = *exit;
        return std::nullopt;
    }
    const QString period = parser.value(QStringLiteral("period")).toLower();
    const auto kind = AwardPeriodNamed(period.toStdString());
    if (!kind)
        return refuse("--period takes all, session, day, week or month, not '" +
                      parser.value(QStringLiteral("period")).toStdString() + "'");
    request.Period = *kind;
    request.Format = parser.value(QStringLiteral("format")).toLower();
    if (!QStringList{"text", "json", "csv"}.contains(request.Format))
        return refuse("--format takes text, json or csv, not '" +
                      parser.value(QStringLiteral("format")).toStdString() + "'");
    return request;
}

// Every period's awards, then the records over every session.
std::optional<AwardsReport> BuildReport(AwardPeriodKind kind, const AwardSessions& sessions,
                                        const AnalysisStore& whole, std::ostream& err) {
    AwardsReport report;
    report.Kind = kind;
    const auto known = [&](std::size_t session) {
        return session < sessions.StreaksKnown.size() && sessions.StreaksKnown[session];
    };
    const std::vector<AwardPeriod> periods = GroupLogs(kind, sessions.Dates, sessions.Labels);
    std::vector<bool> before(sessions.Labels.size(), false);
    for (const AwardPeriod& period : periods) {
        AnalysisStore scratch;
        KillOrder scratchOrder;
        const SessionsStore built = sessions.Build(period.Logs, scratch, scratchOrder, err);
        if (!built.Store)
            return std::nullopt;
        std::vector<bool> through = before;
        std::vector<std::size_t> ends;
        std::vector<std::string> labels;
        std::size_t end = 1;
        bool streaksKnown = true;
        for (const std::size_t log : period.Logs) {
            streaksKnown = streaksKnown && known(log);
            through[log] = true;
            const std::size_t begin = log == 0 ? 1 : sessions.KillEntriesEnd[log - 1];
            end += sessions.KillEntriesEnd[log] - begin;
            ends.push_back(end);
            labels.push_back(sessions.Labels[log]);
        }
        const std::vector<RatingGain> gains =
            RatingGains(whole, sessions.KillEntriesEnd, before, through);
        AwardInputs inputs{*built.Store, ends, labels, streaksKnown, gains};
        inputs.Order = built.Order;
        inputs.Streaks = built.Streaks;
        inputs.LogFigures = built.Figures;
        report.Periods.push_back(
            {period.Key, period.First, period.Logs.size(), ComputeAwards(inputs)});
        report.StreaksKnown = report.StreaksKnown && streaksKnown;
        before = std::move(through);
    }
    RecordBook records;
    for (std::size_t s = 0; s < sessions.Labels.size(); ++s) {
        AnalysisStore scratch;
        KillOrder scratchOrder;
        const SessionsStore built = sessions.Build({s}, scratch, scratchOrder, err);
        if (!built.Store)
            return std::nullopt;
        records.AddSession(*built.Store, known(s), sessions.Labels[s],
                           sessions.Dates[s].value_or(""), built.Order, built.Streaks);
        report.StreaksKnown = report.StreaksKnown && known(s);
    }
    report.Records = records.Records();
    return report;
}

} // namespace

int RunAwardsCommand(const QStringList& arguments, std::ostream& out, std::ostream& err) {
    int exitCode = kExitOk;
    auto request = ParseAwards(arguments, out, err, exitCode);
    if (!request)
        return exitCode;
    AnalysisStore whole;
    const auto sessions = ReadAwardSessions(request->Source, whole, err);
    if (!sessions)
        return kExitFailed;
    const auto report = BuildReport(request->Period, *sessions, whole, err);
    if (!report)
        return kExitFailed;
    if (request->Format == QLatin1String("json"))
        out << AwardsJson(*report);
    else if (request->Format == QLatin1String("csv"))
        out << AwardsCsv(*report, CsvOptions());
    else
        out << AwardsText(*report);
    return kExitOk;
}

} // namespace qla::cli
