// A map from 64-bit keys to 32-bit positions in one flat table (open addressing, linear probing).
// A log's pairs of players number in the hundreds of thousands; with a node per pair, building
// and freeing a hash map cost more than the counting it served.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace qla {

class KeyIndex {
  public:
    explicit KeyIndex(std::size_t expected = 0);

    // The position stored for `key`, or `position` stored for it now; true when it was added.
    std::pair<std::uint32_t, bool> TryEmplace(std::uint64_t key, std::uint32_t position);
    // Whether `key` is stored, adding nothing.
    bool Contains(std::uint64_t key) const;
    std::size_t Size() const { return size_; }
    // Asks for the slot where `key` is looked for first to be brought into the cache. A table of
    // a log's pairs is many times the cache, so each lookup waits for memory: a loop that knows
    // its later keys asks for them some steps ahead, and the waits overlap.
    void Prefetch(std::uint64_t key) const { __builtin_prefetch(slots_.data() + SlotOf(key)); }
    static constexpr std::size_t kPrefetchAhead = 16;

  private:
    struct Slot {
        std::uint64_t Key = 0;
        std::uint32_t Position = kEmpty;
    };
    static constexpr std::uint32_t kEmpty = UINT32_MAX;

    std::size_t SlotOf(std::uint64_t key) const;
    void Grow();

    std::vector<Slot> slots_;
    std::size_t size_ = 0;
    unsigned shift_ = 64;
};

// In a loop over the keys of positions before `end`, at position `at`: asks `table` (a KeyIndex,
// or a table with the same Prefetch) for the key kPrefetchAhead positions on, when there is one.
template <class Table, class KeyAt>
void PrefetchAhead(const Table& table, std::size_t at, std::size_t end, const KeyAt& keyAt) {
    if (at + KeyIndex::kPrefetchAhead < end)
        table.Prefetch(keyAt(at + KeyIndex::kPrefetchAhead));
}

} // namespace qla
