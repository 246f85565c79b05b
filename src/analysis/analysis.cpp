// The analysis run: every line is classified once, its totals raised, then it goes to its parser.
#include "analysis.h"

#include "parsers/parsers.h"

namespace qla {

void ResetAnalysis(AnalysisStore& store) {
    store.Reset();
}

AnalysisTotals AnalyzeLog(AnalysisStore& store, LogLanguage language,
                          const AnalysisProgressCallback& progress) {
    return AnalyzeLogParts(store, {LogPart{store.LogLines.size(), language}}, progress);
}

AnalysisTotals AnalyzeLogParts(AnalysisStore& store, const std::vector<LogPart>& parts,
                               const AnalysisProgressCallback& progress) {
    std::size_t part = 0;
    const LanguageRoutines* current =
        &RoutinesOf(parts.empty() ? LogLanguage::English : parts[0].Language);
    std::uint64_t partEnd = parts.empty() ? 0 : parts[0].LineCount;
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
    for (std::uint64_t i = 0; i < lineCount; ++i) {
        while (i == partEnd && part + 1 < parts.size()) {
            current = &RoutinesOf(parts[++part].Language);
            partEnd += parts[part].LineCount;
        }
        const LanguageRoutines& routines = *current;
        const std::string_view line = store.LogLines[i];
        ClassifiedKill kill;
        // Totals count the line's kind, raised before its parser runs: a line the parser cuts
        // badly still counts.
        switch (routines.Classify(line, kill)) {
        case LineKind::Kill:
            ++totals.Kills;
            ++totals.Deaths;
            routines.Kill(store, line, kill);
            break;
        case LineKind::Died:
            ++totals.Deaths;
            routines.Suicide(store, line);
            break;
        case LineKind::Teamkill:
            ++totals.Teamkills;
            ++totals.Deaths;
            routines.Teamkill(store, line);
            break;
        case LineKind::VoiceSay:
            ++totals.VoiceChats;
            ParseVoiceChatLine(store, line);
            break;
        case LineKind::Say:
            ++totals.TextChats;
            ParseTextChatLine(store, line);
            break;
        case LineKind::Rename:
            break; // a rename is counted in Total only and stores nothing
        default:
            ++totals.Unknown;
            RecordOtherLine(store, line);
            break;
        }
        ++totals.Total;
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
