// One walk over the lines, as the analysis walks them, with the store telling what each line's
// parser read where (AnalysisStore::ReadTexts).
#include "db/line_pseudonyms.h"

#include "analysis/line_walk.h"
#include "core/line_scan.h"
#include "core/names.h"
#include "core/text.h"

#include <algorithm>
#include <functional>
#include <optional>

namespace qla::db {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// A part of a line to write otherwise (Pseudonym set) or to leave as it is.
struct Region {
    std::size_t Begin = 0, End = 0;
    const std::string* Pseudonym = nullptr;
};

bool Overlaps(const Region& a, const Region& b) {
    return a.Begin < b.End && b.Begin < a.End;
}

// Whether the line is UTF-8 as the line reader judges it (else it reads it as Windows-1252).
bool ReadsAsUtf8(std::string_view line) {
    const auto* p = reinterpret_cast<const unsigned char*>(line.data());
    const auto* end = p + line.size();
    while (p < end) {
        if (*p < 0x80) {
            ++p;
            continue;
        }
        const std::size_t length = line_scan::Utf8SequenceLength(p, end);
        if (length == 0)
            return false;
        p += length;
    }
    return true;
}

// The offset of `part` in `line` when it is a view into it.
std::optional<std::size_t> OffsetIn(std::string_view line, std::string_view part) {
    const std::less_equal<const char*> atMost;
    if (!atMost(line.data(), part.data()) ||
        !atMost(part.data() + part.size(), line.data() + line.size()))
        return std::nullopt;
    return static_cast<std::size_t>(part.data() - line.data());
}

class LineRewriter {
  public:
    LineRewriter(const ErasedNames& names, const PseudonymReading& reading)
        : names_(names), parts_{
                             {std::uint64_t{1} << 62, reading.Language, reading.LineRecognition}} {
        store_.TracksHolders = true;
        store_.Reset();
        for (const std::string& name : reading.KnownPlayers)
            store_.FindOrAddNamedPlayer(name);
        store_.ReadTexts = &texts_;
        walk_.emplace(store_, parts_);
    }

    // Reads the line into the store; true when `written` is the line with the erased names
    // replaced, false when the line stays as it is.
    bool Rewrite(std::string_view line, std::string& written) {
        texts_.clear();
        walk_->Line(line);
        kept_.clear();
        changed_.clear();
        for (const LineText& text : texts_)
            if (text.IsName)
                AddName(line, text);
        ProtectPseudonyms(line);
        for (const LineText& text : texts_)
            if (!text.IsName)
                AddFreeText(line, text.Text);
        if (changed_.empty())
            return false;
        std::ranges::sort(changed_, {}, &Region::Begin);
        written.clear();
        std::size_t at = 0;
        for (const Region& region : changed_) {
            written.append(line.substr(at, region.Begin - at));
            written.append(*region.Pseudonym);
            at = region.End;
        }
        written.append(line.substr(at));
        return true;
    }

  private:
    bool Free(const Region& region) const {
        const auto overlaps = [&](const Region& other) { return Overlaps(region, other); };
        return std::ranges::none_of(kept_, overlaps) && std::ranges::none_of(changed_, overlaps);
    }

    const std::string* PseudonymOf(const LineText& text) {
        if (text.Player <= 0)
            return names_.PseudonymOfKey(IdentityKey(text.Text));
        const auto player = static_cast<std::size_t>(text.Player);
        if (player >= known_.size())
            known_.resize(store_.Players.size(), std::nullopt);
        if (!known_[player])
            known_[player] = names_.PseudonymOfKey(IdentityKey(store_.Players[player].Name));
        return *known_[player];
    }

    // A name: the pseudonym in place of its text (outer blanks and trailing colour codes kept,
    // as the parsers drop them), or left as it is and kept out of the free texts' matches.
    void AddName(std::string_view line, const LineText& text) {
        const auto offset = OffsetIn(line, text.Text);
        if (!offset)
            return;
        const Region whole{*offset, *offset + text.Text.size()};
        const std::string* pseudonym = PseudonymOf(text);
        const std::string_view name = NormalizeName(text.Text);
        if (pseudonym == nullptr || name.empty()) {
            kept_.push_back(whole);
            return;
        }
        const std::size_t begin =
            *offset + static_cast<std::size_t>(name.data() - text.Text.data());
        const Region region{begin, begin + name.size(), pseudonym};
        // The same name read twice (a cut obituary name) is one change.
        if (std::ranges::find_if(changed_,
                                 [&](const Region& r) {
                                     return r.Begin == region.Begin && r.End == region.End;
                                 }) == changed_.end() &&
            Free(region))
            changed_.push_back(region);
    }

    // The pseudonyms already in the line are no one's name to match.
    void ProtectPseudonyms(std::string_view line) {
        constexpr std::string_view kStart = "erased player ";
        for (std::size_t at = line.find(kStart); at != std::string_view::npos;
             at = line.find(kStart, at + 1)) {
            std::size_t end = at + kStart.size();
            while (end < line.size() && line[end] >= '0' && line[end] <= '9')
                ++end;
            if (end > at + kStart.size())
                kept_.push_back({at, end});
        }
    }

    void AddFreeText(std::string_view line, std::string_view text) {
        const auto offset = OffsetIn(line, text);
        if (!offset)
            return;
        names_.FindInText(text, matches_);
        for (const ErasedTextMatch& match : matches_) {
            const Region region{*offset + match.Begin, *offset + match.End, match.Pseudonym};
            if (Free(region))
                changed_.push_back(region);
        }
    }

    const ErasedNames& names_;
    std::vector<LogPart> parts_;
    AnalysisStore store_;
    std::optional<LineWalk> walk_;
    std::vector<LineText> texts_;
    std::vector<std::optional<const std::string*>> known_; // by player record
    std::vector<Region> kept_, changed_;
    std::vector<ErasedTextMatch> matches_;
};

} // namespace

std::uint64_t PseudonymiseLines(std::string_view bytes, const ErasedNames& names,
                                const PseudonymReading& reading, std::string& out) {
    if (names.Empty() || bytes.empty())
        return 0;
    LineRewriter rewriter(names, reading);
    std::uint64_t changed = 0;
    std::size_t copied = 0; // bytes before this are in `out` once a line changed
    std::size_t begin = 0;
    if (reading.AtFileStart && bytes.starts_with(kUtf8Mark))
        begin = kUtf8Mark.size();
    std::string widened, written;
    while (begin < bytes.size()) {
        std::size_t end = bytes.find_first_of("\r\n", begin);
        if (end == std::string_view::npos)
            end = bytes.size();
        const std::string_view raw = bytes.substr(begin, end - begin);
        std::string_view line = raw;
        if (!ReadsAsUtf8(raw)) {
            widened.clear();
            AppendWindows1252AsUtf8(widened, raw);
            line = widened;
        }
        if (rewriter.Rewrite(line, written)) {
            if (changed++ == 0) {
                out.clear();
                out.reserve(bytes.size() + bytes.size() / 8);
            }
            out.append(bytes.substr(copied, begin - copied));
            out.append(written);
            copied = end;
        }
        // A CR LF is one line end.
        const bool crLf = end + 1 < bytes.size() && bytes[end] == '\r' && bytes[end + 1] == '\n';
        begin = end + (crLf ? 2 : 1);
    }
    if (changed > 0)
        out.append(bytes.substr(copied));
    return changed;
}

} // namespace qla::db
