// The analysis of a fuzzed log: invariants, progress reports and a repeatable second run.
#include "fuzz_checks.h"

#include "analysis/analysis.h"
#include "store_invariants.h"

namespace qla::robust {

namespace {

std::string Joined(const std::vector<std::string>& messages) {
    std::string text;
    for (const std::string& message : messages)
        text += message + "; ";
    return text;
}

bool SameTotals(const AnalysisTotals& a, const AnalysisTotals& b) {
    return a.Kills == b.Kills && a.Deaths == b.Deaths && a.Teamkills == b.Teamkills &&
           a.VoiceChats == b.VoiceChats && a.TextChats == b.TextChats && a.Unknown == b.Unknown &&
           a.Total == b.Total;
}

} // namespace

std::string AnalysisProblem(std::string_view input) {
    const LogLanguage language =
        !input.empty() && (input[0] & 1) ? LogLanguage::German : LogLanguage::English;
    if (!input.empty())
        input.remove_prefix(1);
    AnalysisStore store;
    store.LogLines = LogLineList::FromBytes(std::string(input));
    store.LogFileLoaded = true;

    std::uint64_t lastPosition = 0;
    std::uint64_t reports = 0;
    std::string progressProblem;
    const AnalysisTotals totals = AnalyzeLog(store, language, [&](const AnalysisProgress& p) {
        if ((reports > 0 && p.Position <= lastPosition) || p.Totals == nullptr ||
            p.UpperBound + 1 != store.LogLines.size())
            progressProblem = "progress reports out of order";
        lastPosition = p.Position;
        ++reports;
    });
    if (!progressProblem.empty())
        return progressProblem;
    if (reports == 0 || lastPosition + 1 != store.LogLines.size())
        return "no progress report for the last line";
    if (std::vector<std::string> broken = StoreViolations(store, totals); !broken.empty())
        return Joined(broken);

    // The reset before every run must leave nothing of the last one behind.
    std::vector<std::string> names;
    for (const PlayerRecord& player : store.Players)
        names.push_back(player.Name);
    const std::size_t events = store.KillEvents.size();
    const AnalysisTotals again = AnalyzeLog(store, language);
    if (!SameTotals(totals, again) || store.KillEvents.size() != events ||
        store.Players.size() != names.size())
        return "a second analysis of the same lines gave other results";
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (store.Players[i].Name != names[i])
            return "a second analysis created the players in another order";
    }
    return {};
}

} // namespace qla::robust
