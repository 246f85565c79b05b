// Packing a log's chains into the bytes stored for them (table log_chains), and back.
#include "db/digest_bytes.h"
#include "db/log_chains.h"

namespace qla::db {
namespace {

constexpr std::uint64_t kChainsFormat = 1;

void WriteCounters(Writer& out, const PlayerRecord& counters) {
    for (const std::int64_t kills : counters.Kills)
        out.Signed(kills);
    for (const std::int64_t deaths : counters.Deaths)
        out.Signed(deaths);
    out.Signed(counters.Teamkills);
    out.Signed(counters.VoiceChatCount);
    out.Signed(counters.TextChatCount);
}

void ReadCounters(Reader& in, PlayerRecord& counters) {
    for (std::int64_t& kills : counters.Kills)
        kills = in.Signed();
    for (std::int64_t& deaths : counters.Deaths)
        deaths = in.Signed();
    counters.Teamkills = in.Signed();
    counters.VoiceChatCount = in.Signed();
    counters.TextChatCount = in.Signed();
}

// A chat's row number as the step from the one before of its kind (they mostly rise by a few),
// zigzagged so that a step back stays small too.
std::uint64_t Step(std::uint64_t seq, std::uint64_t before) {
    return seq >= before ? (seq - before) << 1 : ((before - seq) << 1) - 1;
}
std::uint64_t Unstep(std::uint64_t step, std::uint64_t before) {
    return (step & 1) == 0 ? before + (step >> 1) : before - ((step + 1) >> 1);
}

} // namespace

std::string EncodeChains(const LogChains& chains) {
    Writer out;
    out.Number(kChainsFormat);
    out.Number(chains.Records.size());
    for (const DigestHolding& r : chains.Records) {
        out.Number(r.Name);
        out.Number(r.Holding.Session);
        out.Number(static_cast<std::uint64_t>(r.Holding.From));
        out.Number(r.Holding.FirstLine);
        out.Number(r.Holding.LastLine);
        out.Number(r.Holding.EndLine);
        out.Number((r.Holding.Ended ? 1u : 0u) | (r.Holding.RenamedAway ? 2u : 0u));
        out.Number(r.Holding.Held);
        out.Number(r.Holding.Latest);
        WriteCounters(out, r.Counters);
    }
    out.Number(chains.Pairs.size());
    for (const DigestPair& p : chains.Pairs) {
        out.Number(p.Killer);
        out.Number(p.Victim);
        out.Number(p.FirstWeapon);
        out.Number(p.Count);
        out.Number(p.FirstEvent);
    }
    for (const std::uint32_t first : chains.FirstOfName)
        out.Number(first);
    out.Number(chains.Renames.size());
    for (const LogChains::Rename& rename : chains.Renames) {
        out.Number(rename.From);
        out.Number(rename.Line);
        out.Text(rename.OldName);
        out.Text(rename.NewName);
    }
    return out.Take();
}

std::string EncodeChainChats(const LogChains& chains) {
    Writer chats;
    chats.Number(kChainsFormat);
    chats.Number(chains.ChatRecords.size());
    std::uint64_t before[2] = {0, 0};
    for (const DigestChatHolding& c : chains.ChatRecords) {
        chats.Number((Step(c.Seq, before[c.Voice ? 1 : 0]) << 1) | (c.Voice ? 1 : 0));
        before[c.Voice ? 1 : 0] = c.Seq;
        chats.Number(c.Holding);
    }
    return chats.Take();
}

std::optional<LogChains> DecodeChains(std::string_view bytes, std::size_t players) {
    Reader in(bytes);
    if (in.Number() != kChainsFormat)
        return std::nullopt;
    LogChains chains;
    chains.Records.resize(in.Count(9 + kKillSlots + kDeathSlots + 3));
    const std::size_t records = chains.Records.size();
    for (DigestHolding& r : chains.Records) {
        r.Name = static_cast<std::uint32_t>(in.Number());
        r.Holding.Session = static_cast<std::uint32_t>(in.Number());
        r.Holding.From = static_cast<std::int32_t>(in.Number());
        r.Holding.FirstLine = in.Number();
        r.Holding.LastLine = in.Number();
        r.Holding.EndLine = in.Number();
        const std::uint64_t flags = in.Number();
        r.Holding.Ended = (flags & 1u) != 0;
        r.Holding.RenamedAway = (flags & 2u) != 0;
        r.Holding.Held = static_cast<std::uint32_t>(in.Number());
        r.Holding.Latest = static_cast<std::uint32_t>(in.Number());
        ReadCounters(in, r.Counters);
        if (r.Name >= players || static_cast<std::size_t>(r.Holding.From) > records)
            return std::nullopt;
    }
    chains.Pairs.resize(in.Count(5));
    for (DigestPair& p : chains.Pairs) {
        p.Killer = static_cast<std::uint32_t>(in.Number());
        p.Victim = static_cast<std::uint32_t>(in.Number());
        p.FirstWeapon = static_cast<EventWeapon>(in.Number());
        p.Count = in.Number();
        p.FirstEvent = in.Number();
        if (p.Killer >= records || p.Victim >= records || p.FirstWeapon >= kEventWeaponTexts.size())
            return std::nullopt;
    }
    chains.FirstOfName.resize(players);
    for (std::uint32_t& first : chains.FirstOfName)
        if ((first = static_cast<std::uint32_t>(in.Number())) > records)
            return std::nullopt;
    chains.Renames.resize(in.Count(4));
    for (LogChains::Rename& rename : chains.Renames) {
        rename.From = static_cast<std::uint32_t>(in.Number());
        rename.Line = in.Number();
        rename.OldName = in.Text();
        rename.NewName = in.Text();
        if (rename.From >= records)
            return std::nullopt;
    }
    if (!in.Ok() || !in.AtEnd())
        return std::nullopt;
    return chains;
}

bool DecodeChainChats(std::string_view bytes, LogChains& chains) {
    Reader in(bytes);
    if (in.Number() != kChainsFormat)
        return false;
    chains.ChatRecords.resize(in.Count(2));
    std::uint64_t before[2] = {0, 0};
    for (DigestChatHolding& c : chains.ChatRecords) {
        const std::uint64_t stepAndKind = in.Number();
        c.Voice = (stepAndKind & 1) != 0;
        c.Seq = Unstep(stepAndKind >> 1, before[c.Voice ? 1 : 0]);
        before[c.Voice ? 1 : 0] = c.Seq;
        c.Holding = static_cast<std::uint32_t>(in.Number());
        if (c.Holding >= chains.Records.size())
            return false;
    }
    return in.Ok() && in.AtEnd();
}

} // namespace qla::db
