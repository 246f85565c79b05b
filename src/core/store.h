// The analysis store: the program's whole memory of one analysed log. Element 0 of every array
// except LogLines is an empty placeholder; entries are 1 to size()-1 in order of addition. The
// Record operations hold the counting rules: which counters each kind of event raises.
#pragma once

#include "file_identity.h"
#include "log_lines.h"
#include "name_index.h"
#include "packed_view.h"
#include "repeated_texts.h"
#include "text_arena.h"
#include "weapons.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace qla {

using PlayerIndex = std::int32_t;

struct PlayerRecord {
    std::string Name;
    std::array<std::int64_t, kKillSlots> Kills{}; // by WeaponId 0..15, 0 is the total
    std::array<std::int64_t, kDeathSlots>
        Deaths{}; // by WeaponId 0..31, 0 is the kill+suicide total
    std::int64_t Teamkills = 0;
    std::int64_t VoiceChatCount = 0;
    std::int64_t TextChatCount = 0;
};

// Killer and Victim are the indexes of the records the names were filed under, so every event
// names a stored player; the names are Players[Killer].Name and Players[Victim].Name.
// The event's text ("MP40", "unknown", "Teamkill", ...) is kept as its position in
// kEventWeaponTexts: 12 bytes an event instead of 24.
struct KillEvent {
    PlayerIndex Killer = 0;
    PlayerIndex Victim = 0;
    EventWeapon WeaponText = 0;

    std::string_view Weapon() const { return kEventWeaponTexts[WeaponText]; }
};
static_assert(sizeof(KillEvent) == 12);

// Text views the store's own copy of the text; Location is the position of the chat's location
// in the store's list of locations (AnalysisStore::LocationOf), each kept once. 24 bytes.
struct ChatEntry {
    PackedView Text;
    PlayerIndex Player = 0;
    std::uint32_t Location = 0; // 0: no location
    bool IsTeam = false;
};
static_assert(sizeof(ChatEntry) == 24);

// A rename line's two names, normalised; views into the store's own copies. A rename files no
// player and moves no counter: the names matter only when players are merged. A store that
// tracks holders also keeps the line and the holding renamed away from (0: none seen).
struct RenameEntry {
    std::string_view OldName;
    std::string_view NewName;
    std::uint64_t Line = 0; // counted from 1 in the store's lines; 0 when not tracked
    std::int32_t From = 0;  // the holding of OldName that ended
};

// One holder's use of a name, for a store that tracks holders (AnalysisStore::TracksHolders):
// a name is held by one person at a time, so a name used again after its holder renamed away
// from it, or in a later session, starts a new record with the same name.
struct NameHolding {
    std::uint32_t Session = 0;   // sessions counted from 0 in the store
    std::int32_t From = 0;       // the holding its holder renamed from into this name; 0: none
    std::uint64_t FirstLine = 0; // counted from 1; 0 when lines are not told
    std::uint64_t LastLine = 0;  // the last line that named it
    std::uint64_t EndLine = 0;   // the line that ended it (0: it lasted to its session's end)
    bool Ended = false;          // a rename or a leave ended it: the next use is another holding
    bool RenamedAway = false;    // its holder renamed away from it (not someone renaming into it)
    // A store of chains (AnalysisStore::HoldersChained): how many holdings the record stands for,
    // and 1 + the place in its log of the latest of them (0: the record's own place tells).
    std::uint32_t Held = 1;
    std::uint32_t Latest = 0;
};

inline constexpr std::string_view kUnnamedPlayer = "[err]unnamedplayer";

// A text a parser read from a line: a player's name as the line holds it, with the record it
// was filed under (0 for a rename's and a leave's names, which file none), or a free text (a
// chat's message and location, a line of no other kind). A view into the line.
struct LineText {
    std::string_view Text;
    PlayerIndex Player = 0;
    bool IsName = true;
};

// Adds `from`'s counters to `into`'s, slot by slot: the store's rule for what one record of
// several (merged players, later lines, stored logs) holds.
void AddPlayerCounters(PlayerRecord& into, const PlayerRecord& from);

// The real entries of a store array: every element after the placeholder.
template <class Entry> std::span<const Entry> RealEntries(const std::vector<Entry>& entries) {
    return entries.empty() ? std::span<const Entry>{} : std::span<const Entry>(entries).subspan(1);
}
template <class Entry> std::span<Entry> RealEntries(std::vector<Entry>& entries) {
    return entries.empty() ? std::span<Entry>{} : std::span<Entry>(entries).subspan(1);
}

// The indexes first to last-1 for a range-for. A plain iterator rather than std::views::iota,
// whose libstdc++ 12 form clang 14 (the fuzz build) does not compile.
template <class Index> class IndexRange {
  public:
    class Iterator {
      public:
        explicit Iterator(Index at) : at_(at) {}
        Index operator*() const { return at_; }
        Iterator& operator++() {
            ++at_;
            return *this;
        }
        bool operator!=(const Iterator& other) const { return at_ != other.at_; }

      private:
        Index at_;
    };

    IndexRange(Index first, Index last) : first_(first), last_(last < first ? first : last) {}
    Iterator begin() const { return Iterator(first_); }
    Iterator end() const { return Iterator(last_); }

  private:
    Index first_;
    Index last_;
};

// The positions of the real entries of a store array, 1 to size()-1.
template <class Entry> IndexRange<std::size_t> EntryIndexes(const std::vector<Entry>& entries) {
    return {1, entries.size()};
}

class AnalysisStore {
  public:
    AnalysisStore() { Reset(); }

    bool LogFileLoaded = false;
    // Files each holder's use of a name as a record of its own (several records may then share
    // a name) and keeps sessions, so that identity over time can be worked out; Reset keeps it.
    // Without it, a name is one record from first to last line, as the classic outputs count.
    bool TracksHolders = false;
    // With TracksHolders: each record stands for the holdings of one name in one chain (a
    // holder followed through a session's renames, worked out when the log was stored), and
    // Holdings[r].From is the chain's first record. Reset keeps it.
    bool HoldersChained = false;
    // When set, every text the parsers read from a line is added here (qla erase-player finds
    // where a line names a player so); unset for every analysis.
    std::vector<LineText>* ReadTexts = nullptr;
    LogLineList LogLines; // replaced only by opening a file, never by Reset
    // The file LogLines were read from; the exporters never write over it.
    std::optional<FileIdentity> LogFileIdentity;

    std::vector<PlayerRecord> Players;
    // With TracksHolders, one entry per player record (element 0 unused); otherwise empty.
    std::vector<NameHolding> Holdings;
    std::vector<KillEvent> KillEvents;
    std::vector<ChatEntry> VoiceChats;
    std::vector<ChatEntry> TextChats;
    std::vector<PackedView> UnknownLines; // views into the store's own copies
    std::vector<RenameEntry> Renames;
    // How many kills each entry of KillEvents stands for, beside it; empty when every entry is
    // one kill (an analysed log). A store built from stored statistics keeps one entry for the
    // kills of one killer, victim and weapon in a log, at the place of the first of them.
    std::vector<std::uint32_t> KillEventCounts;
    // The obituary names seen cut to their 29 characters (full recognition), each once, without
    // colour codes' trailing "^7": a later log's cut names may stand for a name met before.
    std::vector<std::string> CutObituaryNames;
    // A store filed by name after its holders were tracked: the identity keys of the names many
    // people only pass through (the game's connect name, fun names), sorted. One such name is
    // many people at once, so the skill fit leaves its kills out. Empty: none known, or a store
    // whose records are persons.
    std::vector<std::string> PassingKeys;

    // Room for `entries` events, chats and unknown lines each. Growing a list by doubling would
    // copy it and touch its memory twice; where memory is backed on first touch (Linux), room
    // never written costs only address space.
    void Reserve(std::size_t entries);

    // Empties every array except LogLines to its placeholder element and drops the kept texts.
    void Reset();

    // Normalises the raw name, files an empty result under "[err]unnamedplayer", and returns
    // the index of the record with that exact name, appending a zeroed record when it is new.
    PlayerIndex FindOrAddPlayer(std::string_view rawName);

    // The record whose Name is exactly `name` (a name this store or another one already
    // normalised), appending a zeroed record when it is new.
    PlayerIndex FindOrAddNamedPlayer(std::string_view name);

    // A store that tracks holders: a record for `name` held as `holding` tells, after the
    // records it has (a holding known from before, such as a stored log's).
    PlayerIndex AddHolding(std::string_view name, const NameHolding& holding);

    // The index of the record whose Name is exactly `name`; never creates a record.
    std::optional<PlayerIndex> FindPlayer(std::string_view name) const;

    // Number of real entries (the upper bound of the array), the hidden player's record not
    // counted.
    std::int32_t PlayerCount() const {
        return static_cast<std::int32_t>(Players.size()) - (hidesLast_ ? 2 : 1);
    }

    // A database's hidden players are joined into the last record (analysis/hidden_players.h),
    // which PlayerCount, PlayerIndexes and FindPlayer then leave out: nothing lists him, while
    // the events that name him still count. Index 0 when no player is hidden.
    void HideLastPlayer() { hidesLast_ = Players.size() > 1; }
    PlayerIndex HiddenPlayer() const {
        return hidesLast_ ? static_cast<PlayerIndex>(Players.size()) - 1 : 0;
    }

    // The indexes of the real players, 1 to PlayerCount(), in order of addition.
    IndexRange<PlayerIndex> PlayerIndexes() const { return {1, PlayerCount() + 1}; }

    // A kill with a weapon of slots 1-15: one kill event, the weapon's and the total kill of the
    // killer, the weapon's and the total death of the victim. `weaponText` is the text the event
    // shows (static text, as the parsers recognised it).
    void RecordKill(PlayerIndex killer, PlayerIndex victim, WeaponId weapon,
                    std::string_view weaponText);
    // `count` kills of one killer, victim and event text as one entry of KillEvents (counted
    // in KillEventCounts); no counter moves: the records already hold them.
    void RecordKillEvents(PlayerIndex killer, PlayerIndex victim, EventWeapon weaponText,
                          std::uint32_t count);
    // How many kills the entry at `position` of KillEvents stands for.
    std::uint32_t KillEventCount(std::size_t position) const {
        return KillEventCounts.empty() ? 1 : KillEventCounts[position];
    }
    // A death by one of the causes 16-22 (or 24-31, which only full recognition counts): the
    // cause's and the total death of the player; no event.
    void RecordSuicide(PlayerIndex player, WeaponId cause);
    // A teamkill: one "Teamkill" event, a teamkill for the killer and a death in slot 23 for
    // the victim; neither total moves.
    void RecordTeamkill(PlayerIndex killer, PlayerIndex victim);
    // Chats: one entry and the player's chat count. The store keeps copies of the texts, so
    // the line they came from need not outlive the call.
    void RecordVoiceChat(PlayerIndex player, std::string_view text, std::string_view location,
                         bool isTeam);
    void RecordTextChat(PlayerIndex player, std::string_view text, std::string_view location,
                        bool isTeam);
    // A line of no other kind, kept for the junk export; no player counter moves.
    void RecordUnknownLine(std::string_view line);
    // A rename kept as it was recorded before (a stored log's): no holding ends.
    void KeepRename(std::string_view oldName, std::string_view newName, std::uint64_t line = 0,
                    PlayerIndex from = 0) {
        Renames.push_back(RenameEntry{texts_.Keep(oldName), texts_.Keep(newName), line, from});
    }
    // A rename between two normalised, non-empty names (kept as copies); no record is filed
    // and no counter moves.
    void RecordRename(std::string_view oldName, std::string_view newName);

    // The text of a chat's location.
    std::string_view LocationOf(const ChatEntry& chat) const { return locations_[chat.Location]; }

    // A session (a log, or a "logfile opened on" line) starts: every name's holding ends.
    void StartSession();
    // The holder of the raw name left (holders only): its holding ends at this line.
    void EndHolding(std::string_view rawName);
    // The number, counted from 1, of the line the next records come from (holders only).
    void AtLine(std::uint64_t line) { line_ = linesBefore_ + line; }
    std::uint64_t Line() const { return line_; }
    // This store takes the lines from inside a log (a later range of one analysis): what it
    // does to names it has not met yet is kept in order, for Append to play on the earlier
    // store, which knows who held them.
    void StartInside() { startsInside_ = true; }
    bool StartsInside() const { return startsInside_; }
    // Lines of the log read before this store's (a log that grew), counted into AtLine's lines.
    void SetLinesBefore(std::uint64_t lines) { linesBefore_ = lines; }
    std::uint32_t SessionCount() const { return session_ + 1; }
    // Names renamed into and not used since, with the holding each continues (a log that grows
    // hands them to the store of its next lines).
    const std::vector<std::pair<std::string, PlayerIndex>>& RenamedInto() const {
        return renamedInto_;
    }
    void AddRenamedInto(std::string name, PlayerIndex from) {
        renamedInto_.emplace_back(std::move(name), from);
    }

    // Files the real players under groups, for merging players: `groupOf[i]` is the group
    // (1 to names.size()-1) of player i (index 0 unused), groups numbered in order of their
    // first member. Group g is named names[g] and holds the sums of its members' counters;
    // every kill event and chat entry is re-pointed to the group. Indexes of players become
    // indexes of groups.
    void MergePlayers(std::span<const PlayerIndex> groupOf, std::span<const std::string> names);
    // MergePlayers in two steps, for a caller that names the groups on another thread meanwhile:
    // RegroupPlayers sums the counters into `groupCount` groups (placeholder included) and
    // re-points the events and chats; it changes the records, names too, but leaves the holdings
    // to be read meanwhile. NameGroups then names the groups and ends the merge.
    void RegroupPlayers(std::span<const PlayerIndex> groupOf, std::size_t groupCount);
    void NameGroups(std::span<const std::string> names);

    // Adds the results of the lines that follow this store's lines, analysed on their own into
    // `later`: its new players are filed after this store's in their order, its counters are
    // added, its events, chats, unknown lines and renames follow with their player indexes
    // turned into this store's. The result is what analysing all the lines in one run gives.
    // What Append leaves of the later store's lists: freed as each is copied, so that the merge
    // never holds two copies of more than one list, or kept, empty, for the later store to take
    // the next lines into without touching new memory.
    enum class LaterRoom { kFreed, kKept };
    void Append(AnalysisStore&& later, LaterRoom room = LaterRoom::kFreed);

  private:
    NameIndex index_;
    // RegroupPlayers' records when the groups are numbered as their first records come.
    void MergeRecordsInPlace(std::span<const PlayerIndex> groupOf, std::size_t groupCount);
    bool hidesLast_ = false;
    // Holders: the record a name continues in when it is used, whether its holding is over.
    PlayerIndex AddRecord(std::string_view name, std::uint64_t hash, bool known);
    bool HoldingOpen(PlayerIndex record) const;
    void End(PlayerIndex record);
    std::uint32_t session_ = 0;
    std::uint64_t line_ = 0;
    std::uint64_t linesBefore_ = 0;
    // A store that starts inside a log: the operations on names it had no record of, in order,
    // up to its first session start (after which nothing earlier matters), and the names they
    // settled. A holding renamed into from a name of the earlier lines has From -(k+1): op k.
    struct EarlyNameOp {
        enum class Kind : std::uint8_t { FirstUse, End, RenameAway, Session } What;
        std::string Name;
        PlayerIndex Record = 0; // FirstUse: the record made
        std::uint64_t Line = 0;
    };
    bool startsInside_ = false;
    std::uint64_t continuedLines_ = 0;      // AppendContinuing's line offset, for the renames
    std::vector<PlayerIndex> continuedOps_; // and the holdings its early operations ended
    std::vector<EarlyNameOp> earlyOps_;
    // Only the first session asks (Early), so only it settles names; looked up without a copy.
    struct NameHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view name) const {
            return std::hash<std::string_view>{}(name);
        }
    };
    std::unordered_set<std::string, NameHash, std::equal_to<>> settled_;
    bool Early(std::string_view name) const {
        return startsInside_ && session_ == 0 && !settled_.contains(name);
    }
    void Settle(std::string_view name) {
        if (startsInside_ && session_ == 0)
            settled_.emplace(name);
    }
    // Append of a store that starts inside this one's log: its early operations played here.
    void AppendContinuing(AnalysisStore&& later, std::vector<PlayerIndex>& here);
    // The holding a rename of `oldName` ends here (exact name, else its key's latest name) and
    // from which the renamer goes on; 0 when none.
    PlayerIndex EndForRename(std::string_view oldName);
    PlayerIndex TakeRenamedInto(std::string_view name);
    // Names renamed into and not used since: their next record continues the holding given.
    std::vector<std::pair<std::string, PlayerIndex>> renamedInto_;
    // The latest name of each identity key: a rename line may write a name without the colours
    // its holder plays under.
    std::unordered_map<std::string, std::string> latestOfKey_;
    // A chat's location, kept once: a log names the same few places again and again. Returns
    // its position in locations_.
    std::uint32_t KeepLocation(std::string_view location);

    TextArena texts_;                   // the texts that chats, renames and unknown lines view
    std::vector<PackedView> locations_; // element 0 is the empty location
    NameIndex locationIndex_;           // location text to its position, up to kLocationsKept
    // Chat texts and unknown lines, each kept once while it holds its slot. Apart, because a log's
    // chats repeat a few dozen texts, whose small table stays in the cache, while its other
    // lines are thousands of texts that would push the chats' slots out. 16 bytes a slot.
    RepeatedTexts chatRepeats_{2 * 1024};
    RepeatedTexts lineRepeats_{16 * 1024};
};

} // namespace qla
