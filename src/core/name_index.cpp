// Hashing and growth of the player-name index.
#include "core/name_index.h"

#include <cstring>

namespace qla {

void NameIndex::Add(std::string_view name, std::uint64_t hash, std::int32_t index) {
    if ((entries_.size() + 1) * 2 > slots_.size())
        Grow();
    // Offsets and lengths are 32-bit: the names of a log's players are far below 4 GB.
    entries_.push_back(
        Entry{static_cast<std::uint32_t>(names_.size()), static_cast<std::uint32_t>(name.size())});
    indexes_.push_back(index);
    names_.append(name);
    Place(static_cast<std::uint32_t>(hash >> 32), static_cast<std::uint32_t>(entries_.size()),
          hash);
}

void NameIndex::Repoint(std::string_view name, std::uint64_t hash, std::int32_t index) {
    const auto tag = static_cast<std::uint32_t>(hash >> 32);
    for (std::size_t slot = hash & mask_;; slot = (slot + 1) & mask_) {
        const Slot& s = slots_[slot];
        if (s.tag == tag && SameText(NameAt(s.entry), name)) {
            indexes_[s.entry - 1] = index;
            return;
        }
    }
}

void NameIndex::Clear() {
    slots_.clear();
    mask_ = 0;
    entries_.clear();
    indexes_.clear();
    names_.clear();
}

void NameIndex::Place(std::uint32_t tag, std::uint32_t entry, std::uint64_t hash) {
    std::size_t slot = hash & mask_;
    while (slots_[slot].entry != 0)
        slot = (slot + 1) & mask_;
    slots_[slot] = Slot{tag, entry};
}

void NameIndex::Grow() {
    slots_.assign(slots_.empty() ? 64 : slots_.size() * 2, Slot{});
    mask_ = slots_.size() - 1;
    // Growing is rare, so the hashes are computed again rather than kept.
    for (std::uint32_t entry = 1; entry <= entries_.size(); ++entry) {
        const std::uint64_t hash = Hash(NameAt(entry));
        Place(static_cast<std::uint32_t>(hash >> 32), entry, hash);
    }
}

} // namespace qla
