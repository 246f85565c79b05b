// The analysis store's reset and its player look-up through a hash index. The index gives the
// same result as a linear search from record 1, including the creation order of new records.
#include "core/store.h"

#include "core/names.h"

namespace qla {

void AnalysisStore::Reset() {
    Players.assign(1, PlayerRecord{});
    KillEvents.assign(1, KillEvent{});
    VoiceChats.assign(1, ChatEntry{});
    TextChats.assign(1, ChatEntry{});
    UnknownLines.assign(1, PackedView{});
    Renames.assign(1, RenameEntry{});
    KillEventCounts.clear();
    CutObituaryNames.clear();
    index_.Clear();
    locations_.assign(1, PackedView{});
    locationIndex_.Clear();
    chatRepeats_.Clear();
    lineRepeats_.Clear();
    texts_.Clear();
}

void AnalysisStore::Reserve(std::size_t entries) {
    KillEvents.reserve(entries + 1);
    VoiceChats.reserve(entries + 1);
    TextChats.reserve(entries + 1);
    UnknownLines.reserve(entries + 1);
}

PlayerIndex AnalysisStore::FindOrAddPlayer(std::string_view rawName) {
    std::string_view name = NormalizeName(rawName);
    if (name.empty())
        name = kUnnamedPlayer;
    const std::uint64_t hash = NameIndex::Hash(name);
    if (const PlayerIndex found = index_.Find(name, hash); found != 0)
        return found;
    const auto index = static_cast<PlayerIndex>(Players.size());
    PlayerRecord record;
    record.Name.assign(name);
    Players.push_back(std::move(record));
    index_.Add(name, hash, index);
    return index;
}

PlayerIndex AnalysisStore::FindOrAddNamedPlayer(std::string_view name) {
    const std::uint64_t hash = NameIndex::Hash(name);
    if (const PlayerIndex found = index_.Find(name, hash); found != 0)
        return found;
    const auto index = static_cast<PlayerIndex>(Players.size());
    Players.emplace_back().Name.assign(name);
    index_.Add(Players.back().Name, hash, index);
    return index;
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
    VoiceChats.push_back(
        ChatEntry{chatRepeats_.Keep(text, texts_), player, KeepLocation(location), isTeam});
    ++Players[player].VoiceChatCount;
}

void AnalysisStore::RecordTextChat(PlayerIndex player, std::string_view text,
                                   std::string_view location, bool isTeam) {
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
    UnknownLines.push_back(lineRepeats_.Keep(line, texts_));
}

void AnalysisStore::RecordRename(std::string_view oldName, std::string_view newName) {
    Renames.push_back(RenameEntry{texts_.Keep(oldName), texts_.Keep(newName)});
}

std::optional<PlayerIndex> AnalysisStore::FindPlayer(std::string_view name) const {
    if (const PlayerIndex found = index_.Find(name, NameIndex::Hash(name)); found != 0)
        return found;
    return std::nullopt;
}

} // namespace qla
