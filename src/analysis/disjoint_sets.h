// Sets of numbered elements joined one pair at a time (union-find with path halving). The
// earlier element stays a joined set's root, so a set's root is its first element and sets keep
// the order of their first elements.
#pragma once

#include <cstddef>
#include <numeric>
#include <optional>
#include <utility>
#include <vector>

namespace qla {

class DisjointSets {
  public:
    explicit DisjointSets(std::size_t count = 0) : parent_(count) {
        std::iota(parent_.begin(), parent_.end(), std::size_t{0});
    }
    // A new element in a set of its own; its number.
    std::size_t Add() {
        parent_.push_back(parent_.size());
        return parent_.size() - 1;
    }
    std::size_t Root(std::size_t element) {
        while (parent_[element] != element) {
            parent_[element] = parent_[parent_[element]];
            element = parent_[element];
        }
        return element;
    }
    // Joins the sets of a and b: their roots, the one that stays first; nothing when they were
    // one set already.
    std::optional<std::pair<std::size_t, std::size_t>> Join(std::size_t a, std::size_t b) {
        a = Root(a);
        b = Root(b);
        if (a == b)
            return std::nullopt;
        if (b < a)
            std::swap(a, b);
        parent_[b] = a;
        return std::pair{a, b};
    }

  private:
    std::vector<std::size_t> parent_;
};

} // namespace qla
