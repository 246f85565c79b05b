// Each period's board from a store of that period's sessions alone: its players, their kills,
// deaths and teamkills and the fit are the period's, never the whole history's.
#include "cli/ratings_by_period.h"

#include "analysis/analysis.h"
#include "cli/award_sessions.h"
#include "cli/exit_codes.h"
#include "core/control_chars.h"
#include "export/data/rating_board_export.h"
#include "stats/rating_board.h"
#include "stats/rating_weights.h"

namespace qla::cli {
namespace {

// The weights of the period's logs in its own store (their kill entries one after the other), by
// the half-life counted from the period's newest log; none without a half-life.
EntryWeights PeriodWeights(const AwardSessions& sessions, const AwardPeriod& period,
                           const std::optional<double>& halfLifeDays) {
    EntryWeights weights;
    if (!halfLifeDays)
        return weights;
    std::vector<std::optional<std::string>> dates;
    std::size_t end = 1;
    for (const std::size_t log : period.Logs) {
        const std::size_t begin = log == 0 ? 1 : sessions.KillEntriesEnd[log - 1];
        end += sessions.KillEntriesEnd[log] - begin;
        weights.KillEntriesEnd.push_back(end);
        dates.push_back(sessions.Dates[log]);
    }
    weights.Weights = HalfLifeWeights(dates, *halfLifeDays);
    return weights;
}

void AppendTextRows(std::ostream& out, const std::string& period, const AnalysisStore& store,
                    const std::vector<RatingBoardRow>& board) {
    for (std::size_t rank = 0; rank < board.size(); ++rank) {
        const RatingShown points = ShownRating(board[rank].Rating);
        const PlayerRecord& player = store.Players[static_cast<std::size_t>(board[rank].Player)];
        const PlayerTotals totals = TotalsOfPlayer(player);
        out << TerminalSafeText(period) << "\t" << rank + 1 << "\t" << points.Rating << "\t"
            << points.Uncertainty << "\t" << points.Conservative << "\t" << points.Encounters
            << "\t" << totals.Kills << "\t" << totals.Deaths << "\t" << totals.Teamkills << "\t"
            << TerminalSafeText(player.Name) << "\n";
    }
}

} // namespace

int PrintRatingsByPeriod(LogSource& source, AwardPeriodKind kind, const RatingsChoices& choices,
                         std::ostream& out, std::ostream& err) {
    AnalysisStore whole;
    const std::optional<AwardSessions> sessions = ReadAwardSessions(source, whole, err);
    if (!sessions)
        return kExitFailed;
    const bool text = choices.Format == "text";
    RatingPeriodsDocument document(choices.Format, AwardPeriodName(kind), choices.MinEncounters,
                                   choices.HalfLifeDays);
    if (text)
        out << "period\trank\trating\tuncertainty\tconservative\tencounters\tkills\tdeaths\t"
               "teamkills\tplayer\n";
    for (const AwardPeriod& period : GroupLogs(kind, sessions->Dates, sessions->Labels)) {
        AnalysisStore scratch;
        KillOrder scratchOrder;
        const SessionsStore built = sessions->Build(period.Logs, scratch, scratchOrder, err);
        if (!built.Store)
            return kExitFailed;
        const std::vector<RatingBoardRow> board =
            RatingBoard(*built.Store, choices.MinEncounters,
                        PeriodWeights(*sessions, period, choices.HalfLifeDays));
        if (text)
            AppendTextRows(out, period.Key, *built.Store, board);
        else
            document.Add(period.Key, period.First, period.Logs.size(), *built.Store, board);
    }
    if (!text)
        out << document.Finish();
    return kExitOk;
}

} // namespace qla::cli
