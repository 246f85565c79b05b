// Hashing and growth of the player-name index.
#include "core/name_index.h"

#include <cstring>

namespace qla {

namespace {

constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ULL;

inline std::uint64_t Mix(std::uint64_t h) {
    h ^= h >> 32;
    h *= 0xD6E8FEB86659FD93ULL;
    h ^= h >> 32;
    return h;
}

} // namespace

// Eight bytes at a time; names are short, so the loop runs once or twice per name.
std::uint64_t NameIndex::Hash(std::string_view name) {
    std::uint64_t h = name.size() * kMultiplier;
    const char* p = name.data();
    std::size_t left = name.size();
    while (left >= 8) {
        std::uint64_t word;
        std::memcpy(&word, p, 8);
        h = (h ^ word) * kMultiplier;
        h ^= h >> 29;
        p += 8;
        left -= 8;
    }
    if (left > 0) {
        std::uint64_t word = 0;
        std::memcpy(&word, p, left);
        h = (h ^ word) * kMultiplier;
        h ^= h >> 29;
    }
    return Mix(h);
}

void NameIndex::Add(std::string_view name, std::uint64_t hash, std::int32_t index) {
    if ((entries_.size() + 1) * 2 > slots_.size())
        Grow();
    const auto entry = static_cast<std::uint32_t>(entries_.size());
    entries_.push_back(Entry{names_.size(), name.size(), hash});
    names_.append(name);
    Place(Slot{static_cast<std::uint32_t>(hash >> 32), index, entry}, hash);
}

void NameIndex::Clear() {
    slots_.clear();
    mask_ = 0;
    entries_.clear();
    names_.clear();
}

void NameIndex::Place(const Slot& entry, std::uint64_t hash) {
    std::size_t slot = hash & mask_;
    while (slots_[slot].index != 0)
        slot = (slot + 1) & mask_;
    slots_[slot] = entry;
}

void NameIndex::Grow() {
    std::vector<Slot> old = std::move(slots_);
    slots_.assign(old.empty() ? 64 : old.size() * 2, Slot{});
    mask_ = slots_.size() - 1;
    for (const Slot& slot : old)
        if (slot.index != 0)
            Place(slot, entries_[slot.entry].hash);
}

} // namespace qla
