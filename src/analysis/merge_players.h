// Merging the players of an analysed store into one record per player (PlayerIdentity says who
// is who). The lines, totals, events and chats stay; only the players they name change.
#pragma once

#include "analysis/alias_list.h"
#include "core/store.h"

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace qla {

// After a merge: every name the store held before, with the merged record it went to.
class MergedNames {
  public:
    // The merged record of a name as the store held it before the merge (normalised first);
    // failing that, of the first stored name with the same identity key ("bob" finds "^1Bob").
    std::optional<PlayerIndex> Find(std::string_view name) const;
    // The names of a merged record, in order of first appearance.
    const std::vector<std::string>& NamesOf(PlayerIndex player) const {
        return names_[static_cast<std::size_t>(player)];
    }

    // Everything Find and NamesOf answer from, to keep a merge and give it back (a database
    // keeps the merge of its whole history).
    struct Parts {
        std::vector<std::pair<std::string, PlayerIndex>> RecordOf, RecordOfKey;
        std::vector<std::vector<std::string>> Names; // by merged record; element 0 unused
    };
    Parts ToParts() const;
    static MergedNames FromParts(Parts parts);

  private:
    friend MergedNames MergePlayers(AnalysisStore& store, const AliasList& aliases);
    friend void HidePlayers(AnalysisStore& store, const std::vector<std::string>& hiddenKeys,
                            MergedNames* merged);
    std::unordered_map<std::string, PlayerIndex> recordOf_;
    std::unordered_map<std::string, PlayerIndex> recordOfKey_;
    std::vector<std::vector<std::string>> names_; // by merged record; element 0 unused
};

// The number of lines that name the player: kills, deaths, teamkills either way, suicides and
// chats; a kill of himself is one line.
std::vector<std::int64_t> RecordedLinesPerPlayer(const AnalysisStore& store);

// The records of a store that tracks holders by name: GroupOf[r] is the number of record r's
// name (from 1, in order of first appearance), Names[n] that name (element 0 unused).
struct HoldersByName {
    std::vector<PlayerIndex> GroupOf;
    std::vector<std::string> Names;
};
HoldersByName GroupHoldersByName(const AnalysisStore& store);

// Files a store that tracks holders by name again: one record per name, in order of first
// appearance, as a store that does not track them counts; the store then tracks none.
void FileHoldersByName(AnalysisStore& store);
// The same with its names grouped already (GroupHoldersByName of the store as it is).
void FileHoldersByName(AnalysisStore& store, const HoldersByName& groups);

// Merges the store's players by identity key, the store's renames and the aliases. A merged
// record is named by the name of most recorded lines among its names (the first seen on a tie)
// and holds the sums of their counters; merged records keep the order of first appearance.
MergedNames MergePlayers(AnalysisStore& store, const AliasList& aliases);

} // namespace qla
