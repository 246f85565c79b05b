// Packing a log's digest and its holdings into the bytes stored for it, and back.
#include "db/digest_packing.h"

#include "db/digest_bytes.h"
#include "db/holding_bytes.h"

namespace qla::db {
namespace {

constexpr std::uint64_t kFormat = 1;
constexpr std::uint64_t kHoldingsFormat = 1;
// The stored form since the digest's kills and renames are kept apart (StoredDigest).
constexpr std::uint64_t kSplitFormat = 2;

// Each holding's name, the rest of its numbers read past; false when one is out of range.
bool ReadHoldingNames(Reader& in, std::size_t players, LogDigest& digest) {
    digest.HoldingNameIds.resize(in.Count(kHoldingNumbers));
    for (std::uint32_t& name : digest.HoldingNameIds) {
        name = static_cast<std::uint32_t>(in.Number());
        in.Number(); // session
        const std::uint64_t from = in.Number();
        if (name >= players || from > digest.HoldingNameIds.size())
            return false;
        for (std::size_t skipped = 3; skipped < kHoldingNumbers; ++skipped)
            in.Number();
    }
    return true;
}

bool ReadHoldings(Reader& in, LogDigest& digest, bool namesOnly) {
    const std::size_t players = digest.Players.size();
    if (namesOnly) {
        if (!ReadHoldingNames(in, players, digest))
            return false;
    } else {
        digest.HasHoldings = true;
        digest.Holdings.resize(in.Count(kHoldingNumbers));
        for (DigestHolding& h : digest.Holdings) {
            ReadHolding(in, h);
            if (h.Name >= players ||
                static_cast<std::size_t>(h.Holding.From) > digest.Holdings.size())
                return false;
        }
    }
    const std::size_t holdings = namesOnly ? digest.HoldingNameIds.size() : digest.Holdings.size();
    digest.HoldingPairs.resize(in.Count(5));
    for (DigestPair& p : digest.HoldingPairs)
        if (!ReadPair(in, p, holdings))
            return false;
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

void WriteTotalsAndPlayers(Writer& out, const LogDigest& digest) {
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
}

bool ReadTotalsAndPlayers(Reader& in, LogDigest& digest) {
    AnalysisTotals& t = digest.Totals;
    for (std::int64_t* value :
         {&t.Kills, &t.Deaths, &t.Teamkills, &t.VoiceChats, &t.TextChats, &t.Unknown, &t.Total})
        *value = in.Signed();
    if (in.Number() != t.ByKind.size())
        return false;
    for (std::int64_t& lines : t.ByKind)
        lines = in.Signed();
    digest.Players.resize(in.Count(1 + kKillSlots + kDeathSlots + 3));
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
    return in.Ok();
}

void WritePairs(Writer& out, const std::vector<DigestPair>& pairs) {
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
}

bool ReadPairs(Reader& in, std::vector<DigestPair>& pairs, std::size_t players) {
    pairs.resize(in.Count(5));
    std::uint64_t previous = 0;
    for (DigestPair& p : pairs) {
        p.Killer = static_cast<std::uint32_t>(in.Number());
        p.Victim = static_cast<std::uint32_t>(in.Number());
        p.FirstWeapon = static_cast<EventWeapon>(in.Number());
        p.Count = in.Number();
        p.FirstEvent = previous + in.Number();
        previous = p.FirstEvent;
        if (p.Killer >= players || p.Victim >= players || p.FirstWeapon >= kEventWeaponTexts.size())
            return false;
    }
    return in.Ok();
}

void WriteRenames(Writer& out, const std::vector<std::pair<std::string, std::string>>& renames) {
    out.Number(renames.size());
    for (const auto& [from, to] : renames) {
        out.Text(from);
        out.Text(to);
    }
}

// `keep`: a hundred logs hold millions of renames: not copied when not read.
bool ReadRenames(Reader& in, std::vector<std::pair<std::string, std::string>>& renames, bool keep) {
    const std::size_t count = in.Count(2);
    if (!keep) {
        for (std::size_t k = 0; k < 2 * count; ++k)
            in.View();
        return in.Ok();
    }
    renames.resize(count);
    for (auto& [from, to] : renames) {
        from = in.Text();
        to = in.Text();
    }
    return in.Ok();
}

void WriteCutNamesAndRows(Writer& out, const LogDigest& digest) {
    out.Number(digest.CutNames.size());
    for (const std::string& cut : digest.CutNames)
        out.Text(cut);
    out.Number(digest.VoiceChatRows);
    out.Number(digest.TextChatRows);
    out.Number(digest.UnknownLineRows);
}

bool ReadCutNamesAndRows(Reader& in, LogDigest& digest) {
    digest.CutNames.resize(in.Count(1));
    for (std::string& cut : digest.CutNames)
        cut = in.Text();
    digest.VoiceChatRows = in.Number();
    digest.TextChatRows = in.Number();
    digest.UnknownLineRows = in.Number();
    return in.Ok();
}

// The kills by weapon, behind their length so that readers of the pairs skip them.
std::string EncounterBytes(const std::vector<DigestEncounter>& encounters) {
    Writer list;
    list.Number(encounters.size());
    std::uint64_t previous = 0;
    for (const DigestEncounter& e : encounters) {
        list.Number(e.Killer);
        list.Number(e.Victim);
        list.Number(e.WeaponText);
        list.Number(e.Count);
        list.Number(e.FirstEvent - previous);
        previous = e.FirstEvent;
    }
    return list.Take();
}

bool ReadEncounters(std::string_view bytes, LogDigest& digest) {
    Reader list(bytes);
    const std::size_t players = digest.Players.size();
    digest.Encounters.resize(list.Count(5));
    std::uint64_t previous = 0;
    for (DigestEncounter& e : digest.Encounters) {
        e.Killer = static_cast<std::uint32_t>(list.Number());
        e.Victim = static_cast<std::uint32_t>(list.Number());
        e.WeaponText = static_cast<EventWeapon>(list.Number());
        e.Count = list.Number();
        e.FirstEvent = previous + list.Number();
        previous = e.FirstEvent;
        if (e.Killer >= players || e.Victim >= players || e.WeaponText >= kEventWeaponTexts.size())
            return false;
    }
    return list.Ok() && list.AtEnd();
}

} // namespace

std::string EncodeDigest(const LogDigest& digest) {
    Writer out;
    out.Number(kFormat);
    WriteTotalsAndPlayers(out, digest);
    out.Number(digest.EventCount);
    WritePairs(out, digest.Pairs);
    WriteRenames(out, digest.Renames);
    WriteCutNamesAndRows(out, digest);
    out.Text(EncounterBytes(digest.Encounters));
    return out.Take();
}

StoredDigest EncodeStoredDigest(const LogDigest& digest) {
    StoredDigest stored;
    Writer head;
    head.Number(kSplitFormat);
    WriteTotalsAndPlayers(head, digest);
    head.Number(digest.EventCount);
    WriteCutNamesAndRows(head, digest);
    stored.Head = head.Take();
    Writer kills;
    WritePairs(kills, digest.Pairs);
    kills.Text(EncounterBytes(digest.Encounters));
    stored.Kills = kills.Take();
    Writer renames;
    WriteRenames(renames, digest.Renames);
    stored.Renames = renames.Take();
    return stored;
}

std::string EncodeHoldings(const LogDigest& digest) {
    Writer holdings;
    holdings.Number(kHoldingsFormat);
    holdings.Number(digest.Holdings.size());
    for (const DigestHolding& h : digest.Holdings)
        WriteHolding(holdings, h);
    holdings.Number(digest.HoldingPairs.size());
    for (const DigestPair& p : digest.HoldingPairs)
        WritePair(holdings, p);
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

bool DecodeHoldings(std::string_view bytes, LogDigest& digest, bool namesOnly) {
    Reader in(bytes);
    return in.Number() == kHoldingsFormat && ReadHoldings(in, digest, namesOnly) && in.AtEnd();
}

std::optional<LogDigest> DecodeDigest(std::string_view bytes, DigestParts parts) {
    Reader in(bytes);
    if (in.Number() != kFormat)
        return std::nullopt;
    LogDigest digest;
    if (!ReadTotalsAndPlayers(in, digest))
        return std::nullopt;
    digest.EventCount = in.Number();
    if (!ReadPairs(in, digest.Pairs, digest.Players.size()) ||
        !ReadRenames(in, digest.Renames, parts.Renames) || !ReadCutNamesAndRows(in, digest))
        return std::nullopt;
    const std::string_view encounterBytes = in.View();
    if (!in.Ok() || !in.AtEnd())
        return std::nullopt;
    if (parts.Encounters && !ReadEncounters(encounterBytes, digest))
        return std::nullopt;
    return digest;
}

bool IsSplitDigest(std::string_view head) {
    Reader in(head);
    return in.Number() == kSplitFormat && in.Ok();
}

std::optional<LogDigest> DecodeDigestHead(std::string_view head) {
    return DecodeStoredDigest(
        head, {}, {}, {.Encounters = false, .Holdings = false, .Renames = false, .Pairs = false});
}

std::optional<LogDigest> DecodeStoredDigest(std::string_view head, std::string_view kills,
                                            std::string_view renames, DigestParts parts) {
    if (!IsSplitDigest(head))
        return DecodeDigest(head, parts);
    Reader in(head);
    in.Number();
    LogDigest digest;
    if (!ReadTotalsAndPlayers(in, digest))
        return std::nullopt;
    digest.EventCount = in.Number();
    if (!ReadCutNamesAndRows(in, digest) || !in.AtEnd())
        return std::nullopt;
    if (parts.Pairs || parts.Encounters) {
        Reader list(kills);
        if (!ReadPairs(list, digest.Pairs, digest.Players.size()))
            return std::nullopt;
        const std::string_view encounterBytes = list.View();
        if (!list.Ok() || !list.AtEnd() ||
            (parts.Encounters && !ReadEncounters(encounterBytes, digest)))
            return std::nullopt;
    }
    if (parts.Renames) {
        Reader list(renames);
        if (!ReadRenames(list, digest.Renames, true) || !list.AtEnd())
            return std::nullopt;
    }
    return digest;
}

} // namespace qla::db
