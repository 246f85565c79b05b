// Recording one line: the classic rules or the full recogniser, then the totals of its kind.
#include "analysis/line_walk.h"

#include "core/byte_search.h"
#include "parsers/parsers.h"
#include "parsers/rename_parser.h"

namespace qla {

namespace {

constexpr std::string_view kSessionHeader = "logfile opened on";

// The name of a "NAME disconnected" line.
std::string_view LeavingName(std::string_view line) {
    constexpr std::string_view kNotice = "[skipnotify]", kLeft = "disconnected";
    if (StartsWithBytes(line, kNotice))
        line.remove_prefix(kNotice.size());
    line.remove_suffix(kLeft.size());
    return line;
}

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
        break; // the run keeps every other kind as an unknown line
    }
    return kind;
}

} // namespace

LineWalk::LineWalk(AnalysisStore& store, const std::vector<LogPart>& parts)
    : store_(store), parts_(parts) {
    const LogPart first = parts.empty() ? LogPart{} : parts[0];
    routines_ = &RoutinesOf(first.Language);
    recognition_ = first.LineRecognition;
    if (recognition_ == Recognition::Full)
        full_.emplace(routines_->Full());
    partEnd_ = first.LineCount;
}

void LineWalk::StartPart(const LogPart& next) {
    partStart_ = partEnd_;
    partEnd_ += next.LineCount;
    store_.StartSession(); // each log is a session of its own
    // A full recogniser keeps what it learnt of names while language and mode stay.
    if (&RoutinesOf(next.Language) != routines_ || next.LineRecognition != recognition_) {
        routines_ = &RoutinesOf(next.Language);
        recognition_ = next.LineRecognition;
        full_.reset();
        if (recognition_ == Recognition::Full)
            full_.emplace(routines_->Full());
    }
}

void LineWalk::Line(std::string_view line) {
    while (walked_ == partEnd_ && part_ + 1 < parts_.size())
        StartPart(parts_[++part_]);
    if (store_.TracksHolders) {
        store_.AtLine(walked_ - partStart_ + 1);
        // A log that was opened again holds a new session from its header on (counted in the
        // log's lines, whichever piece of it is read).
        if ((store_.Line() > 1 || store_.StartsInside()) && StartsWithBytes(line, kSessionHeader))
            store_.StartSession();
    }
    const LineKind kind =
        full_ ? full_->Record(store_, line) : RecordClassic(*routines_, store_, line);
    if (IsUnknownLineKind(kind))
        store_.RecordUnknownLine(line);
    if (kind == LineKind::Disconnect && store_.TracksHolders)
        store_.EndHolding(LeavingName(line));
    RaiseTotals(totals_, kind);
    ++walked_;
}

void AddTotals(AnalysisTotals& into, const AnalysisTotals& later) {
    into.Kills += later.Kills;
    into.Deaths += later.Deaths;
    into.Teamkills += later.Teamkills;
    into.VoiceChats += later.VoiceChats;
    into.TextChats += later.TextChats;
    into.Unknown += later.Unknown;
    into.Total += later.Total;
    for (std::size_t k = 0; k < into.ByKind.size(); ++k)
        into.ByKind[k] += later.ByKind[k];
}

} // namespace qla
