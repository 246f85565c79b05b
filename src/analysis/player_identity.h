// Which names are one player: names with the same identity key, the two names of every rename
// (so chains and renames back join too) and the user's aliases, resolved by union-find. A name
// the user split stands outside the automatic joins; "[err]unnamedplayer" and names whose key
// is empty stand for no one in particular and are joined only by the user.
#pragma once

#include "analysis/alias_list.h"
#include "analysis/disjoint_sets.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace qla {

class PlayerIdentity {
  public:
    explicit PlayerIdentity(AliasList aliases);

    // Names as the store normalises them; a name given again is the same name.
    void AddName(std::string_view name);
    void AddRename(std::string_view oldName, std::string_view newName);

    // The number of the name's player (its first name's position in Names()); the name must have
    // been added or named by an alias.
    std::size_t PlayerOf(std::string_view name);
    bool Knows(std::string_view name) const { return positions_.contains(std::string(name)); }

    // Every name, in the order added; the aliases' names follow the others.
    const std::vector<std::string>& Names();
    // The players: each one's names in the order added, the players in the order of their
    // first names.
    std::vector<std::vector<std::string>> Players();

  private:
    std::size_t Node(std::string_view name);
    std::size_t Root(std::size_t node);
    void Join(std::size_t a, std::size_t b);
    // Adds the aliases' names and joins once, before the first answer.
    void ApplyAliases();

    bool Automatic(std::string_view name) const;

    AliasList aliases_;
    std::unordered_set<std::string> splits_;
    bool aliasesApplied_ = false;
    std::vector<std::string> names_;
    DisjointSets sets_;
    std::unordered_map<std::string, std::size_t> positions_;
    std::unordered_map<std::string, std::size_t> firstOfKey_;
};

} // namespace qla
