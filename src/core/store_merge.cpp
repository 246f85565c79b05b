// Merging players: the store's own rule for what one record of several players holds. Counters
// add up slot by slot; events and chats keep their order and only change whom they name.
#include "core/store.h"

#include <algorithm>
#include <type_traits>

namespace qla {

void AddPlayerCounters(PlayerRecord& into, const PlayerRecord& from) {
    for (std::size_t w = 0; w < into.Kills.size(); ++w)
        into.Kills[w] += from.Kills[w];
    for (std::size_t w = 0; w < into.Deaths.size(); ++w)
        into.Deaths[w] += from.Deaths[w];
    into.Teamkills += from.Teamkills;
    into.VoiceChatCount += from.VoiceChatCount;
    into.TextChatCount += from.TextChatCount;
}

namespace {

// Whether the groups are numbered as their first records come, every group with a record: each
// group's place is then at or before its first record's, so the records can be merged where
// they stand.
bool NumberedByFirstRecord(std::span<const PlayerIndex> groupOf, IndexRange<PlayerIndex> records,
                           std::size_t groupCount) {
    PlayerIndex seen = 0;
    for (const PlayerIndex i : records) {
        const PlayerIndex g = groupOf[static_cast<std::size_t>(i)];
        if (g == 0 || g > seen + 1)
            return false;
        seen = std::max(seen, g);
    }
    return static_cast<std::size_t>(seen) + 1 == groupCount;
}

} // namespace

void AnalysisStore::MergeRecordsInPlace(std::span<const PlayerIndex> groupOf,
                                        std::size_t groupCount) {
    // A group's first record moves to the group's place, whose own record was filed before;
    // a later record adds to its group's place, which only records before it have taken.
    PlayerIndex seen = 0;
    for (const PlayerIndex i : PlayerIndexes()) {
        const auto g = static_cast<std::size_t>(groupOf[static_cast<std::size_t>(i)]);
        PlayerRecord& record = Players[static_cast<std::size_t>(i)];
        if (g > static_cast<std::size_t>(seen)) {
            seen = static_cast<PlayerIndex>(g);
            if (g != static_cast<std::size_t>(i))
                Players[g] = std::move(record);
        } else {
            AddPlayerCounters(Players[g], record);
        }
    }
    Players.resize(groupCount);
    // The room of the records merged away goes back: a long history's records take tens of
    // megabytes, which what follows the merge would otherwise take anew on top of them.
    Players.shrink_to_fit();
    Players[0] = PlayerRecord{};
}

void AnalysisStore::MergePlayers(std::span<const PlayerIndex> groupOf,
                                 std::span<const std::string> names) {
    RegroupPlayers(groupOf, names.size());
    NameGroups(names);
}

void AnalysisStore::RegroupPlayers(std::span<const PlayerIndex> groupOf, std::size_t groupCount) {
    if (NumberedByFirstRecord(groupOf, PlayerIndexes(), groupCount)) {
        // No second list of records: merging a long history's records held both at once.
        MergeRecordsInPlace(groupOf, groupCount);
    } else {
        std::vector<PlayerRecord> merged(groupCount);
        for (const PlayerIndex i : PlayerIndexes())
            AddPlayerCounters(
                merged[static_cast<std::size_t>(groupOf[static_cast<std::size_t>(i)])],
                Players[static_cast<std::size_t>(i)]);
        Players = std::move(merged);
    }
    const auto group = [&](PlayerIndex i) { return groupOf[static_cast<std::size_t>(i)]; };
    for (KillEvent& event : RealEntries(KillEvents)) {
        event.Killer = group(event.Killer);
        event.Victim = group(event.Victim);
    }
    for (ChatEntry& chat : RealEntries(VoiceChats))
        chat.Player = group(chat.Player);
    for (ChatEntry& chat : RealEntries(TextChats))
        chat.Player = group(chat.Player);
    hidesLast_ = false;
}

void AnalysisStore::NameGroups(std::span<const std::string> names) {
    for (std::size_t g = 1; g < names.size(); ++g)
        Players[g].Name = names[g];
    // Holdings are of the records before the merge: the merged store is one of persons.
    TracksHolders = false;
    Holdings.clear();
    renamedInto_.clear();
    index_.Clear();
    for (const PlayerIndex g : PlayerIndexes()) {
        const std::string& name = Players[static_cast<std::size_t>(g)].Name;
        const std::uint64_t hash = NameIndex::Hash(name);
        if (index_.Find(name, hash) == 0) // the first of equal names answers for it
            index_.Add(name, hash, g);
    }
}

void AnalysisStore::Append(AnalysisStore&& later, LaterRoom room) {
    // Room for what follows: doubled when short, so that many appends copy each entry a bounded
    // number of times.
    const auto makeRoom = [](auto& list, std::size_t more) {
        if (list.capacity() < list.size() + more)
            list.reserve(std::max(list.size() + more, 2 * list.capacity()));
    };
    const auto release = [room](auto& list) {
        if (room == LaterRoom::kKept)
            list.clear();
        else
            std::remove_reference_t<decltype(list)>().swap(list);
    };
    // Where each of the later store's players is filed here; a name seen first in the later
    // lines is new here too, and new names come in the order the later lines met them.
    std::vector<PlayerIndex> here(later.Players.size(), 0);
    // Holders: the later lines go on with this store's (a later range of one log), or are a
    // session of their own (a later log), whose holdings follow.
    if (TracksHolders && later.TracksHolders && later.startsInside_) {
        AppendContinuing(std::move(later), here);
    } else if (TracksHolders && later.TracksHolders) {
        const std::uint32_t sessions = SessionCount();
        for (const PlayerIndex i : later.PlayerIndexes()) {
            NameHolding holding = later.Holdings[static_cast<std::size_t>(i)];
            holding.Session += sessions;
            if (holding.From != 0)
                holding.From = here[static_cast<std::size_t>(holding.From)];
            const PlayerRecord& record = later.Players[static_cast<std::size_t>(i)];
            here[static_cast<std::size_t>(i)] = AddHolding(record.Name, holding);
            AddPlayerCounters(Players.back(), record);
        }
    }
    for (const PlayerIndex i : later.PlayerIndexes()) {
        if (TracksHolders && later.TracksHolders)
            break;
        PlayerRecord& record = later.Players[static_cast<std::size_t>(i)];
        const std::uint64_t hash = NameIndex::Hash(record.Name);
        PlayerIndex found = index_.Find(record.Name, hash);
        if (found == 0) {
            found = static_cast<PlayerIndex>(Players.size());
            Players.emplace_back().Name = record.Name;
            index_.Add(Players.back().Name, hash, found);
        }
        AddPlayerCounters(Players[static_cast<std::size_t>(found)], record);
        here[static_cast<std::size_t>(i)] = found;
    }
    const auto remap = [&](PlayerIndex i) { return here[static_cast<std::size_t>(i)]; };
    // Where each of the later store's locations is kept here; their texts move here below.
    std::vector<std::uint32_t> placeHere(later.locations_.size(), 0);
    for (std::size_t i = 1; i < later.locations_.size(); ++i)
        placeHere[i] = KeepLocation(later.locations_[i]);
    // Each later list is released as soon as it is copied.
    if (!KillEventCounts.empty() || !later.KillEventCounts.empty()) {
        if (KillEventCounts.empty())
            KillEventCounts.assign(KillEvents.size(), 1);
        for (std::size_t e = 1; e < later.KillEvents.size(); ++e)
            KillEventCounts.push_back(later.KillEventCount(e));
    }
    later.KillEventCounts.clear();
    makeRoom(KillEvents, later.KillEvents.size() - 1);
    for (const KillEvent& event : RealEntries(later.KillEvents))
        KillEvents.push_back(KillEvent{remap(event.Killer), remap(event.Victim), event.WeaponText});
    release(later.KillEvents);
    for (std::string& cut : later.CutObituaryNames)
        if (std::find(CutObituaryNames.begin(), CutObituaryNames.end(), cut) ==
            CutObituaryNames.end())
            CutObituaryNames.push_back(std::move(cut));
    for (auto* chats : {&VoiceChats, &TextChats}) {
        auto& from = chats == &VoiceChats ? later.VoiceChats : later.TextChats;
        makeRoom(*chats, from.size() - 1);
        for (const ChatEntry& chat : RealEntries(from))
            chats->push_back(
                ChatEntry{chat.Text, remap(chat.Player), placeHere[chat.Location], chat.IsTeam});
        release(from);
    }
    UnknownLines.insert(UnknownLines.end(), later.UnknownLines.begin() + 1,
                        later.UnknownLines.end());
    release(later.UnknownLines);
    for (const RenameEntry& rename : RealEntries(later.Renames)) {
        if (later.startsInside_ &&
            TracksHolders) { // lines and holdings as AppendContinuing left them
            Renames.push_back(RenameEntry{
                rename.OldName, rename.NewName,
                rename.Line == 0 ? 0 : continuedLines_ + rename.Line,
                rename.From > 0   ? remap(rename.From)
                : rename.From < 0 ? continuedOps_[static_cast<std::size_t>(-rename.From - 1)]
                                  : 0});
            continue;
        }
        Renames.push_back(RenameEntry{rename.OldName, rename.NewName, rename.Line,
                                      rename.From == 0 ? 0 : remap(rename.From)});
    }
    // The views just appended point into the later store's blocks, which move here unchanged.
    texts_.Adopt(std::move(later.texts_));
    later.Reset();
}

void AnalysisStore::AppendContinuing(AnalysisStore&& later, std::vector<PlayerIndex>& here) {
    const std::uint64_t lineOffset = line_;
    const std::uint32_t sessionBase = session_;
    // The later store's early operations, played here in order: which of its records go on with
    // a holding of this store, and from whom the others come.
    std::vector<PlayerIndex> continues(later.Players.size(), 0);
    std::vector<PlayerIndex> firstFrom(later.Players.size(), 0);
    std::vector<PlayerIndex> opFrom(later.earlyOps_.size(), 0);
    for (std::size_t k = 0; k < later.earlyOps_.size(); ++k) {
        const EarlyNameOp& op = later.earlyOps_[k];
        line_ = lineOffset + op.Line;
        const PlayerIndex held =
            op.Name.empty() ? 0 : index_.Find(op.Name, NameIndex::Hash(op.Name));
        switch (op.What) {
        case EarlyNameOp::Kind::FirstUse:
            if (held != 0 && HoldingOpen(held))
                continues[static_cast<std::size_t>(op.Record)] = held;
            else
                firstFrom[static_cast<std::size_t>(op.Record)] = TakeRenamedInto(op.Name);
            break;
        case EarlyNameOp::Kind::End:
            if (held != 0 && HoldingOpen(held))
                End(held);
            TakeRenamedInto(op.Name);
            break;
        case EarlyNameOp::Kind::RenameAway:
            opFrom[k] = EndForRename(op.Name);
            break;
        case EarlyNameOp::Kind::Session:
            renamedInto_.clear();
            break;
        }
    }
    const auto resolve = [&](PlayerIndex from) -> PlayerIndex {
        if (from > 0)
            return here[static_cast<std::size_t>(from)];
        return from < 0 ? opFrom[static_cast<std::size_t>(-from - 1)] : 0;
    };
    const auto shifted = [lineOffset](std::uint64_t line) {
        return line == 0 ? 0 : lineOffset + line;
    };
    for (const PlayerIndex r : later.PlayerIndexes()) {
        const auto at = static_cast<std::size_t>(r);
        const PlayerRecord& record = later.Players[at];
        NameHolding holding = later.Holdings[at];
        holding.Session += sessionBase;
        holding.FirstLine = shifted(holding.FirstLine);
        holding.LastLine = shifted(holding.LastLine);
        holding.EndLine = shifted(holding.EndLine);
        if (const PlayerIndex mine = continues[at]; mine != 0) {
            NameHolding& going = Holdings[static_cast<std::size_t>(mine)];
            going.LastLine = holding.LastLine;
            going.EndLine = holding.EndLine;
            going.Ended = holding.Ended;
            going.RenamedAway = holding.RenamedAway;
            AddPlayerCounters(Players[static_cast<std::size_t>(mine)], record);
            here[at] = mine;
            continue;
        }
        holding.From = holding.From != 0 ? resolve(holding.From) : firstFrom[at];
        here[at] = AddHolding(record.Name, holding);
        AddPlayerCounters(Players.back(), record);
    }
    for (const auto& [name, from] : later.renamedInto_) {
        TakeRenamedInto(name);
        if (const PlayerIndex source = resolve(from); source != 0)
            renamedInto_.emplace_back(name, source);
    }
    for (const auto& [key, name] : later.latestOfKey_)
        latestOfKey_[key] = name;
    session_ = sessionBase + later.session_;
    line_ = lineOffset + later.line_;
    // For the renames, which Append copies after this.
    continuedLines_ = lineOffset;
    continuedOps_ = std::move(opFrom);
}

} // namespace qla
