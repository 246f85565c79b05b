// A holding with its counters, and a kill pair, as the stored holdings and chains write them.
#pragma once

#include "db/digest_bytes.h"
#include "db/log_digest.h"

namespace qla::db {

// Numbers each: the name, the holding's session, From, lines and flags, then the counters.
inline void WriteHolding(Writer& out, const DigestHolding& h) {
    out.Number(h.Name);
    out.Number(h.Holding.Session);
    out.Number(static_cast<std::uint64_t>(h.Holding.From));
    out.Number(h.Holding.FirstLine);
    out.Number(h.Holding.LastLine);
    out.Number(h.Holding.EndLine);
    out.Number((h.Holding.Ended ? 1u : 0u) | (h.Holding.RenamedAway ? 2u : 0u));
    for (const std::int64_t kills : h.Counters.Kills)
        out.Signed(kills);
    for (const std::int64_t deaths : h.Counters.Deaths)
        out.Signed(deaths);
    out.Signed(h.Counters.Teamkills);
    out.Signed(h.Counters.VoiceChatCount);
    out.Signed(h.Counters.TextChatCount);
}
inline constexpr std::size_t kHoldingNumbers = 7 + kKillSlots + kDeathSlots + 3;

inline void ReadHolding(Reader& in, DigestHolding& h) {
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
}

inline void WritePair(Writer& out, const DigestPair& p) {
    out.Number(p.Killer);
    out.Number(p.Victim);
    out.Number(p.FirstWeapon);
    out.Number(p.Count);
    out.Number(p.FirstEvent);
}

// False when the pair names a holding or record past `count`, or no event text.
inline bool ReadPair(Reader& in, DigestPair& p, std::size_t count) {
    p.Killer = static_cast<std::uint32_t>(in.Number());
    p.Victim = static_cast<std::uint32_t>(in.Number());
    p.FirstWeapon = static_cast<EventWeapon>(in.Number());
    p.Count = in.Number();
    p.FirstEvent = in.Number();
    return p.Killer < count && p.Victim < count && p.FirstWeapon < kEventWeaponTexts.size();
}

} // namespace qla::db
