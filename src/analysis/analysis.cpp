// The analysis run: every line is classified once, its totals raised, then it goes to its parser.
#include "analysis.h"

#include "parsers/full_recognizer.h"
#include "parsers/parsers.h"
#include "parsers/rename_parser.h"

#include <optional>

namespace qla {

namespace {

// Totals count the line's kind: a line the parser cuts badly still counts.
void RaiseTotals(AnalysisTotals& totals, LineKind kind) {
    ++totals.ByKind[static_cast<std::size_t>(kind)];
    switch (kind) {
    case LineKind::Kill:
        ++totals.Kills;
        ++totals.Deaths;
        break;
    case LineKind::Died:
        ++totals.Deaths;
        break;
    case LineKind::Teamkill:
        ++totals.Teamkills;
        ++totals.Deaths;
        break;
    case LineKind::VoiceSay:
        ++totals.VoiceChats;
        break;
    case LineKind::Say:
        ++totals.TextChats;
        break;
    case LineKind::Rename:
        break; // counted in Total only
    default:
        ++totals.Unknown;
        break;
    }
    ++totals.Total;
}

// Records one line by the classic rules: the language's classifier, then its parser.
LineKind RecordClassic(const LanguageRoutines& routines, AnalysisStore& store,
                       std::string_view line) {
    ClassifiedKill kill;
    const LineKind kind = routines.Classify(line, kill);
    switch (kind) {
    case LineKind::Kill:
        routines.Kill(store, line, kill);
        break;
    case LineKind::Died:
        routines.Suicide(store, line);
        break;
    case LineKind::Teamkill:
        routines.Teamkill(store, line);
        break;
    case LineKind::VoiceSay:
        ParseVoiceChatLine(store, line);
        break;
    case LineKind::Say:
        ParseTextChatLine(store, line);
        break;
    case LineKind::Rename:
        // Counted in Total only; the names are kept for merging players.
        ParseRenameLine(store, line, routines.RenamePhrase);
        break;
    default:
        break; // the run keeps every other kind as an other line
    }
    return kind;
}

} // namespace

void ResetAnalysis(AnalysisStore& store) {
    store.Reset();
}

AnalysisTotals AnalyzeLog(AnalysisStore& store, LogLanguage language,
                          const AnalysisProgressCallback& progress) {
    return AnalyzeLog(store, language, Recognition::Classic, progress);
}

AnalysisTotals AnalyzeLog(AnalysisStore& store, LogLanguage language, Recognition recognition,
                          const AnalysisProgressCallback& progress) {
    return AnalyzeLogParts(store, {LogPart{store.LogLines.size(), language, recognition}},
                           progress);
}

AnalysisTotals AnalyzeLogParts(AnalysisStore& store, const std::vector<LogPart>& parts,
                               const AnalysisProgressCallback& progress) {
    ResetAnalysis(store);
    AnalysisTotals totals;
    const std::uint64_t lineCount = store.LogLines.size();
    // Room for every line in each list: growing a list by doubling would copy it and touch its
    // memory twice. Where memory is backed on first touch (Linux), room never written costs
    // only address space.
    store.KillEvents.reserve(lineCount + 1);
    store.VoiceChats.reserve(lineCount + 1);
    store.TextChats.reserve(lineCount + 1);
    store.OtherLines.reserve(lineCount + 1);

    std::size_t part = 0;
    const LogPart first = parts.empty() ? LogPart{} : parts[0];
    const LanguageRoutines* routines = &RoutinesOf(first.Language);
    Recognition recognition = first.LineRecognition;
    std::optional<FullRecognizer> full;
    if (recognition == Recognition::Full)
        full.emplace(routines->Full());
    std::uint64_t partEnd = first.LineCount;
    for (std::uint64_t i = 0; i < lineCount; ++i) {
        while (i == partEnd && part + 1 < parts.size()) {
            const LogPart& next = parts[++part];
            partEnd += next.LineCount;
            // A full recogniser keeps what it learnt of names while language and mode stay.
            if (&RoutinesOf(next.Language) != routines || next.LineRecognition != recognition) {
                routines = &RoutinesOf(next.Language);
                recognition = next.LineRecognition;
                full.reset();
                if (recognition == Recognition::Full)
                    full.emplace(routines->Full());
            }
        }
        const std::string_view line = store.LogLines[i];
        const LineKind kind =
            full ? full->Record(store, line) : RecordClassic(*routines, store, line);
        if (IsOtherLineKind(kind))
            store.RecordOtherLine(line);
        RaiseTotals(totals, kind);
        if (progress && ((i + 1) % kProgressStride == 0 || i + 1 == lineCount)) {
            progress(AnalysisProgress{i, lineCount - 1, &totals});
        }
    }
    return totals;
}

PlayerTotals TotalsOfPlayer(const PlayerRecord& player) {
    PlayerTotals totals;
    totals.Kills = player.Kills[0];
    totals.Deaths = player.Deaths[0];
    totals.Teamkills = player.Teamkills;
    totals.VoiceChats = player.VoiceChatCount;
    totals.TextChats = player.TextChatCount;
    totals.Unknown = 0; // a player has no unknown lines; the box always shows 0
    totals.Total = totals.Kills + totals.Deaths + totals.Teamkills + totals.VoiceChats +
                   totals.TextChats + totals.Unknown;
    return totals;
}

} // namespace qla
