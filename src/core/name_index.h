// The store's index from a player's exact name to the player's record: an open-addressing
// table of (hash, record index) pairs. Names are not copied into it; a candidate is confirmed
// against the record's Name, so the table stays valid however the records vector moves.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qla {

class NameIndex {
  public:
    // Hash of a name, as Find and Add expect it.
    static std::uint64_t Hash(std::string_view name);

    // The index stored for `name`, or 0 when there is none. `nameOf(i)` returns record i's name.
    template <class NameOf>
    std::int32_t Find(std::string_view name, std::uint64_t hash, NameOf&& nameOf) const {
        if (slots_.empty())
            return 0;
        const auto tag = static_cast<std::uint32_t>(hash >> 32);
        for (std::size_t slot = hash & mask_;; slot = (slot + 1) & mask_) {
            const Slot& s = slots_[slot];
            if (s.index == 0)
                return 0;
            if (s.tag == tag && std::string_view(nameOf(s.index)) == name)
                return s.index;
        }
    }

    // Files record `index` (1 or more) under `hash`; the name must not be in the index yet.
    void Add(std::uint64_t hash, std::int32_t index);

    void Clear();
    std::size_t size() const { return size_; }

  private:
    struct Slot {
        std::uint32_t tag = 0;  // high half of the hash: most mismatches end here
        std::int32_t index = 0; // 0: free
        std::uint32_t low = 0;  // low half, to re-place the entry when the table grows
    };
    void Place(const Slot& slot);
    void Grow();

    std::vector<Slot> slots_;
    std::size_t mask_ = 0;
    std::size_t size_ = 0;
};

} // namespace qla
