// The places of pairs of players in a list of them, by the pair as one number (the lower
// player in the high half): an open table probed slot by slot, one memory read for most of the
// millions of kill entries of a long history, where a table of nodes costs several.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace qla {

// The pair of players a and b (a < b) as one number.
inline std::uint64_t PairKey(std::uint32_t a, std::uint32_t b) {
    return (std::uint64_t{a} << 32) | b;
}

class PairPlaces {
  public:
    // The place of `key`, given `next` when it is new (then `added`).
    std::size_t Find(std::uint64_t key, std::size_t next, bool& added) {
        if (2 * (count_ + 1) > slots_.size())
            Grow();
        for (std::size_t at = Slot(key);; at = (at + 1) & (slots_.size() - 1)) {
            Entry& entry = slots_[at];
            if (entry.Place == kEmpty) {
                entry = {key, next};
                ++count_;
                added = true;
                return next;
            }
            if (entry.Key == key) {
                added = false;
                return entry.Place;
            }
        }
    }

  private:
    static constexpr std::size_t kEmpty = SIZE_MAX;
    struct Entry {
        std::uint64_t Key = 0;
        std::size_t Place = kEmpty;
    };
    std::size_t Slot(std::uint64_t key) const {
        key ^= key >> 29; // the two players' numbers mixed, then spread (a 64-bit mixer)
        key *= 0xbf58476d1ce4e5b9ULL;
        key ^= key >> 32;
        return static_cast<std::size_t>(key) & (slots_.size() - 1);
    }
    void Grow() {
        std::vector<Entry> old(std::max<std::size_t>(1024, 2 * slots_.size()));
        old.swap(slots_);
        for (const Entry& entry : old)
            if (entry.Place != kEmpty)
                for (std::size_t at = Slot(entry.Key);; at = (at + 1) & (slots_.size() - 1))
                    if (slots_[at].Place == kEmpty) {
                        slots_[at] = entry;
                        break;
                    }
    }
    std::vector<Entry> slots_;
    std::size_t count_ = 0;
};

} // namespace qla
