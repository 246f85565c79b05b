// The recognition hint: the sample read by two line walks side by side, one classic and one
// full, each line's reading compared as soon as both have recorded it.
#include "analysis/recognition_hint.h"

#include "analysis/line_walk.h"

#include <algorithm>

namespace qla {

namespace {

constexpr std::size_t kExampleBytes = 160;

// What a walk made of the line it recorded last: its kind and the names it filed the line
// under (a chat's speaker, an obituary's killer and victim, a rename's two names) and the
// weapon or cause. Chat texts are left out: the two recognitions trim messages differently,
// which changes no count.
struct LineReading {
    LineKind Kind = LineKind::None;
    std::string First, Second, Detail;

    bool operator==(const LineReading&) const = default;
};

// One recognition's walk over the sample, into a store of its own.
class SampleWalk {
  public:
    SampleWalk(LogLanguage language, Recognition recognition)
        : parts_{LogPart{0, language, recognition}}, walk_(store_, parts_) {
        store_.Reset();
    }

    LineReading Read(std::string_view line) {
        const std::array<std::int64_t, kLineKindCount> before = walk_.Totals().ByKind;
        walk_.Line(line);
        LineReading reading;
        for (std::size_t k = 0; k < kLineKindCount; ++k)
            if (walk_.Totals().ByKind[k] != before[k])
                reading.Kind = static_cast<LineKind>(k);
        // Every kind kept as an unknown line counts alike, whichever of them it is.
        if (IsUnknownLineKind(reading.Kind)) {
            reading.Kind = LineKind::None;
            return reading;
        }
        switch (reading.Kind) {
        case LineKind::Kill:
        case LineKind::Teamkill:
            if (store_.KillEvents.size() > 1) {
                const KillEvent& event = store_.KillEvents.back();
                reading.First = store_.Players[event.Killer].Name;
                reading.Second = store_.Players[event.Victim].Name;
                reading.Detail = event.Weapon();
            }
            break;
        case LineKind::Died:
            ReadDeath(reading);
            break;
        case LineKind::VoiceSay:
            if (store_.VoiceChats.size() > 1)
                reading.First = store_.Players[store_.VoiceChats.back().Player].Name;
            break;
        case LineKind::Say:
            if (store_.TextChats.size() > 1)
                reading.First = store_.Players[store_.TextChats.back().Player].Name;
            break;
        case LineKind::Rename:
            if (store_.Renames.size() > 1) {
                reading.First = store_.Renames.back().OldName;
                reading.Second = store_.Renames.back().NewName;
            }
            break;
        default:
            break;
        }
        return reading;
    }

  private:
    // A death files no event: the player is the one whose deaths rose, the cause the slot.
    void ReadDeath(LineReading& reading) {
        deaths_.resize(store_.Players.size());
        for (PlayerIndex p = 1; p <= store_.PlayerCount(); ++p) {
            const PlayerRecord& player = store_.Players[p];
            if (player.Deaths[0] == deaths_[p])
                continue;
            deaths_[p] = player.Deaths[0];
            reading.First = player.Name;
            causes_.resize(store_.Players.size());
            for (std::size_t cause = 1; cause < kDeathSlots; ++cause)
                if (player.Deaths[cause] != causes_[p][cause])
                    reading.Detail = std::to_string(cause);
            causes_[p] = player.Deaths;
        }
    }

    AnalysisStore store_;
    std::vector<LogPart> parts_;
    LineWalk walk_;
    std::vector<std::int64_t> deaths_; // each record's deaths after the last death read
    std::vector<std::array<std::int64_t, kDeathSlots>> causes_;
};

// The line cut to kExampleBytes, never inside a UTF-8 character.
std::string ExampleOf(std::string_view line) {
    if (line.size() <= kExampleBytes)
        return std::string(line);
    std::size_t end = kExampleBytes;
    while (end > 0 && (static_cast<unsigned char>(line[end]) & 0xC0) == 0x80)
        --end;
    return std::string(line.substr(0, end));
}

} // namespace

std::vector<std::pair<std::size_t, std::size_t>> HintSampleRuns(std::size_t lineCount,
                                                                std::size_t sampleLines) {
    if (lineCount <= sampleLines)
        return {{0, lineCount}};
    const std::size_t head = sampleLines / 2;
    std::vector<std::pair<std::size_t, std::size_t>> runs{{0, head}};
    const std::size_t blocks = (sampleLines - head) / kHintBlockLines;
    const std::size_t span = lineCount - head;
    // Each block sits at the middle of its share of the rest, so the last one nears the end.
    for (std::size_t k = 0; k < blocks; ++k) {
        const std::size_t first = head + span * (2 * k + 1) / (2 * blocks) - kHintBlockLines / 2;
        runs.emplace_back(first, std::min(first + kHintBlockLines, lineCount));
    }
    return runs;
}

std::optional<RecognitionHint> FindRecognitionHint(const LogLineList& lines, LogLanguage language,
                                                   std::size_t sampleLines) {
    SampleWalk classic(language, Recognition::Classic);
    SampleWalk full(language, Recognition::Full);
    RecognitionHint hint;
    for (const auto& [first, end] : HintSampleRuns(lines.size(), sampleLines)) {
        for (std::size_t i = first; i < end; ++i) {
            const std::string_view line = lines[i];
            ++hint.LinesChecked;
            if (classic.Read(line) == full.Read(line))
                continue;
            if (hint.LinesReadOtherwise++ == 0)
                hint.Example = ExampleOf(line);
        }
    }
    if (hint.LinesReadOtherwise == 0)
        return std::nullopt;
    return hint;
}

} // namespace qla
