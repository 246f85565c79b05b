#include "cli/award_sessions.h"

#include "analysis/analysis.h"
#include "analysis/holder_identity.h"
#include "cli/log_opening.h"
#include "core/control_chars.h"
#include "db/log_date.h"

#include <QFileInfo>

#include <memory>
#include <sstream>

namespace qla::cli {
namespace {

// A log's lines split at each "logfile opened on" line: the first line of every session.
std::vector<std::size_t> SessionStarts(const LogLineList& lines) {
    std::vector<std::size_t> starts{0};
    for (std::size_t line = 1; line < lines.size(); ++line)
        if (LogDateText(lines[line]))
            starts.push_back(line);
    return starts;
}

std::optional<AwardSessions> LogSessions(LogSource& source, AnalysisStore& whole,
                                         std::ostream& err) {
    const auto loaded = LoadSource(
        source, whole, {{.Chats = false, .UnknownLines = false, .PassingNames = true}, false}, err);
    if (!loaded)
        return std::nullopt;
    // The whole store was read in blocks; the sessions need the lines, read once more.
    auto text = std::make_shared<AnalysisStore>();
    const OpenLogResult opened = OpenLogFile(*text, LocalPath(source.Logs.at(0)));
    if (!opened.Opened) {
        err << "qla: " << TerminalSafeText(opened.Error) << "\n";
        return std::nullopt;
    }
    std::ostringstream quiet; // the language was reported when the log was first read
    const LogLanguage language = LanguageFor(source.Language, *text, source.Logs.at(0), quiet);
    const std::vector<std::size_t> starts = SessionStarts(text->LogLines);
    const std::string file = QFileInfo(source.Logs.at(0)).fileName().toStdString();
    AwardSessions sessions;
    sessions.StreaksKnown.assign(starts.size(), true);
    for (std::size_t s = 0; s < starts.size(); ++s) {
        sessions.Labels.push_back(file + ":" + std::to_string(s + 1));
        const auto date = LogDateText(text->LogLines[starts[s]]);
        sessions.Dates.push_back(date ? db::SortableLogDate(*date) : std::nullopt);
    }
    const std::size_t count = starts.size();
    PlayerMerging merging = source.Merging;
    const Recognition recognition = source.LineRecognition;
    sessions.Build = [text, starts, count, merging, recognition, language,
                      &whole](const std::vector<std::size_t>& chosen, AnalysisStore& store,
                              KillOrder&, std::ostream&) mutable -> SessionsStore {
        if (chosen.size() == count)
            return {&whole};
        std::vector<std::string> lines;
        for (const std::size_t s : chosen) {
            const std::size_t end = s + 1 < count ? starts[s + 1] : text->LogLines.size();
            for (std::size_t line = starts[s]; line < end; ++line)
                lines.emplace_back(text->LogLines[line]);
        }
        store = AnalysisStore();
        // By name, as the whole log was read: the passing names told by their holders.
        store.TracksHolders = merging.TracksHolders() || !merging.Merge;
        store.LogLines = LogLineList::FromLines(lines);
        AnalyzeLog(store, language, recognition);
        if (!merging.Merge)
            FileByNameKeepingPassingKeys(store);
        merging.Apply(store);
        return {&store};
    };
    // Each session's kills follow the earlier sessions' in the whole store.
    std::size_t end = 1;
    for (std::size_t s = 0; s < count; ++s) {
        AnalysisStore scratch;
        KillOrder unused;
        end += sessions.Build({s}, scratch, unused, err).Store->KillEvents.size() - 1;
        sessions.KillEntriesEnd.push_back(end);
    }
    if (count == 1)
        sessions.KillEntriesEnd = {whole.KillEvents.size()};
    return sessions;
}

// The stored statistics without the texts, and each log's streaks from the order of its kills,
// worked out as it is read and the order let go: a long history's order would take hundreds of
// megabytes. Players merged or hidden after the reading join their streaks: the order stays then.
constexpr TextsShown kDatabaseAwardParts{{.Chats = false,
                                          .UnknownLines = false,
                                          .KillOrder = true,
                                          .KillFiguresOnly = true,
                                          .FiguresBySession = true,
                                          .PassingNames = true},
                                         false};

// The streaks of a reading whose logs' streaks were worked out as they were read; empty when its
// order was kept instead.
std::vector<PlayerStreaks> StreaksRead(const db::LogSpans& logs, const AnalysisStore& store) {
    if (logs.KillFigures.empty())
        return {};
    return StreaksOfFigures(logs.KillFigures, store.Players.size());
}

std::optional<AwardSessions> DatabaseSessions(LogSource& source, AnalysisStore& whole,
                                              std::ostream& err) {
    auto loaded = LoadSource(source, whole, kDatabaseAwardParts, err);
    if (!loaded)
        return std::nullopt;
    const db::LogSpans& logs = loaded->Store.Logs;
    // A database older than its stored statistics is read as one log: no session to tell.
    if (logs.KillEntriesEnd.empty() && loaded->Store.Totals.Total > 0) {
        err << "qla: awards need the statistics stored per log; qla upgrade --db "
            << TerminalSafeText(source.Database->Path) << " stores them\n";
        return std::nullopt;
    }
    std::string error;
    const auto database =
        db::StatsDatabase::Open(source.Database->Path, db::OpenMode::ReadOnly, error);
    const auto entries =
        database ? db::SelectLogs(*database, source.Database->Selection, error) : std::nullopt;
    if (!entries || entries->size() != logs.KillEntriesEnd.size()) {
        err << "qla: "
            << TerminalSafeText(error.empty() ? "the database changed while read" : error) << "\n";
        return std::nullopt;
    }
    AwardSessions sessions;
    const auto order = std::make_shared<const KillOrder>(std::move(loaded->Store.Logs.Order));
    sessions.StreaksKnown = order->Known;
    if (!logs.KillFigures.empty()) {
        sessions.StreaksKnown.clear();
        for (const LogKillFigures& log : logs.KillFigures)
            sessions.StreaksKnown.push_back(log.Known);
    }
    sessions.StreaksKnown.resize(entries->size(), false);
    const auto streaks =
        std::make_shared<const std::vector<PlayerStreaks>>(StreaksRead(logs, whole));
    const auto figures = std::make_shared<const std::vector<LogKillFigures>>(
        std::move(loaded->Store.Logs.KillFigures));
    std::vector<db::LogId> ids;
    for (const db::LogEntry& log : *entries) {
        sessions.Labels.push_back("log " + std::to_string(log.Id));
        ids.push_back(log.Id);
    }
    sessions.Dates = logs.Dates;
    sessions.KillEntriesEnd = logs.KillEntriesEnd;
    const LogSource base = source;
    sessions.Build = [base, ids, order, streaks, figures,
                      &whole](const std::vector<std::size_t>& chosen, AnalysisStore& store,
                              KillOrder& scratchOrder, std::ostream& err) -> SessionsStore {
        if (chosen.size() == ids.size())
            return {&whole, order.get(), *streaks, *figures};
        LogSource one = base;
        // The logs by their ids alone: the source's date bounds chose them already.
        one.Database->Selection = db::LogSelection();
        for (const std::size_t s : chosen)
            one.Database->Selection.Ids.push_back(ids[s]);
        store = AnalysisStore();
        auto read = LoadSource(one, store, kDatabaseAwardParts, err);
        if (!read)
            return {};
        scratchOrder = std::move(read->Store.Logs.Order);
        return {&store, &scratchOrder, StreaksRead(read->Store.Logs, store),
                std::move(read->Store.Logs.KillFigures)};
    };
    return sessions;
}

} // namespace

std::optional<AwardSessions> ReadAwardSessions(LogSource& source, AnalysisStore& whole,
                                               std::ostream& err) {
    return source.Database ? DatabaseSessions(source, whole, err) : LogSessions(source, whole, err);
}

} // namespace qla::cli
