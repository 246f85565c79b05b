// The analysis run over the lines in memory: split into ranges for the cores when it is large and
// classic, otherwise one walk.
#include "analysis.h"

#include "analysis/line_walk.h"
#include "analysis/parallel_ranges.h"

#include <algorithm>
#include <atomic>

namespace qla {

void ResetAnalysis(AnalysisStore& store) {
    store.Reset();
}

AnalysisTotals AnalyzeLog(AnalysisStore& store, LogLanguage language,
                          const AnalysisProgressCallback& progress) {
    return AnalyzeLog(store, language, Recognition::Classic, progress);
}

AnalysisTotals AnalyzeLog(AnalysisStore& store, LogLanguage language, Recognition recognition,
                          const AnalysisProgressCallback& progress) {
    return AnalyzeLog(store, language, recognition, ThreadUse{}, progress);
}

AnalysisTotals AnalyzeLog(AnalysisStore& store, LogLanguage language, Recognition recognition,
                          const ThreadUse& threads, const AnalysisProgressCallback& progress) {
    return AnalyzeLogParts(store, {LogPart{store.LogLines.size(), language, recognition}}, threads,
                           progress);
}

AnalysisTotals AnalyzeLogParts(AnalysisStore& store, const std::vector<LogPart>& parts,
                               const AnalysisProgressCallback& progress) {
    // Parts of different logs may switch recognition between them: one thread.
    return AnalyzeLogParts(store, parts, ThreadUse{1}, progress);
}

AnalysisTotals AnalyzeLogParts(AnalysisStore& store, const std::vector<LogPart>& parts,
                               const ThreadUse& threads, const AnalysisProgressCallback& progress) {
    ResetAnalysis(store);
    const std::uint64_t lineCount = store.LogLines.size();
    // Full recognition learns names as it goes, so a later range would miss what an earlier
    // one taught it: such a run, and one of several parts, stays on one thread.
    const bool splittable =
        parts.size() <= 1 && (parts.empty() || parts[0].LineRecognition == Recognition::Classic);
    const std::uint64_t minLines = std::max<std::uint64_t>(threads.MinLinesEach, 1);
    const std::size_t ranges = splittable ? static_cast<std::size_t>(std::clamp<std::uint64_t>(
                                                lineCount / minLines, 1, ThreadsFor(threads.Count)))
                                          : 1;
    const auto rangeStart = [&](std::size_t k) { return lineCount * k / ranges; };

    // Set when the progress report stops the run (it throws), so the other ranges end too
    // instead of finishing work that is thrown away.
    std::atomic<bool> stopped{false};
    AnalysisTotals totals =
        RunRangesInParallel(store, ranges, [&](std::size_t k, AnalysisStore& into) {
            if (k > 0)
                StartRangeInside(into, store);
            LineWalk walk(into, parts);
            const std::uint64_t first = rangeStart(k), end = rangeStart(k + 1);
            const std::uint64_t length = end - first;
            // The first range's store receives the later ones: room for every line.
            into.Reserve(static_cast<std::size_t>(k == 0 ? lineCount : length));
            for (std::uint64_t i = first; i < end; ++i) {
                walk.Line(store.LogLines[i]);
                if ((i + 1) % kProgressStride != 0)
                    continue;
                if (k != 0 && stopped.load(std::memory_order_relaxed))
                    break;
                // Only the first range reports, on the caller's thread; the others' share of
                // the work is as large, so its position stands for the whole run's.
                if (k == 0 && progress && (ranges == 1 || i + 1 < length)) {
                    const std::uint64_t position =
                        ranges == 1 ? i : (i + 1) * lineCount / length - 1;
                    try {
                        progress(AnalysisProgress{position, lineCount - 1, &walk.Totals()});
                    } catch (...) {
                        stopped = true;
                        throw;
                    }
                }
            }
            return walk.Totals();
        });
    if (progress && lineCount > 0 && (ranges > 1 || lineCount % kProgressStride != 0))
        progress(AnalysisProgress{lineCount - 1, lineCount - 1, &totals});
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
