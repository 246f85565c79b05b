// Packing a log's chains into the bytes stored for them (table log_chains), and back.
#include "db/holding_bytes.h"
#include "db/log_chains.h"

namespace qla::db {
namespace {

constexpr std::uint64_t kChainsFormat = 1;

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
        WriteHolding(out, r);
        out.Number(r.Holding.Held);
        out.Number(r.Holding.Latest);
    }
    out.Number(chains.Pairs.size());
    for (const DigestPair& p : chains.Pairs)
        WritePair(out, p);
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
    chains.Records.resize(in.Count(kHoldingNumbers + 2));
    const std::size_t records = chains.Records.size();
    for (DigestHolding& r : chains.Records) {
        ReadHolding(in, r);
        r.Holding.Held = static_cast<std::uint32_t>(in.Number());
        r.Holding.Latest = static_cast<std::uint32_t>(in.Number());
        if (r.Name >= players || static_cast<std::size_t>(r.Holding.From) > records)
            return std::nullopt;
    }
    chains.Pairs.resize(in.Count(5));
    for (DigestPair& p : chains.Pairs)
        if (!ReadPair(in, p, records))
            return std::nullopt;
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
