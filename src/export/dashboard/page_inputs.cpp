// Hashing a page's inputs.
#include "export/dashboard/page_inputs.h"

#include <functional>

namespace qla {

namespace {

// Mixes a value in so that the order of the inputs counts (splitmix64's finaliser).
std::uint64_t Mix(std::uint64_t hash, std::uint64_t value) {
    std::uint64_t z = hash ^ (value + 0x9e3779b97f4a7c15ULL + (hash << 6) + (hash >> 2));
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

} // namespace

void PageInputs::Add(std::uint64_t value) {
    hash_ = Mix(hash_, value);
}

void PageInputs::Add(std::string_view text) {
    // The length first: "ab"+"c" and "a"+"bc" differ.
    hash_ = Mix(Mix(hash_, text.size()), std::hash<std::string_view>{}(text));
}

std::uint64_t PlayerLinkInputs::Of(PlayerIndex player) {
    std::uint64_t& hash = hashes_[static_cast<std::size_t>(player)];
    if (hash == 0) {
        PageInputs inputs(1);
        inputs.Add(store_.Players[static_cast<std::size_t>(player)].Name);
        inputs.Add(layout_.PlayerHref(player));
        hash = inputs.Value() | 1; // never 0
    }
    return hash;
}

} // namespace qla
