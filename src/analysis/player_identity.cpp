// Union-find over names. Every root is the earliest name of its set, so a player's number is the
// position of its first name and numbering by roots keeps the order of first appearance.
#include "analysis/player_identity.h"

#include "core/names.h"
#include "core/store.h"

#include <utility>

namespace qla {

PlayerIdentity::PlayerIdentity(AliasList aliases) : aliases_(std::move(aliases)) {
    for (const AliasEntry& entry : aliases_.Entries())
        if (entry.Kind == AliasKind::Split)
            splits_.insert(entry.Name);
}

bool PlayerIdentity::Automatic(std::string_view name) const {
    return name != kUnnamedPlayer && !splits_.contains(std::string(name));
}

std::size_t PlayerIdentity::Node(std::string_view name) {
    const auto [at, added] = positions_.try_emplace(std::string(name), names_.size());
    if (!added)
        return at->second;
    const std::size_t node = names_.size();
    names_.emplace_back(name);
    sets_.Add();
    if (Automatic(name)) {
        std::string key = IdentityKey(name);
        if (!key.empty()) {
            const auto [first, isFirst] = firstOfKey_.try_emplace(std::move(key), node);
            if (!isFirst)
                Join(first->second, node);
        }
    }
    return node;
}

std::size_t PlayerIdentity::Root(std::size_t node) {
    return sets_.Root(node);
}

void PlayerIdentity::Join(std::size_t a, std::size_t b) {
    sets_.Join(a, b); // the earlier name stays the root
}

void PlayerIdentity::AddName(std::string_view name) {
    Node(name);
}

void PlayerIdentity::AddRename(std::string_view oldName, std::string_view newName) {
    const std::size_t from = Node(oldName);
    const std::size_t to = Node(newName);
    if (Automatic(oldName) && Automatic(newName))
        Join(from, to);
}

void PlayerIdentity::ApplyAliases() {
    if (aliasesApplied_)
        return;
    aliasesApplied_ = true;
    for (const AliasEntry& entry : aliases_.Entries()) {
        if (entry.Kind == AliasKind::Join)
            Join(Node(entry.Name), Node(entry.Other));
        else
            Node(entry.Name);
    }
}

std::size_t PlayerIdentity::PlayerOf(std::string_view name) {
    ApplyAliases();
    return Root(positions_.at(std::string(name)));
}

const std::vector<std::string>& PlayerIdentity::Names() {
    ApplyAliases();
    return names_;
}

std::vector<std::vector<std::string>> PlayerIdentity::Players() {
    ApplyAliases();
    std::vector<std::vector<std::string>> players;
    std::vector<std::size_t> playerOfRoot(names_.size(), 0);
    for (std::size_t node = 0; node < names_.size(); ++node) {
        const std::size_t root = Root(node);
        if (root == node) {
            playerOfRoot[root] = players.size();
            players.emplace_back();
        }
        players[playerOfRoot[root]].push_back(names_[node]);
    }
    return players;
}

} // namespace qla
