#include "core/key_index.h"

#include <algorithm>
#include <bit>
#include <stdexcept>
#include <utility>

namespace qla {

KeyIndex::KeyIndex(std::size_t expected) {
    // At most half full, so that probes stay short.
    const std::size_t capacity = std::bit_ceil(std::max<std::size_t>(16, expected * 2));
    slots_.resize(capacity);
    shift_ = 64 - static_cast<unsigned>(std::countr_zero(capacity));
}

std::size_t KeyIndex::SlotOf(std::uint64_t key) const {
    // Fibonacci hashing: keys made of two small numbers spread over the whole table.
    return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ull) >> shift_);
}

std::pair<std::uint32_t, bool> KeyIndex::TryEmplace(std::uint64_t key, std::uint32_t position) {
    if (position == kEmpty)
        throw std::length_error("KeyIndex: too many positions");
    if ((size_ + 1) * 2 > slots_.size())
        Grow();
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t s = SlotOf(key);; s = (s + 1) & mask) {
        Slot& slot = slots_[s];
        if (slot.Position == kEmpty) {
            slot = {key, position};
            ++size_;
            return {position, true};
        }
        if (slot.Key == key)
            return {slot.Position, false};
    }
}

bool KeyIndex::Contains(std::uint64_t key) const {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t s = SlotOf(key);; s = (s + 1) & mask) {
        if (slots_[s].Position == kEmpty)
            return false;
        if (slots_[s].Key == key)
            return true;
    }
}

void KeyIndex::Grow() {
    const std::vector<Slot> old = std::exchange(slots_, std::vector<Slot>(slots_.size() * 2));
    --shift_;
    const std::size_t mask = slots_.size() - 1;
    for (const Slot& slot : old) {
        if (slot.Position == kEmpty)
            continue;
        std::size_t s = SlotOf(slot.Key);
        while (slots_[s].Position != kEmpty)
            s = (s + 1) & mask;
        slots_[s] = slot;
    }
}

} // namespace qla
