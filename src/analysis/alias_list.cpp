// Adding and splitting aliases: the list stays free of duplicates, so that writing it back after
// an add and a split of the same names gives the list from before.
#include "analysis/alias_list.h"

#include "core/names.h"

#include <algorithm>

namespace qla {

namespace {

bool Names(const AliasEntry& entry, std::string_view name) {
    return entry.Name == name || (entry.Kind == AliasKind::Join && entry.Other == name);
}

} // namespace

std::string AliasList::Add(std::string_view rawName, std::string_view rawOther) {
    const std::string_view name = NormalizeName(rawName);
    const std::string_view other = NormalizeName(rawOther);
    if (name.empty() || other.empty())
        return "a player name is empty";
    if (name == other)
        return std::string("'").append(name).append("' cannot be joined to itself");
    const bool known = std::ranges::any_of(entries_, [&](const AliasEntry& e) {
        return e.Kind == AliasKind::Join &&
               ((e.Name == name && e.Other == other) || (e.Name == other && e.Other == name));
    });
    if (!known)
        entries_.push_back(AliasEntry{AliasKind::Join, std::string(name), std::string(other)});
    return {};
}

std::string AliasList::Split(std::string_view rawName) {
    const std::string_view name = NormalizeName(rawName);
    if (name.empty())
        return "a player name is empty";
    const auto isUserJoin = [&](const AliasEntry& e) {
        return e.Kind == AliasKind::Join && Names(e, name);
    };
    const bool wasJoinedByUser = std::ranges::any_of(entries_, isUserJoin);
    std::erase_if(entries_, isUserJoin);
    // A split undoes the user's own joins of the name; only a name the user never joined gets a
    // split of its own, which holds it apart from the automatic joins. A split kept from before
    // stays: the name was held apart and still is.
    if (!wasJoinedByUser && !IsSplit(name))
        entries_.push_back(AliasEntry{AliasKind::Split, std::string(name), {}});
    return {};
}

bool AliasList::HasSplit() const {
    return std::any_of(entries_.begin(), entries_.end(),
                       [](const AliasEntry& entry) { return entry.Kind == AliasKind::Split; });
}

bool AliasList::IsSplit(std::string_view name) const {
    return std::ranges::any_of(entries_, [&](const AliasEntry& e) {
        return e.Kind == AliasKind::Split && e.Name == name;
    });
}

} // namespace qla
