// Streaming a selection's rows beside a store read from it earlier.
#include "front/streamed_lines.h"

#include "core/names.h"

#include <tuple>

namespace qla::front {

PlayerIndex FiledUnder(const AnalysisStore& store, const MergedNames* merged,
                       const std::unordered_set<std::string>& hiddenKeys, std::string_view name) {
    if (const auto found = merged ? merged->Find(name) : store.FindPlayer(name))
        return *found;
    return hiddenKeys.contains(IdentityKey(name)) ? store.HiddenPlayer() : 0;
}

bool SameSelectionRead(const db::LoadedStore& a, const db::LoadedStore& b) {
    const auto figures = [](const AnalysisTotals& t) {
        return std::tie(t.Kills, t.Deaths, t.Teamkills, t.VoiceChats, t.TextChats, t.Unknown,
                        t.Total, t.ByKind);
    };
    return figures(a.Totals) == figures(b.Totals) && a.DateText == b.DateText &&
           a.Logs.Ids == b.Logs.Ids && a.Logs.Paths == b.Logs.Paths &&
           a.Logs.Dates == b.Logs.Dates && a.HiddenKeys == b.HiddenKeys;
}

std::optional<std::unique_ptr<StreamedLines>> StreamedLines::Open(const db::DatabaseSource& source,
                                                                  const db::LoadedStore& read,
                                                                  db::PlayerOfName playerOf,
                                                                  std::ostream& err) {
    // The selection read again in the rows' transaction, its figures only (no texts, no order of
    // the kills), to compare with what the store was read from; dropped once compared.
    std::unique_ptr<db::DatabaseReading> reading;
    db::LoadedStore now;
    {
        AnalysisStore figures;
        auto opened = db::DatabaseReading::Open(source, figures, err, false, true);
        if (!opened)
            return std::nullopt;
        if (!*opened)
            return std::unique_ptr<StreamedLines>();
        reading = std::move(*opened);
        now = reading->TakeLoaded();
    }
    if (!SameSelectionRead(now, read))
        return std::unique_ptr<StreamedLines>();
    std::unique_ptr<StreamedLines> streamed(new StreamedLines());
    streamed->lines_ = std::make_unique<db::DatabaseLines>(reading->Lines(std::move(playerOf)));
    if (!streamed->lines_->FilesEverySpeaker())
        return std::unique_ptr<StreamedLines>();
    streamed->hiding_ = std::make_unique<HidingLines>(*streamed->lines_, now.HiddenKeys);
    streamed->reading_ = std::move(reading);
    return streamed;
}

} // namespace qla::front
