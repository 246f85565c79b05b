// The analysis store's reset and its player look-up through a hash index. The index gives the
// same result as a linear search from record 1, including the creation order of new records.
#include "core/store.h"

#include "core/names.h"

#include <algorithm>

namespace qla {

void AnalysisStore::Reset() {
    Players.assign(1, PlayerRecord{});
    hidesLast_ = false;
    Holdings.assign(TracksHolders ? 1 : 0, NameHolding{});
    session_ = 0;
    line_ = 0;
    linesBefore_ = 0;
    startsInside_ = false;
    earlyOps_.clear();
    settled_.clear();
    renamedInto_.clear();
    latestOfKey_.clear();
    KillEvents.assign(1, KillEvent{});
    VoiceChats.assign(1, ChatEntry{});
    TextChats.assign(1, ChatEntry{});
    UnknownLines.assign(1, PackedView{});
    Renames.assign(1, RenameEntry{});
    KillEventCounts.clear();
    CutObituaryNames.clear();
    PassingKeys.clear();
    index_.Clear();
    locations_.assign(1, PackedView{});
    locationIndex_.Clear();
    chatRepeats_.Clear();
    lineRepeats_.Clear();
    texts_.Clear();
}

namespace {
// Generated histories show one holding in 45 to 100 lines.
constexpr std::size_t kLinesPerHoldingReserved = 32;
} // namespace

void AnalysisStore::Reserve(std::size_t entries) {
    KillEvents.reserve(entries + 1);
    VoiceChats.reserve(entries + 1);
    TextChats.reserve(entries + 1);
    UnknownLines.reserve(entries + 1);
    // A store of holders files a record for every holding of a name, many thousands in a long
    // log: room for them up front spares copying the records each time the list grows. Rooms
    // not filled are never touched, so they cost no memory.
    if (TracksHolders) {
        const std::size_t records = entries / kLinesPerHoldingReserved + 64;
        Players.reserve(records);
        Holdings.reserve(records);
    }
}

PlayerIndex AnalysisStore::FindOrAddPlayer(std::string_view rawName) {
    std::string_view name = NormalizeName(rawName);
    if (name.empty())
        name = kUnnamedPlayer;
    const PlayerIndex player = FindOrAddNamedPlayer(name);
    if (ReadTexts)
        ReadTexts->push_back({rawName, player, true});
    return player;
}

PlayerIndex AnalysisStore::FindOrAddNamedPlayer(std::string_view name) {
    const std::uint64_t hash = NameIndex::Hash(name);
    const PlayerIndex found = index_.Find(name, hash);
    if (!TracksHolders) {
        if (found != 0)
            return found;
        return AddRecord(name, hash, false);
    }
    if (found != 0 && HoldingOpen(found)) {
        Holdings[static_cast<std::size_t>(found)].LastLine = line_;
        return found;
    }
    return AddRecord(name, hash, found != 0);
}

PlayerIndex AnalysisStore::AddHolding(std::string_view name, const NameHolding& holding) {
    const std::uint64_t hash = NameIndex::Hash(name);
    const PlayerIndex index = AddRecord(name, hash, index_.Find(name, hash) != 0);
    if (TracksHolders) {
        Holdings.back() = holding;
        session_ = std::max(session_, holding.Session);
    }
    return index;
}

PlayerIndex AnalysisStore::AddRecord(std::string_view name, std::uint64_t hash, bool known) {
    const auto index = static_cast<PlayerIndex>(Players.size());
    Players.emplace_back().Name.assign(name);
    if (known)
        index_.Repoint(name, hash, index);
    else
        index_.Add(name, hash, index);
    if (TracksHolders) {
        NameHolding holding{session_, 0, line_, line_, 0, false, false};
        holding.From = TakeRenamedInto(name);
        // A name first met inside a log may go on with the earlier lines' holder of it. A name
        // met before in this store was settled then, or met after the first session.
        if (!known && Early(name)) {
            if (holding.From == 0)
                earlyOps_.push_back({EarlyNameOp::Kind::FirstUse, std::string(name), index, line_});
            Settle(name);
        }
        // One holding per record, whenever tracking was switched on.
        Holdings.resize(static_cast<std::size_t>(index));
        Holdings.push_back(holding);
        if (!known)
            if (std::string key = IdentityKey(name); !key.empty())
                latestOfKey_[std::move(key)] = std::string(name);
    }
    return index;
}

bool AnalysisStore::HoldingOpen(PlayerIndex record) const {
    const NameHolding& holding = Holdings[static_cast<std::size_t>(record)];
    return holding.Session == session_ && !holding.Ended;
}

void AnalysisStore::End(PlayerIndex record) {
    NameHolding& holding = Holdings[static_cast<std::size_t>(record)];
    holding.Ended = true;
    holding.EndLine = line_;
}

void AnalysisStore::EndHolding(std::string_view rawName) {
    if (ReadTexts)
        ReadTexts->push_back({rawName, 0, true});
    if (!TracksHolders)
        return;
    const std::string_view name = NormalizeName(rawName);
    if (name.empty())
        return;
    const PlayerIndex record = index_.Find(name, NameIndex::Hash(name));
    if (record != 0 && HoldingOpen(record))
        End(record);
    else if (record == 0 && Early(name)) {
        earlyOps_.push_back({EarlyNameOp::Kind::End, std::string(name), 0, line_});
        Settle(name);
    }
}

PlayerIndex AnalysisStore::TakeRenamedInto(std::string_view name) {
    for (auto at = renamedInto_.begin(); at != renamedInto_.end(); ++at)
        if (at->first == name) {
            const PlayerIndex from = at->second;
            renamedInto_.erase(at);
            return from;
        }
    return 0;
}

PlayerIndex AnalysisStore::EndForRename(std::string_view oldName) {
    PlayerIndex old = index_.Find(oldName, NameIndex::Hash(oldName));
    if (old == 0) { // a name written without its colours: its key's latest name's holder
        const auto byKey = latestOfKey_.find(IdentityKey(oldName));
        old = byKey == latestOfKey_.end()
                  ? 0
                  : index_.Find(byKey->second, NameIndex::Hash(byKey->second));
    }
    if (old != 0 && HoldingOpen(old)) {
        End(old);
        Holdings[static_cast<std::size_t>(old)].RenamedAway = true;
        return old;
    }
    return TakeRenamedInto(oldName);
}

void AnalysisStore::StartSession() {
    if (!TracksHolders)
        return;
    if (startsInside_ && session_ == 0)
        earlyOps_.push_back({EarlyNameOp::Kind::Session, {}, 0, line_});
    ++session_;
    renamedInto_.clear();
}

void AnalysisStore::RecordKillEvents(PlayerIndex killer, PlayerIndex victim, EventWeapon weaponText,
                                     std::uint32_t count) {
    if (KillEventCounts.empty())
        KillEventCounts.assign(KillEvents.size(), 1);
    KillEvents.push_back(KillEvent{killer, victim, weaponText});
    KillEventCounts.push_back(count);
}

void AnalysisStore::RecordKill(PlayerIndex killer, PlayerIndex victim, WeaponId weapon,
                               std::string_view weaponText) {
    KillEvents.push_back(KillEvent{killer, victim, EventWeaponOf(weapon, weaponText)});
    if (!KillEventCounts.empty())
        KillEventCounts.push_back(1);
    PlayerRecord& victimRecord = Players[victim];
    ++victimRecord.Deaths[weapon];
    ++victimRecord.Deaths[kWeaponTotal];
    PlayerRecord& killerRecord = Players[killer];
    ++killerRecord.Kills[weapon];
    ++killerRecord.Kills[kWeaponTotal];
}

void AnalysisStore::RecordSuicide(PlayerIndex player, WeaponId cause) {
    PlayerRecord& record = Players[player];
    ++record.Deaths[cause];
    ++record.Deaths[kWeaponTotal];
}

void AnalysisStore::RecordTeamkill(PlayerIndex killer, PlayerIndex victim) {
    ++Players[victim].Deaths[kWeaponTeamkill];
    ++Players[killer].Teamkills;
    KillEvents.push_back(KillEvent{killer, victim, kEventTeamkill});
    if (!KillEventCounts.empty())
        KillEventCounts.push_back(1);
}

void AnalysisStore::RecordVoiceChat(PlayerIndex player, std::string_view text,
                                    std::string_view location, bool isTeam) {
    if (ReadTexts) {
        ReadTexts->push_back({text, 0, false});
        ReadTexts->push_back({location, 0, false});
    }
    VoiceChats.push_back(
        ChatEntry{chatRepeats_.Keep(text, texts_), player, KeepLocation(location), isTeam});
    ++Players[player].VoiceChatCount;
}

void AnalysisStore::RecordTextChat(PlayerIndex player, std::string_view text,
                                   std::string_view location, bool isTeam) {
    if (ReadTexts) {
        ReadTexts->push_back({text, 0, false});
        ReadTexts->push_back({location, 0, false});
    }
    TextChats.push_back(
        ChatEntry{chatRepeats_.Keep(text, texts_), player, KeepLocation(location), isTeam});
    ++Players[player].TextChatCount;
}

std::uint32_t AnalysisStore::KeepLocation(std::string_view location) {
    // A log whose "locations" are all different (a malformed one) keeps the rest as they come.
    constexpr std::size_t kLocationsKept = 4096;
    if (location.empty())
        return 0;
    const std::uint64_t hash = NameIndex::Hash(location);
    if (const std::int32_t kept = locationIndex_.Find(location, hash); kept != 0)
        return static_cast<std::uint32_t>(kept);
    const auto at = static_cast<std::uint32_t>(locations_.size());
    locations_.push_back(texts_.Keep(location));
    if (locationIndex_.size() < kLocationsKept)
        locationIndex_.Add(location, hash, static_cast<std::int32_t>(at));
    return at;
}

void AnalysisStore::RecordUnknownLine(std::string_view line) {
    if (ReadTexts)
        ReadTexts->push_back({line, 0, false});
    UnknownLines.push_back(lineRepeats_.Keep(line, texts_));
}

void AnalysisStore::RecordRename(std::string_view oldName, std::string_view newName) {
    if (ReadTexts) {
        ReadTexts->push_back({oldName, 0, true});
        ReadTexts->push_back({newName, 0, true});
    }
    RenameEntry entry{texts_.Keep(oldName), texts_.Keep(newName)};
    if (TracksHolders) {
        entry.Line = line_;
        // The renamer's holding of the old name ends; a name renamed into and never used
        // passes its holder on. A name this store has not met is the earlier lines' to end.
        const bool oldEarly = Early(oldName) &&
                              index_.Find(oldName, NameIndex::Hash(oldName)) == 0 &&
                              !latestOfKey_.contains(IdentityKey(oldName));
        if (oldEarly) {
            earlyOps_.push_back({EarlyNameOp::Kind::RenameAway, std::string(oldName), 0, line_});
            Settle(oldName);
            entry.From = -static_cast<PlayerIndex>(earlyOps_.size());
        } else {
            entry.From = EndForRename(oldName);
        }
        // Whoever held the new name before holds it no longer: the renamer does.
        const PlayerIndex taken = index_.Find(newName, NameIndex::Hash(newName));
        if (taken != 0 && HoldingOpen(taken)) {
            End(taken);
        } else if (taken == 0 && Early(newName)) {
            earlyOps_.push_back({EarlyNameOp::Kind::End, std::string(newName), 0, line_});
            Settle(newName);
        }
        TakeRenamedInto(newName);
        if (entry.From != 0)
            renamedInto_.emplace_back(std::string(newName), entry.From);
    }
    Renames.push_back(entry);
}

std::optional<PlayerIndex> AnalysisStore::FindPlayer(std::string_view name) const {
    if (const PlayerIndex found = index_.Find(name, NameIndex::Hash(name));
        found != 0 && found != HiddenPlayer())
        return found;
    return std::nullopt;
}

} // namespace qla
