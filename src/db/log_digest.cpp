// Building and extending a log's digest from the stores of its pieces.
#include "db/log_digest.h"

#include "core/key_index.h"

#include "analysis/line_walk.h"
#include "analysis/merge_players.h"

#include <algorithm>
#include <unordered_map>

namespace qla::db {
namespace {

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

// An encounter as one 64-bit key: the event text takes 5 bits, the victim 32 and the killer the
// 27 left, which every log short of 134 million names leaves room for. A flat table of such
// keys counts a log's million kills in a fraction of what a node per encounter costs.
static_assert(kEventWeaponTexts.size() <= 32);
constexpr std::size_t kPlayersForPackedEncounters = std::size_t{1} << 27;

class PackedEncounters {
  public:
    explicit PackedEncounters(std::size_t expected) : index_(expected) {}
    std::pair<std::size_t, bool> TryEmplace(const EncounterKey& k, std::size_t row) {
        const auto [at, added] = index_.TryEmplace(Packed(k), static_cast<std::uint32_t>(row));
        return {at, added};
    }
    void Prefetch(const EncounterKey& k) const { index_.Prefetch(Packed(k)); }

  private:
    static std::uint64_t Packed(const EncounterKey& k) {
        return (std::uint64_t{k.Killer} << 37) | (std::uint64_t{k.Victim} << 5) | k.WeaponText;
    }

    KeyIndex index_;
};

// The same for the rare log of more names, a node per encounter.
class EncounterNodes {
  public:
    explicit EncounterNodes(std::size_t expected) { rowOf_.reserve(expected); }
    std::pair<std::size_t, bool> TryEmplace(const EncounterKey& k, std::size_t row) {
        const auto [at, added] = rowOf_.try_emplace(k, row);
        return {at->second, added};
    }
    void Prefetch(const EncounterKey&) const {}

  private:
    std::unordered_map<EncounterKey, std::size_t, EncounterKeyHash> rowOf_;
};

// Counts the piece's kills into the digest's encounters, found through `rowOf`.
template <typename Rows>
void AddEncounters(LogDigest& digest, const AnalysisStore& piece, Rows rowOf) {
    for (std::size_t row = 0; row < digest.Encounters.size(); ++row) {
        const DigestEncounter& e = digest.Encounters[row];
        rowOf.TryEmplace(EncounterKey{e.Killer, e.Victim, e.WeaponText}, row);
    }
    const auto keyOf = [&](std::size_t position) {
        const KillEvent& event = piece.KillEvents[position];
        return EncounterKey{static_cast<std::uint32_t>(event.Killer - 1),
                            static_cast<std::uint32_t>(event.Victim - 1), event.WeaponText};
    };
    for (std::size_t position = 1; position < piece.KillEvents.size(); ++position) {
        PrefetchAhead(rowOf, position, piece.KillEvents.size(), keyOf);
        const EncounterKey key = keyOf(position);
        const auto [found, isNew] = rowOf.TryEmplace(key, digest.Encounters.size());
        if (isNew)
            digest.Encounters.push_back(
                {key.Killer, key.Victim, key.WeaponText, 0, digest.EventCount + position});
        digest.Encounters[found].Count += piece.KillEventCount(position);
    }
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

void AppendHoldings(LogDigest& digest, const AnalysisStore& piece,
                    std::vector<std::uint32_t>* killPairs) {
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
    digest.Holdings.reserve(std::max(known, piece.Players.size()));
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
        DigestHolding& holding = digest.Holdings.emplace_back();
        holding.Name = position->second;
        holding.Holding = state;
        AddPlayerCounters(holding.Counters, record); // the name is the digest's, not each holding's
    }
    KeyIndex pairOf(digest.HoldingPairs.size() + piece.KillEvents.size() / 4);
    for (std::size_t k = 0; k < digest.HoldingPairs.size(); ++k) {
        const DigestPair& p = digest.HoldingPairs[k];
        pairOf.TryEmplace(KillPairKey(p.Killer, p.Victim, p.FirstWeapon == kEventTeamkill),
                          static_cast<std::uint32_t>(k));
    }
    const auto pairKey = [&](std::size_t position) {
        const KillEvent& event = piece.KillEvents[position];
        return KillPairKey(static_cast<std::uint32_t>(event.Killer - 1),
                           static_cast<std::uint32_t>(event.Victim - 1),
                           event.WeaponText == kEventTeamkill);
    };
    for (std::size_t position = 1; position < piece.KillEvents.size(); ++position) {
        PrefetchAhead(pairOf, position, piece.KillEvents.size(), pairKey);
        const KillEvent& event = piece.KillEvents[position];
        const auto killer = static_cast<std::uint32_t>(event.Killer - 1);
        const auto victim = static_cast<std::uint32_t>(event.Victim - 1);
        const auto [found, isNew] = pairOf.TryEmplace(
            pairKey(position), static_cast<std::uint32_t>(digest.HoldingPairs.size()));
        if (isNew)
            digest.HoldingPairs.push_back(
                {killer, victim, event.WeaponText, 0, digest.EventCount + position});
        digest.HoldingPairs[found].Count += piece.KillEventCount(position);
        if (killPairs)
            killPairs->push_back(found);
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
    const std::size_t expected = digest.Encounters.size() + piece.KillEvents.size() / 2;
    if (std::max(digest.Players.size(), piece.Players.size()) < kPlayersForPackedEncounters)
        AddEncounters(digest, piece, PackedEncounters(expected));
    else
        AddEncounters(digest, piece, EncounterNodes(expected));
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

RowsBefore RowsBeforeOf(const LogDigest& digest) {
    return {!digest.Players.empty(), digest.VoiceChatRows, digest.TextChatRows,
            digest.UnknownLineRows};
}

std::vector<DigestPair> PairsOf(const std::vector<DigestEncounter>& encounters) {
    std::vector<DigestPair> pairs;
    KeyIndex rowOf(encounters.size());
    // Encounters come in order of their first events, so a pair's first encounter is its first.
    const auto pairKey = [&](std::size_t k) {
        const DigestEncounter& e = encounters[k];
        return KillPairKey(e.Killer, e.Victim, e.WeaponText == kEventTeamkill);
    };
    for (std::size_t k = 0; k < encounters.size(); ++k) {
        PrefetchAhead(rowOf, k, encounters.size(), pairKey);
        const DigestEncounter& e = encounters[k];
        const auto [at, isNew] =
            rowOf.TryEmplace(pairKey(k), static_cast<std::uint32_t>(pairs.size()));
        if (isNew)
            pairs.push_back({e.Killer, e.Victim, e.WeaponText, e.Count, e.FirstEvent});
        else
            pairs[at].Count += e.Count;
    }
    return pairs;
}

void FileHoldings(LogDigest& digest, AnalysisStore& piece, std::vector<std::uint32_t>* killPairs) {
    if (!piece.TracksHolders)
        return;
    AppendHoldings(digest, piece, killPairs);
    FileHoldersByName(piece);
}

LogDigest DigestOfStore(AnalysisStore& store, const AnalysisTotals& totals) {
    LogDigest digest;
    FileHoldings(digest, store);
    AppendPiece(digest, store, totals);
    return digest;
}

} // namespace qla::db
