// Who is who over time, from a store that tracks holders (AnalysisStore::TracksHolders): within
// a session a name belongs to one person at a time, renames carry a person from one name to the
// next, and across sessions a person continues under the names that are his own, never under a
// name that many people only pass through (the game's connect name, fun names). The rule is
// written out with examples in docs/identity.md.
#pragma once

#include "analysis/alias_list.h"
#include "core/store.h"

#include <cstdint>
#include <future>
#include <map>
#include <string>
#include <vector>

namespace qla {

// The persons of a store's records: PersonOf[r] is the person (1 to Count) of record r, persons
// numbered in order of their first record.
struct HolderPersons {
    std::vector<PlayerIndex> PersonOf; // element 0 unused
    PlayerIndex Count = 0;
    std::vector<std::string> OwnKeys; // the own names' keys (OwnNameKeys), sorted
};

// Why two holdings are one person, for a person to check.
struct HolderLink {
    PlayerIndex From = 0, To = 0; // records
    std::string Reason;
};

// The chains of a store that tracks holders (no aliases): by record, the first record of its
// chain, the holder followed through his renames and the colour variants he held at once within
// a session. What a store of chains (AnalysisStore::HoldersChained) keeps of a stored log.
std::vector<PlayerIndex> ChainStartsOf(const AnalysisStore& store);

// The names that join people across sessions: an identity key is one when, of the holders'
// chains (a session's renames and colour variants) that use it, it is the name most played in
// at least half. Empty keys and "[err]unnamedplayer" never join.
std::vector<std::string> OwnNameKeys(const AnalysisStore& store);

// The names many people only pass through: keys used by at least two chains and the most played
// name of fewer than half of them (the connect name, fun names), sorted.
std::vector<std::string> PassingNameKeys(const AnalysisStore& store);

// Each identity key's use in the store's chains: the chains that use it, and of them those that
// play it most; sorted by key. A chain never reaches past its log, so a history's uses are the
// sums of its logs' (KeyUseSums).
struct NameKeyUse {
    std::string Key;
    int Chains = 0, MostPlayed = 0;
};
std::vector<NameKeyUse> NameKeyUses(const AnalysisStore& store);

// The key uses of several logs added up, and the passing names of them all.
class KeyUseSums {
  public:
    void Add(const std::vector<NameKeyUse>& uses);
    std::vector<std::string> PassingKeys() const; // sorted
  private:
    std::map<std::string, std::pair<int, int>> sums_;
};

// Files a store that tracks holders by name (FileHoldersByName), its passing names kept in
// AnalysisStore::PassingKeys first: what a reading by name that fits the skill rating takes.
void FileByNameKeepingPassingKeys(AnalysisStore& store);

// The persons by identity key alone (colour codes, case, blanks), renames and time ignored: what
// --merge-players=names joins. Aliases as below.
HolderPersons PersonsByIdentityKey(const AnalysisStore& store, const AliasList& aliases);

// The persons of the store's records; a store that does not track holders is merged by
// identity key (PersonsByIdentityKey). Aliases come first: a split name's records stand apart
// from every automatic join, and a join puts every record of its two names into one person.
HolderPersons PersonsOfHolders(const AnalysisStore& store, const AliasList& aliases);
// The same with each record's lines (RecordedLinesPerPlayer) worked out on another thread
// meanwhile.
HolderPersons PersonsOfHolders(const AnalysisStore& store, const AliasList& aliases,
                               const std::shared_future<std::vector<std::int64_t>>& lines);

} // namespace qla
