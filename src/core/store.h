// The analysis store: the program's whole memory of one analysed log. Element 0 of every array
// except LogLines is an empty placeholder; entries are 1 to size()-1 in order of addition.
#pragma once

#include "log_lines.h"
#include "name_index.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qla {

using PlayerIndex = std::int32_t;

struct PlayerRecord {
    std::string Name;
    std::array<std::int64_t, 16> Kills{};  // by WeaponId 0..15, 0 is the total
    std::array<std::int64_t, 24> Deaths{}; // by WeaponId 0..23, 0 is the kill+suicide total
    std::int64_t Teamkills = 0;
    std::int64_t VoiceChatCount = 0;
    std::int64_t TextChatCount = 0;
};

// Killer and Victim are the indexes of the records the names were filed under, so every event
// names a stored player; the names are Players[Killer].Name and Players[Victim].Name.
// Weapon points at static text ("MP40", "unknown", "Teamkill", ...).
struct KillEvent {
    PlayerIndex Killer = 0;
    PlayerIndex Victim = 0;
    std::string_view Weapon;
};

// Text and Location are views into the store's LogLines or static text.
struct ChatEntry {
    PlayerIndex Player = 0;
    std::string_view Text;
    std::string_view Location;
    bool IsTeam = false;
};

inline constexpr std::string_view kUnnamedPlayer = "[err]unnamedplayer";

class AnalysisStore {
  public:
    AnalysisStore() { Reset(); }

    bool LogFileLoaded = false;
    LogLineList LogLines; // replaced only by opening a file, never by Reset

    std::vector<PlayerRecord> Players;
    std::vector<KillEvent> KillEvents;
    std::vector<ChatEntry> VoiceChats;
    std::vector<ChatEntry> TextChats;
    std::vector<std::string_view> OtherLines; // views into LogLines

    // Empties every array except LogLines to its placeholder element.
    void Reset();

    // Normalises the raw name, files an empty result under "[err]unnamedplayer", and returns
    // the index of the record with that exact name, appending a zeroed record when it is new.
    PlayerIndex FindOrAddPlayer(std::string_view rawName);

    // The index of the record whose Name is exactly `name`; never creates a record.
    std::optional<PlayerIndex> FindPlayer(std::string_view name) const;

    // Number of real entries (the upper bound of the array).
    std::int32_t PlayerCount() const { return static_cast<std::int32_t>(Players.size()) - 1; }

  private:
    NameIndex index_;
};

} // namespace qla
