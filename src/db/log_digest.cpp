// Building, extending and packing a log's digest.
#include "db/log_digest.h"

#include "analysis/line_walk.h"
#include "analysis/merge_players.h"

#include <algorithm>
#include <unordered_map>

namespace qla::db {
namespace {

constexpr std::uint64_t kFormat = 1;
constexpr std::uint64_t kHoldingsFormat = 1;

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

bool ReadHoldings(Reader& in, LogDigest& digest) {
    digest.HasHoldings = true;
    const std::size_t players = digest.Players.size();
    digest.Holdings.resize(in.Count(7 + kKillSlots + kDeathSlots + 3));
    for (DigestHolding& h : digest.Holdings) {
        h.Name = static_cast<std::uint32_t>(in.Number());
        h.Holding.Session = static_cast<std::uint32_t>(in.Number());
        h.Holding.From = static_cast<std::int32_t>(in.Number());
        h.Holding.FirstLine = in.Number();
        h.Holding.LastLine = in.Number();
        h.Holding.EndLine = in.Number();
        const std::uint64_t flags = in.Number();
        h.Holding.Ended = (flags & 1u) != 0;
        h.Holding.RenamedAway = (flags & 2u) != 0;
        for (std::int64_t& kills : h.Counters.Kills)
            kills = in.Signed();
        for (std::int64_t& deaths : h.Counters.Deaths)
            deaths = in.Signed();
        h.Counters.Teamkills = in.Signed();
        h.Counters.VoiceChatCount = in.Signed();
        h.Counters.TextChatCount = in.Signed();
        if (h.Name >= players || static_cast<std::size_t>(h.Holding.From) > digest.Holdings.size())
            return false;
    }
    const std::size_t holdings = digest.Holdings.size();
    digest.HoldingPairs.resize(in.Count(5));
    for (DigestPair& p : digest.HoldingPairs) {
        p.Killer = static_cast<std::uint32_t>(in.Number());
        p.Victim = static_cast<std::uint32_t>(in.Number());
        p.FirstWeapon = static_cast<EventWeapon>(in.Number());
        p.Count = in.Number();
        p.FirstEvent = in.Number();
        if (p.Killer >= holdings || p.Victim >= holdings ||
            p.FirstWeapon >= kEventWeaponTexts.size())
            return false;
    }
    digest.ChatHoldings.resize(in.Count(3));
    for (DigestChatHolding& c : digest.ChatHoldings) {
        c.Voice = in.Number() != 0;
        c.Seq = in.Number();
        c.Holding = static_cast<std::uint32_t>(in.Number());
        if (c.Holding >= holdings)
            return false;
    }
    digest.RenameHoldings.resize(digest.Renames.size());
    for (auto& [from, line] : digest.RenameHoldings) {
        from = static_cast<std::uint32_t>(in.Number());
        line = in.Number();
        if (from > holdings)
            return false;
    }
    digest.RenamedInto.resize(in.Count(2));
    for (auto& [name, holding] : digest.RenamedInto) {
        name = in.Text();
        holding = static_cast<std::uint32_t>(in.Number());
        if (holding >= holdings)
            return false;
    }
    return in.Ok();
}

} // namespace

std::vector<std::string> LogDigest::Names() const {
    std::vector<std::string> names;
    names.reserve(Players.size());
    for (const PlayerRecord& player : Players)
        names.push_back(player.Name);
    return names;
}

std::vector<std::string> LogDigest::HoldingNames() const {
    std::vector<std::string> names;
    names.reserve(Holdings.size());
    for (const DigestHolding& holding : Holdings)
        names.push_back(Players[holding.Name].Name);
    return names;
}

std::vector<NameHolding> LogDigest::HoldingStates() const {
    std::vector<NameHolding> states;
    states.reserve(Holdings.size());
    for (const DigestHolding& holding : Holdings)
        states.push_back(holding.Holding);
    return states;
}

void AppendHoldings(LogDigest& digest, const AnalysisStore& piece) {
    digest.HasHoldings = true;
    // Names keep the positions AppendPiece gives them: the digest's, then new ones in the order
    // the piece met them.
    std::unordered_map<std::string, std::uint32_t> positionOf;
    for (std::size_t k = 0; k < digest.Players.size(); ++k)
        positionOf.emplace(digest.Players[k].Name, static_cast<std::uint32_t>(k));
    std::vector<std::int64_t> firstHoldingOf(digest.Players.size(), -1);
    for (std::size_t h = 0; h < digest.Holdings.size(); ++h)
        if (firstHoldingOf[digest.Holdings[h].Name] < 0)
            firstHoldingOf[digest.Holdings[h].Name] = static_cast<std::int64_t>(h);
    const std::size_t known = digest.Holdings.size();
    for (const PlayerIndex p : piece.PlayerIndexes()) {
        const auto at = static_cast<std::size_t>(p - 1);
        const PlayerRecord& record = piece.Players[static_cast<std::size_t>(p)];
        const NameHolding& state = piece.Holdings[static_cast<std::size_t>(p)];
        if (at < known) {
            AddPlayerCounters(digest.Holdings[at].Counters, record);
            digest.Holdings[at].Holding = state;
            continue;
        }
        const auto [position, added] =
            positionOf.try_emplace(record.Name, static_cast<std::uint32_t>(positionOf.size()));
        if (added)
            firstHoldingOf.push_back(-1);
        if (firstHoldingOf[position->second] < 0)
            firstHoldingOf[position->second] = static_cast<std::int64_t>(at);
        DigestHolding holding{position->second, state, record};
        holding.Counters.Name.clear();
        digest.Holdings.push_back(std::move(holding));
    }
    std::unordered_map<std::uint64_t, std::size_t> pairOf;
    for (std::size_t k = 0; k < digest.HoldingPairs.size(); ++k) {
        const DigestPair& p = digest.HoldingPairs[k];
        pairOf.emplace((std::uint64_t{p.Killer} << 33) | (std::uint64_t{p.Victim} << 1) |
                           (p.FirstWeapon == kEventTeamkill ? 1u : 0u),
                       k);
    }
    for (std::size_t position = 1; position < piece.KillEvents.size(); ++position) {
        const KillEvent& event = piece.KillEvents[position];
        const auto killer = static_cast<std::uint32_t>(event.Killer - 1);
        const auto victim = static_cast<std::uint32_t>(event.Victim - 1);
        const bool teamkill = event.WeaponText == kEventTeamkill;
        const auto [found, isNew] = pairOf.try_emplace(
            (std::uint64_t{killer} << 33) | (std::uint64_t{victim} << 1) | (teamkill ? 1u : 0u),
            digest.HoldingPairs.size());
        if (isNew)
            digest.HoldingPairs.push_back(
                {killer, victim, event.WeaponText, 0, digest.EventCount + position});
        digest.HoldingPairs[found->second].Count += piece.KillEventCount(position);
    }
    for (const RenameEntry& rename : RealEntries(piece.Renames))
        digest.RenameHoldings.emplace_back(static_cast<std::uint32_t>(rename.From), rename.Line);
    digest.RenamedInto.clear();
    for (const auto& [name, from] : piece.RenamedInto())
        digest.RenamedInto.emplace_back(name, static_cast<std::uint32_t>(from - 1));
    for (const bool voice : {true, false}) {
        const auto& chats = voice ? piece.VoiceChats : piece.TextChats;
        std::uint64_t seq = voice ? digest.VoiceChatRows : digest.TextChatRows;
        for (const ChatEntry& chat : RealEntries(chats)) {
            ++seq;
            const auto holding = static_cast<std::uint32_t>(chat.Player - 1);
            if (firstHoldingOf[digest.Holdings[holding].Name] != static_cast<std::int64_t>(holding))
                digest.ChatHoldings.push_back({voice, seq, holding});
        }
    }
    // Voice chats, then text chats, each in order: whether the log came in one piece or many.
    std::stable_sort(digest.ChatHoldings.begin(), digest.ChatHoldings.end(),
                     [](const DigestChatHolding& a, const DigestChatHolding& b) {
                         return a.Voice != b.Voice ? a.Voice : a.Seq < b.Seq;
                     });
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

void FileHoldings(LogDigest& digest, AnalysisStore& piece) {
    if (!piece.TracksHolders)
        return;
    AppendHoldings(digest, piece);
    FileHoldersByName(piece);
}

LogDigest DigestOfStore(AnalysisStore& store, const AnalysisTotals& totals) {
    LogDigest digest;
    FileHoldings(digest, store);
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

std::string EncodeHoldings(const LogDigest& digest) {
    Writer holdings;
    holdings.Number(kHoldingsFormat);
    holdings.Number(digest.Holdings.size());
    for (const DigestHolding& h : digest.Holdings) {
        holdings.Number(h.Name);
        holdings.Number(h.Holding.Session);
        holdings.Number(static_cast<std::uint64_t>(h.Holding.From));
        holdings.Number(h.Holding.FirstLine);
        holdings.Number(h.Holding.LastLine);
        holdings.Number(h.Holding.EndLine);
        holdings.Number((h.Holding.Ended ? 1u : 0u) | (h.Holding.RenamedAway ? 2u : 0u));
        for (const std::int64_t kills : h.Counters.Kills)
            holdings.Signed(kills);
        for (const std::int64_t deaths : h.Counters.Deaths)
            holdings.Signed(deaths);
        holdings.Signed(h.Counters.Teamkills);
        holdings.Signed(h.Counters.VoiceChatCount);
        holdings.Signed(h.Counters.TextChatCount);
    }
    holdings.Number(digest.HoldingPairs.size());
    for (const DigestPair& p : digest.HoldingPairs) {
        holdings.Number(p.Killer);
        holdings.Number(p.Victim);
        holdings.Number(p.FirstWeapon);
        holdings.Number(p.Count);
        holdings.Number(p.FirstEvent);
    }
    holdings.Number(digest.ChatHoldings.size());
    for (const DigestChatHolding& c : digest.ChatHoldings) {
        holdings.Number(c.Voice ? 1 : 0);
        holdings.Number(c.Seq);
        holdings.Number(c.Holding);
    }
    for (const auto& [from, line] : digest.RenameHoldings) {
        holdings.Number(from);
        holdings.Number(line);
    }
    holdings.Number(digest.RenamedInto.size());
    for (const auto& [name, holding] : digest.RenamedInto) {
        holdings.Text(name);
        holdings.Number(holding);
    }
    return holdings.Take();
}

bool DecodeHoldings(std::string_view bytes, LogDigest& digest) {
    Reader in(bytes);
    return in.Number() == kHoldingsFormat && ReadHoldings(in, digest) && in.AtEnd();
}

std::optional<LogDigest> DecodeDigest(std::string_view bytes, DigestParts parts) {
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
    if (parts.Renames) {
        digest.Renames.resize(renames);
        for (auto& [from, to] : digest.Renames) {
            from = in.Text();
            to = in.Text();
        }
    } else {
        for (std::size_t k = 0; k < 2 * renames; ++k)
            in.View(); // a hundred logs hold millions: not copied when not read
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
    if (!parts.Encounters)
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
