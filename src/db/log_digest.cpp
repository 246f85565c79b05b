// Building, extending and packing a log's digest.
#include "db/log_digest.h"

#include "analysis/line_walk.h"

#include <unordered_map>

namespace qla::db {
namespace {

constexpr std::uint64_t kFormat = 1;

struct EncounterKey {
    std::uint32_t Killer, Victim;
    EventWeapon WeaponText;
    bool operator==(const EncounterKey&) const = default;
};
struct EncounterKeyHash {
    std::size_t operator()(const EncounterKey& k) const {
        const std::uint64_t packed =
            (std::uint64_t{k.Killer} << 32 | k.Victim) * 0x9E3779B97F4A7C15ull;
        return static_cast<std::size_t>(packed ^ (packed >> 29) ^ k.WeaponText);
    }
};

class Writer {
  public:
    void Number(std::uint64_t value) {
        while (value >= 0x80) {
            bytes_.push_back(static_cast<char>((value & 0x7F) | 0x80));
            value >>= 7;
        }
        bytes_.push_back(static_cast<char>(value));
    }
    void Signed(std::int64_t value) { Number(static_cast<std::uint64_t>(value)); }
    void Text(std::string_view text) {
        Number(text.size());
        bytes_.append(text);
    }
    std::string Take() { return std::move(bytes_); }

  private:
    std::string bytes_;
};

class Reader {
  public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}
    bool Ok() const { return ok_; }
    bool AtEnd() const { return at_ == bytes_.size(); }
    std::uint64_t Number() {
        std::uint64_t value = 0;
        for (int shift = 0; shift < 64; shift += 7) {
            if (at_ >= bytes_.size())
                break;
            const auto byte = static_cast<unsigned char>(bytes_[at_++]);
            value |= std::uint64_t{byte & 0x7Fu} << shift;
            if ((byte & 0x80) == 0)
                return value;
        }
        ok_ = false;
        return 0;
    }
    std::int64_t Signed() { return static_cast<std::int64_t>(Number()); }
    // A count of entries each at least `leastBytes` long: more than the bytes left is damage.
    std::size_t Count(std::size_t leastBytes) {
        const std::uint64_t count = Number();
        if (count > (bytes_.size() - at_) / std::max<std::size_t>(leastBytes, 1)) {
            ok_ = false;
            return 0;
        }
        return static_cast<std::size_t>(count);
    }
    // The next length-prefixed bytes, not copied.
    std::string_view View() {
        const std::uint64_t size = Number();
        if (!ok_ || size > bytes_.size() - at_) {
            ok_ = false;
            return {};
        }
        const std::string_view view = bytes_.substr(at_, size);
        at_ += size;
        return view;
    }
    std::string Text() {
        const std::uint64_t size = Number();
        if (!ok_ || size > bytes_.size() - at_) {
            ok_ = false;
            return {};
        }
        std::string text(bytes_.substr(at_, size));
        at_ += size;
        return text;
    }

  private:
    std::string_view bytes_;
    std::size_t at_ = 0;
    bool ok_ = true;
};

} // namespace

std::vector<std::string> LogDigest::Names() const {
    std::vector<std::string> names;
    names.reserve(Players.size());
    for (const PlayerRecord& player : Players)
        names.push_back(player.Name);
    return names;
}

void AppendPiece(LogDigest& digest, const AnalysisStore& piece, const AnalysisTotals& totals) {
    const std::size_t known = digest.Players.size();
    for (const PlayerIndex p : piece.PlayerIndexes()) {
        const auto at = static_cast<std::size_t>(p - 1);
        if (at < known)
            AddPlayerCounters(digest.Players[at], piece.Players[static_cast<std::size_t>(p)]);
        else
            digest.Players.push_back(piece.Players[static_cast<std::size_t>(p)]);
    }
    std::unordered_map<EncounterKey, std::size_t, EncounterKeyHash> rowOf;
    rowOf.reserve(digest.Encounters.size() + piece.KillEvents.size());
    for (std::size_t row = 0; row < digest.Encounters.size(); ++row) {
        const DigestEncounter& e = digest.Encounters[row];
        rowOf.emplace(EncounterKey{e.Killer, e.Victim, e.WeaponText}, row);
    }
    for (std::size_t position = 1; position < piece.KillEvents.size(); ++position) {
        const KillEvent& event = piece.KillEvents[position];
        const EncounterKey key{static_cast<std::uint32_t>(event.Killer - 1),
                               static_cast<std::uint32_t>(event.Victim - 1), event.WeaponText};
        const auto [found, isNew] = rowOf.try_emplace(key, digest.Encounters.size());
        if (isNew)
            digest.Encounters.push_back(
                {key.Killer, key.Victim, key.WeaponText, 0, digest.EventCount + position});
        digest.Encounters[found->second].Count += piece.KillEventCount(position);
    }
    digest.EventCount += piece.KillEvents.size() - 1;
    for (const RenameEntry& rename : RealEntries(piece.Renames))
        digest.Renames.emplace_back(rename.OldName, rename.NewName);
    for (const std::string& cut : piece.CutObituaryNames)
        if (std::find(digest.CutNames.begin(), digest.CutNames.end(), cut) == digest.CutNames.end())
            digest.CutNames.push_back(cut);
    digest.VoiceChatRows += piece.VoiceChats.size() - 1;
    digest.TextChatRows += piece.TextChats.size() - 1;
    digest.UnknownLineRows += piece.UnknownLines.size() - 1;
    AddTotals(digest.Totals, totals);
    digest.Pairs = PairsOf(digest.Encounters);
}

std::vector<DigestPair> PairsOf(const std::vector<DigestEncounter>& encounters) {
    std::vector<DigestPair> pairs;
    std::unordered_map<std::uint64_t, std::size_t> rowOf;
    rowOf.reserve(encounters.size());
    // Encounters come in order of their first events, so a pair's first encounter is its first.
    for (const DigestEncounter& e : encounters) {
        const bool teamkill = e.WeaponText == kEventTeamkill;
        const std::uint64_t key =
            (std::uint64_t{e.Killer} << 33) | (std::uint64_t{e.Victim} << 1) | (teamkill ? 1u : 0u);
        const auto [at, isNew] = rowOf.try_emplace(key, pairs.size());
        if (isNew)
            pairs.push_back({e.Killer, e.Victim, e.WeaponText, e.Count, e.FirstEvent});
        else
            pairs[at->second].Count += e.Count;
    }
    return pairs;
}

LogDigest DigestOfStore(const AnalysisStore& store, const AnalysisTotals& totals) {
    LogDigest digest;
    AppendPiece(digest, store, totals);
    return digest;
}

std::string EncodeDigest(const LogDigest& digest) {
    Writer out;
    out.Number(kFormat);
    const AnalysisTotals& t = digest.Totals;
    for (const std::int64_t value :
         {t.Kills, t.Deaths, t.Teamkills, t.VoiceChats, t.TextChats, t.Unknown, t.Total})
        out.Signed(value);
    out.Number(t.ByKind.size());
    for (const std::int64_t lines : t.ByKind)
        out.Signed(lines);
    out.Number(digest.Players.size());
    for (const PlayerRecord& player : digest.Players) {
        out.Text(player.Name);
        for (const std::int64_t kills : player.Kills)
            out.Signed(kills);
        for (const std::int64_t deaths : player.Deaths)
            out.Signed(deaths);
        out.Signed(player.Teamkills);
        out.Signed(player.VoiceChatCount);
        out.Signed(player.TextChatCount);
    }
    out.Number(digest.EventCount);
    const std::vector<DigestPair>& pairs = digest.Pairs;
    out.Number(pairs.size());
    std::uint64_t previous = 0; // first events ascend: kept as steps
    for (const DigestPair& p : pairs) {
        out.Number(p.Killer);
        out.Number(p.Victim);
        out.Number(p.FirstWeapon);
        out.Number(p.Count);
        out.Number(p.FirstEvent - previous);
        previous = p.FirstEvent;
    }
    out.Number(digest.Renames.size());
    for (const auto& [from, to] : digest.Renames) {
        out.Text(from);
        out.Text(to);
    }
    out.Number(digest.CutNames.size());
    for (const std::string& cut : digest.CutNames)
        out.Text(cut);
    out.Number(digest.VoiceChatRows);
    out.Number(digest.TextChatRows);
    out.Number(digest.UnknownLineRows);
    Writer encounters;
    encounters.Number(digest.Encounters.size());
    previous = 0;
    for (const DigestEncounter& e : digest.Encounters) {
        encounters.Number(e.Killer);
        encounters.Number(e.Victim);
        encounters.Number(e.WeaponText);
        encounters.Number(e.Count);
        encounters.Number(e.FirstEvent - previous);
        previous = e.FirstEvent;
    }
    out.Text(encounters.Take());
    return out.Take();
}

std::optional<LogDigest> DecodeDigest(std::string_view bytes, bool withEncounters) {
    Reader in(bytes);
    if (in.Number() != kFormat)
        return std::nullopt;
    LogDigest digest;
    AnalysisTotals& t = digest.Totals;
    for (std::int64_t* value :
         {&t.Kills, &t.Deaths, &t.Teamkills, &t.VoiceChats, &t.TextChats, &t.Unknown, &t.Total})
        *value = in.Signed();
    if (in.Number() != t.ByKind.size())
        return std::nullopt;
    for (std::int64_t& lines : t.ByKind)
        lines = in.Signed();
    const std::size_t players = in.Count(1 + kKillSlots + kDeathSlots + 3);
    digest.Players.resize(players);
    for (PlayerRecord& player : digest.Players) {
        player.Name = in.Text();
        for (std::int64_t& kills : player.Kills)
            kills = in.Signed();
        for (std::int64_t& deaths : player.Deaths)
            deaths = in.Signed();
        player.Teamkills = in.Signed();
        player.VoiceChatCount = in.Signed();
        player.TextChatCount = in.Signed();
    }
    digest.EventCount = in.Number();
    digest.Pairs.resize(in.Count(5));
    std::uint64_t previous = 0;
    for (DigestPair& p : digest.Pairs) {
        p.Killer = static_cast<std::uint32_t>(in.Number());
        p.Victim = static_cast<std::uint32_t>(in.Number());
        p.FirstWeapon = static_cast<EventWeapon>(in.Number());
        p.Count = in.Number();
        p.FirstEvent = previous + in.Number();
        previous = p.FirstEvent;
        if (p.Killer >= players || p.Victim >= players || p.FirstWeapon >= kEventWeaponTexts.size())
            return std::nullopt;
    }
    const std::size_t renames = in.Count(2);
    digest.Renames.resize(renames);
    for (auto& [from, to] : digest.Renames) {
        from = in.Text();
        to = in.Text();
    }
    const std::size_t cuts = in.Count(1);
    digest.CutNames.resize(cuts);
    for (std::string& cut : digest.CutNames)
        cut = in.Text();
    digest.VoiceChatRows = in.Number();
    digest.TextChatRows = in.Number();
    digest.UnknownLineRows = in.Number();
    const std::string_view encounterBytes = in.View();
    if (!in.Ok() || !in.AtEnd())
        return std::nullopt;
    if (!withEncounters)
        return digest;
    Reader list(encounterBytes);
    digest.Encounters.resize(list.Count(5));
    previous = 0;
    for (DigestEncounter& e : digest.Encounters) {
        e.Killer = static_cast<std::uint32_t>(list.Number());
        e.Victim = static_cast<std::uint32_t>(list.Number());
        e.WeaponText = static_cast<EventWeapon>(list.Number());
        e.Count = list.Number();
        e.FirstEvent = previous + list.Number();
        previous = e.FirstEvent;
        if (e.Killer >= players || e.Victim >= players || e.WeaponText >= kEventWeaponTexts.size())
            return std::nullopt;
    }
    if (!list.Ok() || !list.AtEnd())
        return std::nullopt;
    return digest;
}

} // namespace qla::db
