// The joins and splits a user keeps between player names. They never touch a store: they are
// read when players are merged, so removing one gives back the earlier numbers exactly. The
// aliases file (alias_file.h) and the statistics database keep the same list.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qla {

enum class AliasKind { Join, Split };

// Join: Name and Other are one player. Split: Name stands apart from every automatic join
// (same identity key, renames); joins the user adds still reach it.
struct AliasEntry {
    AliasKind Kind = AliasKind::Join;
    std::string Name;
    std::string Other; // empty for a split
    bool operator==(const AliasEntry&) const = default;
};

class AliasList {
  public:
    AliasList() = default;
    explicit AliasList(std::vector<AliasEntry> entries) : entries_(std::move(entries)) {}

    const std::vector<AliasEntry>& Entries() const { return entries_; }
    bool Empty() const { return entries_.empty(); }

    // Joins the players of two names (normalised as the store normalises names). An empty name,
    // or a name joined to itself, is refused with the reason; a join the list already holds
    // changes nothing.
    std::string Add(std::string_view name, std::string_view other);

    // Takes a name back out of its player: drops every join that names it and keeps a split for
    // it, so that afterwards it stands alone. Returns the reason when the name is empty.
    std::string Split(std::string_view name);

    // Whether a split for `name` is kept.
    bool IsSplit(std::string_view name) const;
    // Whether any split is kept.
    bool HasSplit() const;

  private:
    std::vector<AliasEntry> entries_;
};

} // namespace qla
